// Copper lists read back. The instructions are the Hardware Reference Manual's own examples
// (chapter 2, "Coprocessor Hardware": "The MOVE instruction", "The WAIT instruction" and
// "Using the Copper with the Blitter"), worked out from the bit layout it gives; the listing is
// checked by assembling it with a real 68000 assembler, not by reading the text.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>
#include <amiga/customregisters.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace amiga;

namespace {

using Words = std::vector<std::uint16_t>;

CopperListing listingOf(const Words &words,
                        CopperFrame::Chipset chipset = CopperFrame::Chipset::Ocs,
                        ExplainValue explain = {}) {
    return disassemble(words, {chipset, std::move(explain)});
}

bool mentions(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(CopperList, TheManualsExamplesReadBackAsItExplainsThem) {
    // "DC.W $9601,$FF00 ;Wait for line 150, ignore horizontal counters."
    const CopperListing wait = listingOf({0x9601, 0xff00});
    ASSERT_EQ(wait.entries.size(), 1u);
    EXPECT_EQ(wait.entries[0].instruction.op, CopperOp::Wait);
    EXPECT_EQ(wait.entries[0].instruction.vertical, 150);
    EXPECT_EQ(wait.entries[0].explanation, "WAIT for line $96, any horizontal position");
    EXPECT_EQ(wait.entries[0].line, 150);

    // "DC.W $FFFF,$FFFE ;Wait for line 255, H = 254 (ends Copper list)."
    const CopperListing end = listingOf({0xffff, 0xfffe});
    EXPECT_TRUE(end.entries[0].endOfList);
    EXPECT_EQ(end.entries[0].explanation, "end of list");
    EXPECT_TRUE(end.entries[0].problems.empty());
    EXPECT_EQ(end.stop, CopperFrame::Stop::EndOfList);

    // "DC.W $0180,$0502": MOVE $502 into COLOR00 ($dff180), background red 5, blue 2.
    const CopperListing move = listingOf({0x0180, 0x0502});
    EXPECT_EQ(move.entries[0].instruction.registerOffset, kColour00);
    EXPECT_EQ(move.entries[0].instruction.value, 0x0502);
    EXPECT_EQ(move.entries[0].explanation, "colour 0 = $502");
    EXPECT_EQ(copperInstructionText(move.entries[0]), "\tdc.w\tCOLOR00,$0502");

    // $3fd3,$7ffe: VP $3f, HP $d2 (bit 0 is the WAIT's own), VE $7f, HE $fe and BFD (bit 15 of
    // the second word) clear: the copper also waits until the blitter has finished.
    const CopperListing blitter = listingOf({0x3fd3, 0x7ffe});
    const CopperInstruction &b = blitter.entries[0].instruction;
    EXPECT_EQ(b.vertical, 0x3f);
    EXPECT_EQ(b.horizontal, 0xd2);
    EXPECT_FALSE(b.blitterFinishedDisable);
    EXPECT_EQ(blitter.entries[0].explanation,
              "WAIT for line $3f, horizontal $d2, and for the blitter");

    // SKIP: the WAIT's compare with bit 0 of the second word set.
    const CopperListing skip = listingOf({0x4001, 0xff01});
    EXPECT_EQ(skip.entries[0].instruction.op, CopperOp::Skip);
    EXPECT_TRUE(mentions(skip.entries[0].explanation, "SKIP the next instruction from line $40"));
}

TEST(CopperList, ProblemsAreSaidAndCounted) {
    // The copper cannot write $000-$03e ("Copper control register"): BLTDDAT's $000 and
    // COPCON's $02e.
    const CopperListing never = listingOf({0x002e, 0x0002, 0xffff, 0xfffe});
    EXPECT_TRUE(never.cannotPerform);
    EXPECT_TRUE(mentions(copperListingText(never), "; the copper cannot write registers $000"));

    // $040-$07e only with the danger bit: said, but the copper can do it.
    const CopperListing danger = listingOf({0x0040, 0x09f0});
    EXPECT_FALSE(danger.cannotPerform);
    EXPECT_EQ(danger.entries[0].problems, std::vector{CopperProblem::MoveNeedsDangerBit});

    // An odd word count: the last word is no instruction.
    const CopperListing odd = listingOf({0x0180, 0x0fff, 0x0182});
    ASSERT_EQ(odd.entries.size(), 2u);
    EXPECT_TRUE(odd.entries[1].loneWord);
    EXPECT_TRUE(odd.cannotPerform);

    // After line $ff the vertical compare sees the line's low byte: lines $100-$137 are $00-$37,
    // and a WAIT for $40 there never comes in a PAL frame (312 lines).
    const CopperListing wrapped =
        listingOf({0xffdf, 0xfffe, 0x2c07, 0xfffe, 0x0180, 0x0f00, 0x4007, 0xfffe});
    EXPECT_EQ(wrapped.entries[1].line, 0x12c);
    EXPECT_EQ(wrapped.entries[1].explanation, "WAIT for line $12c, horizontal $06");
    EXPECT_EQ(wrapped.entries[2].line, 0x12c);
    EXPECT_EQ(wrapped.entries[3].line, -1);
    EXPECT_EQ(wrapped.entries[3].notes.size(), 1u);
    EXPECT_EQ(wrapped.stop, CopperFrame::Stop::NeverReached);

    // A WAIT for a line the beam has passed is met at once.
    const CopperListing passed = listingOf({0x2c07, 0xfffe, 0x1007, 0xfffe});
    EXPECT_EQ(passed.entries[1].line, 0x2c);
    EXPECT_TRUE(mentions(passed.entries[1].explanation, "already passed: runs on line $2c"));
}

TEST(CopperList, MovesAreExplainedByTheRegisterDatabaseAndAgaColoursFollowBplcon3) {
    // The bit names come from whoever reads the database: here a stand-in that answers for
    // BPLCON0 alone.
    const ExplainValue explain = [](std::uint16_t offset, std::uint16_t value) {
        return offset == 0x100 && value == 0x5200 ? std::string("BPU=5 COLOR") : std::string();
    };
    const CopperListing bplcon0 = listingOf({0x0100, 0x5200}, CopperFrame::Chipset::Ocs, explain);
    EXPECT_EQ(copperListingText(bplcon0), "\tdc.w\tBPLCON0,$5200\t; BPU=5 COLOR\n");

    // AGA: BPLCON3 $4000 chooses bank 2 (BANK2-0 = bits 15-13), so COLOR05 is colour 69; the
    // high half $5a3 gives $55aa33, the low half with LOCT (bit 9) then $fcb gives $5fac3b.
    const CopperListing aga =
        listingOf({0x0106, 0x4000, 0x018a, 0x05a3, 0x0106, 0x4200, 0x018a, 0x0fcb, 0x0106, 0x0000},
                  CopperFrame::Chipset::Aga);
    EXPECT_EQ(aga.entries[1].colourIndex, 69);
    EXPECT_EQ(aga.entries[1].colour, (Rgb8{0x55, 0xaa, 0x33}));
    EXPECT_EQ(aga.entries[1].explanation, "colour 69 = $55aa33 (bank 2, high nibbles)");
    EXPECT_EQ(aga.entries[3].colour, (Rgb8{0x5f, 0xac, 0x3b}));
    EXPECT_EQ(aga.entries[3].explanation, "colour 69 = $5fac3b (bank 2, low nibbles)");
    // On OCS there are no banks: the same words set COLOR05 twice.
    const CopperListing ocs =
        listingOf({0x0106, 0x4000, 0x018a, 0x05a3, 0x0106, 0x4200, 0x018a, 0x0fcb});
    EXPECT_EQ(ocs.entries[3].colourIndex, 5);
    EXPECT_EQ(ocs.entries[3].explanation, "colour 5 = $fcb");
}

// As sources have it: a '*' comment, or words, after the operands and a blank. GNU as --mri
// (as Devpac and vasm) takes the rest of the line as a comment; the reader must give the words
// the assembler makes.
TEST(CopperRead, WhatFollowsTheOperandsIsACommentAsAssemblersTakeIt) {
    const std::string source = "copper\tdc.w $00e4,$0000    *    ;bit plane pointer\n"
                               "\tdc.w\tBPLCON0,$5200 five planes\n"
                               "\tdc.w\t$ffff,$fffe\t* end\n";
    const Words expected = {0x00e4, 0x0000, 0x0100, 0x5200, 0xffff, 0xfffe};
    EXPECT_EQ(readCopperText(source).words, expected);
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const m68k::Result assembled = m68k::assemble(source);
    ASSERT_TRUE(assembled.words) << assembled.messages;
    EXPECT_EQ(*assembled.words, expected);
}

// Dumps of one list by hexdump -C, od -A x -t x2 --endian=big and xxd, as those tools print
// them: the last line of hexdump and od is the address alone, no data.
TEST(CopperRead, DumpsOfTheUsualTools) {
    const Words expected = {0x0180, 0x0502, 0x0182, 0x0fff, 0x2c07,
                            0xfffe, 0xffff, 0xfffe, 0x0100, 0x5200};
    for (const char *dump :
         {"00000000  01 80 05 02 01 82 0f ff  2c 07 ff fe ff ff ff fe  |........,.......|\n"
          "00000010  01 00 52 00                                       |..R.|\n"
          "00000014\n",
          "000000 0180 0502 0182 0fff 2c07 fffe ffff fffe\n"
          "000010 0100 5200\n"
          "000014\n",
          "00000000: 0180 0502 0182 0fff 2c07 fffe ffff fffe  ........,.......\n"
          "00000010: 0100 5200                                ..R.\n"}) {
        const CopperRead read = readCopperText(dump);
        ASSERT_TRUE(read.ok()) << dump << read.errors[0].message;
        EXPECT_EQ(read.words, expected) << dump;
    }
}

// hexdump and od print "*" for lines that repeat the one before, up to the next address.
TEST(CopperRead, RepeatedLinesOfDumps) {
    Words expected;
    for (int i = 0; i < 12; ++i)
        expected.insert(expected.end(), {0x0180, 0x0f00});
    expected.insert(expected.end(), {0xffff, 0xfffe});
    for (const char *dump :
         {"00000000  01 80 0f 00 01 80 0f 00  01 80 0f 00 01 80 0f 00  |................|\n"
          "*\n"
          "00000030  ff ff ff fe                                       |....|\n"
          "00000034\n",
          "000000 0180 0f00 0180 0f00 0180 0f00 0180 0f00\n"
          "*\n"
          "000030 ffff fffe\n"
          "000034\n"}) {
        const CopperRead read = readCopperText(dump);
        ASSERT_TRUE(read.ok()) << dump << read.errors[0].message;
        EXPECT_EQ(read.words, expected) << dump;
    }
    // A repeat whose length is not known, or that does not fill whole lines, is refused.
    for (const char *dump :
         {"000000 0180 0f00 0180 0f00\n*\n", "000000 0180 0f00 0180 0f00\n*\n000012 ffff fffe\n"}) {
        const CopperRead read = readCopperText(dump);
        ASSERT_FALSE(read.ok()) << dump;
        EXPECT_EQ(read.errors[0].line, 2u) << dump;
    }
}

TEST(CopperRead, MemoryViewsAndBinaryFiles) {
    // An emulator's memory view: an address, words, and the character column.
    const CopperRead view = readCopperText("00c01234 0180 0502 0182 0FFF  ....\n"
                                           "00c0123c: 2c07fffe ffff fffe\n");
    EXPECT_FALSE(view.ok()); // longs and words mixed on one line
    const CopperRead words = readCopperText("00c01234 0180 0502 0182 0FFF  ....\n"
                                            "00c0123c: 2c07fffe fffffffe\n"
                                            "01 00 52 00\n");
    ASSERT_TRUE(words.ok()) << words.errors[0].message;
    EXPECT_EQ(words.words, (Words{0x0180, 0x0502, 0x0182, 0x0fff, 0x2c07, 0xfffe, 0xffff, 0xfffe,
                                  0x0100, 0x5200}));

    const std::vector<std::uint8_t> bytes = {0xde, 0xad, 0x01, 0x80, 0x05, 0x02, 0xff, 0xff};
    EXPECT_EQ(readCopperBinary(bytes, 2).words, (Words{0x0180, 0x0502, 0xffff}));
    EXPECT_FALSE(readCopperBinary(bytes, 1).ok());
    EXPECT_FALSE(readCopperBinary(bytes, 9).ok());
    EXPECT_TRUE(readCopperBinary(bytes, 8).ok());
}

TEST(CopperRead, TextThatIsNoCopperListIsReportedByLineAndNothingIsRead) {
    struct Case {
        const char *text;
        std::size_t line;
        const char *says;
    } cases[] = {
        {"\tdc.w\t$0180\n\tdc.w\tCOLOR00,$0fff+\n", 2, "an operand is missing"},
        {"\tdc.w\t$0180,,$0fff\n", 1, "an empty operand"},
        {"\tdc.w\n", 1, "without operands"},
        {"\tmove.w\t#$0fff,COLOR00(a6)\n", 1, "no copper data"},
        {"0180 05\n", 1, "all of one width"},
        {"01 80 05\n", 1, "odd number of bytes"},
        {"\tdc.w\t-32769\n", 1, "does not fit a word"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const CopperRead read = readCopperText(c.text);
        ASSERT_FALSE(read.ok());
        EXPECT_TRUE(read.words.empty());
        EXPECT_EQ(read.errors[0].line, c.line);
        EXPECT_TRUE(mentions(read.errors[0].message, c.says)) << read.errors[0].message;
    }
    // Errors are reported up to a bound, however many lines are bad.
    EXPECT_EQ(readCopperText(std::string(1000, '#') + "\n" + std::string(10000, '\n') + "?", 3)
                  .errors.size(),
              2u);
}

TEST(CopperList, ListingsAssembleBackToTheirWords) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // Every kind of line: named and nameless registers, unused bits in a MOVE, masks, the
    // blitter bit, the end of list and a lone word.
    expectListingReassembles({0x0100, 0x5200, 0x01f0, 0x1234, 0xfe80, 0x0000, 0x0040, 0x0000,
                              0x9601, 0xff00, 0x3fd3, 0x7ffe, 0x4001, 0xff01, 0xffff, 0xfffe,
                              0x0180},
                             CopperFrame::Chipset::Aga);
    // Random word pairs.
    std::mt19937 random(17);
    Words words;
    for (int i = 0; i < 4000; ++i)
        words.push_back(static_cast<std::uint16_t>(random()));
    expectListingReassembles(words, CopperFrame::Chipset::Ocs);
    expectListingReassembles(words, CopperFrame::Chipset::Aga);
}
