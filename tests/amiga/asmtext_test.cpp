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
    out.equate("size", 0x30, "bytes").dcw({"size"});
    EXPECT_EQ(out.text(), "copper:\n"
                          "; two lines\n"
                          "; of comment\n"
                          ";\n"
                          "\tdc.w\tCOLOR31,$0abc\t; comment, with a comma\n"
                          "\tdc.w\t$2c07,$fffe\n"
                          "\tdc.l\t$12345678\n"
                          "\tmove.w\t#$2c81,DIWSTRT(a6)\n"
                          "\n"
                          "size\tequ\t$30\t; bytes\n"
                          "\tdc.w\tsize\n");
    EXPECT_EQ(out.instructionCount(), 5u);
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // COLOR31 is $1be; move.w #imm,d16(a6) is $3d7c, the immediate, then the displacement, DIWSTRT
    // $08e (M68000 PRM, MOVE; Hardware Reference Manual, appendix A).
    EXPECT_EQ(assembled(out.text()),
              (std::vector<std::uint16_t>{0x01be, 0x0abc, 0x2c07, 0xfffe, 0x1234, 0x5678, 0x3d7c,
                                          0x2c81, 0x008e, 0x0030}));
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

TEST(AsmText, BytesAsDataAndInC) {
    // 9 words or 3 bytes; each word's first byte high; 8 values a line.
    std::vector<std::uint8_t> bytes;
    for (unsigned i = 0; i < 18; i++)
        bytes.push_back(static_cast<std::uint8_t>(0x0f * i + 0xa0));
    const char *words = "$a0af,$becd,$dceb,$fa09,$1827,$3645,$5463,$7281";
    EXPECT_EQ(AsmWriter().data(bytes.data(), 18).text(),
              std::string("\tdc.w\t") + words + "\n\tdc.w\t$909f\n");
    EXPECT_EQ(AsmWriter().data(bytes.data(), 3).text(), "\tdc.b\t$a0,$af,$be\n");
    EXPECT_EQ(CArrayWriter().comment("a */ b").array("a", bytes.data(), 18, "__chip").text(),
              "/* a * / b */\n__chip const unsigned short a[] = {\n"
              "    0xa0af, 0xbecd, 0xdceb, 0xfa09, 0x1827, 0x3645, 0x5463, 0x7281,\n"
              "    0x909f\n};\n");
    EXPECT_EQ(CArrayWriter().array("a", bytes.data(), 3).text(),
              "const unsigned char a[] = {\n    0xa0, 0xaf, 0xbe\n};\n");
    // A last line of 8 has no comma after its last value.
    EXPECT_EQ(CArrayWriter().array("a", bytes.data(), 16).text().find("0x7281\n};"),
              std::size_t{89});
}

TEST(AsmText, SymbolNamesForLabelsAndIdentifiers) {
    std::string names;
    for (const char *text : {"Hero_2", "ship-frames.v2", "2nd", "", "int", "D0", "usp", "d8"})
        names += symbolName(text) + " ";
    EXPECT_EQ(names, "Hero_2 ship_frames_v2 _2nd data int_ D0_ usp_ d8 ");
}
