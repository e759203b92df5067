// A picture of colour numbers over a map, made in memory for the tests of what is done with one.
#pragma once

#include "picture/picture.h"

#include <utility>
#include <vector>

namespace picturetest {

inline picture::Picture indexedPicture(unsigned width, std::vector<std::uint8_t> pixels,
                                       std::vector<amiga::Rgb8> palette,
                                       picture::DisplayMode mode = picture::DisplayMode::Indexed) {
    picture::Picture p;
    p.mode = mode;
    p.depth = 8;
    p.width = width;
    p.height = static_cast<unsigned>(pixels.size()) / width;
    p.pixels = std::move(pixels);
    p.palette = std::move(palette);
    return p;
}

} // namespace picturetest
