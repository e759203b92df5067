// What of a picture is transparent, and how many colours it shows. (Pictures as the Amiga shows
// them, each display mode worked out pixel by pixel from the Hardware Reference Manual's rules,
// are cases of data/iff_pictures.txt.)
#include "made_pictures.h"
#include "picture/picture.h"

#include <gtest/gtest.h>

#include <tuple>

using picture::Picture;

using madepictures::indexedPicture;

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
    // An indexed picture counts the colours it shows: two numbers of one colour are one.
    const Picture p = indexedPicture(4, {0, 1, 2, 2}, {{5, 5, 5}, {5, 5, 5}, {6, 6, 6}});
    EXPECT_EQ(std::tuple(picture::countColours(colours), picture::countColours(colours, 2),
                         picture::countColours(p)),
              std::tuple(3u, 2u, 2u));
}
