// A register word as the line that writes it: the database reader the command line uses, the
// comment that names bits and groups, the set/clear registers, and the text as assembled.
#include <amiga/registercode.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

using namespace amiga;

namespace {

// BPLCON0 and DMACON as the Hardware Reference Manual lays them out, in the database's form, with
// the XML a document may hold around them (a comment, a declaration, references, CDATA).
const char *const kDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- two registers -->
<registers>
  <register name="BPLCON0">
    <address>dff100</address>
    <note>Write only; &quot;whole word&quot; &#x263a;</note>
    <bit position="0" function="ECSENA"/>
    <bit position="1" function="ERSY"/>
    <bit position="2" function="LACE"/>
    <bit position="3" function="LPEN"/>
    <bit position="4" function="BPU3" group="BPU" group-position="3" chipset="aga"/>
    <bit position="5" function="BYPASS" chipset="aga"/>
    <bit position="6" function="SHRES"/>
    <bit position="7" function="UHRES"/>
    <bit position="8" function="GAUD"/>
    <bit position="9" function="COLOR"><![CDATA[<composite> colour]]></bit>
    <bit position="10" function="DPF"/>
    <bit position="11" function="HAM"/>
    <bit position="12" function="BPU0" group="BPU" group-position="0"/>
    <bit position="13" function="BPU1" group="BPU" group-position="1"/>
    <bit position="14" function="BPU2" group="BPU" group-position="2"/>
    <bit position="15" function="HIRES"/>
  </register>
  <register name="SHORT"><bit function="X"/></register>
  <register name='DMACON'>
    <address>dff096</address>
    <note>Write only</note>
    <bit function="AUD0EN"/><bit function="AUD1EN"/><bit function="AUD2EN"/>
    <bit function="AUD3EN"/><bit function="DSKEN"/><bit function="SPREN"/>
    <bit function="BLTEN"/><bit function="COPEN"/><bit function="BPLEN"/>
    <bit function="DMAEN"/><bit function="BLTPRI"/><bit function="unused"/>
    <bit function="unused"/><bit function="BZERO"/><bit function="BBUSY"/>
    <bit function="SET/CLR"/>
  </register>
  <register name="DMACONR"><address>dff002</address><note>Read only; the DMA bits</note>
    <bit function="A0"/><bit function="A1"/><bit function="A2"/><bit function="A3"/>
    <bit function="A4"/><bit function="A5"/><bit function="A6"/><bit function="A7"/>
    <bit function="A8"/><bit function="A9"/><bit function="A10"/><bit function="A11"/>
    <bit function="A12"/><bit function="A13"/><bit function="A14"/><bit function="A15"/>
  </register>
</registers>
)";

class RegisterCode : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        registers = readRegisterDatabase(kDocument, &error);
        EXPECT_EQ(error, "");
        ASSERT_EQ(registers.size(), 3u);
        bplcon0 = findRegister(registers, "bplcon0");
        dmacon = findRegister(registers, "DMACON");
        dmaconr = findRegister(registers, "DMACONR");
        ASSERT_TRUE(bplcon0 && dmacon && dmaconr);
    }
    std::vector<RegisterLayout> registers;
    const RegisterLayout *bplcon0 = nullptr;
    const RegisterLayout *dmacon = nullptr;
    const RegisterLayout *dmaconr = nullptr;
};

} // namespace

TEST_F(RegisterCode, TheReaderKeepsWhatTheCodeNeeds) {
    EXPECT_EQ(bplcon0->address, 0xdff100u);
    EXPECT_FALSE(bplcon0->readOnly);
    EXPECT_TRUE(dmaconr->readOnly);
    EXPECT_EQ(bplcon0->bits[4].name, "BPU3");
    EXPECT_EQ(bplcon0->bits[4].group, "BPU");
    EXPECT_EQ(bplcon0->bits[4].groupPosition, 3);
    EXPECT_TRUE(bplcon0->bits[4].agaOnly());
    EXPECT_EQ(bplcon0->bits[9].name, "COLOR");
    EXPECT_EQ(bplcon0->bits[9].group, "");
    EXPECT_EQ(dmacon->bits[15].name, "SET/CLR");
    EXPECT_EQ(findRegister(registers, "SHORT"), nullptr); // not sixteen bits

    std::string error;
    const std::string document = kDocument;
    const std::vector<RegisterLayout> broken = readRegisterDatabase(
        document.substr(0, document.find("<register name='DMACON'>")) + "<bit function=\"", &error);
    EXPECT_EQ(broken.size(), 1u);
    EXPECT_NE(error, "");
}

