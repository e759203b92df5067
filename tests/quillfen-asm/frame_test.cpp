// quillfen-asm frame, run as a user would: the emulator's reference frames drawn again, the
// options, the messages and the exit statuses. The model's own refusals, notes and pixels are
// the amiga library's (tests/amiga/displaymodel_test.cpp); one of each shows it is reached.
#include "frame_fixture.h"
#include "run_program.h"
#include "scratch_files.h"

#include <picture/picture.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

testprogram::Outcome frame(const std::string &folder, const std::string &arguments) {
    return testprogram::run("cd '" + folder + "' && " QUILLFEN_ASM_TOOL, "frame " + arguments);
}

class FrameReference : public testing::TestWithParam<std::string> {};

TEST_P(FrameReference, IsWrittenPixelForPixel) {
    const std::string folder = std::string(QUILLFEN_FRAME_FIXTURES) + "/" + GetParam();
    const framefixture::Fixture fixture = framefixture::read(folder);
    ASSERT_TRUE(fixture.ok);
    testfiles::Folder scratch;
    std::string arguments;
    for (const std::string &word : fixture.args)
        arguments += word + " ";
    const testprogram::Outcome run = frame(folder, arguments + "-o " + scratch.file("out.png"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::string error;
    const auto png = picture::readPictureFile(scratch.file("out.png"), &error);
    ASSERT_TRUE(png) << error;
    ASSERT_EQ(static_cast<int>(png->width), fixture.width);
    ASSERT_EQ(static_cast<int>(png->height), fixture.height);
    const std::vector<amiga::Rgb8> pixels = picture::render(*png);
    int wrong = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t rgb =
            static_cast<std::uint32_t>(pixels[i].red) << 16 | pixels[i].green << 8 | pixels[i].blue;
        wrong += rgb != fixture.pixels[i];
    }
    EXPECT_EQ(wrong, 0) << GetParam();
}

// The library draws every reference frame (tests/amiga/displaymodel_test.cpp); through the
// program, the frames whose options it reads for the library: chip files, AGA, sprites, the short
// field of an interlaced list, NTSC.
INSTANTIATE_TEST_SUITE_P(Emulator, FrameReference, testing::Values("aga_fmode", "lace", "ntsc"));

// A list in a scratch folder: COLOR00 blue, then what the case adds.
struct Scene {
    testfiles::Folder folder;
    explicit Scene(const std::string &list = "\tdc.w\tCOLOR00,$00f\n\tdc.w\t$ffff,$fffe\n") {
        testfiles::saveText(folder.file("list.s"), list);
        testfiles::saveText(folder.file("a.bin"), std::string(64, '\x55'));
    }
};

TEST(QuillfenAsmFrame, ExplainsAPixelAndRefusesBadUsageWithStatus2) {
    Scene scene;
    testfiles::saveText(scene.folder.file("green.s"), "\tdc.w\t$4001,$fffe\n\tdc.w\tCOLOR00,$0f0\n"
                                                      "\tdc.w\t$ffff,$fffe\n");
    const std::string folder = scene.folder.path();
    runtable::expectRuns("cd '" + folder + "' && " QUILLFEN_ASM_TOOL " frame", folder,
                         QUILLFEN_ASM_DATA "/frame-runs.txt", [&](const std::string &arguments) {
                             EXPECT_FALSE(std::filesystem::exists(scene.folder.file("out.png")))
                                 << arguments;
                         });
}

TEST(QuillfenAsmFrame, DrawsWhatItCanAndNotesTheRest) {
    struct Case {
        const char *list;
        const char *arguments;
        unsigned width, height;
        const char *err;
    } cases[] = {
        // The visible frame is the library's (tests/amiga/displaymodel_test.cpp); a region in
        // super-hires columns, four a colour clock, and hires ones, two.
        {"\tdc.w\t$ffff,$fffe\n", "--region 80,40,90,48 --columns shres", 64, 8, ""},
        {"\tdc.w\tCOLOR00,$00f\n\tdc.w\tCOPJMP1,0\n", "--region 80,40,90,48", 32, 8,
         "quillfen-asm frame: note: the copper was still running at the frame's end (at "
         "$00100"},
    };
    for (const Case &c : cases) {
        Scene scene(c.list);
        const testprogram::Outcome run =
            frame(scene.folder.path(), std::string("list.s -o out.png ") + c.arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.substr(0, std::string(c.err).size()), c.err);
        std::string error;
        const auto png = picture::readPictureFile(scene.folder.file("out.png"), &error);
        ASSERT_TRUE(png) << error;
        EXPECT_EQ(png->width, c.width) << c.arguments;
        EXPECT_EQ(png->height, c.height) << c.arguments;
    }
}

} // namespace
