// A rectangle of a picture: what a user cuts out of a sheet of graphics before converting it.
#pragma once

#include "picture/picture.h"

#include <optional>
#include <string>
#include <string_view>

namespace picture {

struct Region {
    unsigned x = 0, y = 0;          // the top left pixel, 0,0 the picture's top left
    unsigned width = 0, height = 0; // in pixels
    friend bool operator==(const Region &, const Region &) = default;
};

// "X,Y,W,H": four decimal numbers of pixels, nothing else. Nothing for any other text.
std::optional<Region> parseRegion(std::string_view text);

// Why the region cannot be cut from a picture of width x height pixels, as a sentence ("The
// region 10,0,64,32 reaches past the picture's right edge (64 pixels wide)."); empty when it can:
// it must hold a pixel and lie wholly inside the picture.
std::string regionProblem(const Region &region, unsigned width, unsigned height);

// The region of a picture as a picture of its own: its pixel values, mask and true colours cut
// out; its colour map, display mode and pixel shape kept; its colour changes moved up by the
// region's top (those above it made from its first line). A HAM region that does not start at
// the left edge gets a warning: its first pixels modify colours from pixels left out. Nothing,
// with *error set to regionProblem's sentence, for a region that cannot be cut.
std::optional<Picture> cutRegion(const Picture &picture, const Region &region, std::string *error);

// What a picture of width x height pixels cut into `count` whole pieces leaves out, as a warning:
// "The picture, 35 x 15 pixels, is not a whole number of 8 x 8 tiles; 4 whole tiles are used,
// leaving out 3 pixels on the right and 7 lines at the bottom." wholeOf names the pieces after
// "a whole number of", one and many a piece, verb what becomes of the whole ones. Empty when
// nothing is left out.
std::string leftOverWarning(unsigned width, unsigned height, const std::string &wholeOf,
                            unsigned count, const std::string &one, const std::string &many,
                            const std::string &verb, unsigned rightOver, unsigned bottomOver);

} // namespace picture
