// What the comment above raw data says it is: the layout the options choose, in words.
#include "made_pictures.h"
#include "picture/export.h"

#include <gtest/gtest.h>

TEST(RawDescription, SaysSizePlanesLayoutAndMask) {
    // A PNG of 20 x 3 in a map of 5 colours: 3 planes by default.
    picture::Picture png = madepictures::indexedPicture(20, std::vector<std::uint8_t>(60, 1),
                                                        std::vector<amiga::Rgb8>(5));
    png.source = picture::Source::Png;
    EXPECT_EQ(
        picture::rawDescription(png, {true, {}, amiga::MaskOutput::After, true, false, {}}, 36),
        "20 x 3 pixels, 3 planes, planar, the mask plane after the last plane (inverted: "
        "set where transparent), 36 bytes");
}
