// quillfen-asm display, run as a makefile would run it. The expected words are worked out by
// hand from the Hardware Reference Manual's rules (see tests/amiga/displaysetup_test.cpp).
#include "m68k_assembler.h"
#include "run_program.h"

#include <gtest/gtest.h>

namespace {

testprogram::Outcome display(const std::string &arguments) {
    return testprogram::run(QUILLFEN_ASM_TOOL, "display " + arguments);
}

// The value words of an assembled copper block (every second word).
std::vector<std::uint16_t> values(const std::string &text) {
    const m68k::Result result = m68k::assemble(text);
    EXPECT_TRUE(result.words) << result.messages << text;
    std::vector<std::uint16_t> out;
    if (result.words)
        for (std::size_t i = 1; i < result.words->size(); i += 2)
            out.push_back((*result.words)[i]);
    return out;
}

} // namespace

TEST(QuillfenAsmDisplay, TheWorkedScreensComeOutAsTheirRegisters) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    struct Case {
        const char *arguments;
        std::vector<std::uint16_t> words; // DIWSTRT DIWSTOP DDFSTRT DDFSTOP BPLCON0 BPL1MOD BPL2MOD
    } cases[] = {
        {"--width 320 --height 256 --depth 5", {0x2c81, 0x2cc1, 0x38, 0xd0, 0x5200, 0, 0}},
        {"--hires --width 640 --depth 4", {0x2c81, 0x2cc1, 0x3c, 0xd4, 0xc200, 0, 0}},
        {"--ntsc --height 200", {0x2c81, 0xf4c1, 0x38, 0xd0, 0x5200, 0, 0}},
        {"--interleaved --depth=5", {0x2c81, 0x2cc1, 0x38, 0xd0, 0x5200, 0xa0, 0xa0}},
        {"--hstart 71 --vstart 2c --width 352", {0x2c71, 0x2cd1, 0x30, 0xd8, 0x5200, 0, 0}},
        {"--chipset aga --fmode 3 --depth 8", {0x2c81, 0x2cc1, 0x38, 0xb8, 0x0210, 0, 0, 3}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const testprogram::Outcome outcome = display(c.arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(values(outcome.out), c.words) << outcome.out;
    }
}

TEST(QuillfenAsmDisplay, CpuCodeAndWarningsAssembleAsPrinted) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const testprogram::Outcome cpu = display("--cpu");
    ASSERT_EQ(cpu.status, 0);
    EXPECT_EQ(cpu.out.substr(0, 27), "\tmove.w\t#$2c81,DIWSTRT(a6)\n");
    const m68k::Result result = m68k::assemble(cpu.out);
    ASSERT_TRUE(result.words) << result.messages;
    EXPECT_EQ(result.words->size(), 21u); // seven move.w #imm,d16(a6) of three words
    const testprogram::Outcome overscan = display("--hstart 71 --width 352");
    EXPECT_NE(overscan.out.find("; the fetch starts before $38: sprite 7"), std::string::npos)
        << overscan.out;
}

TEST(QuillfenAsmDisplay, BadOptionsAreUsageErrors) {
    for (const char *arguments :
         {"--width", "--width 0", "--width x", "--depth 9", "--chipset amiga", "--fmode 3",
          "--superhires", "--hires --superhires", "--hstart 2g", "--centre --hstart 81", "--colour",
          "stray"}) {
        SCOPED_TRACE(arguments);
        const testprogram::Outcome outcome = display(arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.out.empty());
        EXPECT_NE(outcome.err.find("usage: quillfen-asm display"), std::string::npos)
            << outcome.err;
    }
    const testprogram::Outcome help = display("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--interleaved"), std::string::npos);
    EXPECT_EQ(testprogram::run(QUILLFEN_ASM_TOOL, "--help").status, 0);
    EXPECT_EQ(testprogram::run(QUILLFEN_ASM_TOOL, "").status, 2);
    EXPECT_EQ(testprogram::run(QUILLFEN_ASM_TOOL, "nosuch").status, 2);
}
