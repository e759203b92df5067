// Pictures made in the tests of the picture library and of quillfen-iff: PNG
// files written through libpng's own writer, ILBM files built byte by byte, netpbm's files read
// back; the scratch folder and file reader of scratch_files.h. Nothing here uses the picture
// library.
#pragma once

#include "plane_layout.h"
#include "scratch_files.h"

#include <iff_bytes.h>

#include <png.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace picturetest {

using Bytes = std::vector<std::uint8_t>;

struct PngLayout {
    unsigned width = 0, height = 0;
    int colourType = PNG_COLOR_TYPE_PALETTE;
    int bitDepth = 8;
    bool interlaced = false;
    // One value a sample, row after row, channel after channel (16-bit samples as 0-65535).
    std::vector<unsigned> samples;
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;            // tRNS of a palette picture
    const png_color_16 *colourKey = nullptr; // tRNS of a grey or RGB picture
};

inline PngLayout pngLayout(unsigned width, unsigned height, int colourType, int bitDepth,
                           std::vector<unsigned> samples, std::vector<png_color> palette = {}) {
    return {width, height, colourType, bitDepth, false, std::move(samples), std::move(palette),
            {},    nullptr};
}

// The PNG file of the layout, packed as libpng packs it.
inline Bytes pngOf(const PngLayout &layout) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp png, png_bytep data, png_size_t length) {
            auto *out = static_cast<Bytes *>(png_get_io_ptr(png));
            out->insert(out->end(), data, data + length);
        },
        [](png_structp) {});
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    if (!layout.alphas.empty()) {
        png_set_tRNS(png, info, layout.alphas.data(), static_cast<int>(layout.alphas.size()),
                     nullptr);
    } else if (layout.colourKey != nullptr) {
        png_set_tRNS(png, info, nullptr, 0, layout.colourKey);
    }
    // Rows packed by hand: samples of under 8 bits from the high bits down, 16 bits big-endian.
    // Samples a pixel: grey or a palette index 1, grey and alpha 2 (type 4), RGB 3, RGBA 4.
    const int channels = layout.colourType == PNG_COLOR_TYPE_RGB          ? 3
                         : layout.colourType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                         : layout.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                          : 1;
    const size_t rowBytes = (size_t{layout.width} * channels * layout.bitDepth + 7) / 8;
    std::vector<Bytes> rows(layout.height, Bytes(rowBytes, 0));
    for (unsigned y = 0; y < layout.height; y++) {
        for (unsigned i = 0; i < layout.width * channels; i++) {
            const unsigned v = layout.samples[size_t{y} * layout.width * channels + i];
            if (layout.bitDepth == 16) {
                rows[y][2 * i] = static_cast<std::uint8_t>(v >> 8);
                rows[y][2 * i + 1] = static_cast<std::uint8_t>(v);
            } else {
                const size_t bit = size_t{i} * layout.bitDepth;
                rows[y][bit / 8] |= static_cast<std::uint8_t>(v << (8 - layout.bitDepth - bit % 8));
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (Bytes &row : rows)
        pointers.push_back(row.data());
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

inline bool savePng(const std::string &path, const PngLayout &layout) {
    return iffbytes::save(path, pngOf(layout));
}

// ILBM planes for pixel values, interleaved: each picture row's plane rows, then the mask row
// when mask is given (non-zero where opaque), which is one plane more (plane_layout.h).
inline Bytes interleavedBody(unsigned width, unsigned height, unsigned planes,
                             const std::vector<std::uint32_t> &values,
                             const std::vector<std::uint8_t> *mask = nullptr) {
    std::vector<std::uint64_t> withMask(values.begin(), values.end());
    for (size_t i = 0; mask != nullptr && i < withMask.size(); i++) {
        withMask[i] |= std::uint64_t{(*mask)[i] != 0} << planes;
    }
    return planelayout::planes(withMask, width, height, planes + (mask != nullptr ? 1 : 0), true,
                               planelayout::Mask::None, false, [](unsigned) { return false; });
}

inline Bytes cmapOf(const std::vector<std::uint32_t> &colours) {
    Bytes body;
    for (std::uint32_t c : colours) {
        body.push_back(static_cast<std::uint8_t>(c >> 16));
        body.push_back(static_cast<std::uint8_t>(c >> 8));
        body.push_back(static_cast<std::uint8_t>(c));
    }
    return iffbytes::chunk("CMAP", body);
}

inline Bytes camgOf(std::uint32_t mode) {
    return iffbytes::chunk("CAMG", iffbytes::be32(mode));
}

using testfiles::Folder;
using testfiles::load;

using Rgb = std::array<std::uint8_t, 3>;

// A binary PPM (P6, maxval 255) as netpbm writes it; false when the file is not one.
inline bool readPpm(const std::string &path, unsigned *width, unsigned *height,
                    std::vector<Rgb> *pixels) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    unsigned maxval = 0;
    in >> magic >> *width >> *height >> maxval;
    in.get();
    pixels->resize(in && magic == "P6" && maxval == 255 ? size_t{*width} * *height : 0);
    in.read(reinterpret_cast<char *>(pixels->data()), std::streamsize(pixels->size() * 3));
    return in && !pixels->empty();
}

} // namespace picturetest
