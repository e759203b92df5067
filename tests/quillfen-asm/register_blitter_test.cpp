// quillfen-asm register and blitter as a user runs them: the lines they print, which must be what
// the Registers tab shows and must assemble as pasted, and their answers to bad input.
#include "m68k_assembler.h"
#include "run_program.h"

#include <gtest/gtest.h>

namespace {

using Outcome = testprogram::Outcome;

// Runs quillfen-asm with arguments as a shell would split them.
Outcome run(const std::string &arguments) {
    return testprogram::run(QUILLFEN_ASM_TOOL, arguments);
}

std::vector<std::uint16_t> assembled(const std::string &text) {
    const m68k::Result result = m68k::assemble(text);
    EXPECT_TRUE(result.words.has_value()) << result.messages << "\n" << text;
    return result.words.value_or(std::vector<std::uint16_t>{});
}

} // namespace

TEST(QuillfenAsmRegister, PrintsTheTabsLineForAWord) {
    const std::pair<const char *, const char *> cases[] = {
        {"register BPLCON0 5200", "\tmove.w\t#$5200,BPLCON0(a6)\t; BPU=5 COLOR\n"},
        {"register bplcon0 '$5200' --copper", "\tdc.w\tBPLCON0,$5200\t; BPU=5 COLOR\n"},
        {"register DMACON 0x380 --set", "\tmove.w\t#$8380,DMACON(a6)\t; SET DMAEN BPLEN COPEN\n"},
        {"register INTENA c020 --clear", "\tmove.w\t#$4020,INTENA(a6)\t; CLEAR INTEN VERTB\n"},
        {"register FMODE 3", "\tmove.w\t#$0003,FMODE(a6)\t; BPLFETCH=3\n"},
        // SHRES (bit 6) and ECSENA (bit 0) came with ECS (Hardware Reference Manual, the ECS
        // appendix): OCS has no such bits.
        {"register BPLCON0 41 --chipset ecs", "\tmove.w\t#$0041,BPLCON0(a6)\t; SHRES ECSENA\n"},
        {"register BPLCON0 41 --chipset ocs", "\tmove.w\t#$0041,BPLCON0(a6)\t; bit6 bit0\n"},
        // FMODE is AGA's (AGA documentation): on ECS its bits are no bits of any register.
        {"register FMODE 3 --chipset ecs",
         "; FMODE does not exist on ECS: writing it does nothing\n"
         "\tmove.w\t#$0003,FMODE(a6)\t; bit1 bit0\n"},
    };
    for (const auto &[arguments, expected] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 0) << arguments << "\n" << outcome.err;
        EXPECT_EQ(outcome.out, expected) << arguments;
    }
}

TEST(QuillfenAsmRegister, RefusesWhatItCannotWrite) {
    for (const char *arguments :
         {"register", "register BPLCON0", "register NOSUCH 1", "register BPLCON0 10000",
          "register BPLCON0 52g0", "register BPLCON0 5200 --set", "register DMACON 1 --set --clear",
          "register BPLCON0 1 --bogus"}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
        EXPECT_NE(outcome.err.find("usage: quillfen-asm register"), std::string::npos)
            << arguments << "\n"
            << outcome.err;
    }
    const Outcome help = run("register --help");
    EXPECT_EQ(help.status, 0);
    for (const char *option : {"--set", "--clear", "--copper"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(QuillfenAsmBlitter, TheCommonBlitsGiveTheManualsWords) {
    const Outcome cookie =
        run("blitter --function 'AB+!AC' --ashift 4 --bshift 4 --width 4 --height 20");
    EXPECT_EQ(cookie.status, 0) << cookie.err;
    EXPECT_EQ(cookie.out,
              "\tmove.w\t#$4fca,BLTCON0(a6)\t; ASH=4 USEA USEB USEC USED LF=$ca: D=AB+!AC\n"
              "\tmove.w\t#$4000,BLTCON1(a6)\t; BSH=4\n"
              "\tmove.w\t#$0504,BLTSIZE(a6)\t; 20 lines of 4 words: starts the blit\n");
    // Clear: D alone, minterms 0. Copy A to D: the channels follow the function.
    EXPECT_NE(run("blitter --minterms 0 --channels D").out.find("#$0100,BLTCON0"),
              std::string::npos);
    EXPECT_NE(run("blitter --function A").out.find("#$09f0,BLTCON0"), std::string::npos);
    // Exclusive fill with carry-in: EFE, FCI and DESC, bits 4, 2 and 1.
    EXPECT_NE(run("blitter --function A --fill exclusive --fci").out.find("#$0016,BLTCON1"),
              std::string::npos);
}

TEST(QuillfenAsmBlitter, RefusesBadInputAndImpossibleSizes) {
    for (const char *arguments :
         {"blitter", "blitter --function A --minterms f0", "blitter --function 'AB+'",
          "blitter --minterms 100", "blitter --function A --ashift 16",
          "blitter --function A --channels ABX", "blitter --function A --fill both",
          "blitter --function A --fci", "blitter --function A --width 4",
          "blitter --function A extra"}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_NE(outcome.err.find("usage: quillfen-asm blitter"), std::string::npos)
            << arguments << "\n"
            << outcome.err;
    }
    // A size beyond the big-blit registers is something the hardware cannot do.
    const Outcome huge = run("blitter --function A --width 3000 --height 2");
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(huge.out, "");
    EXPECT_EQ(run("blitter --help").status, 0);
}

TEST(QuillfenAsmOutput, AssemblesAsPasted) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // move.w #imm,d16(a6) is $3d7c, the word, the offset; a copper MOVE is the offset and the
    // word. BPLCON0 $100, DMACON $096, BLTCON0 $040, BLTCON1 $042, BLTSIZE $058, BLTSIZV $05c,
    // BLTSIZH $05e (Hardware Reference Manual, appendices A and C).
    EXPECT_EQ(assembled(run("register BPLCON0 5200").out),
              (std::vector<std::uint16_t>{0x3d7c, 0x5200, 0x0100}));
    EXPECT_EQ(assembled(run("register DMACON 380 --set --copper").out),
              (std::vector<std::uint16_t>{0x0096, 0x8380}));
    EXPECT_EQ(assembled(run("blitter --function 'AB+!AC' --ashift 4 --bshift 4 --width 64 "
                            "--height 1024 --copper")
                            .out),
              (std::vector<std::uint16_t>{0x0040, 0x4fca, 0x0042, 0x4000, 0x0058, 0x0000}));
    EXPECT_EQ(assembled(run("blitter --minterms 0 --channels D --width 100 --height 2000").out),
              (std::vector<std::uint16_t>{0x3d7c, 0x0100, 0x0040, 0x3d7c, 0x0000, 0x0042, 0x3d7c,
                                          2000, 0x005c, 0x3d7c, 100, 0x005e}));
}
