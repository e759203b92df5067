// quillfen-asm's commands run as a makefile runs them: each option reaches the text, and bad
// input gets its message and exit status. The runs and what they print, and the usage errors of
// each command, are in data/runs.txt.
#include "picture_files.h"
#include "run_program.h"

#include <gtest/gtest.h>

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
}
