// Pictures as the Amiga shows them, worked out pixel by pixel from the Hardware Reference
// Manual's rules: colour registers, Extra Half-Brite and hold-and-modify (HAM6 on OCS/ECS, HAM8
// on AGA), and what of a picture is transparent.
#include "made_pictures.h"
#include "picture/picture.h"

#include <gtest/gtest.h>

using amiga::Rgb8;
using picture::DisplayMode;
using picture::Picture;

using madepictures::indexedPicture;

TEST(Render, EachDisplayModeShowsItsRowsAsTheChipDoes) {
    // Indexed: a colour number looks the map up; past the map it is black. EHB (HRM,
    // "Extra-Half-Brite mode"): with the sixth plane set, the register of the other five bits with
    // each gun shifted right one bit. HAM6 (HRM, "Hold-and-Modify Mode"): bits 5-4 00 take the
    // register of bits 3-0, 01 modify blue, 10 red, 11 green, the chip's 4-bit gun n showing as
    // n x 17 (register 0 $13 $57 $9b is $159). HAM8 (AGA): bits 7-6 as HAM6's; bits 5-0 replace a
    // gun's upper six bits and its lower two stay.
    std::vector<Rgb8> map(64);
    map[0] = {0x13, 0x57, 0x9b};
    map[1] = {255, 128, 3};
    map[5] = {0xf0, 0x80, 0x00};
    map[31] = {16, 33, 0};
    map[63] = {0xfe, 0xdc, 0xba};
    const struct {
        DisplayMode mode;
        std::vector<std::uint8_t> row;
        std::vector<Rgb8> shown;
    } cases[] = {
        {DisplayMode::Indexed, {0, 5, 63, 200}, {map[0], map[5], map[63], {0, 0, 0}}},
        {DisplayMode::ExtraHalfbrite,
         {1, 33, 31, 63},
         {{255, 128, 3}, {127, 64, 1}, {16, 33, 0}, {8, 16, 0}}},
        // Blue := $a from register 0, red := 3, green := $f, register 5 ($f80), blue := 1.
        {DisplayMode::Ham6,
         {0x10 | 0xa, 0x20 | 0x3, 0x30 | 0xf, 0x05, 0x10 | 0x1},
         {{0x11, 0x55, 0xaa},
          {0x33, 0x55, 0xaa},
          {0x33, 0xff, 0xaa},
          {0xff, 0x88, 0},
          {0xff, 0x88, 0x11}}},
        {DisplayMode::Ham8,
         {0x40 | 0x3f, 0x80 | 0x01, 0xc0 | 0x20, 0x3f, 0x40 | 0x00},
         {{0x13, 0x57, 0xff}, {0x07, 0x57, 0xff}, {0x07, 0x83, 0xff}, map[63], {0xfe, 0xdc, 0x02}}},
    };
    for (const auto &c : cases) {
        // Two rows alike: the second starts again from colour 0, not where the first ended.
        std::vector<std::uint8_t> pixels = c.row;
        pixels.insert(pixels.end(), c.row.begin(), c.row.end());
        std::vector<Rgb8> expected = c.shown;
        expected.insert(expected.end(), c.shown.begin(), c.shown.end());
        const Picture p = indexedPicture(static_cast<unsigned>(c.row.size()), pixels, map, c.mode);
        EXPECT_EQ(picture::render(p), expected) << picture::describeMode(p);
    }

    Picture deep;
    deep.width = 2;
    deep.height = 1;
    deep.depth = 24;
    deep.mode = DisplayMode::TrueColour;
    deep.deepPixels = {0x123456, 0xabcdef};
    // Planes 0-7 red, 8-15 green, 16-23 blue.
    EXPECT_EQ(picture::render(deep), (std::vector<Rgb8>{{0x56, 0x34, 0x12}, {0xef, 0xcd, 0xab}}));
}

TEST(Opacity, TheRuleOfTheConverters) {
    Picture p = indexedPicture(4, {0, 1, 2, 3}, {});
    // Nothing named: colour 0 is transparent.
    EXPECT_EQ(picture::opacityOf(p), (std::vector<std::uint8_t>{0, 255, 255, 255}));
    p.transparentColours = {2, 3};
    EXPECT_EQ(picture::opacityOf(p), (std::vector<std::uint8_t>{255, 255, 0, 0}));
    p.opacity = {1, 0, 1, 0};
    EXPECT_EQ(picture::opacityOf(p), (std::vector<std::uint8_t>{255, 0, 255, 0}));
    // A colour given wins over the picture's own mask and colours.
    EXPECT_EQ(picture::opacityOf(p, 1u), (std::vector<std::uint8_t>{255, 0, 255, 255}));
}

TEST(CountColours, DistinctShownColoursUpToTheLimit) {
    // The transparent pixel's colour is not one the picture shows.
    const Picture colours = madepictures::trueColourPicture(
        5, 1, {{1, 2, 3, 255}, {1, 2, 3, 200}, {1, 2, 4, 255}, {9, 9, 9, 0}, {0, 0, 0, 255}});
    EXPECT_EQ(picture::countColours(colours), 3u);
    EXPECT_EQ(picture::countColours(colours, 2), 2u);
    // An indexed picture counts the colours it shows: two numbers of one colour are one.
    const Picture p = indexedPicture(4, {0, 1, 2, 2}, {{5, 5, 5}, {5, 5, 5}, {6, 6, 6}});
    EXPECT_EQ(picture::countColours(p), 2u);
}
