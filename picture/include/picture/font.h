// Fonts from a grid: glyphs cut from a picture of cells in reading order, which is character
// order from a first character, each written as bobs writes a frame (raw of that cell alone).
#pragma once

#include "picture/bobs.h"
#include "picture/export.h"
#include "picture/picture.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace picture {

struct FontOptions {
    unsigned width = 0, height = 0; // of a cell, in pixels
    unsigned first = 32;            // the character of the first cell (32, space)
    bool proportional = false;      // find each glyph's width
    RawOptions raw;                 // planes and transparency, as raw writes them
};

// What font made: the glyphs as bobs cut them and, when proportional, each one's width.
struct FontGlyphs {
    BobFrames cells;
    std::vector<unsigned> widths; // pixels from its leftmost to its rightmost set pixel
};

// The glyphs, one after another, each the bytes raw writes of its cell alone. At most the
// characters up to 255 are cut; a grid holding more is said in a warning. Proportional: a
// glyph's width is its rightmost set (not transparent) pixel's column less its leftmost one's,
// plus 1, and the glyph is moved left in its cell so that its leftmost set pixel is in the
// cell's first column (the columns freed on the right transparent), so that a glyph drawn at x
// ends before x + width; a glyph without a set pixel (a space) is half the cell wide. Refused as
// bobs refuses.
Output font(const Picture &picture, const FontOptions &options, FontGlyphs *made);

// The first character of a font as it is given (quillfen-iff's --first, the window's field, as
// bytes): up to three digits are its code (0-255; digits are always a code, "48" for '0'), else
// one byte is that character. Nothing for anything else.
std::optional<unsigned> parseFirstCharacter(std::string_view text);

// The name of a character for a comment: "'A' $41", or "$07" for one that does not print.
std::string characterName(unsigned code);

} // namespace picture
