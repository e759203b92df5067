// Copper lists read back. The instructions are the Hardware Reference Manual's own examples
// (chapter 2, "Coprocessor Hardware": "The MOVE instruction", "The WAIT instruction" and
// "Using the Copper with the Blitter"), worked out from the bit layout it gives (their words are
// copper_test.cpp's); the listing is checked by assembling it with a real 68000 assembler, not by
// reading the text.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>
#include <amiga/customregisters.h>

#include "assembled_copper_list.h"
#include "case_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace amiga;

namespace {

CopperListing listingOf(const Words &words,
                        CopperFrame::Chipset chipset = CopperFrame::Chipset::Ocs,
                        ExplainValue explain = {}) {
    return disassemble(words, {chipset, std::move(explain)});
}

} // namespace

TEST(CopperList, EachInstructionIsExplainedOnItsLine) {
    const auto table = casetable::rows("copperlist.txt", "one list");
    Words words;
    for (const casetable::Row &c : table) {
        const Words pair = casetable::words(c.at(0));
        words.insert(words.end(), pair.begin(), pair.end());
    }
    const CopperListing listing = listingOf(words);
    ASSERT_EQ(listing.entries.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(listing.entries[i].explanation, table[i].at(1));
        EXPECT_EQ(listing.entries[i].line, static_cast<int>(casetable::number(table[i].at(2))))
            << table[i][1];
        EXPECT_TRUE(listing.entries[i].problems.empty()) << table[i][1];
    }
    EXPECT_EQ(listingOf({0x4001, 0xff01}).entries[0].explanation,
              "SKIP the next instruction from line $40, any horizontal position");
    // "DC.W $FFFF,$FFFE ;Wait for line 255, H = 254 (ends Copper list)."
    const CopperListing end = listingOf({0xffff, 0xfffe});
    EXPECT_TRUE(end.entries[0].endOfList);
    EXPECT_EQ(end.entries[0].explanation, "end of list");
    EXPECT_TRUE(end.entries[0].problems.empty());
    EXPECT_EQ(end.stop, CopperFrame::Stop::EndOfList);
}

TEST(CopperList, ProblemsAreSaidAndCounted) {
    // The copper cannot write $000-$03e ("Copper control register"): BLTDDAT's $000 and
    // COPCON's $02e.
    const CopperListing never = listingOf({0x002e, 0x0002, 0xffff, 0xfffe});
    EXPECT_TRUE(never.cannotPerform);
    EXPECT_NE(copperListingText(never).find("; the copper cannot write registers $000"),
              std::string::npos);

    // $040-$07e only with the danger bit: said, but the copper can do it.
    const CopperListing danger = listingOf({0x0040, 0x09f0});
    EXPECT_FALSE(danger.cannotPerform);
    EXPECT_EQ(danger.entries[0].problems, std::vector{CopperProblem::MoveNeedsDangerBit});

    // An odd word count: the last word is no instruction.
    const CopperListing odd = listingOf({0x0180, 0x0fff, 0x0182});
    ASSERT_EQ(odd.entries.size(), 2u);
    EXPECT_TRUE(odd.entries[1].loneWord);
    EXPECT_TRUE(odd.cannotPerform);

    // A WAIT for $40 after line $ff never comes in a PAL frame (312 lines).
    const CopperListing wrapped = listingOf({0xffdf, 0xfffe, 0x4007, 0xfffe});
    EXPECT_EQ(wrapped.entries[1].line, -1);
    EXPECT_EQ(wrapped.entries[1].notes.size(), 1u);
    EXPECT_EQ(wrapped.stop, CopperFrame::Stop::NeverReached);
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
    const Words words = {0x0106, 0x4000, 0x018a, 0x05a3, 0x0106, 0x4200, 0x018a, 0x0fcb};
    const CopperListing aga = listingOf(words, CopperFrame::Chipset::Aga);
    EXPECT_EQ(aga.entries[1].colourIndex, 69);
    EXPECT_EQ(aga.entries[1].colour, (Rgb8{0x55, 0xaa, 0x33}));
    EXPECT_EQ(aga.entries[1].explanation, "colour 69 = $55aa33 (bank 2, high nibbles)");
    EXPECT_EQ(aga.entries[3].colour, (Rgb8{0x5f, 0xac, 0x3b}));
    EXPECT_EQ(aga.entries[3].explanation, "colour 69 = $5fac3b (bank 2, low nibbles)");
    // On OCS there are no banks: the same words set COLOR05 twice.
    const CopperListing ocs = listingOf(words);
    EXPECT_EQ(ocs.entries[3].colourIndex, 5);
    EXPECT_EQ(ocs.entries[3].explanation, "colour 5 = $fcb");
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

TEST(CopperRead, DumpsMemoryViewsAndBinaryFiles) {
    const Words list = {0x0180, 0x0502, 0x0182, 0x0fff, 0x2c07,
                        0xfffe, 0xffff, 0xfffe, 0x0100, 0x5200};
    const auto dumps = golden::read(QUILLFEN_AMIGA_DATA "/dumps.txt");
    EXPECT_EQ(dumps.size(), 7u);
    for (const auto &[name, dump] : dumps) {
        const casetable::Row c = casetable::fields(name);
        const CopperRead read = readCopperText(dump);
        if (c.at(1) == "refused at line 2") {
            ASSERT_FALSE(read.ok()) << name;
            EXPECT_EQ(read.errors[0].line, 2u) << name;
        } else {
            ASSERT_TRUE(read.ok()) << name << read.errors[0].message;
            EXPECT_EQ(read.words, casetable::words(c[1])) << name;
        }
    }

    // An emulator's memory view: an address, words, and the character column; longs and words
    // are not mixed on one line.
    EXPECT_FALSE(readCopperText("00c0123c: 2c07fffe ffff fffe\n").ok());
    const CopperRead view = readCopperText("00c01234 0180 0502 0182 0FFF  ....\n"
                                           "00c0123c: 2c07fffe fffffffe\n"
                                           "01 00 52 00\n");
    ASSERT_TRUE(view.ok()) << view.errors[0].message;
    EXPECT_EQ(view.words, list);

    const std::vector<std::uint8_t> bytes = {0xde, 0xad, 0x01, 0x80, 0x05, 0x02, 0xff, 0xff};
    EXPECT_EQ(readCopperBinary(bytes, 2).words, (Words{0x0180, 0x0502, 0xffff}));
    EXPECT_FALSE(readCopperBinary(bytes, 1).ok());
    EXPECT_FALSE(readCopperBinary(bytes, 9).ok());
    EXPECT_TRUE(readCopperBinary(bytes, 8).ok());
}
