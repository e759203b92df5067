// Cutting a rectangle out of a picture: the text of a region, where it may lie, and what of the
// picture comes along. The expected pixels are picked out of the sheets by hand.
#include "made_pictures.h"
#include "picture/region.h"

#include <gtest/gtest.h>

using picture::Region;

TEST(Region, TextAndPlace) {
    // Four decimal numbers and nothing else: past 32 bits, too few or many, blanks and signs are
    // refused.
    EXPECT_EQ(picture::parseRegion("10,0,64,32"), (Region{10, 0, 64, 32}));
    for (const char *text : {"4294967296,1,2,3", "1,2,3", "1,2,3,4,", "1, 2,3,4", "-1,2,3,4"})
        EXPECT_EQ(picture::parseRegion(text), std::nullopt) << text;
    // In a picture of 64 x 32; sums past 32 bits do not wrap round into it.
    const std::string name = "The region ";
    EXPECT_EQ(picture::regionProblem({63, 31, 1, 1}, 64, 32), "");
    EXPECT_EQ(picture::regionProblem({4294967295u, 0, 1, 1}, 64, 32),
              name + "4294967295,0,1,1 reaches past the picture's right edge (64 pixels wide).");
    EXPECT_EQ(picture::regionProblem({0, 1, 1, 4294967295u}, 64, 32),
              name + "0,1,1,4294967295 reaches past the picture's bottom edge (32 pixels tall).");
    EXPECT_EQ(picture::regionProblem({0, 0, 0, 5}, 64, 32),
              name + "0,0,0,5 is empty: it is 0 pixels wide.");
}

TEST(Region, CutKeepsTheMapModeAndShape) {
    // 4 x 3, value 10 * row + column, its own mask opaque where odd; changes on lines 0, 1, 2.
    picture::Picture sheet =
        madepictures::indexedPicture(4, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23},
                                     {{1, 2, 3}, {4, 5, 6}}, picture::DisplayMode::Ham6);
    std::tie(sheet.viewportMode, sheet.xAspect, sheet.yAspect) = std::tuple(0x800u, 10u, 11u);
    sheet.opacity = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1};
    sheet.trueColour = std::vector<picture::Rgba8>(12);
    sheet.trueColour[6].red = 6;
    sheet.deepPixels = std::vector<std::uint32_t>(12);
    sheet.deepPixels[9] = 9;
    sheet.colourChanges = {{0, 1, {9, 9, 9}}, {1, 2, {8, 8, 8}}, {2, 1, {7, 7, 7}}};
    std::string error;
    const std::optional<picture::Picture> cut = picture::cutRegion(sheet, {1, 1, 2, 2}, &error);
    ASSERT_TRUE(cut) << error;
    EXPECT_EQ(std::tuple(cut->width, cut->height, cut->pixels, cut->opacity, cut->trueColour[1].red,
                         cut->deepPixels[2]),
              std::tuple(2u, 2u, std::vector<std::uint8_t>{11, 12, 21, 22},
                         std::vector<std::uint8_t>{1, 0, 1, 0}, 6, 9u));
    EXPECT_EQ(std::tuple(cut->mode, cut->viewportMode, cut->xAspect, cut->yAspect, cut->palette),
              std::tuple(sheet.mode, 0x800u, 10u, 11u, sheet.palette));
    // The changes above the region from its first line, the others a line up.
    EXPECT_EQ(cut->colourChanges, (std::vector<picture::ColourChange>{
                                      {0, 1, {9, 9, 9}}, {0, 2, {8, 8, 8}}, {1, 1, {7, 7, 7}}}));
    EXPECT_EQ(picture::cutRegion(sheet, {0, 0, 4, 1}, &error)->colourChanges.size(), 1u);
    // HAM rows cut from the left modify colours of pixels left out.
    EXPECT_EQ(cut->warnings.size(), 1u);
    EXPECT_TRUE(picture::cutRegion(sheet, {0, 1, 4, 1}, &error)->warnings.empty());
    EXPECT_FALSE(picture::cutRegion(sheet, {3, 0, 2, 1}, &error));
    EXPECT_EQ(error, "The region 3,0,2,1 reaches past the picture's right edge (4 pixels wide).");
}
