// Bobs from a sheet: frames of one size cut from a picture in reading order, each written as
// the raw bitplanes (and mask) of that frame alone, one after another, for the blitter.
#pragma once

#include "picture/export.h"
#include "picture/picture.h"
#include "picture/region.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace picture {

struct BobOptions {
    unsigned width = 0, height = 0;      // of a frame, in pixels
    unsigned columns = 0, rows = 0;      // at most this many across and down (0: all that fit)
    unsigned spacingX = 0, spacingY = 0; // pixels between frames
    std::optional<unsigned> count;       // the first N frames
    bool addWord = false;                // a blank word after each row of every plane
    bool trimEmpty = false;              // leave out frames whose pixels are all transparent
    RawOptions raw;                      // layout, mask and transparency, as raw writes them
    std::string unit = "frame";          // what the messages call a frame ("cell" for a font)
};

// What bobs made: the frames written, in order, and the size of each.
struct BobFrames {
    std::vector<Region> frames;       // the frames written
    std::vector<unsigned> sheet;      // each one's number on the sheet, 0 the top left
    std::vector<std::size_t> offsets; // each one's first byte in the data
    std::size_t frameBytes = 0;       // bytes of a frame (planes and mask)
    unsigned words = 0;               // words of a plane row (with the added word)
    unsigned depth = 0;               // planes written
    unsigned skipped = 0;             // empty frames left out (trimEmpty)
};

// The frames of the sheet, each the bytes rawBitplanes makes of that frame alone (with addWord
// a blank word after each plane row: clear, or in an inverted mask set, so that the word shows
// nothing), all one after another. A sheet that is not a whole number of frames: a warning says
// what is left out. Refused: no whole frame; a grid larger than the sheet; every frame empty.
Output bobs(const Picture &picture, const BobOptions &options, BobFrames *made);

// What the frames are, for a comment above them: "4 frames of 16 x 8 pixels, 2 planes and a
// mask, interleaved, 48 bytes each".
std::string bobDescription(const BobOptions &options, const BobFrames &made);

// The sizes a program needs to blit the frames, each named by what follows the data's name:
// _width, _height, _words (a row), _rowbytes, _bytes (a frame), _count.
struct BobSize {
    std::string suffix;
    std::uint32_t value = 0;
    std::string comment;
};
std::vector<BobSize> bobSizes(const BobOptions &options, const BobFrames &made);

// The include that finds the frames of data named `name`: equates of the frame's size, its
// bytes per plane row, its width in words, the frame's bytes and number; an equate of each
// frame's offset from `name` (name_frameN); a table of them (name_frames, dc.l).
std::string bobIndex(const std::string &name, const BobOptions &options, const BobFrames &made);

} // namespace picture
