// quillfen-asm's commands run as a makefile runs them: each option reaches the text, and bad
// input gets its message and exit status. The text itself is the amiga library's (tests/amiga);
// a line of it here shows that an option took effect.
#include "picture_files.h"
#include "run_program.h"

#include <gtest/gtest.h>

using testprogram::expectRow;
using testprogram::expectUsageErrors;

namespace {

const std::string kTool = QUILLFEN_ASM_TOOL;

} // namespace

TEST(QuillfenAsm, CopperListsFromTextAndDumps) {
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
    const testprogram::Row rows[] = {
        {"copper %list.s", 0,
         "^\tdc.w\tCOLOR00,$0502\t; colour 0 = $502\n\tdc.w\t$9601,$ff00\t; WAIT for line $96"},
        {"copper --binary --offset 4 %dump.bin", 0,
         "^\tdc.w\tCOLOR00,$0502\t; colour 0 = $502\n\tdc.w\t$ffff,$fffe\t; end of list\n"},
        {"copper %late.s", 0, "WAIT for line $106, horizontal $00\n"},
        {"copper --ntsc %late.s", 0, "the copper waits here until the next one"},
        // BPLCON1's delays: lores pixels on OCS/ECS, 35 ns steps in AGA's bits (AGA
        // documentation, BPLCON1: bits 7-4 PF2H5-2, 3-0 PF1H5-2).
        {"copper --chipset ecs %bplcon1.s", 0, "^\tdc.w\tBPLCON1,$00ff\t; PF2H=$f PF1H=$f\n"},
        {"copper --chipset aga %bplcon1.s", 0, "^\tdc.w\tBPLCON1,$00ff\t; PF2H=$3c PF1H=$3c\n"},
        // A MOVE the copper can never make (COPCON, $02e): printed, with status 1.
        {"copper %copcon.s", 1, "; the copper cannot write registers $000-$03e"},
        {"copper %bad.s", 2, nullptr, "%bad.s:2:15: a '(' that is not closed"},
        {"copper %source.s", 0,
         "^\tdc.w\tBPL1PTH,screen>>16\t; BPL1PTH = screen>>16, not known here\n"
         "\tdc.w\tBPL1PTL,screen&$ffff\t; BPL1PTL = screen&$ffff, not known here\n",
         "%source.s:2: note: section passed over"},
        {"copper %source.s", 0, "", "%source.s:1: note: not defined in the text: screen"},
        // --define is repeatable, and a later one may use an earlier one.
        {"copper --define 'base=$20000' --define 'screen=base+$3456' %source.s", 0,
         "^\tdc.w\tBPL1PTH,$0002"},
        {"copper --define 'screen=$23456' %source.s", 0, "\tdc.w\tBPL1PTL,$3456"},
        {"copper /nonexistent/list.s", 2, nullptr, "/nonexistent/list.s"},
        {"copper --binary --offset 100 %bad.s", 2, nullptr},
        {"copper --help", 0, "--chipset"},
    };
    for (const testprogram::Row &row : rows)
        expectRow(kTool, folder.path(), row);
    expectUsageErrors(kTool, folder.path(), "copper",
                      {"", "--chipset ham %bad.s", "--offset 2 %bad.s",
                       "--binary --offset x %bad.s", "%bad.s %bad.s", "--define x %bad.s",
                       "--define 1=2 %bad.s", "--define a=b %bad.s", "--define a=1/0 %bad.s",
                       "--binary --define a=1 %bad.s"});
}

TEST(QuillfenAsm, DisplayRegisterAndBlitter) {
    testfiles::Folder folder;
    const testprogram::Row rows[] = {
        {"display --cpu", 0, "^\tmove.w\t#$2c81,DIWSTRT(a6)\n"},
        {"display --hstart 71 --width 336", 0,
         "; the fetch starts at $30, in the DMA slots of sprites 6-7"},
        {"display --hstart 89", 1, "", "cannot show this screen: HSTOP $1c9"},
        {"display --help", 0, "--interleaved"},
        {"--help", 0},
        {"", 2, nullptr},
        {"nosuch", 2, nullptr},
        {"register BPLCON0 5200", 0, "^\tmove.w\t#$5200,BPLCON0(a6)\t; BPU=5 COLOR\n"},
        {"register bplcon0 '$5200' --copper", 0, "^\tdc.w\tBPLCON0,$5200\t; BPU=5 COLOR\n"},
        {"register DMACON 0x380 --set", 0, "^\tmove.w\t#$8380,DMACON(a6)\t; SET DMAEN"},
        {"register INTENA c020 --clear", 0, "^\tmove.w\t#$4020,INTENA(a6)\t; CLEAR INTEN VERTB\n"},
        // SHRES (bit 6) and ECSENA (bit 0) came with ECS; FMODE with AGA.
        {"register BPLCON0 41 --chipset ecs", 0, "^\tmove.w\t#$0041,BPLCON0(a6)\t; SHRES ECSENA"},
        {"register BPLCON0 41 --chipset ocs", 0, "^\tmove.w\t#$0041,BPLCON0(a6)\t; bit6 bit0\n"},
        {"register FMODE 3 --chipset ecs", 0, "^; FMODE does not exist on ECS"},
        {"register --help", 0, "--copper"},
        {"blitter --function 'AB+!AC' --ashift 4 --bshift 4 --width 4 --height 20", 0,
         "^\tmove.w\t#$4fca,BLTCON0(a6)\t; ASH=4 USEA USEB USEC USED LF=$ca: D=AB+!AC\n"
         "\tmove.w\t#$4000,BLTCON1(a6)\t; BSH=4\n\tmove.w\t#$0504,BLTSIZE(a6)\t; 20 lines"},
        {"blitter --minterms 0 --channels D", 0, "^\tmove.w\t#$0100,BLTCON0(a6)"},
        {"blitter --function A --fill exclusive --fci --copper", 0, "\tdc.w\tBLTCON1,$0016"},
        {"blitter --function A --width 100 --height 2000", 0, "#$0064,BLTSIZH(a6)"},
        // Wider than the big-blit registers take: nothing the hardware can do.
        {"blitter --function A --width 3000 --height 2", 1, nullptr},
        {"blitter --help", 0},
    };
    for (const testprogram::Row &row : rows)
        expectRow(kTool, folder.path(), row);
    expectUsageErrors(kTool, folder.path(), "display",
                      {"--width", "--width 0", "--width x", "--depth 9", "--chipset amiga",
                       "--fmode 3", "--superhires", "--hires --superhires", "--hstart 2g",
                       "--centre --hstart 81", "--colour", "stray"});
    expectUsageErrors(kTool, folder.path(), "register",
                      {"", "BPLCON0", "NOSUCH 1", "BPLCON0 10000", "BPLCON0 52g0",
                       "BPLCON0 5200 --set", "DMACON 1 --set --clear", "BPLCON0 1 --bogus"});
    expectUsageErrors(kTool, folder.path(), "blitter",
                      {"", "--function A --minterms f0", "--function 'AB+'", "--minterms 100",
                       "--function A --ashift 16", "--function A --channels ABX",
                       "--function A --fill both", "--function A --fci", "--function A --width 4",
                       "--function A extra"});
}

