// Palette fades: each step's colours worked out by hand (k / (steps - 1) of the way, rounded to 8
// bits, halves away from zero), and the words the printed tables assemble to.
#include <amiga/fade.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

using namespace amiga;

TEST(Fade, StepsBlendEachGunAndRound) {
    const std::vector<Rgb8> palette = {{0x12, 0x34, 0x56}, {0xff, 0x80, 0x00}};
    // To black in 5 steps: 18 x (1, 3/4, 1/2, 1/4, 0) = 18, 13.5, 9, 4.5, 0.
    const auto toBlack = fadeSteps(palette, Rgb8{}, 5);
    ASSERT_EQ(toBlack.size(), 5u);
    const int reds[] = {18, 14, 9, 5, 0};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(toBlack[k][0].red, reds[k]) << k;
    EXPECT_EQ(toBlack[0], palette);
    EXPECT_EQ(toBlack[2][1], (Rgb8{128, 64, 0})); // 127.5 up to 128
    EXPECT_EQ(toBlack[4], (std::vector<Rgb8>(2, Rgb8{})));

    // To white in 3 steps: 0 goes 0, 127.5, 255.
    const auto toWhite = fadeSteps({{0, 0, 0}}, Rgb8{255, 255, 255}, 3);
    EXPECT_EQ(toWhite[1][0], (Rgb8{128, 128, 128}));

    // To a second palette: an entry it lacks goes to black.
    const auto toPalette = fadeSteps(palette, std::vector<Rgb8>{{0x22, 0x44, 0x66}}, 2);
    EXPECT_EQ(toPalette[1], (std::vector<Rgb8>{{0x22, 0x44, 0x66}, {0, 0, 0}}));

    EXPECT_TRUE(fadeSteps(palette, Rgb8{}, 1).empty());
    EXPECT_EQ(fadeTable({}, false, "black").text, "");
    EXPECT_EQ(fadeTable({}, false, "black").steps, 0u);
}

TEST(Fade, TablesHoldOneRunOfWordsAStep) {
    const std::vector<Rgb8> palette = {{0x12, 0x34, 0x56}, {0xff, 0x80, 0x00}};
    const auto steps = fadeSteps(palette, Rgb8{}, 3);
    // Step 1: 9, 26, 43 and 127.5, 64, 0, i.e. $09 $1a $2b and $80 $40 $00.
    const std::string ocs = fadeCode(steps, false, "black");
    EXPECT_EQ(ocs, "; fade of 2 colours to black in 3 steps, OCS/ECS: a step is one 12-bit word "
                   "a colour\n"
                   "fade0:\n\tdc.w\t$0135,$0f80\n"
                   "fade1:\n\tdc.w\t$0012,$0840\n"
                   "fade2:\n\tdc.w\t$0000,$0000\n");
    const std::string aga = fadeCode(steps, true, "black");
    EXPECT_NE(aga.find("fade1:\n\tdc.w\t$0012,$0840,$09ab,$0000\n"), std::string::npos) << aga;

    // Sixteen colours: eight words a line; the table says what it holds (2 steps of 16 high and
    // 16 low halves).
    const FadeTable table =
        fadeTable(fadeSteps(std::vector<Rgb8>(16, {0xff, 0xff, 0xff}), Rgb8{}, 2), true, "black");
    EXPECT_EQ(table.steps, 2u);
    EXPECT_EQ(table.colours, 16u);
    EXPECT_EQ(table.bytes(), 128u);
    if (!m68k::available())
        return;
    std::vector<std::uint16_t> expected(32, 0x0fff);
    expected.insert(expected.end(), 32, 0x0000);
    EXPECT_EQ(assembled(table.text), expected);
}
