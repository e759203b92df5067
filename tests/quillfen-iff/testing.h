// What the tests of quillfen-iff's picture commands share: the program run as a shell runs it,
// pictures of colour numbers written as PNGs and as ILBMs, and the bytes a picture's planes must
// make, worked out from its pixels.
#pragma once

#include "iff_bytes.h"
#include "picture_files.h"
#include "plane_layout.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#ifndef QUILLFEN_IFF_TOOL
#error "QUILLFEN_IFF_TOOL must name the quillfen-iff executable"
#endif

namespace ifftool {

using iffbytes::Bytes;

using picturetest::Folder;
using picturetest::load;

inline testprogram::Outcome tool(const std::string &arguments) {
    return testprogram::run(QUILLFEN_IFF_TOOL, arguments);
}

// What the program prints, when it succeeds as it should.
inline std::string succeeds(const std::string &arguments) {
    const testprogram::Outcome r = tool(arguments);
    EXPECT_EQ(r.status, 0) << arguments << ": " << r.err;
    return r.out;
}

inline bool exists(const std::string &path) {
    return std::ifstream(path).good();
}

struct Colour {
    std::uint8_t r, g, b;
};

// A picture of colour numbers.
struct Indexed {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<Colour> palette;
};

// A palette PNG of the picture at a bit depth of 1, 2, 4 or 8; alphas: tRNS entries.
inline void savePng(const std::string &path, const Indexed &picture, int bitDepth = 8,
                    const std::vector<std::uint8_t> &alphas = {}) {
    picturetest::PngLayout layout;
    layout.width = picture.width;
    layout.height = picture.height;
    layout.bitDepth = bitDepth;
    layout.samples.assign(picture.pixels.begin(), picture.pixels.end());
    for (const Colour &c : picture.palette) {
        layout.palette.push_back({c.r, c.g, c.b});
    }
    layout.alphas = alphas;
    picturetest::savePng(path, layout);
}

// An RGB PNG (8 bits a channel) of colours 0xrrggbb.
inline void saveRgbPng(const std::string &path, unsigned width, unsigned height,
                       const std::vector<std::uint32_t> &colours) {
    std::vector<unsigned> samples;
    for (std::uint32_t c : colours) {
        samples.insert(samples.end(), {c >> 16, c >> 8 & 0xff, c & 0xff});
    }
    picturetest::savePng(path,
                         picturetest::pngLayout(width, height, PNG_COLOR_TYPE_RGB, 8, samples));
}

using planelayout::Mask;

// One plane row of the picture (plane_layout.h).
inline Bytes planeRow(const Indexed &picture, unsigned y, unsigned plane) {
    return planelayout::planeRow(picture.pixels, picture.width, y, plane);
}

// The bytes of the picture's planes as the Hardware Reference Manual lays them out, the mask
// clear where the pixel is of a transparent colour (plane_layout.h).
inline Bytes expectedPlanes(const Indexed &picture, unsigned depth, bool interleaved, Mask mask,
                            const std::vector<unsigned> &transparent = {0}, bool inverted = false) {
    return planelayout::planes(picture.pixels, picture.width, picture.height, depth, interleaved,
                               mask, inverted, [&](unsigned c) {
                                   return std::find(transparent.begin(), transparent.end(), c) !=
                                          transparent.end();
                               });
}

// The picture as an uncompressed ILBM of depth planes: BMHD, CMAP, BODY of interleaved rows.
inline Bytes ilbmOf(const Indexed &picture, unsigned depth, unsigned masking = 0,
                    unsigned transparentColour = 0) {
    Bytes cmap;
    for (const Colour &c : picture.palette) {
        iffbytes::append(cmap, {c.r, c.g, c.b});
    }
    return iffbytes::group(
        "FORM", "ILBM",
        {iffbytes::bmhd(picture.width, picture.height, depth, masking, 0, 0, transparentColour),
         iffbytes::chunk("CMAP", cmap),
         iffbytes::chunk("BODY", expectedPlanes(picture, depth, true, Mask::None))});
}

// Big-endian words of bytes.
inline std::vector<std::uint16_t> wordsOf(const Bytes &bytes) {
    std::vector<std::uint16_t> words;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        words.push_back(static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]));
    }
    return words;
}

} // namespace ifftool
