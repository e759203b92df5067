// Copper lists as sources are written. Expected values are worked out by hand from the operator
// order the reader states (Motorola's, shifts above AND/OR) and, where GNU as --mri takes the
// text, checked against the words it assembles.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>
#include <amiga/customregisters.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace amiga;

namespace {

using Words = std::vector<std::uint16_t>;

std::string firstError(const CopperRead &read) {
    return read.errors.empty()
               ? std::string()
               : std::to_string(read.errors[0].line) + ":" + std::to_string(read.errors[0].column) +
                     ": " + read.errors[0].message;
}

} // namespace

TEST(CopperSource, OperatorsBindInMotorolasOrder) {
    struct Case {
        const char *expression;
        std::uint16_t word;
        bool gnu; // GNU as --mri takes it and agrees
    } cases[] = {
        {"6&3*2", 4, true},     // & before *: (6&3)*2
        {"2*3&1", 2, true},     // 2*(3&1)
        {"1<<2+3", 7, true},    // << before +: 4+3
        {"3*3>>1", 3, true},    // >> before *: 3*1
        {"3&1<<2", 0, true},    // << before &: 3&4
        {"1+2&3", 3, true},     // & before +
        {"5-3&1", 4, true},     // 5-(3&1)
        {"6^3&5", 5, true},     // & ^ on one level, left to right: (6^3)&5
        {"6!1&3", 3, true},     // ! between operands is OR: (6!1)&3
        {"2*7%4", 2, true},     // * and % on one level: 14%4
        {"10-2-3", 5, true},    // left to right
        {"-7/2", 0xfffd, true}, // -3: toward zero
        {"~0&$ff", 0xff, true},
        {"!0+!5", 1, true},
        {"-2*-3", 6, true},
        {"(1+2)*3", 9, true},
        {"$ff<<8>>4", 0x0ff0, true},
        {"%101+@17+10", 30, true}, // 5 + 15 + 10
        {"('A'+1)", 0x42, true},   // a character in an expression is its code
        {"'AB'", 0x4142, true},
        {"'A'", 0x4100, true}, // a lone string is data, left-aligned in its word
        {"$fffe0001/$ffff", 0xffff, true},
        {"5|2", 7, false},         // GNU as for m68k reads '|' as a comment
        {"-1>>28", 0x000f, false}, // logical over 32 bits; GNU as shifts 64
    };
    std::string source;
    Words gnuWords;
    for (const Case &c : cases) {
        const std::string line = std::string("\tdc.w\t") + c.expression + "\n";
        const CopperRead read = readCopperText(line);
        EXPECT_EQ(read.words, Words{c.word}) << c.expression << " " << firstError(read);
        if (c.gnu) {
            source += line;
            gnuWords.push_back(c.word);
        }
    }
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const m68k::Result gnu = m68k::assemble(source, "");
    ASSERT_TRUE(gnu.words) << gnu.messages;
    EXPECT_EQ(*gnu.words, gnuWords);
}

TEST(CopperSource, FaultsAreNamedByLineAndColumn) {
    struct Case {
        const char *text;
        const char *where; // line:column: message part
    } cases[] = {
        {"\tdc.w\t$0180,(1+2\n", "1:13: a '(' that is not closed"},
        {"\tdc.w\t$0180,2)\n", "1:14: a ')' without its '('"},
        {"\n\tdc.w\t1/(2-2)\n", "2:8: division by zero"},
        {"\tdc.l\t$100000000\n", "1:7: the value is past 32 bits"},
        {"\tdc.w\t$ffff*$ffff*$ffff\n", "1:18: the value is past 32 bits"},
        {"\tdc.w\t1<<32\n", "1:8: the value is past 32 bits"},
        {"\tdc.w\t-$ffffffff\n", "1:7: the value is past 32 bits"},
        {"\tdc.w\t1+\n", "1:9: an operand is missing"},
        {"\tdc.w\t'abc\n", "1:7: a quote that is not closed"},
        {"\tdc.w\t1 ,$10000\n", "1:10: '$10000' does not fit a word"},
        {"\tdc.b\t$100\n", "1:7: '$100' does not fit a byte"},
        {"\tdc.b\tscreen\n", "1:7: 'screen': a byte of an undefined symbol"},
        {"x equ y\ny equ x\n\tdc.w\tx\n", "2:0: 'x' is defined through itself"},
        {"a equ 1\na equ 2\n", "2:3: 'a' is already defined on line 1"},
        {"\tequ\t5\n", "1:2: equ needs a name before it"},
        {"\tdc.w\t1$\n", "1:8: '$' where an operator belongs"},
    };
    for (const Case &c : cases) {
        const CopperRead read = readCopperText(c.text);
        ASSERT_FALSE(read.ok()) << c.text;
        EXPECT_TRUE(read.words.empty());
        EXPECT_EQ(firstError(read).rfind(c.where, 0), 0u) << c.text << firstError(read);
    }
    // A line of megabytes is refused by its number, unread.
    const CopperRead huge = readCopperText("\tdc.w\t1\n\tdc.w\t" + std::string(10 << 20, '1'));
    ASSERT_EQ(huge.errors.size(), 1u);
    EXPECT_EQ(huge.errors[0].line, 2u);
    EXPECT_NE(huge.errors[0].message.find("longer than 4096"), std::string::npos);
}

