// The one writer of assembler text: its lines assemble as they stand, with the binutils m68k
// assembler in MRI mode, to the words the hardware expects.
#include <amiga/asmtext.h>

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
