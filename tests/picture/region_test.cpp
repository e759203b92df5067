// Cutting a rectangle out of a picture: the text of a region, where it may lie, and what of the
// picture comes along. The expected pixels are picked out of the sheets by hand.
#include "made_pictures.h"
#include "picture/region.h"

#include <gtest/gtest.h>

using picture::Region;

TEST(Region, ReadFromFourDecimalNumbers) {
    const struct {
        const char *text;
        std::optional<Region> region;
    } cases[] = {
        {"10,0,64,32", Region{10, 0, 64, 32}},
        {"0,0,0,0", Region{0, 0, 0, 0}},
        {"4294967295,1,2,3", Region{4294967295u, 1, 2, 3}},
        {"4294967296,1,2,3", std::nullopt}, // past an unsigned
        {"1,2,3", std::nullopt},
        {"1,2,3,4,", std::nullopt},
        {"1,2,3,4,5", std::nullopt},
        {"1, 2,3,4", std::nullopt},
        {"-1,2,3,4", std::nullopt},
        {"+1,2,3,4", std::nullopt},
        {"$10,2,3,4", std::nullopt},
        {"1,2,3,4x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(picture::parseRegion(c.text), c.region) << c.text;
}

TEST(Region, WhollyInsideThePictureAndNotEmpty) {
    // A picture of 64 x 32.
    const struct {
        Region region;
        const char *problem;
    } cases[] = {
        {{0, 0, 64, 32}, ""},
        {{63, 31, 1, 1}, ""},
        {{10, 0, 64, 32},
         "The region 10,0,64,32 reaches past the picture's right edge (64 pixels wide)."},
        {{64, 0, 1, 1},
         "The region 64,0,1,1 reaches past the picture's right edge (64 pixels wide)."},
        {{0, 1, 64, 32},
         "The region 0,1,64,32 reaches past the picture's bottom edge (32 pixels tall)."},
        {{0, 0, 0, 5}, "The region 0,0,0,5 is empty: it is 0 pixels wide."},
        {{0, 0, 5, 0}, "The region 0,0,5,0 is empty: it is 0 pixels tall."},
        // Sums past 32 bits do not wrap round into the picture.
        {{4294967295u, 0, 1, 1},
         "The region 4294967295,0,1,1 reaches past the picture's right edge (64 pixels wide)."},
        {{0, 1, 1, 4294967295u},
         "The region 0,1,1,4294967295 reaches past the picture's bottom edge (32 pixels tall)."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(picture::regionProblem(c.region, 64, 32), c.problem);
}

TEST(Region, CutKeepsTheMapModeAndShape) {
    // 4 x 3, pixel value 10 * row + column; its own mask plane opaque where the value is odd.
    picture::Picture sheet =
        madepictures::indexedPicture(4, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23},
                                     {{1, 2, 3}, {4, 5, 6}}, picture::DisplayMode::ExtraHalfbrite);
    sheet.depth = 6;
    sheet.viewportMode = 0x8080;
    sheet.hasViewportMode = true;
    sheet.xAspect = 10;
    sheet.yAspect = 11;
    sheet.twelveBitPalette = true;
    sheet.transparentColours = {3};
    sheet.opacity = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1};
    // Changes on lines 0, 1 and 2: a region from line 1 takes the first two from its first
    // line, the third one line down.
    sheet.colourChanges = {{0, 1, {9, 9, 9}}, {1, 2, {8, 8, 8}}, {2, 1, {7, 7, 7}}};
    std::string error;
    const std::optional<picture::Picture> cut = picture::cutRegion(sheet, {1, 1, 2, 2}, &error);
    ASSERT_TRUE(cut) << error;
    EXPECT_EQ(std::tuple(cut->width, cut->height), std::tuple(2u, 2u));
    EXPECT_EQ(cut->pixels, (std::vector<std::uint8_t>{11, 12, 21, 22}));
    EXPECT_EQ(cut->opacity, (std::vector<std::uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(std::tuple(cut->depth, cut->mode, cut->viewportMode, cut->hasViewportMode,
                         cut->xAspect, cut->yAspect, cut->palette, cut->twelveBitPalette,
                         cut->transparentColours),
              std::tuple(6u, picture::DisplayMode::ExtraHalfbrite, 0x8080u, true, 10u, 11u,
                         sheet.palette, true, std::vector<unsigned>{3}));
    EXPECT_EQ(cut->colourChanges, (std::vector<picture::ColourChange>{
                                      {0, 1, {9, 9, 9}}, {0, 2, {8, 8, 8}}, {1, 1, {7, 7, 7}}}));
    EXPECT_TRUE(cut->warnings.empty());
    // The first row alone leaves the later two changes out.
    EXPECT_EQ(picture::cutRegion(sheet, {0, 0, 4, 1}, &error)->colourChanges,
              (std::vector<picture::ColourChange>{{0, 1, {9, 9, 9}}}));
    // A region that cannot be cut gives nothing and its sentence.
    EXPECT_FALSE(picture::cutRegion(sheet, {3, 0, 2, 1}, &error));
    EXPECT_EQ(error, "The region 3,0,2,1 reaches past the picture's right edge (4 pixels wide).");
}

TEST(Region, CutTrueColourAndDeepPixels) {
    std::string error;
    const picture::Picture photo = madepictures::trueColourPicture(3, 2,
                                                                   {{1, 0, 0, 255},
                                                                    {2, 0, 0, 255},
                                                                    {3, 0, 0, 0},
                                                                    {4, 0, 0, 255},
                                                                    {5, 0, 0, 255},
                                                                    {6, 0, 0, 9}});
    EXPECT_EQ(picture::cutRegion(photo, {2, 0, 1, 2}, &error)->trueColour,
              (std::vector<picture::Rgba8>{{3, 0, 0, 0}, {6, 0, 0, 9}}));
    picture::Picture deep;
    deep.width = 2;
    deep.height = 2;
    deep.depth = 24;
    deep.mode = picture::DisplayMode::TrueColour;
    deep.deepPixels = {0x010203, 0x040506, 0x070809, 0x0a0b0c};
    const std::optional<picture::Picture> cut = picture::cutRegion(deep, {0, 1, 2, 1}, &error);
    EXPECT_EQ(cut->deepPixels, (std::vector<std::uint32_t>{0x070809, 0x0a0b0c}));
    EXPECT_TRUE(cut->pixels.empty());
}

TEST(Region, HamRowsCutFromTheLeftAreNamed) {
    std::string error;
    const picture::Picture ham = madepictures::indexedPicture(
        2, {0x10, 0x20, 0x30, 0x01}, {{0, 0, 0}}, picture::DisplayMode::Ham6);
    EXPECT_TRUE(picture::cutRegion(ham, {0, 1, 2, 1}, &error)->warnings.empty());
    const std::vector<std::string> warnings =
        picture::cutRegion(ham, {1, 0, 1, 2}, &error)->warnings;
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("starts 1 pixel into the HAM picture's rows"), std::string::npos);
}