TEST(QuillfenAsm, GradientsAndFades) {
    testfiles::Folder folder;
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
    const testprogram::Row rows[] = {
        // 16 lines from $2b, black to white: a WAIT and a MOVE a line.
        {"gradient --start 2b --lines 16 0:#000000 15:#FFFFFF", 0,
         "^\tdc.w\t$2b07,$fffe\n\tdc.w\tCOLOR00,$0000\n\tdc.w\t$2c07,$fffe\n\tdc.w\tCOLOR00,$0111"},
        {"gradient --start 2b --lines 16 0:#000000 15:#FFFFFF", 0,
         "\tdc.w\tCOLOR00,$0fff\n; 32 instructions, 128 bytes\n"},
        // AGA register 37 is bank 1 COLOR05, in a display that keeps BPLCON3 at $1020, WAITs
        // at horizontal $41, and line $106 is past the end of an NTSC frame.
        {"gradient --chipset aga --register 37 --hpos 40 --bplcon3 1020 --ntsc --start 105 "
         "--lines 2 0:#123456 1:#000000",
         0,
         "^\tdc.w\t$ffdf,$fffe\n\tdc.w\t$0541,$fffe\n\tdc.w\tBPLCON3,$3020\n"
         "\tdc.w\tCOLOR05,$0135\n\tdc.w\tBPLCON3,$3220\n\tdc.w\tCOLOR05,$0246\n"
         "\tdc.w\tBPLCON3,$1020\n"
         "; lines $106 to $106 are past the end of an NTSC frame: left out\n"},
        // Ordered dither: 128 / 17 + 1/8 is 7.65, 7 or 8.
        {"gradient --table --lines 3 --dither=ordered 0:#000000 2:#ffffff", 0,
         "\n\tdc.w\t$0000\n\tdc.w\t$0888\n\tdc.w\t$0fff\n"},
        {"gradient --lines 1 0:123456", 0, "COLOR00,$0135"},
        {"gradient --help", 0, "LINE:#rrggbb"},
        // Step 1 of 3 is half way: 9, 26, 43 ($09 $1a $2b) and 127.5, 64, 0 ($80 $40 $00).
        {"fade --steps 3 %two.iff", 0,
         "^; fade of 2 colours to black in 3 steps, OCS/ECS: a step is one 12-bit word a colour\n"
         "fade0:\n\tdc.w\t$0135,$0f80\nfade1:\n\tdc.w\t$0012,$0840\nfade2:\n"},
        {"fade --steps 3 %two.png", 0, "fade1:\n\tdc.w\t$0012,$0840\nfade2:\n"},
        // To white on AGA: half way is $89 $9a $ab and $ff $c0 $80.
        {"fade --steps=3 --chipset aga --to '#ffffff' %two.iff", 0,
         "fade1:\n\tdc.w\t$089a,$0fc8,$09ab,$0f00\n"},
        // To a palette of one colour: the other entry goes to black.
        {"fade --steps 2 --to-palette %one.iff %two.iff", 0, "fade1:\n\tdc.w\t$024f,$0000\n"},
        {"fade --steps 2 %both.iff", 0, "fade0:\n\tdc.w\t$0135,$0f80\n"},
        {"fade --steps 2 --picture 2 %both.iff", 0, "fade0:\n\tdc.w\t$024f\n"},
        {"fade --steps 4 /nonexistent/p.iff", 2, nullptr, "quillfen-asm fade: "},
        {"fade --steps 4 %text.iff", 2, nullptr, "%text.iff"},
        {"fade --steps 4 %nomap.iff", 2, nullptr, "%nomap.iff"},
        {"fade --steps 4 --to-palette %nomap.iff %two.iff", 2, nullptr, "no colour map"},
    };
    for (const testprogram::Row &row : rows)
        expectRow(kTool, folder.path(), row);
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
