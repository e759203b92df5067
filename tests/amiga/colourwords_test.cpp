// Colour words: the 12-bit rule, AGA halves and BPLCON3 values, worked out by hand from the
// register layouts (the cases, with their reasons, in data/colourwords.txt).
#include <amiga/colourwords.h>

#include "case_table.h"

#include <gtest/gtest.h>

using namespace amiga;

TEST(ColourWords, TwelveBitWordsTakeTheHighNibbleAndAgaHalvesCarryTheWholeColour) {
    for (const casetable::Row &c : casetable::rows("colourwords.txt", "halves")) {
        const Rgb8 colour = casetable::rgb(c.at(0));
        const auto high = static_cast<std::uint16_t>(casetable::number(c.at(1)));
        const auto low = static_cast<std::uint16_t>(casetable::number(c.at(2)));
        EXPECT_EQ(highWord(colour), high) << c[0];
        EXPECT_EQ(lowWord(colour), low) << c[0];
        EXPECT_EQ(fromHalves(high, low), colour) << c[0];
    }
    EXPECT_EQ(toTwelveBit({0xb9, 0x07, 0xff}), (Rgb8{0xbb, 0x00, 0xff}));
}

TEST(ColourWords, Bplcon3SelectsBankAndHalfInTheDisplaysValue) {
    ASSERT_EQ(kBplcon3Reset, 0x0c00);
    for (const casetable::Row &c : casetable::rows("colourwords.txt", "bplcon3"))
        EXPECT_EQ(bplcon3For(std::stoi(c.at(0)), c.at(1) == "low",
                             static_cast<std::uint16_t>(casetable::number(c.at(2)))),
                  casetable::number(c.at(3)))
            << c[0] << " " << c[1] << " " << c[2];
}

TEST(ColourWords, ColoursAreReadFromSixHexDigits) {
    EXPECT_EQ(rgbFromText("#12aB5f"), (Rgb8{0x12, 0xab, 0x5f}));
    EXPECT_EQ(rgbFromText("ffffff"), (Rgb8{0xff, 0xff, 0xff}));
    for (const char *text : {"", "#", "#fff", "#1234567", "12345g", "$123456", "0x1234", "##123456",
                             " 123456", "#12345 "})
        EXPECT_EQ(rgbFromText(text), std::nullopt) << text;
}
