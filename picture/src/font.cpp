// Fonts from a grid: bobs cut the cells; a glyph's width comes from the columns its mask sets.
#include "picture/font.h"

#include <amiga/asmtext.h>

#include <algorithm>

namespace picture {

namespace {

// The width of a glyph: from its leftmost to its rightmost column with a set bit in raw's mask
// of the cell; half the cell for an empty one.
unsigned glyphWidth(const Picture &cell, const RawOptions &options) {
    const Output bits = rawMaskPlane(cell, options.transparentColour);
    const unsigned rowBytes = (cell.width + 15) / 16 * 2;
    unsigned left = cell.width, right = 0;
    for (std::size_t at = 0; bits.ok() && at < bits.bytes.size(); at++) {
        const unsigned column0 = static_cast<unsigned>(at % rowBytes) * 8;
        for (unsigned bit = 0; bit < 8; bit++) {
            if ((bits.bytes[at] & (0x80u >> bit)) != 0 && column0 + bit < cell.width) {
                left = std::min(left, column0 + bit);
                right = std::max(right, column0 + bit);
            }
        }
    }
    return left > right ? cell.width / 2 : right - left + 1;
}

} // namespace

Output font(const Picture &picture, const FontOptions &options, FontGlyphs *made) {
    *made = FontGlyphs{};
    BobOptions cells;
    cells.width = options.width;
    cells.height = options.height;
    cells.raw = options.raw;
    cells.unit = "cell";
    std::string past;
    const unsigned characters = 256 - std::min(options.first, 256u);
    if (options.width != 0 && options.height != 0) {
        const unsigned whole = (picture.width / options.width) * (picture.height / options.height);
        if (whole > characters) {
            cells.count = characters;
            past = std::to_string(whole - characters) + " of the " + std::to_string(whole) +
                   " cells would be past character 255; they are left out.";
        }
    }
    if (characters == 0) {
        Output output;
        output.error = "No character follows 255.";
        return output;
    }
    Output output = bobs(picture, cells, &made->cells);
    if (!output.ok()) {
        return output;
    }
    if (!past.empty()) {
        output.warnings.push_back(past);
    }
    if (options.proportional) {
        for (const Region &region : made->cells.frames) {
            std::string error;
            const std::optional<Picture> cell = cutRegion(picture, region, &error);
            made->widths.push_back(cell ? glyphWidth(*cell, options.raw) : options.width / 2);
        }
    }
    return output;
}

std::string characterName(unsigned code) {
    const std::string hex = amiga::hex(code, 2);
    return code >= 32 && code < 127 ? "'" + std::string(1, static_cast<char>(code)) + "' " + hex
                                    : hex;
}

} // namespace picture
