// What the comment above raw data says it is: the layout the options choose, in words.
#include "made_pictures.h"
#include "picture/export.h"

#include <gtest/gtest.h>

TEST(RawDescription, SaysSizePlanesLayoutAndMask) {
    // A PNG of 20 x 3 in a map of 5 colours: 3 planes by default.
    picture::Picture png = madepictures::indexedPicture(20, std::vector<std::uint8_t>(60, 1),
                                                        std::vector<amiga::Rgb8>(5));
    png.source = picture::Source::Png;
    using amiga::MaskOutput;
    const struct {
        picture::RawOptions options;
        const char *text;
    } cases[] = {
        {{}, "20 x 3 pixels, 3 planes, interleaved, 36 bytes"},
        {{true, 1u}, "20 x 3 pixels, 1 plane, planar, 36 bytes"},
        {{false, {}, MaskOutput::After},
         "20 x 3 pixels, 3 planes, interleaved, a mask row after each row's planes, 36 bytes"},
        {{true, 5u, MaskOutput::After, true},
         "20 x 3 pixels, 5 planes, planar, the mask plane after the last plane (inverted: set "
         "where transparent), 36 bytes"},
        {{false, {}, MaskOutput::Only},
         "20 x 3 pixels, the mask alone, each row 3 times (once a plane), 36 bytes"},
        {{true, {}, MaskOutput::Only}, "20 x 3 pixels, the mask alone, one plane, 36 bytes"},
        {{false, {}, MaskOutput::None, false, true},
         "20 x 3 pixels, chunky (a byte a pixel), 36 bytes"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(picture::rawDescription(png, c.options, 36), c.text);
    // An ILBM keeps its own planes; one pixel, one byte.
    picture::Picture ilbm = madepictures::indexedPicture(1, {1}, {});
    ilbm.source = picture::Source::Ilbm;
    ilbm.depth = 6;
    EXPECT_EQ(picture::rawDescription(ilbm, {}, 1), "1 x 1 pixel, 6 planes, interleaved, 1 byte");
}
