// Bitplanes from chunky pixels: the bytes a program incbins for a picture, a blitter mask, or
// both, in the planar (each plane whole) or the interleaved (each row's planes together) layout.
//
// A plane row holds whole 16-bit words: a picture 20 pixels wide has 4-byte rows, its last 12
// bits zero. Pixel x of a row is bit 7 - x % 8 of byte x / 8 (the leftmost pixel is the most
// significant bit, as the display shows it). Bit p of a pixel's colour number goes to plane p.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace amiga {

// Bytes of one plane row for a picture width pixels wide: whole words.
constexpr std::size_t planeRowBytes(unsigned width) {
    return (static_cast<std::size_t>(width) + 15) / 16 * 2;
}

// What a pixel's colour number means for the mask: transparent[c] is true for every colour c
// whose pixels the mask leaves out (its bit clear). Colours past the table are opaque.
struct Transparency {
    std::vector<bool> transparent;

    // Only colour c is transparent.
    static Transparency colour(unsigned c);
    bool isTransparent(unsigned c) const { return c < transparent.size() && transparent[c]; }
};

// A mask plane (planeRowBytes(width) x height bytes): a bit set where the pixel is opaque.
// pixels: width x height colour numbers, row after row.
std::vector<std::uint8_t> maskPlane(const std::uint8_t *pixels, unsigned width, unsigned height,
                                    const Transparency &transparency);
// A mask plane from one opacity byte per pixel (non-zero: opaque), such as a picture's own mask.
std::vector<std::uint8_t> maskPlaneFromOpacity(const std::uint8_t *opacity, unsigned width,
                                               unsigned height);

enum class MaskOutput {
    None,  // the planes alone
    After, // the planes and the mask: interleaved, one mask row after each row's plane rows;
           // planar, the mask plane after the last plane
    Only,  // the mask alone, laid out for a cookie-cut blit: interleaved, each mask row repeated
           // once per plane (depth rows); planar, one plane
};

struct BitplaneLayout {
    bool interleaved = true;
    unsigned depth = 1; // planes written (1-8); colour bits above them are dropped
    MaskOutput mask = MaskOutput::None;
    bool invertMask = false; // the mask complemented: a bit set where transparent
};
// Padding (the bits of a row's last word past the width) is transparent in both masks: clear in
// the mask, set in the complemented one, so that a blit of whole words leaves the background
// beside the picture as it was, with either the cookie-cut minterm D = AB + ~AC ($ca, A the mask,
// B the picture, C the background) or, for the complemented mask, D = AC + ~AB ($ac). Padding in
// the planes is always clear (colour 0).

// The bytes of the planes (and mask) of a picture of width x height colour numbers. mask is a
// plane from maskPlane()/maskPlaneFromOpacity() for the same size, and may be null when
// layout.mask is MaskOutput::None. Empty for an empty picture, a depth outside 1-8, or no mask
// when the layout asks for one.
std::vector<std::uint8_t> bitplaneData(const std::uint8_t *pixels, unsigned width, unsigned height,
                                       const BitplaneLayout &layout, const std::uint8_t *mask);

// bitplaneData with the mask made from transparency (maskPlane) when the layout asks for one:
// the same bytes, and for MaskOutput::After with a single transparent colour made in the same
// pass over the pixels as the planes (the fastest way to planes and a mask).
std::vector<std::uint8_t> bitplaneDataAndMask(const std::uint8_t *pixels, unsigned width,
                                              unsigned height, const BitplaneLayout &layout,
                                              const Transparency &transparency);

// The same for pixel values of up to 32 bits (true-colour pictures: 24 planes and more); depth
// 1-32.
std::vector<std::uint8_t> bitplaneData(const std::uint32_t *pixels, unsigned width, unsigned height,
                                       const BitplaneLayout &layout, const std::uint8_t *mask);

// The colour numbers of planes laid out planar (depth planes of planeRowBytes(width) x height
// bytes): the inverse of bitplaneData for depths up to 8.
std::vector<std::uint8_t> chunkyFromPlanes(const std::uint8_t *planes, unsigned width,
                                           unsigned height, unsigned depth);

} // namespace amiga