TEST(CopperSource, LinesAsPeopleWriteThem) {
    struct Unknown {
        std::size_t word;
        const char *expression;
    };
    struct Case {
        const char *name;
        const char *text;
        Words words;
        std::vector<Unknown> unknown = {};
        std::size_t notes = 0;
    } cases[] = {
        {"labels",
         "start:\n\tdc.w\t$0180,$0fff\nloop dc.w 1\n  inner: dc.w 2\n\tnamed\tdc.w 3\n",
         {0x0180, 0x0fff, 1, 2, 3}},
        {"use before definition",
         "\tdc.w\tBPLCON0,P<<12!$200\nP\tequ\tD+1\nD = 4\n",
         {0x0100, 0x5200}},
        {"set redefines", "v set 1\n\tdc.w v\nv: SET v+1\n\tdc.w v\n", {1, 2}},
        {"bytes pair into words",
         "\tdc.b 1,2,3\n\tdc.w 4\n\tdc.b 'hey'\n\teven\n",
         {0x0102, 0x0300, 4, 0x6865, 0x7900}},
        {"longs and strings",
         "\tDC.L $2c07fffe,'AB'\n\tdc 'C'\n",
         {0x2c07, 0xfffe, 0x4142, 0, 0x4300}},
        {"operands, blanks and comments",
         "\tdc.w $0180, $0fff ,COLOR01,1  * white\n* a comment line\n\tdc.w 0x0502,4095\n",
         {0x0180, 0x0fff, 0x0182, 1, 0x0502, 0x0fff}},
        {"registers in any case",
         "\tdc.w color01,$0fff,Bpl1Mod,-40\n",
         {0x0182, 0x0fff, 0x0108, 0xffd8}},
        {"the text's own definition wins", "COLOR00 equ $182\n\tdc.w COLOR00,1\n", {0x0182, 1}},
        {"directives",
         "\tsection c,data_c\n\tXDEF x\n\tinclude hw.i\n\tdc.w 1\n\tend\n\tdc.w 3\n",
         {1},
         {},
         4},
        {"undefined symbols",
         "\tdc.w\tBPL1PTH,scr>>16\n\tdc.l\tcop+4,cop\n",
         {0x00e0, 0, 0, 0, 0, 0},
         {{1, "scr>>16"},
          {2, "(cop+4)>>16"},
          {3, "(cop+4)&$ffff"},
          {4, "cop>>16"},
          {5, "cop&$ffff"}},
         1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const CopperRead read = readCopperText(c.text);
        ASSERT_TRUE(read.ok()) << firstError(read);
        EXPECT_EQ(read.words, c.words);
        ASSERT_EQ(read.unknown.size(), c.unknown.size());
        for (std::size_t i = 0; i < c.unknown.size(); ++i) {
            EXPECT_EQ(read.unknown[i].word, c.unknown[i].word);
            EXPECT_EQ(read.unknown[i].expression, c.unknown[i].expression);
        }
        EXPECT_EQ(read.notes.size(), c.notes);
    }
}

TEST(CopperSource, UndefinedSymbolsAreListedAsWrittenAndDefinesGiveThemValues) {
    const std::string text = "\tdc.w\tBPL1PTH,screen>>16,BPL1PTL,screen&$ffff\n"
                             "\tdc.w\tsprite,0\n";
    const CopperRead read = readCopperText(text);
    ASSERT_TRUE(read.ok()) << firstError(read);
    EXPECT_EQ(read.undefinedSymbols, (std::vector<std::string>{"screen", "sprite"}));
    ASSERT_EQ(read.notes.size(), 1u);
    EXPECT_EQ(read.notes[0].line, 1u);
    const CopperListing listing =
        disassemble(read.words, {{}, {}, CopperFrame::kLines, read.unknown});
    EXPECT_EQ(listing.unknownInstructions, 3u);
    EXPECT_FALSE(listing.cannotPerform); // the unknown first word is no MOVE to $000
    const std::string listed = copperListingText(listing);
    for (const char *line : {"\tdc.w\tBPL1PTH,screen>>16\t", "\tdc.w\tBPL1PTL,screen&$ffff\t",
                             "\tdc.w\tsprite,$0000\t"})
        EXPECT_NE(listed.find(line), std::string::npos) << listed;

    std::vector<CopperSymbol> symbols;
    std::string error;
    ASSERT_TRUE(readCopperSymbols("screen=$2a000, sprite=COLOR00+2", &symbols, &error)) << error;
    const CopperRead defined = readCopperText(text, symbols);
    EXPECT_EQ(defined.words, (Words{0x00e0, 0x0002, 0x00e2, 0xa000, 0x0182, 0}));
    EXPECT_TRUE(defined.unknown.empty());
    EXPECT_TRUE(defined.notes.empty());
    for (const char *bad : {"screen", "1=2", "a=", "a=b", "a=(1"}) {
        std::vector<CopperSymbol> none;
        EXPECT_FALSE(readCopperSymbols(bad, &none, &error)) << bad;
    }
}

// Lists in the style of real sources: what GNU as --mri assembles of the list, and what it
// assembles of Quillfen's listing of the same list, are the same words. GNU as refuses
// "section name,type" and cnop, so it gets the list without those lines.
TEST(CopperSource, ListingsOfSourcesAssembleAsTheSourcesDo) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const char *lists[] = {
        "; a display\n"
        "PLANES\tequ\tDEPTH+1\t\t; used before its definition\n"
        "DEPTH\tequ\t4\n"
        "MODULO\tset\t320/8*(PLANES-1)\n"
        "\tsection\tcopper,data_c\n"
        "copper:\n"
        "\tdc.w\tBPLCON0,(PLANES<<12)!$200\t* planes and colour\n"
        "\tDC.W\tBPL1MOD,MODULO\tinterleaved planes\n"
        "lab2\tdc.l\t$01800000+$0fff,(COLOR01<<16)!$0f0f\n"
        "\tdc.b\t$01,$84,'a',2\n"
        "\teven\n"
        "\tcnop\t0,4\n"
        "wait:\tdc.w\t$2c07,$fffe\n"
        "  inner: dc.w COLOR03,((3*3)>>1)&%111,COLOR04,-2*-3\n"
        "\tdc.w\t$ffff,$fffe\n"
        "\tend\n",
        "; a rainbow\n"
        "LINE\tset\t$40\n"
        "\tdc.w\t(LINE<<8)!$07,$fffe,COLOR00,$0f00\n"
        "LINE\tset\tLINE+8\n"
        "\tdc.w\t(LINE<<8)!$07,$fffe,COLOR00,$0e10>>4<<4\n"
        "\tdc.w\t$ffdf,$fffe,$0107,$fffe,COLOR00,@7777&$fff\n"
        "\tdc.l\t-2\n",
    };
    for (const char *list : lists) {
        SCOPED_TRACE(list);
        std::string gnuText;
        const std::string text(list);
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find('\n', start) + 1;
            const std::string line = text.substr(start, end - start);
            if (line.find("\tsection") == std::string::npos &&
                line.find("\tcnop") == std::string::npos)
                gnuText += line;
            start = end;
        }
        const m68k::Result gnu = m68k::assemble(gnuText);
        ASSERT_TRUE(gnu.words) << gnu.messages;
        const CopperRead read = readCopperText(text);
        ASSERT_TRUE(read.ok()) << firstError(read);
        EXPECT_EQ(read.words, *gnu.words);
        expectListingReassembles(read.words, CopperFrame::Chipset::Ocs);
    }
}
