// Pictures as the Amiga shows them, worked out pixel by pixel from the Hardware Reference
// Manual's rules: colour registers, Extra Half-Brite and hold-and-modify (HAM6 on OCS/ECS, HAM8
// on AGA), and what of a picture is transparent.
#include "picture/picture.h"

#include <gtest/gtest.h>

using amiga::Rgb8;
using picture::DisplayMode;
using picture::Picture;

namespace {

Picture indexed(DisplayMode mode, unsigned depth, std::vector<std::uint8_t> pixels,
                std::vector<Rgb8> palette, unsigned width = 0) {
    Picture p;
    p.source = picture::Source::Ilbm;
    p.mode = mode;
    p.depth = depth;
    p.width = width == 0 ? static_cast<unsigned>(pixels.size()) : width;
    p.height = static_cast<unsigned>(pixels.size()) / p.width;
    p.pixels = std::move(pixels);
    p.palette = std::move(palette);
    return p;
}

} // namespace

TEST(Render, ColourNumbersLookUpTheMapAndPastItIsBlack) {
    const Picture p =
        indexed(DisplayMode::Indexed, 2, {0, 1, 2, 3}, {{1, 2, 3}, {250, 251, 252}, {7, 8, 9}});
    EXPECT_EQ(picture::render(p),
              (std::vector<Rgb8>{{1, 2, 3}, {250, 251, 252}, {7, 8, 9}, {0, 0, 0}}));
}

TEST(Render, ExtraHalfBriteHalvesTheFirst32) {
    // HRM, "Extra-Half-Brite mode": with the sixth plane set the colour is that of the register
    // of the other five bits, each gun shifted right one bit.
    std::vector<Rgb8> palette(32);
    palette[1] = {255, 128, 3};
    palette[31] = {16, 33, 0};
    const Picture p = indexed(DisplayMode::ExtraHalfbrite, 6, {1, 33, 31, 63}, palette);
    EXPECT_EQ(picture::render(p),
              (std::vector<Rgb8>{{255, 128, 3}, {127, 64, 1}, {16, 33, 0}, {8, 16, 0}}));
}

TEST(Render, Ham6HoldsTwoGunsAndModifiesOneIn4Bits) {
    // HRM, "Hold-and-Modify Mode": bits 5-4 of the pixel: 00 the register of bits 3-0, 01
    // modifies blue, 10 red, 11 green; the chip's 4-bit gun n shows as n x 17 in 8 bits.
    std::vector<Rgb8> palette(16);
    palette[0] = {0x12, 0x34, 0x56}; // a 12-bit register of $135
    palette[5] = {0xf0, 0x80, 0x00};
    const std::vector<std::uint8_t> row = {
        0x10 | 0xa, // blue := $a, from colour 0 ($135)
        0x20 | 0x3, // red := 3
        0x30 | 0xf, // green := $f
        0x05,       // register 5: $f80
        0x10 | 0x1, // blue := 1
    };
    std::vector<std::uint8_t> pixels = row;
    pixels.insert(pixels.end(), row.begin(), row.end());
    const Picture p = indexed(DisplayMode::Ham6, 6, pixels, palette, 5);
    const std::vector<Rgb8> expectedRow = {{0x11, 0x33, 0xaa},
                                           {0x33, 0x33, 0xaa},
                                           {0x33, 0xff, 0xaa},
                                           {0xff, 0x88, 0x00},
                                           {0xff, 0x88, 0x11}};
    std::vector<Rgb8> expected = expectedRow;
    // The second row starts again from colour 0, not from the end of the first.
    expected.insert(expected.end(), expectedRow.begin(), expectedRow.end());
    EXPECT_EQ(picture::render(p), expected);
}

TEST(Render, Ham8ModifiesTheTopSixBitsOfAGun) {
    // AGA HAM8: bits 7-6 as HAM6's control bits; bits 5-0 replace a gun's upper six bits and
    // its lower two stay.
    std::vector<Rgb8> palette(64);
    palette[0] = {0x13, 0x57, 0x9b};
    palette[63] = {0xfe, 0xdc, 0xba};
    const Picture p = indexed(DisplayMode::Ham8, 8,
                              {0x40 | 0x3f, 0x80 | 0x01, 0xc0 | 0x20, 0x3f, 0x40 | 0x00}, palette);
    EXPECT_EQ(picture::render(p), (std::vector<Rgb8>{{0x13, 0x57, 0xff},
                                                     {0x07, 0x57, 0xff},
                                                     {0x07, 0x83, 0xff},
                                                     {0xfe, 0xdc, 0xba},
                                                     {0xfe, 0xdc, 0x02}}));
}

TEST(Render, DeepAndTrueColourPictures) {
    Picture deep;
    deep.width = 2;
    deep.height = 1;
    deep.depth = 24;
    deep.mode = DisplayMode::TrueColour;
    deep.deepPixels = {0x123456, 0xabcdef};
    // Planes 0-7 red, 8-15 green, 16-23 blue.
    EXPECT_EQ(picture::render(deep), (std::vector<Rgb8>{{0x56, 0x34, 0x12}, {0xef, 0xcd, 0xab}}));

    Picture png;
    png.width = 1;
    png.height = 1;
    png.mode = DisplayMode::TrueColour;
    png.trueColour = {{9, 8, 7, 0}};
    EXPECT_EQ(picture::render(png), (std::vector<Rgb8>{{9, 8, 7}}));
}

TEST(Opacity, TheRuleOfTheConverters) {
    Picture p = indexed(DisplayMode::Indexed, 2, {0, 1, 2, 3}, {});
    // Nothing named: colour 0 is transparent.
    EXPECT_EQ(picture::opacityOf(p), (std::vector<std::uint8_t>{0, 255, 255, 255}));
    p.transparentColours = {2, 3};
    EXPECT_EQ(picture::opacityOf(p), (std::vector<std::uint8_t>{255, 255, 0, 0}));
    // A colour given wins over the picture's own.
    EXPECT_EQ(picture::opacityOf(p, 1u), (std::vector<std::uint8_t>{255, 0, 255, 255}));
    p.opacity = {1, 0, 1, 0};
    EXPECT_EQ(picture::opacityOf(p), (std::vector<std::uint8_t>{255, 0, 255, 0}));

    Picture colours;
    colours.width = 1;
    colours.height = 1;
    colours.trueColour = {{1, 2, 3, 255}};
    EXPECT_TRUE(picture::opacityOf(colours).empty());
}

TEST(CountColours, DistinctShownColoursUpToTheLimit) {
    Picture colours;
    colours.width = 5;
    colours.height = 1;
    // The transparent pixel's colour is not one the picture shows.
    colours.trueColour = {
        {1, 2, 3, 255}, {1, 2, 3, 200}, {1, 2, 4, 255}, {9, 9, 9, 0}, {0, 0, 0, 255}};
    EXPECT_EQ(picture::countColours(colours), 3u);
    EXPECT_EQ(picture::countColours(colours, 2), 2u);
    // An indexed picture counts the colours it shows: two numbers of one colour are one.
    const Picture p =
        indexed(DisplayMode::Indexed, 2, {0, 1, 2, 2}, {{5, 5, 5}, {5, 5, 5}, {6, 6, 6}});
    EXPECT_EQ(picture::countColours(p), 2u);
}
