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

TEST(QuillfenAsmFrame, ExplainsAPixelNotesAndRefusesBadUsageWithStatus2) {
    testfiles::Folder scratch;
    const std::string folder = scratch.path();
    // COLOR00 blue; green from line $40; a list that jumps back to its start; 64 bytes of data.
    testfiles::saveText(scratch.file("list.s"), "\tdc.w\tCOLOR00,$00f\n\tdc.w\t$ffff,$fffe\n");
    testfiles::saveText(scratch.file("green.s"), "\tdc.w\t$4001,$fffe\n\tdc.w\tCOLOR00,$0f0\n"
                                                 "\tdc.w\t$ffff,$fffe\n");
    testfiles::saveText(scratch.file("loop.s"), "\tdc.w\tCOLOR00,$00f\n\tdc.w\tCOPJMP1,0\n");
    testfiles::saveText(scratch.file("a.bin"), std::string(64, '\x55'));
    runtable::expectRuns("cd '" + folder + "' && " QUILLFEN_ASM_TOOL " frame", folder,
                         QUILLFEN_ASM_DATA "/frame-runs.txt", [&](const std::string &arguments) {
                             EXPECT_FALSE(std::filesystem::exists(scratch.file("out.png")))
                                 << arguments;
                         });
    // The visible frame is the library's (tests/amiga/displaymodel_test.cpp); a region of 16
    // colour clocks by 8 lines in super-hires columns, four a colour clock.
    const testprogram::Outcome run =
        frame(folder, "list.s -o out.png --region 80,40,90,48 --columns shres");
    EXPECT_EQ(run.status, 0) << run.err;
    std::string error;
    const auto png = picture::readPictureFile(scratch.file("out.png"), &error);
    ASSERT_TRUE(png) << error;
    EXPECT_EQ(png->width, 64u);
    EXPECT_EQ(png->height, 8u);
}

} // namespace
