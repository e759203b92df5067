// Copper instructions to words and back, with the Hardware Reference Manual's examples
// ("Copper Instructions": the MOVE, WAIT and SKIP word layouts and their examples; the cases,
// with their reasons, in data/copper.txt). Which
// registers the copper may write is customregisters_test.cpp's.
#include <amiga/copper.h>

#include "case_table.h"

#include <gtest/gtest.h>

using namespace amiga;

using Problems = std::vector<CopperProblem>;

TEST(CopperWords, TheManualsPairsBothWays) {
    // The pairs of data/copper.txt, each worked out by hand from the word layouts.
    for (const casetable::Row &c : casetable::rows("copper.txt", "the manual's pairs")) {
        const std::vector<std::uint16_t> w = casetable::words(c.at(0));
        std::istringstream in(c.at(1));
        std::vector<std::uint16_t> f;
        std::string kind, word;
        in >> kind;
        while (in >> word && word[0] == '$')
            f.push_back(static_cast<std::uint16_t>(casetable::number(word)));
        CopperInstruction i = kind == "move" ? CopperInstruction::move(f.at(0), f.at(1))
                                             : CopperInstruction::wait(f.at(0), f.at(1), f.at(2),
                                                                       f.at(3), word != "blitter");
        if (word == "skip")
            i = i.asSkip();
        EXPECT_EQ(decode({w.at(0), w.at(1)}), i) << c[0];
        EXPECT_EQ(encode(i), (CopperWords{w.at(0), w.at(1)})) << c[0];
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
    // The cases of data/copper.txt.
    for (const casetable::Row &c : casetable::rows("copper.txt", "never met")) {
        const std::vector<std::uint16_t> w = casetable::words(c.at(0));
        EXPECT_EQ(copperProblems(CopperWords{w.at(0), w.at(1)}),
                  c.at(1) == "never" ? Problems{CopperProblem::NeverMet} : Problems{})
            << c[0];
    }
    for (const casetable::Row &c : casetable::rows("copper.txt", "reached")) {
        const std::vector<std::uint16_t> w = casetable::words(c.at(0));
        EXPECT_EQ(beamReached(decode({w.at(0), w.at(1)}),
                              static_cast<int>(casetable::number(c.at(1))),
                              static_cast<int>(casetable::number(c.at(2)))),
                  c.at(3) == "yes")
            << c[0] << " at " << c[1] << "," << c[2];
    }
}