TEST_F(RegisterCode, TheCommentNamesBitsAndGroupsFromTheTop) {
    // $5200: bits 14 and 12 (BPU2, BPU0: five planes) and 9 (COLOR).
    EXPECT_EQ(describeWord(*bplcon0, 0x5200), "BPU=5 COLOR");
    // Eight planes: BPU3 and none of BPU2-0; HIRES first.
    EXPECT_EQ(describeWord(*bplcon0, 0x8011), "HIRES BPU=8 ECSENA");
    EXPECT_EQ(describeWord(*bplcon0, 0x0000), "");
    // DMAEN, BPLEN and COPEN are bits 9, 8 and 7; the unused bit 11 by its number.
    EXPECT_EQ(describeWord(*dmacon, 0x8380), "SET DMAEN BPLEN COPEN");
    EXPECT_EQ(describeWord(*dmacon, 0x0800), "CLEAR bit11");
}

TEST_F(RegisterCode, SetAndClearDecideBitFifteen) {
    EXPECT_TRUE(isSetClearRegister("DMACON"));
    EXPECT_TRUE(isSetClearRegister("ADKCON"));
    EXPECT_FALSE(isSetClearRegister("DMACONR"));
    EXPECT_EQ(wordToWrite(0x0380, SetClear::Set), 0x8380);
    EXPECT_EQ(wordToWrite(0x8380, SetClear::Clear), 0x0380);
    EXPECT_EQ(wordToWrite(0x8380, SetClear::AsGiven), 0x8380);
}

// The line as pasted, and the words the assembler makes of it: move.w #imm,d16(a6) is $3d7c, the
// word, the offset (M68000 PRM, MOVE); BPLCON0 is $100, DMACONR $002, DMACON $096.
TEST_F(RegisterCode, TheLineIsWrittenAsThePasteAndAssemblesToItsWords) {
    RegisterLayout noop = *bplcon0;
    noop.name = "NO-OP";
    noop.address = 0xdff1fe;
    const std::string readOnly = "; DMACONR is a read address: writing it does nothing\n";
    const struct {
        const RegisterLayout &layout;
        std::uint16_t value;
        SetClear setClear;
        bool copper;
        std::string text;
        std::vector<std::uint16_t> words;
    } cases[] = {
        {*bplcon0,
         0x5200,
         SetClear::AsGiven,
         false,
         "\tmove.w\t#$5200,BPLCON0(a6)\t; BPU=5 COLOR\n",
         {0x3d7c, 0x5200, 0x0100}},
        {*bplcon0,
         0x5200,
         SetClear::AsGiven,
         true,
         "\tdc.w\tBPLCON0,$5200\t; BPU=5 COLOR\n",
         {0x0100, 0x5200}},
        {*bplcon0,
         0,
         SetClear::AsGiven,
         false,
         "\tmove.w\t#$0000,BPLCON0(a6)\t; all bits clear\n",
         {0x3d7c, 0x0000, 0x0100}},
        {*dmaconr,
         1,
         SetClear::AsGiven,
         false,
         readOnly + "\tmove.w\t#$0001,DMACONR(a6)\t; A0\n",
         {0x3d7c, 0x0001, 0x0002}},
        // The copper cannot write below $040 at all, and $040-$07e only in danger mode.
        {*dmaconr,
         1,
         SetClear::AsGiven,
         true,
         readOnly + "; the copper cannot write registers $000-$03e\n\tdc.w\tDMACONR,$0001\t; A0\n",
         {0x0002, 0x0001}},
        {noop, 0x0200, SetClear::AsGiven, true, "\tdc.w\t$1fe,$0200\t; COLOR\n", {0x01fe, 0x0200}},
        {*dmacon,
         0x0380,
         SetClear::Set,
         false,
         "\tmove.w\t#$8380,DMACON(a6)\t; SET DMAEN BPLEN COPEN\n",
         {0x3d7c, 0x8380, 0x0096}},
        {*dmacon,
         0x8020,
         SetClear::Clear,
         true,
         "\tdc.w\tDMACON,$0020\t; CLEAR SPREN\n",
         {0x0096, 0x0020}},
    };
    for (const auto &c : cases) {
        const std::string text = registerWriteCode(c.layout, c.value, c.setClear, c.copper);
        EXPECT_EQ(text, c.text);
        if (!m68k::available())
            continue;
        EXPECT_EQ(assembled(text), c.words);
    }
}
