// Copper lists as sources are written. Expected values are worked out by hand from the operator
// order the reader states (Motorola's, shifts above AND/OR) and, where GNU as --mri takes the
// text, checked against the words it assembles. The longer texts, with their reasons, are in
// data/: expressions.txt, copperlines.txt, copperfaults.txt and sources.txt.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>
#include <amiga/customregisters.h>

#include "assembled_copper_list.h"
#include "case_table.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

using namespace amiga;

namespace {

std::string firstError(const CopperRead &read) {
    return read.errors.empty()
               ? std::string()
               : std::to_string(read.errors[0].line) + ":" + std::to_string(read.errors[0].column) +
                     ": " + read.errors[0].message;
}

} // namespace

TEST(CopperSource, OperatorsBindInMotorolasOrder) {
    // The operators of data/expressions.txt, each worked out there by hand.
    const auto table = casetable::rows("expressions.txt", "operators");
    EXPECT_EQ(table.size(), 22u);
    std::string source;
    Words words;
    for (const casetable::Row &c : table) {
        const std::string &expression = c.at(0);
        const auto word = static_cast<std::uint16_t>(casetable::number(c.at(1)));
        const std::string line = std::string("\tdc.w\t") + expression + "\n";
        const CopperRead read = readCopperText(line);
        EXPECT_EQ(read.words, Words{word}) << expression << " " << firstError(read);
        source += line;
        words.push_back(word);
    }
    // GNU as for m68k reads '|' as a comment, and shifts over 64 bits: these are the reader's own.
    EXPECT_EQ(readCopperText("\tdc.w\t5|2\n").words, Words{7});
    EXPECT_EQ(readCopperText("\tdc.w\t-1>>28\n").words, Words{0x000f}); // logical over 32 bits
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    EXPECT_EQ(assembled(source), words);
}

// Each case of data/copperfaults.txt is a text and, in its name, the fault said of it.
TEST(CopperSource, FaultsAreNamedByLineAndColumn) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_AMIGA_DATA "/copperfaults.txt");
    EXPECT_EQ(cases.size(), 23u);
    for (const auto &[says, text] : cases) {
        const CopperRead read = readCopperText(text);
        EXPECT_TRUE(read.words.empty()) << says;
        EXPECT_NE(firstError(read).find(says), std::string::npos) << says << "\n"
                                                                  << firstError(read);
    }
    // Errors are reported up to a bound, however many lines are bad.
    EXPECT_EQ(readCopperText(std::string(1000, '#') + "\n" + std::string(10000, '\n') + "?", 3)
                  .errors.size(),
              2u);
    // A line of megabytes is refused by its number, unread.
    const CopperRead huge = readCopperText("\tdc.w\t1\n\tdc.w\t" + std::string(10 << 20, '1'));
    ASSERT_EQ(huge.errors.size(), 1u);
    EXPECT_EQ(huge.errors[0].line, 2u);
    EXPECT_NE(huge.errors[0].message.find("longer than 4096"), std::string::npos);
}

// Each case of data/copperlines.txt is a text and, after the ':' of its name, the words it holds.
TEST(CopperSource, LinesAsPeopleWriteThem) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_AMIGA_DATA "/copperlines.txt");
    EXPECT_EQ(cases.size(), 8u);
    for (const auto &[name, text] : cases) {
        const Words words = casetable::words(name.substr(name.find(':') + 1));
        const CopperRead read = readCopperText(text);
        ASSERT_TRUE(read.ok()) << name << firstError(read);
        EXPECT_EQ(read.words, words) << name;
        EXPECT_TRUE(read.notes.empty()) << name;
    }
    // Directives the reader passes over, each with a note; nothing after "end" is read.
    const CopperRead directives =
        readCopperText("\tsection c,data_c\n\tXDEF x\n\tinclude hw.i\n\tdc.w 1\n\tend\n\tdc.w 3\n");
    EXPECT_EQ(directives.words, Words{1});
    EXPECT_EQ(directives.notes.size(), 4u);
}

// Words of symbols the text does not define are 0, and listed with their expressions: a long's
// as its high and low word.
TEST(CopperSource, UndefinedSymbolsAreListedAsWrittenAndDefinesGiveThemValues) {
    const std::string text = "\tdc.w\tBPL1PTH,screen>>16,BPL1PTL,screen&$ffff\n"
                             "\tdc.w\tsprite,0\n\tdc.l\tcop+4,cop\n";
    const CopperRead read = readCopperText(text);
    ASSERT_TRUE(read.ok()) << firstError(read);
    EXPECT_EQ(read.words, (Words{0x00e0, 0, 0x00e2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(read.undefinedSymbols, (std::vector<std::string>{"screen", "sprite", "cop"}));
    ASSERT_EQ(read.notes.size(), 1u);
    EXPECT_EQ(read.notes[0].line, 1u);
    const CopperListing listing =
        disassemble(read.words, {{}, {}, CopperFrame::kLines, read.unknown});
    EXPECT_EQ(listing.unknownInstructions, 5u);
    EXPECT_FALSE(listing.cannotPerform); // the unknown first word is no MOVE to $000
    const std::string listed = copperListingText(listing);
    for (const char *line : {"\tdc.w\tBPL1PTH,screen>>16\t", "\tdc.w\tBPL1PTL,screen&$ffff\t",
                             "\tdc.w\tsprite,$0000\t", "\tdc.w\t(cop+4)>>16,(cop+4)&$ffff\t",
                             "\tdc.w\tcop>>16,cop&$ffff\t"})
        EXPECT_NE(listed.find(line), std::string::npos) << listed;

    std::vector<CopperSymbol> symbols;
    std::string error;
    ASSERT_TRUE(readCopperSymbols("screen=$2a000, sprite=COLOR00+2, cop=$c0000", &symbols, &error))
        << error;
    const CopperRead defined = readCopperText(text, symbols);
    EXPECT_EQ(defined.words,
              (Words{0x00e0, 0x0002, 0x00e2, 0xa000, 0x0182, 0, 0x000c, 0x0004, 0x000c, 0x0000}));
    EXPECT_TRUE(defined.unknown.empty());
    EXPECT_TRUE(defined.notes.empty());
    for (const char *bad : {"screen", "1=2", "a=", "a=b", "a=(1"}) {
        std::vector<CopperSymbol> none;
        EXPECT_FALSE(readCopperSymbols(bad, &none, &error)) << bad;
    }
}

// Lists in the style of real sources (data/sources.txt) are read as GNU as --mri assembles them
// (their listings assembling back is copperlist_test's). GNU as refuses "section name,type" and
// cnop, so it gets the list without those lines.
TEST(CopperSource, SourcesAreReadAsTheAssemblerReadsThem) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const std::map<std::string, std::string> lists =
        golden::read(QUILLFEN_AMIGA_DATA "/sources.txt");
    EXPECT_EQ(lists.size(), 3u);
    for (const auto &[name, text] : lists) {
        SCOPED_TRACE(name);
        const std::string gnuText =
            std::regex_replace(text, std::regex("\t(section|cnop)\t.*\n"), "");
        const std::vector<std::uint16_t> gnu = assembled(gnuText);
        const CopperRead read = readCopperText(text);
        ASSERT_TRUE(read.ok()) << firstError(read);
        EXPECT_EQ(read.words, gnu);
    }
}
