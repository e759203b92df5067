// Colour words: the 12-bit rule, AGA halves and BPLCON3 values, worked out by hand from the
// register layouts (COLORxx: bits 11-8 red, 7-4 green, 3-0 blue; BPLCON3: BANK2-0 in bits 15-13,
// LOCT in bit 9, AGA documentation).
#include <amiga/colourwords.h>

#include <gtest/gtest.h>

using namespace amiga;

TEST(ColourWords, TwelveBitWordsTakeTheHighNibbleAndAgaHalvesCarryTheWholeColour) {
    struct Case {
        Rgb8 colour;
        std::uint16_t high, low;
    } cases[] = {
        {{0x00, 0x00, 0x00}, 0x0000, 0x0000}, {{0xff, 0xff, 0xff}, 0x0fff, 0x0fff},
        {{0xf0, 0xf0, 0xf0}, 0x0fff, 0x0000}, // a nibble stored as n << 4
        {{0xb9, 0x88, 0x11}, 0x0b81, 0x0981}, {{0x0f, 0x10, 0x1f}, 0x0011, 0x0f0f},
        {{0x12, 0x34, 0x56}, 0x0135, 0x0246},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(highWord(c.colour), c.high) << std::hex << c.high;
        EXPECT_EQ(lowWord(c.colour), c.low) << std::hex << c.low;
        EXPECT_EQ(fromHalves(c.high, c.low), c.colour) << std::hex << c.high;
    }
    EXPECT_EQ(toTwelveBit({0xb9, 0x07, 0xff}), (Rgb8{0xbb, 0x00, 0xff}));
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(eightBitOf(n), n * 0x11);
        EXPECT_EQ(nibbleOf(n << 4 | n), n);
        EXPECT_EQ(nibbleOf(n << 4), n);
    }
}

// AGA documentation, BPLCON3: BANK2-0 are bits 15-13, PF2OF2-0 bits 12-10 (reset to %011, so
// the register resets to $0c00 and playfield 2 takes its colours from COLOR08), LOCT bit 9,
// SPRES1-0 bits 7-6, BRDRBLNK bit 5. A colour write changes only the bank and LOCT.
TEST(ColourWords, Bplcon3SelectsBankAndHalfInTheDisplaysValue) {
    // From the reset value; from 0; from $1060 (PF2OF %100, SPRES0, BRDRBLNK); and from $e220,
    // whose own bank and LOCT are replaced.
    const struct {
        int bank;
        bool low;
        std::uint16_t base, expected;
    } cases[] = {{0, false, kBplcon3Reset, 0x0c00}, {0, true, kBplcon3Reset, 0x0e00},
                 {2, false, kBplcon3Reset, 0x4c00}, {7, true, kBplcon3Reset, 0xee00},
                 {0, false, 0x0000, 0x0000},        {5, true, 0x1060, 0xb260},
                 {0, false, 0xe220, 0x0020}};
    for (const auto &c : cases)
        EXPECT_EQ(bplcon3For(c.bank, c.low, c.base), c.expected) << c.bank << c.low << c.base;
}

TEST(ColourWords, ColoursAreReadFromSixHexDigits) {
    EXPECT_EQ(rgbFromText("#12aB5f"), (Rgb8{0x12, 0xab, 0x5f}));
    EXPECT_EQ(rgbFromText("ffffff"), (Rgb8{0xff, 0xff, 0xff}));
    for (const char *text : {"", "#", "#fff", "#1234567", "12345g", "$123456", "0x1234", "##123456",
                             " 123456", "#12345 "})
        EXPECT_EQ(rgbFromText(text), std::nullopt) << text;
}
