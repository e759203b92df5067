// quillfen-asm frame, run as a user would: the emulator's reference frames drawn again, the
// options, the messages and the exit statuses. The model's own refusals, notes and pixels are
// the amiga library's (tests/amiga/displaymodel_test.cpp); one of each shows it is reached.
#include "frame_fixture.h"
#include "run_program.h"
#include "scratch_files.h"

#include <picture/picture.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

testprogram::Outcome frame(const std::string &folder, const std::string &arguments) {
    return testprogram::run("cd '" + folder + "' && " QUILLFEN_ASM_TOOL, "frame " + arguments);
}

std::string joined(const std::vector<std::string> &args) {
    std::string text;
    for (const std::string &a : args)
        text += " " + a;
    return text;
}

class FrameReference : public testing::TestWithParam<std::string> {};

TEST_P(FrameReference, IsWrittenPixelForPixel) {
    const std::string folder = std::string(QUILLFEN_FRAME_FIXTURES) + "/" + GetParam();
    const framefixture::Fixture fixture = framefixture::read(folder);
    ASSERT_TRUE(fixture.ok);
    testfiles::Folder scratch;
    const testprogram::Outcome run =
        frame(folder, joined(fixture.args) + " -o " + scratch.file("out.png"));
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

INSTANTIATE_TEST_SUITE_P(Emulator, FrameReference, testing::ValuesIn(framefixture::names()));

// A list in a scratch folder: COLOR00 blue, then what the case adds.
struct Scene {
    testfiles::Folder folder;
    explicit Scene(const std::string &list = "\tdc.w\tCOLOR00,$00f\n\tdc.w\t$ffff,$fffe\n") {
        std::ofstream(folder.file("list.s")) << list;
        std::ofstream(folder.file("a.bin"), std::ios::binary) << std::string(64, '\x55');
    }
};

TEST(QuillfenAsmFrame, RefusesBadUsageAndBadInputWithStatus2) {
    struct Case {
        const char *arguments;
        const char *message; // the start of the first line of the standard error
    } cases[] = {
        {"list.s", "quillfen-asm frame: needs -o OUT.png (or --explain H,V)"},
        {"-o out.png", "quillfen-asm frame: takes one LIST file"},
        {"list.s --region 5c,1a,1d4 -o out.png",
         "quillfen-asm frame: option '--region' takes H0,V0,H1,V1 in hexadecimal, not "
         "'5c,1a,1d4'"},
        {"list.s --explain 81 -o out.png",
         "quillfen-asm frame: option '--explain' takes H,V in hexadecimal, not '81'"},
        {"list.s --chip a.bin -o out.png",
         "quillfen-asm frame: option '--chip' takes ADDR:FILE, the address in hexadecimal"},
        {"list.s --columns lores -o out.png",
         "quillfen-asm frame: option '--columns' takes hires or shres, not 'lores'"},
        {"list.s --copper-addr 1002 -o out.png",
         "quillfen-asm frame: option '--copper-addr' needs an address that is a multiple of 4"},
        {"list.s --chipset agaa -o out.png",
         "quillfen-asm frame: option '--chipset' takes ocs, ecs or aga, not 'agaa'"},
        // Chip memory: 512 KiB on OCS/ECS, 2 MiB on AGA, or --chip-size.
        {"list.s --chip 7fff0:a.bin -o out.png",
         "quillfen-asm frame: 'a.bin' at $7fff0 reaches $80030, past the end of chip memory "
         "($80000)"},
        {"list.s --chip 7fff0:a.bin --chipset aga --chip-size 40000 -o out.png",
         "quillfen-asm frame: 'a.bin' at $7fff0 reaches $80030, past the end of chip memory "
         "($40000)"},
        {"list.s --region 5c,1a,1d4,107 --ntsc -o out.png",
         "quillfen-asm frame: the region $5c,$1a to $1d4,$107 is outside the frame: H $0 to "
         "$1d4 and lines $0 to $106"},
        {"list.s --explain 1d4,40", "quillfen-asm frame: the region $1d4,$40 to $1d5,$41 is"},
        {"missing.s -o out.png", "quillfen-asm frame: 'missing.s' cannot be opened"},
    };
    for (const Case &c : cases) {
        Scene scene;
        const testprogram::Outcome run = frame(scene.folder.path(), c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err.substr(0, std::string(c.message).size()), c.message) << run.err;
        EXPECT_TRUE(testfiles::load(scene.folder.file("out.png")).empty()) << c.arguments;
    }
}

TEST(QuillfenAsmFrame, DrawsWhatItCanAndNotesTheRest) {
    struct Case {
        const char *list;
        const char *arguments;
        unsigned width, height;
        const char *err;
    } cases[] = {
        // The visible PAL frame: H $5c-$1d3 at two columns each, lines $1a-$137.
        {"\tdc.w\t$ffff,$fffe\n", "", 752, 286, ""},
        {"\tdc.w\t$ffff,$fffe\n", "--ntsc", 752, 241, ""},
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

TEST(QuillfenAsmFrame, ExplainsAPixel) {
    Scene scene("\tdc.w\t$4001,$fffe\n\tdc.w\tCOLOR00,$0f0\n\tdc.w\t$ffff,$fffe\n");
    const testprogram::Outcome run = frame(scene.folder.path(), "list.s --explain 100,40");
    EXPECT_EQ(run.status, 0) << run.err;
    // WAIT $40,$00 reached at colour clock 0 of line $40, 2 to wake, 4 for the MOVE.
    EXPECT_EQ(run.out, "pixel: H $100, line $40 (column 512)\n"
                       "shows: the border, outside the display window\n"
                       "colour: COLOR00 = #00ff00\n"
                       "set by: copper instruction 1, at $001004: dc.w COLOR00,$00f0, line $40 at "
                       "colour clock $6\n");
}

} // namespace
