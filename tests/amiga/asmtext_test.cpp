// The one writer of assembler text: its lines assemble as they stand, with the binutils m68k
// assembler in MRI mode, to the words the hardware expects.
#include <amiga/asmtext.h>
#include <amiga/carray.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

using namespace amiga;

TEST(AsmText, LinesHaveTheHouseLayoutAndAssembleAsPasted) {
    AsmWriter out;
    out.label("copper").comment("two lines\nof comment").comment("");
    out.copperMove("COLOR31", 0x0abc, "comment, with a comma").copperWords(0x2c07, 0xfffe);
    out.dcl({hex(0x12345678, 8)}).moveWord(0x2c81, "DIWSTRT").blank();
    EXPECT_EQ(out.text(), "copper:\n"
                          "; two lines\n"
                          "; of comment\n"
                          ";\n"
                          "\tdc.w\tCOLOR31,$0abc\t; comment, with a comma\n"
                          "\tdc.w\t$2c07,$fffe\n"
                          "\tdc.l\t$12345678\n"
                          "\tmove.w\t#$2c81,DIWSTRT(a6)\n"
                          "\n");
    EXPECT_EQ(out.instructionCount(), 4u);
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // COLOR31 is $1be; move.w #imm,d16(a6) is $3d7c, the immediate, then the displacement, DIWSTRT
    // $08e (M68000 PRM, MOVE; Hardware Reference Manual, appendix A).
    EXPECT_EQ(assembled(out.text()),
              (std::vector<std::uint16_t>{0x01be, 0x0abc, 0x2c07, 0xfffe, 0x1234, 0x5678, 0x3d7c,
                                          0x2c81, 0x008e}));
}

TEST(AsmText, DataWordsReadBackOnlyWhatTheWriterWrites) {
    AsmWriter out;
    out.comment("a list").label("list").copperWords(0x2c07, 0xfffe).copperMove("COLOR31", 0x0fff);
    out.dcw({"$0001"}, "one word");
    EXPECT_EQ(dataWords(out.text()),
              (std::optional<std::vector<std::uint16_t>>{{0x2c07, 0xfffe, 0x1be, 0x0fff, 0x0001}}));
    for (const char *text :
         {"\tmove.w\t#$0fff,COLOR00(a6)\n", "\tdc.w\t$fff\n", "\tdc.w\t$0FFF\n",
          "\tdc.w\tNOSUCH,$0000\n", "\tdc.w\t$0000,\n", "dc.w\t$0000\n", "\tdc.w\tcolor00,$0000\n"})
        EXPECT_EQ(dataWords(text), std::nullopt) << text;
}

TEST(AsmText, BytesAsDataLinesOfEight) {
    std::vector<std::uint8_t> bytes;
    for (unsigned i = 0; i < 34; i++)
        bytes.push_back(static_cast<std::uint8_t>(0x10 * i + 1));
    const struct {
        std::size_t size;
        const char *text;
    } cases[] = {
        {0, ""},
        {2, "\tdc.w\t$0111\n"},
        // 17 words: two lines of 8, one of 1; each word big-endian, the first byte high.
        {34, "\tdc.w\t$0111,$2131,$4151,$6171,$8191,$a1b1,$c1d1,$e1f1\n"
             "\tdc.w\t$0111,$2131,$4151,$6171,$8191,$a1b1,$c1d1,$e1f1\n"
             "\tdc.w\t$0111\n"},
        // An odd number: bytes, 8 a line.
        {1, "\tdc.b\t$01\n"},
        {9, "\tdc.b\t$01,$11,$21,$31,$41,$51,$61,$71\n"
            "\tdc.b\t$81\n"},
    };
    for (const auto &c : cases) {
        AsmWriter out;
        EXPECT_EQ(out.data(bytes.data(), c.size).text(), c.text) << c.size;
    }
}

TEST(AsmText, SymbolNamesForLabelsAndIdentifiers) {
    const struct {
        const char *text, *name;
    } cases[] = {
        {"hero", "hero"},    {"Hero_2", "Hero_2"}, {"ship-frames.v2", "ship_frames_v2"},
        {"2nd", "_2nd"},     {"", "data"},         {"int", "int_"},
        {"short", "short_"}, {"D0", "D0_"},        {"sp", "sp_"},
        {"usp", "usp_"},     {"d8", "d8"},         {"héros", "h__ros"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(symbolName(c.text), c.name) << c.text;
}

TEST(CArray, WordsOrBytesEightALine) {
    std::vector<std::uint8_t> bytes;
    for (unsigned i = 0; i < 18; i++)
        bytes.push_back(static_cast<std::uint8_t>(0x0f * i + 0xa0));
    const struct {
        std::size_t size;
        const char *attribute, *text;
    } cases[] = {
        {2, "", "const unsigned short a[] = {\n    0xa0af\n};\n"},
        // 9 words: a line of 8 and one of 1, each word's first byte high.
        {18, "__chip",
         "__chip const unsigned short a[] = {\n"
         "    0xa0af, 0xbecd, 0xdceb, 0xfa09, 0x1827, 0x3645, 0x5463, 0x7281,\n"
         "    0x909f\n"
         "};\n"},
        {16, "",
         "const unsigned short a[] = {\n"
         "    0xa0af, 0xbecd, 0xdceb, 0xfa09, 0x1827, 0x3645, 0x5463, 0x7281\n"
         "};\n"},
        {3, "", "const unsigned char a[] = {\n    0xa0, 0xaf, 0xbe\n};\n"},
    };
    for (const auto &c : cases) {
        CArrayWriter out;
        EXPECT_EQ(out.array("a", bytes.data(), c.size, c.attribute).text(), c.text) << c.size;
    }
    CArrayWriter comment;
    EXPECT_EQ(comment.comment("a */ b").text(), "/* a * / b */\n");
}
