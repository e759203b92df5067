// What the tests of quillfen-iff share: the program run as a shell runs it, pictures of colour
// numbers written as PNGs and as ILBMs, and the bytes a picture's planes must make, worked out
// from its pixels (plane_layout.h).
#pragma once

#include "iff_bytes.h"
#include "picture_files.h"
#include "plane_layout.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#ifndef QUILLFEN_IFF_TOOL
#error "QUILLFEN_IFF_TOOL must name the quillfen-iff executable"
#endif

namespace ifftool {

using namespace iffbytes;
using picturetest::Folder;
using picturetest::load;
using planelayout::Mask;
using std::filesystem::exists;

const std::string kTool = QUILLFEN_IFF_TOOL;

inline testprogram::Outcome tool(const std::string &arguments) {
    return testprogram::run(kTool, arguments);
}

// A picture of colour numbers and its colours (0xrrggbb).
struct Indexed {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint32_t> palette;
};

// A palette PNG of the picture at a bit depth of 1, 2, 4 or 8; alphas: tRNS entries.
inline void savePng(const std::string &path, const Indexed &picture, int bitDepth = 8,
                    const std::vector<std::uint8_t> &alphas = {}) {
    picturetest::PngLayout layout =
        picturetest::pngLayout(picture.width, picture.height, PNG_COLOR_TYPE_PALETTE, bitDepth,
                               std::vector<unsigned>(picture.pixels.begin(), picture.pixels.end()));
    for (std::uint32_t c : picture.palette)
        layout.palette.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                                  static_cast<png_byte>(c)});
    layout.alphas = alphas;
    picturetest::savePng(path, layout);
}

// The bytes of the picture's planes, the mask clear where the pixel is of a transparent colour.
inline Bytes expectedPlanes(const Indexed &picture, unsigned depth, bool interleaved, Mask mask,
                            const std::vector<unsigned> &transparent = {0}, bool inverted = false) {
    return planelayout::planes(
        picture.pixels, picture.width, picture.height, depth, interleaved, mask, inverted,
        [&](unsigned c) { return std::count(transparent.begin(), transparent.end(), c); });
}

// The picture as an uncompressed ILBM of depth planes: BMHD, CMAP, BODY of interleaved rows.
inline Bytes ilbmOf(const Indexed &picture, unsigned depth) {
    return group("FORM", "ILBM",
                 {bmhd(picture.width, picture.height, depth), picturetest::cmapOf(picture.palette),
                  chunk("BODY", expectedPlanes(picture, depth, true, Mask::None))});
}

} // namespace ifftool
