// quillfen-asm copper, run as a user would: a list pasted from a source or dumped as binary,
// read back and assembled again.
#include "m68k_assembler.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct TempFile {
    explicit TempFile(const std::string &bytes) {
        char name[] = "/tmp/quillfen-copper-XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        std::ofstream(path, std::ios::binary) << bytes;
        if (fd >= 0)
            close(fd);
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string path;
};

testprogram::Outcome copper(const std::string &arguments) {
    return testprogram::run(QUILLFEN_ASM_TOOL, "copper " + arguments);
}

} // namespace

TEST(QuillfenAsmCopper, AListReadsBackAndAssemblesToItsWords) {
    // The Hardware Reference Manual's examples: a background colour, WAITs and the end.
    const TempFile source("list:\tdc.w\t$0180,$0502\n"
                          "\tdc.w\t$9601,$ff00\t; line 150\n"
                          "\tdc.l\t$3fd37ffe\n"
                          "\tdc.w\t$ffff,$fffe\n");
    const testprogram::Outcome text = copper(source.path);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "\tdc.w\tCOLOR00,$0502\t; colour 0 = $502\n"
                        "\tdc.w\t$9601,$ff00\t; WAIT for line $96, any horizontal position\n"
                        "\tdc.w\t$3fd3,$7ffe\t; WAIT for line $3f, horizontal $d2, and for the "
                        "blitter, already passed: runs on line $96\n"
                        "\tdc.w\t$ffff,$fffe\t; end of list\n");
    if (m68k::available()) {
        const m68k::Result result = m68k::assemble(text.out);
        ASSERT_TRUE(result.words) << result.messages;
        EXPECT_EQ(*result.words, (std::vector<std::uint16_t>{0x0180, 0x0502, 0x9601, 0xff00, 0x3fd3,
                                                             0x7ffe, 0xffff, 0xfffe}));
    }
    // The same words as a binary dump after four bytes of something else.
    const TempFile binary(std::string("\x12\x34\x56\x78\x01\x80\x05\x02\xff\xff\xff\xfe", 12));
    const testprogram::Outcome dumped = copper("--binary --offset 4 " + binary.path);
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.out, "\tdc.w\tCOLOR00,$0502\t; colour 0 = $502\n"
                          "\tdc.w\t$ffff,$fffe\t; end of list\n");
    // "-" reads standard input: here the empty one the test runs the program with.
    const testprogram::Outcome empty = copper("-");
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_TRUE(empty.out.empty());
}

TEST(QuillfenAsmCopper, NtscRunsTheListOverTheShorterFrame) {
    // Line $106 comes in a PAL frame (to $137), not in an NTSC one (to $105).
    const TempFile source("\tdc.w\t$ffdf,$fffe\n\tdc.w\t$0601,$fffe\n\tdc.w\t$ffff,$fffe\n");
    const std::string unreached = "the copper waits here until the next one";
    const testprogram::Outcome pal = copper(source.path);
    EXPECT_NE(pal.out.find("WAIT for line $106"), std::string::npos) << pal.out;
    EXPECT_EQ(pal.out.find(unreached), std::string::npos) << pal.out;
    const testprogram::Outcome ntsc = copper("--ntsc " + source.path);
    EXPECT_EQ(ntsc.status, 0) << ntsc.err;
    EXPECT_NE(ntsc.out.find(unreached), std::string::npos) << ntsc.out;
}

TEST(QuillfenAsmCopper, ValuesAreExplainedByTheirBits) {
    // BPLCON0 $5200: BPU2-0 (bits 14-12) = 101, five planes, and COLOR (bit 9). DMACON $8380:
    // SET/CLR (bit 15) set, DMAEN (9), BPLEN (8) and COPEN (7) (Hardware Reference Manual,
    // appendix A, BPLCON0 and DMACON).
    const TempFile source("\tdc.w\tBPLCON0,$5200\n\tdc.w\t$0096,$8380\n");
    const testprogram::Outcome listing = copper(source.path);
    EXPECT_EQ(listing.out, "\tdc.w\tBPLCON0,$5200\t; BPU=5 COLOR\n"
                           "\tdc.w\tDMACON,$8380\t; SET DMAEN BPLEN COPEN\n");
}

