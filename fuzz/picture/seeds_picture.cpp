// Writes a small corpus of pictures into the folder given: the real pictures kept for the tests,
// PNGs of every colour type and depth (interlaced ones, one with a palette's transparency, one
// with a colour key), and ILBM, ACBM and PBM pictures: packed, masked, EHB, HAM6, HAM8, deep,
// with SHAM and (Huffman-coded) PCHG palette changes.
#include "kept_inputs.h"
#include "picture_files.h"

#include <cstdio>
#include <string>

using namespace picturetest;
using namespace iffbytes;

namespace {

void put(const std::string &folder, const std::string &name, const Bytes &bytes) {
    iffbytes::save(folder + "/" + name, bytes);
}

std::vector<unsigned> samples(unsigned count, unsigned modulo) {
    std::vector<unsigned> out;
    for (unsigned i = 0; i < count; i++) {
        out.push_back((i * 37 + i / 5) % modulo);
    }
    return out;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    copyKeptInputs(folder);

    const unsigned w = 7, h = 5;
    for (int depth : {1, 2, 4, 8}) {
        std::vector<png_color> palette;
        for (unsigned i = 0; i < (1u << depth) && i < 20; i++) {
            palette.push_back({static_cast<png_byte>(i * 13), static_cast<png_byte>(i * 7), 200});
        }
        PngLayout layout =
            pngLayout(w, h, PNG_COLOR_TYPE_PALETTE, depth,
                      samples(w * h, static_cast<unsigned>(palette.size())), palette);
        if (depth == 4) {
            layout.alphas = {0, 255, 100};
        }
        put(folder, "palette" + std::to_string(depth) + ".png", pngOf(layout));
        put(folder, "grey" + std::to_string(depth) + ".png",
            pngOf(pngLayout(w, h, PNG_COLOR_TYPE_GRAY, depth, samples(w * h, 1u << depth))));
    }
    PngLayout interlaced = pngLayout(w, h, PNG_COLOR_TYPE_PALETTE, 2, samples(w * h, 4),
                                     {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}});
    interlaced.interlaced = true;
    put(folder, "interlaced.png", pngOf(interlaced));
    put(folder, "rgb.png", pngOf(pngLayout(w, h, PNG_COLOR_TYPE_RGB, 8, samples(w * h * 3, 256))));
    put(folder, "rgba.png",
        pngOf(pngLayout(w, h, PNG_COLOR_TYPE_RGB_ALPHA, 8, samples(w * h * 4, 256))));
    put(folder, "greyalpha.png",
        pngOf(pngLayout(w, h, PNG_COLOR_TYPE_GRAY_ALPHA, 8, samples(w * h * 2, 256))));
    put(folder, "rgb16.png",
        pngOf(pngLayout(w, h, PNG_COLOR_TYPE_RGB, 16, samples(w * h * 3, 65536))));
    put(folder, "grey16.png",
        pngOf(pngLayout(w, h, PNG_COLOR_TYPE_GRAY, 16, samples(w * h, 65536))));
    PngLayout rgbaInterlaced =
        pngLayout(w, h, PNG_COLOR_TYPE_RGB_ALPHA, 8, samples(w * h * 4, 256));
    rgbaInterlaced.interlaced = true;
    put(folder, "rgba-interlaced.png", pngOf(rgbaInterlaced));
    png_color_16 key{};
    key.red = 3;
    PngLayout keyed = pngLayout(w, h, PNG_COLOR_TYPE_RGB, 8, samples(w * h * 3, 4));
    keyed.colourKey = &key;
    put(folder, "keyed.png", pngOf(keyed));

    std::vector<std::uint32_t> colours;
    for (unsigned i = 0; i < 64; i++) {
        colours.push_back(i * 0x030507);
    }
    auto values = [](unsigned planes) {
        std::vector<std::uint32_t> out;
        for (unsigned i = 0; i < 17 * 3; i++) {
            out.push_back((i * 2654435761u) >> (32 - planes));
        }
        return out;
    };
    put(folder, "plain.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 3),
               cmapOf({0, 0xff0000, 0x00ff00, 0x0000ff, 0x111111, 0x222222, 0x333333, 0xffffff}),
               chunk("BODY", interleavedBody(17, 3, 3, values(3)))}));
    std::vector<std::uint8_t> mask(17 * 3);
    for (size_t i = 0; i < mask.size(); i++) {
        mask[i] = i % 3 != 0;
    }
    put(folder, "masked.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 2, 1), cmapOf({0, 0xff0000, 0x00ff00, 0x0000ff}),
               chunk("BODY", interleavedBody(17, 3, 2, values(2), &mask))}));
    put(folder, "transparent.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 2, 2, 0, 0, 1), cmapOf({0, 0xff0000, 0x00ff00, 0x0000ff}),
               chunk("BODY", interleavedBody(17, 3, 2, values(2)))}));
    put(folder, "ehb.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 6),
               cmapOf(std::vector<std::uint32_t>(colours.begin(), colours.begin() + 32)),
               camgOf(0x80), chunk("BODY", interleavedBody(17, 3, 6, values(6)))}));
    put(folder, "ham6.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 6),
               cmapOf(std::vector<std::uint32_t>(colours.begin(), colours.begin() + 16)),
               camgOf(0x800), chunk("BODY", interleavedBody(17, 3, 6, values(6)))}));
    put(folder, "ham8.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 8), cmapOf(colours), camgOf(0x800),
               chunk("BODY", interleavedBody(17, 3, 8, values(8)))}));
    Bytes sham = be16(0);
    for (unsigned i = 0; i < 16 * 3; i++) {
        append(sham, be16(static_cast<std::uint16_t>(i * 0x111)));
    }
    put(folder, "sham.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 6),
               cmapOf(std::vector<std::uint32_t>(colours.begin(), colours.begin() + 16)),
               camgOf(0x800), chunk("SHAM", sham),
               chunk("BODY", interleavedBody(17, 3, 6, values(6)))}));
    PchgHeader changes;
    changes.compression = 1;
    changes.lineCount = 3;
    changes.changedLines = 1;
    changes.totalChanges = 1;
    put(folder, "pchg.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 3),
               cmapOf(std::vector<std::uint32_t>(colours.begin(), colours.begin() + 8)),
               pchg(changes, pchgHuffman(cat({be32(0x40000000), {1, 0}, be16(0x2f0f)}))),
               chunk("BODY", interleavedBody(17, 3, 3, values(3)))}));
    put(folder, "deep.iff",
        group("FORM", "ILBM",
              {bmhd(17, 3, 24), chunk("BODY", interleavedBody(17, 3, 24, values(24)))}));
    put(folder, "packed.iff",
        group("FORM", "ILBM",
              {bmhd(16, 2, 1, 0, 1), cmapOf({0, 0xffffff}),
               chunk("BODY", {0xff, 0xaa, 0x01, 0x12, 0x34})}));
    put(folder, "acbm.iff",
        group("FORM", "ACBM",
              {bmhd(16, 2, 1), cmapOf({0, 0xffffff}), chunk("ABIT", {0xf0, 0x0f, 0x12, 0x34})}));
    put(folder, "pbm.iff",
        group("FORM", "PBM ",
              {bmhd(3, 2, 8, 0, 1), cmapOf({0, 0xffffff}),
               chunk("BODY", {0xfd, 0x01, 0x03, 0x00, 0x01, 0x01, 0x00})}));
    return 0;
}
