// Fonts from a grid: bobs cut the cells; a glyph's width comes from the columns its mask sets.
#include "picture/font.h"

#include <amiga/asmtext.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace picture {

namespace {

// Where a glyph lies across its cell: its leftmost column with a set bit in raw's mask of the
// cell, and its width to its rightmost one; nothing for an empty cell.
struct Extent {
    unsigned left = 0, width = 0;
};
std::optional<Extent> glyphExtent(const Picture &cell, const RawOptions &options) {
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
    if (left > right) {
        return std::nullopt;
    }
    return Extent{left, right - left + 1};
}

// The cell with its pixels moved left by `left` columns, those freed on the right transparent:
// of the background colour, and clear in the cell's own mask.
Picture movedLeft(Picture cell, unsigned left, unsigned background) {
    const auto move = [&](auto &values, auto freed) {
        if (values.empty()) {
            return;
        }
        for (unsigned y = 0; y < cell.height; y++) {
            auto row = values.begin() + static_cast<std::ptrdiff_t>(y) * cell.width;
            std::rotate(row, row + left, row + cell.width);
            std::fill(row + (cell.width - left), row + cell.width, freed);
        }
    };
    move(cell.pixels, static_cast<std::uint8_t>(background));
    move(cell.deepPixels, static_cast<std::uint32_t>(background));
    move(cell.opacity, std::uint8_t{0});
    return cell;
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
    if (!options.proportional) {
        return output;
    }
    // Each glyph moved to its cell's left edge, so that it is drawn where its width says.
    const unsigned background = options.raw.transparentColour.value_or(
        picture.transparentColours.empty() ? 0 : picture.transparentColours.front());
    for (std::size_t i = 0; i < made->cells.frames.size(); i++) {
        std::string error;
        const std::optional<Picture> cell = cutRegion(picture, made->cells.frames[i], &error);
        const std::optional<Extent> extent = cell ? glyphExtent(*cell, options.raw) : std::nullopt;
        made->widths.push_back(extent ? extent->width : options.width / 2);
        if (!extent || extent->left == 0) {
            continue;
        }
        RawOptions raw = options.raw;
        raw.depth = made->cells.depth; // every glyph has the planes of the deepest
        const Output moved = rawBitplanes(movedLeft(*cell, extent->left, background), raw);
        if (moved.ok() && moved.bytes.size() == made->cells.frameBytes) {
            std::copy(moved.bytes.begin(), moved.bytes.end(),
                      output.bytes.begin() + static_cast<std::ptrdiff_t>(made->cells.offsets[i]));
        }
    }
    return output;
}

std::optional<unsigned> parseFirstCharacter(std::string_view text) {
    const bool digits = !text.empty() && text.size() <= 3 &&
                        text.find_first_not_of("0123456789") == std::string_view::npos;
    if (digits) {
        const unsigned code = static_cast<unsigned>(std::stoi(std::string(text)));
        return code <= 255 ? std::optional<unsigned>(code) : std::nullopt;
    }
    if (text.size() == 1) {
        return static_cast<unsigned char>(text[0]);
    }
    return std::nullopt;
}

std::string characterName(unsigned code) {
    const std::string hex = amiga::hex(code, 2);
    return code >= 32 && code < 127 ? "'" + std::string(1, static_cast<char>(code)) + "' " + hex
                                    : hex;
}

} // namespace picture
