// A register word as the line that writes it: the database reader the command line uses, the
// comment that names bits and groups, the set/clear registers, and the text as assembled. The
// registers are data/registers.xml; the expected lines, with their reasons, data/registercode.txt.
#include <amiga/registercode.h>

#include "assembled_copper_list.h"
#include "scratch_files.h"

#include <gtest/gtest.h>

using namespace amiga;

namespace {

class RegisterCode : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        registers = readRegisterDatabase(document, &error);
        EXPECT_EQ(error, "");
        ASSERT_EQ(registers.size(), 3u); // SHORT, not sixteen bits, is left out
        bplcon0 = findRegister(registers, "bplcon0");
        dmacon = findRegister(registers, "DMACON");
        dmaconr = findRegister(registers, "DMACONR");
        ASSERT_TRUE(bplcon0 && dmacon && dmaconr);
    }
    const std::string document = testfiles::loadText(QUILLFEN_AMIGA_DATA "/registers.xml");
    std::vector<RegisterLayout> registers;
    const RegisterLayout *bplcon0 = nullptr;
    const RegisterLayout *dmacon = nullptr;
    const RegisterLayout *dmaconr = nullptr;
};

} // namespace

TEST_F(RegisterCode, TheReaderKeepsWhatTheCommentNeeds) {
    EXPECT_EQ(bplcon0->address, 0xdff100u);
    EXPECT_TRUE(bplcon0->bits[4].agaOnly());
    EXPECT_FALSE(bplcon0->bits[12].agaOnly());
    std::string error;
    const std::vector<RegisterLayout> broken = readRegisterDatabase(
        document.substr(0, document.find("<register name='DMACON'>")) + "<bit function=\"", &error);
    EXPECT_EQ(broken.size(), 1u);
    EXPECT_NE(error, "");

    // Eight planes: BPU3 and none of BPU2-0; HIRES first.
    EXPECT_EQ(describeWord(*bplcon0, 0x8011), "HIRES BPU=8 ECSENA");
    // The unused bit 11 by its number.
    EXPECT_EQ(describeWord(*dmacon, 0x0800), "CLEAR bit11");
    EXPECT_TRUE(isSetClearRegister("ADKCON"));
    EXPECT_EQ(wordToWrite(0x8380, SetClear::AsGiven), 0x8380);
}

TEST_F(RegisterCode, TheLineIsWrittenAsThePasteAndAssembles) {
    RegisterLayout nameless = *bplcon0;
    nameless.name = "NO-OP";
    nameless.address = 0xdff1fe;
    const auto code = [](const RegisterLayout &layout, std::uint16_t value, SetClear setClear,
                         bool copper) {
        return registerWriteCode(layout, value, setClear, copper);
    };
    expectGoldenTexts(QUILLFEN_AMIGA_DATA "/registercode.txt",
                      {{"BPLCON0 by the CPU", code(*bplcon0, 0x5200, SetClear::AsGiven, false)},
                       {"BPLCON0 on the copper", code(*bplcon0, 0x5200, SetClear::AsGiven, true)},
                       {"no bits", code(*bplcon0, 0, SetClear::AsGiven, false)},
                       {"DMACONR by the CPU", code(*dmaconr, 1, SetClear::AsGiven, false)},
                       {"DMACONR on the copper", code(*dmaconr, 1, SetClear::AsGiven, true)},
                       {"nameless", code(nameless, 0x0200, SetClear::AsGiven, true)},
                       {"DMACON set", code(*dmacon, 0x0380, SetClear::Set, false)},
                       {"DMACON clear", code(*dmacon, 0x8020, SetClear::Clear, true)}});
}