TEST(QuillfenAsmCopper, Bplcon1CountsInTheChosenChipsetsUnits) {
    // Hardware Reference Manual, playfield register summary (BPLCON1): bits 7-4 PF2H3-0 and
    // bits 3-0 PF1H3-0, each playfield's delay in lores pixels; bits 15-8 not used.
    // AGA documentation (BPLCON1): the delays count 35 ns steps; bits 15-14 PF2H7-6,
    // 13-12 PF2H1-0, 11-10 PF1H7-6, 9-8 PF1H1-0, 7-4 PF2H5-2, 3-0 PF1H5-2.
    const TempFile source("\tdc.w\tBPLCON1,$00ff\n\tdc.w\tBPLCON1,$ff00\n");
    struct Case {
        const char *chipset;
        const char *low;  // $00ff
        const char *high; // $ff00
    };
    for (const Case &c : {
             Case{"ocs", "PF2H=$f PF1H=$f", "bit15 bit14 bit13 bit12 bit11 bit10 bit9 bit8"},
             Case{"ecs", "PF2H=$f PF1H=$f", "bit15 bit14 bit13 bit12 bit11 bit10 bit9 bit8"},
             Case{"aga", "PF2H=$3c PF1H=$3c", "PF2H=$c3 PF1H=$c3"},
         }) {
        SCOPED_TRACE(c.chipset);
        const testprogram::Outcome listing =
            copper(std::string("--chipset ") + c.chipset + " " + source.path);
        EXPECT_EQ(listing.status, 0) << listing.err;
        EXPECT_EQ(listing.out, std::string("\tdc.w\tBPLCON1,$00ff\t; ") + c.low +
                                   "\n\tdc.w\tBPLCON1,$ff00\t; " + c.high + "\n");
    }
}

TEST(QuillfenAsmCopper, ExitStatusSaysWhatIsWrong) {
    // A MOVE to COPCON ($02e), which the copper can never write: printed, with status 1.
    const TempFile never("\tdc.w\t$002e,$0002\n");
    const testprogram::Outcome cannot = copper(never.path);
    EXPECT_EQ(cannot.status, 1);
    EXPECT_NE(cannot.out.find("; the copper cannot write registers $000-$03e"), std::string::npos);

    // Unreadable text: the line is named, nothing is printed.
    // Unreadable text: the line and column are named, nothing is printed.
    const TempFile bad("\tdc.w\t$0180,$0fff\n\tdc.w\tCOLOR00,(1+2\n");
    const testprogram::Outcome unreadable = copper(bad.path);
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_TRUE(unreadable.out.empty());
    EXPECT_NE(unreadable.err.find(bad.path + ":2:15: a '(' that is not closed"), std::string::npos)
        << unreadable.err;

    for (const std::string &arguments :
         {std::string(""), "--chipset ham " + bad.path, "--offset 2 " + bad.path,
          "--binary --offset x " + bad.path, bad.path + " " + bad.path, "--define x " + bad.path,
          "--define 1=2 " + bad.path, "--define a=b " + bad.path, "--define a=1/0 " + bad.path,
          "--binary --define a=1 " + bad.path}) {
        SCOPED_TRACE(arguments);
        const testprogram::Outcome usage = copper(arguments);
        EXPECT_EQ(usage.status, 2);
        EXPECT_NE(usage.err.find("usage: quillfen-asm copper"), std::string::npos) << usage.err;
    }
    EXPECT_EQ(copper("/nonexistent/list.s").status, 2);
    EXPECT_EQ(copper("--binary --offset 100 " + bad.path).status, 2);
    const testprogram::Outcome help = copper("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--chipset"), std::string::npos);
}

// A symbol the text does not define: listed as written and named in a note on standard error,
// with the directives passed over; --define gives it a value (repeatable, a later one may use an
// earlier one).
TEST(QuillfenAsmCopper, UndefinedSymbolsAndDefines) {
    const TempFile source("\tdc.w\tBPL1PTH,screen>>16\n\tsection\tcopper,data_c\n"
                          "\tdc.w\tBPL1PTL,screen&$ffff\n");
    const testprogram::Outcome kept = copper(source.path);
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_EQ(kept.out, "\tdc.w\tBPL1PTH,screen>>16\t; BPL1PTH = screen>>16, not known here\n"
                        "\tdc.w\tBPL1PTL,screen&$ffff\t; BPL1PTL = screen&$ffff, not known here\n");
    EXPECT_NE(kept.err.find(source.path + ":2: note: section passed over"), std::string::npos)
        << kept.err;
    EXPECT_NE(kept.err.find(source.path + ":1: note: not defined in the text: screen"),
              std::string::npos)
        << kept.err;
    const testprogram::Outcome defined =
        copper("--define 'base=$20000' --define 'screen=base+$3456' " + source.path);
    EXPECT_EQ(defined.status, 0) << defined.err;
    EXPECT_NE(defined.out.find("\tdc.w\tBPL1PTH,$0002"), std::string::npos) << defined.out;
    EXPECT_NE(defined.out.find("\tdc.w\tBPL1PTL,$3456"), std::string::npos) << defined.out;
    EXPECT_EQ(defined.err.find("not defined"), std::string::npos) << defined.err;
}
