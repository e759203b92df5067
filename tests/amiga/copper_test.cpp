// Copper instructions to words and back, with the Hardware Reference Manual's examples
// ("Copper Instructions": the MOVE, WAIT and SKIP word layouts and their examples). Which
// registers the copper may write is customregisters_test.cpp's.
#include <amiga/copper.h>

#include <gtest/gtest.h>

using namespace amiga;

namespace {

using Problems = std::vector<CopperProblem>;

} // namespace

TEST(CopperWords, TheManualsPairsBothWays) {
    // Each pair worked out by hand from the word layouts.
    const struct {
        const char *what;
        CopperWords words;
        CopperInstruction instruction;
    } cases[] = {
        // "DC.W $0180,$0502": COLOR00 ($180) gets $502.
        {"MOVE COLOR00", {0x0180, 0x0502}, CopperInstruction::move(0x180, 0x0502)},
        // "DC.W $9601,$FF00": line 150, horizontal not compared (HE = 0), BFD set.
        {"WAIT line 150", {0x9601, 0xff00}, CopperInstruction::wait(0x96, 0x00, 0x7f, 0x00)},
        // "DC.W $FFFF,$FFFE": line 255, horizontal $fe, everything compared: the end of a list.
        {"end of list", {0xffff, 0xfffe}, CopperInstruction::wait(0xff, 0xfe, 0x7f, 0xfe)},
        // $3fd3,$7ffe: line $3f, horizontal $d2, BFD clear: also waits for the blitter.
        {"WAIT with blitter",
         {0x3fd3, 0x7ffe},
         CopperInstruction::wait(0x3f, 0xd2, 0x7f, 0xfe, false)},
        // A SKIP is a WAIT with bit 0 of the second word set.
        {"SKIP", {0x2c07, 0xffff}, CopperInstruction::wait(0x2c, 0x06, 0x7f, 0xfe).asSkip()},
        // The vertical mask $0f compares bits 7 and 3-0 of the line.
        {"WAIT masked", {0x10e1, 0x8f00}, CopperInstruction::wait(0x10, 0xe0, 0x0f, 0x00)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(decode(c.words), c.instruction) << c.what;
        EXPECT_EQ(encode(c.instruction), c.words) << c.what;
    }
    EXPECT_TRUE(isEndOfList({0xffff, 0xfffe}));
    EXPECT_FALSE(isEndOfList({0xffff, 0xffff}));
    EXPECT_FALSE(isEndOfList({0xffdf, 0xfffe}));
    // The copper ignores bits 15-9 of a MOVE's first word; everything else survives.
    for (std::uint32_t first = 0; first <= 0xffff; first += 0x0101) {
        for (std::uint32_t second = 0; second <= 0xffff; second += 0x0f0f) {
            const CopperWords words{static_cast<std::uint16_t>(first),
                                    static_cast<std::uint16_t>(second)};
            const auto kept = static_cast<std::uint16_t>(first & 1 ? first : first & 0x1fe);
            EXPECT_EQ(encode(decode(words)), (CopperWords{kept, words.second}));
        }
    }
}

TEST(CopperWords, BitsOutsideTheirFieldsAreDroppedByEncodingAndReported) {
    // A horizontal position with bit 0 set, a horizontal mask of $ff, a vertical mask with bit 7:
    // the words keep bit 0 of the first word set and bit 0 of the second clear for a WAIT.
    const CopperInstruction sloppy = CopperInstruction::wait(0x2c, 0x07, 0xff, 0xff);
    EXPECT_EQ(encode(sloppy), (CopperWords{0x2c07, 0xfffe}));
    EXPECT_EQ(copperProblems(sloppy),
              (Problems{CopperProblem::PositionOutsideBits, CopperProblem::MaskOutsideBits}));
    // Bits 15-9 of a MOVE's first word are not part of the offset: each is reported, bit 9 too.
    for (const std::uint16_t first : {0xfe80, 0x0280, 0x8080}) {
        EXPECT_EQ(decode({first, 0x1234}), CopperInstruction::move(0x080, 0x1234));
        EXPECT_EQ(copperProblems(CopperWords{first, 0x1234}),
                  Problems{CopperProblem::MoveUnusedBitsSet});
    }
    // An odd offset cannot be encoded: it is reported, and the words name the even one below.
    EXPECT_EQ(copperProblems(CopperInstruction::move(0x181, 0)),
              Problems{CopperProblem::MoveToOddAddress});
    EXPECT_EQ(encode(CopperInstruction::move(0x181, 0)), (CopperWords{0x0180, 0x0000}));
    EXPECT_EQ(copperProblems(CopperInstruction::move(0x200, 0)),
              Problems{CopperProblem::MoveOutsideRegisters});
}

TEST(CopperWords, WordsReadAsAnotherKindThanMeant) {
    // The old "Add WAIT" preset: $2c00,$fffe is a MOVE to BLTDDAT ($000), which the copper
    // cannot write.
    EXPECT_EQ(copperProblems(CopperWords{0x2c00, 0xfffe}, CopperOp::Wait),
              (Problems{CopperProblem::WaitReadAsMove, CopperProblem::MoveUnusedBitsSet,
                        CopperProblem::MoveNeverAllowed}));
    // A horizontal mask of $ff makes a WAIT a SKIP; a SKIP without bit 0 is a WAIT.
    EXPECT_EQ(copperProblems(CopperWords{0x2c07, 0xffff}, CopperOp::Wait),
              Problems{CopperProblem::WaitReadAsSkip});
    EXPECT_EQ(copperProblems(CopperWords{0x2c07, 0xfffe}, CopperOp::Skip),
              Problems{CopperProblem::SkipReadAsWait});
    EXPECT_EQ(copperProblems(CopperWords{0x2c07, 0xfffe}, CopperOp::Wait), Problems{});
    EXPECT_EQ(copperProblems(CopperWords{0x0180, 0x0fff}, CopperOp::Move), Problems{});
}

TEST(CopperWords, TheBeamCompareUsesMasksAndTheLinesLowByte) {
    // The horizontal beam position ends at $e2 and the compare is "greater or equal" on line and
    // horizontal together: a WAIT for $2c,$e4 is met at the start of line $2d, but one for
    // $ff,$e4 never, as no line compares above $ff. The end of list is meant that way.
    const std::pair<CopperWords, bool> never[] = {
        {{0xffff, 0xfffe}, false},
        {{0x2ce5, 0xfffe}, false},
        {{0xffe5, 0xfffe}, true},
        {{0xffe3, 0xfffe}, false},
        // Only bit 7 of the line compared: lines $80-$ff all compare as $80, still below $80,$e4.
        {{0xffe5, 0x80fe}, true},
        // With the horizontal masked to bits 7-6 ($c0), $e4 compares as $c0: reached.
        {{0xffe5, 0xffc0}, false},
        {{0xfff1, 0xffff}, true}, // a SKIP that is never met never skips
    };
    for (const auto &[words, isNever] : never)
        EXPECT_EQ(copperProblems(words), isNever ? Problems{CopperProblem::NeverMet} : Problems{})
            << std::hex << words.first << "," << words.second;
    const struct {
        CopperWords words;
        int line, horizontal;
        bool reached;
    } cases[] = {
        {{0x9601, 0xff00}, 0x95, 0xe2, false},
        {{0x9601, 0xff00}, 0x96, 0x00, true},
        {{0x9601, 0xff00}, 0x100, 0x00, false}, // line $100 compares as $00
        {{0x9601, 0xff00}, 0x196, 0x00, true},
        {{0xffdf, 0xfffe}, 0xff, 0xdc, false},
        {{0xffdf, 0xfffe}, 0xff, 0xde, true},
        // Bit 0 of the horizontal beam position is not compared: $dd is still $dc.
        {{0xffdf, 0xfffe}, 0xff, 0xdd, false},
        // Vertical mask $0f: bit 7 is always compared, bits 6-4 not. Line $2c wants $0c with
        // bit 7 clear: line $0c reaches it, line $8c (bit 7 set) is past it, $1b (=$0b) is not.
        {{0x2c01, 0x8f00}, 0x0c, 0, true},
        {{0x2c01, 0x8f00}, 0x8c, 0, true},
        {{0x2c01, 0x8f00}, 0x1b, 0, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(beamReached(decode(c.words), c.line, c.horizontal), c.reached)
            << std::hex << c.words.first << " at " << c.line << "," << c.horizontal;
}
