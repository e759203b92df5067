// Bitplanes and masks laid out one pixel at a time, as the Hardware Reference Manual describes
// them ("Playfield Hardware", "Blitter Hardware"): pixel x of a plane row is bit 7 - x % 8 of byte
// x / 8, bit p of its colour number in plane p, rows of whole 16-pixel words. Written here without
// the machine library, the slow plain way, for the tests of the library and of quillfen-iff.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace planelayout {

using Bytes = std::vector<std::uint8_t>;

enum class Mask { None, After, Only };

// One plane row of colour numbers (any unsigned type, up to 32 planes).
template <typename Pixel>
Bytes planeRow(const std::vector<Pixel> &pixels, unsigned width, unsigned y, unsigned plane) {
    Bytes row((width + 15) / 16 * 2, 0);
    for (unsigned x = 0; x < width; ++x)
        if ((static_cast<std::uint64_t>(pixels[std::size_t{y} * width + x]) >> plane) & 1)
            row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    return row;
}

// The planes (interleaved: every picture row's plane rows one after another; planar: every plane
// whole) with a mask: a row after each row's plane rows or a plane after the planes (After), or
// the mask alone (Only; interleaved, each mask row once for each plane, for a cookie-cut blit
// with the planes' modulo). A mask bit is set where transparent(colour) is false; inverted, where
// it is true and in the padding past the picture, which shows nothing.
template <typename Pixel, typename IsTransparent>
Bytes planes(const std::vector<Pixel> &pixels, unsigned width, unsigned height, unsigned depth,
             bool interleaved, Mask mask, bool inverted, IsTransparent transparent) {
    auto maskRow = [&](unsigned y) {
        Bytes row((width + 15) / 16 * 2, 0);
        for (unsigned x = 0; x < width; ++x)
            if (!transparent(static_cast<unsigned>(pixels[std::size_t{y} * width + x])))
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        if (inverted)
            for (std::uint8_t &b : row)
                b = static_cast<std::uint8_t>(~b);
        return row;
    };
    Bytes out;
    auto append = [&](const Bytes &row) { out.insert(out.end(), row.begin(), row.end()); };
    if (interleaved) {
        for (unsigned y = 0; y < height; ++y) {
            for (unsigned p = 0; p < depth; ++p)
                append(mask == Mask::Only ? maskRow(y) : planeRow(pixels, width, y, p));
            if (mask == Mask::After)
                append(maskRow(y));
        }
        return out;
    }
    if (mask != Mask::Only)
        for (unsigned p = 0; p < depth; ++p)
            for (unsigned y = 0; y < height; ++y)
                append(planeRow(pixels, width, y, p));
    if (mask != Mask::None)
        for (unsigned y = 0; y < height; ++y)
            append(maskRow(y));
    return out;
}

} // namespace planelayout
