// quillfen-asm's commands run as a makefile runs them: each option reaches the text, and bad
// input gets its message and exit status. The runs and what they print are in data/runs.txt.
#include "picture_files.h"
#include "run_program.h"
#include "run_table.h"

#include <gtest/gtest.h>

using testprogram::expectUsageErrors;

namespace {

const std::string kTool = QUILLFEN_ASM_TOOL;

} // namespace

TEST(QuillfenAsm, CommandsOptionsMessagesAndExitStatuses) {
    testfiles::Folder folder;
    testfiles::saveText(folder.file("list.s"), "list:\tdc.w\t$0180,$0502\n"
                                               "\tdc.w\t$9601,$ff00\t; line 150\n"
                                               "\tdc.l\t$3fd37ffe\n\tdc.w\t$ffff,$fffe\n");
    // A dump: four bytes of something else, COLOR00 = $502, the end.
    testfiles::saveText(folder.file("dump.bin"),
                        std::string("\x12\x34\x56\x78\x01\x80\x05\x02\xff\xff\xff\xfe", 12));
    // Line $106 comes in a PAL frame (to $137), not in an NTSC one (to $105).
    testfiles::saveText(folder.file("late.s"),
                        "\tdc.w\t$ffdf,$fffe\n\tdc.w\t$0601,$fffe\n\tdc.w\t$ffff,$fffe\n");
    testfiles::saveText(folder.file("bplcon1.s"), "\tdc.w\tBPLCON1,$00ff\n");
    testfiles::saveText(folder.file("copcon.s"), "\tdc.w\t$002e,$0002\n");
    testfiles::saveText(folder.file("bad.s"), "\tdc.w\t$0180,$0fff\n\tdc.w\tCOLOR00,(1+2\n");
    // A symbol the text does not define, and a directive passed over.
    testfiles::saveText(folder.file("source.s"), "\tdc.w\tBPL1PTH,screen>>16\n"
                                                 "\tsection\tcopper,data_c\n"
                                                 "\tdc.w\tBPL1PTL,screen&$ffff\n");
    using namespace iffbytes;
    // Palettes saved alone (a BMHD and a CMAP), as paint programs save them.
    const Bytes header = bmhd(16, 1, 1);
    save(folder.file("two.iff"),
         group("FORM", "ILBM", {header, chunk("CMAP", {0x12, 0x34, 0x56, 0xff, 0x80, 0x00})}));
    save(folder.file("one.iff"),
         group("FORM", "ILBM", {header, chunk("CMAP", {0x20, 0x40, 0xff})}));
    save(folder.file("nomap.iff"), group("FORM", "ILBM", {header}));
    save(folder.file("both.iff"),
         group("CAT ", "ILBM",
               {testfiles::load(folder.file("two.iff")), testfiles::load(folder.file("one.iff"))}));
    testfiles::saveText(folder.file("text.iff"), "not a picture\n");
    picturetest::savePng(folder.file("two.png"),
                         picturetest::pngLayout(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1},
                                                {{0x12, 0x34, 0x56}, {0xff, 0x80, 0x00}}));
    runtable::expectRuns(kTool, folder.path(), QUILLFEN_ASM_DATA "/runs.txt");

    expectUsageErrors(kTool, folder.path(), "copper",
                      {"", "--chipset ham %bad.s", "--offset 2 %bad.s",
                       "--binary --offset x %bad.s", "%bad.s %bad.s", "--define x %bad.s",
                       "--define 1=2 %bad.s", "--define a=b %bad.s", "--define a=1/0 %bad.s",
                       "--binary --define a=1 %bad.s"});
    expectUsageErrors(kTool, folder.path(), "display",
                      {"--width 0", "--depth 9", "--chipset amiga", "--fmode 3", "--superhires",
                       "--hires --superhires", "--centre --hstart 81", "stray"});
    expectUsageErrors(kTool, folder.path(), "register",
                      {"", "BPLCON0", "NOSUCH 1", "BPLCON0 10000", "BPLCON0 52g0",
                       "BPLCON0 5200 --set", "DMACON 1 --set --clear", "BPLCON0 1 --bogus"});
    expectUsageErrors(kTool, folder.path(), "blitter",
                      {"", "--function A --minterms f0", "--function 'AB+'", "--minterms 100",
                       "--function A --ashift 16", "--function A --channels ABX",
                       "--function A --fill both", "--function A --fci", "--function A --width 4",
                       "--function A extra"});
    // Bad options before a good key, then bad keys.
    std::vector<std::string> gradients;
    for (const char *options : {"--start 138", "--lines 0", "--lines 313", "--register 32",
                                "--chipset aga --register 256", "--chipset amiga", "--blend lab",
                                "--dither fs", "--chipset aga --dither ordered", "--hpos e3",
                                "--chipset aga --bplcon3 10000", "--bplcon3 0c00"})
        gradients.push_back(std::string(options) + " 0:#000000");
    for (const char *keys :
         {"", "0:#12345", "0:$123456", "x:#000000", "-1:#000000", "0:#00000g", "0#000000",
          ":#000000", "0:#0000000", "0:#000000 junk", "--lines 16 16:#000000"})
        gradients.push_back(keys);
    expectUsageErrors(kTool, folder.path(), "gradient", gradients);
    expectUsageErrors(kTool, folder.path(), "fade",
                      {"%two.iff", "--steps 1 %two.iff", "--steps 257 %two.iff",
                       "--steps 4 --to '#fff' %two.iff", "--steps 4 --to red %two.iff",
                       "--steps 4 --to 0x1234 %two.iff",
                       "--steps 4 --to 000000 --to-palette %two.iff %two.iff", "--steps 4",
                       "--steps 4 %two.iff %two.iff", "--steps 4 --chipset x %two.iff"});
}
