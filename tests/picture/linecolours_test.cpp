// Palette changes down a picture: the SHAM and PCHG readers against chunks built byte by byte,
// and pictures with them shown line by line. The layouts are S. Vigna's PCHG document
// (http://amigan.1emu.net/reg/ILBM.PCHG.txt) and the SHAM chunk as paint programs wrote it.
#include "iff_bytes.h"
#include "picture/linecolours.h"

#include <gtest/gtest.h>

using amiga::Rgb8;
using iffbytes::be16;
using iffbytes::be32;
using iffbytes::Bytes;
using iffbytes::cat;
using picture::ColourChange;

namespace {

// The chunk's data alone: what the readers take.
Bytes dataOf(const Bytes &chunk) {
    return Bytes(chunk.begin() + 8,
                 chunk.begin() + 8 + (chunk[4] << 24 | chunk[5] << 16 | chunk[6] << 8 | chunk[7]));
}

// Line 1 sets register 1 to $f00 and register 17 to $0f0; line 3 register 0 to $00f.
const Bytes kSmallData =
    cat({be32(0x50000000), {1, 1}, be16(0x1f00), be16(0x10f0), {1, 0}, be16(0x000f)});
const std::vector<ColourChange> kSmallChanges = {
    {1, 1, {255, 0, 0}}, {1, 17, {0, 255, 0}}, {3, 0, {0, 0, 255}}};

// Compression, flags, start line, lines, changed lines, registers 0-31, at most 2 changes a line,
// 3 in all.
const iffbytes::PchgHeader kSmallHeader{0, 1, 0, 4, 2, 0, 31, 2, 3};

} // namespace

TEST(Sham, EachLinesSixteenColoursChangeWhatDiffersAndOtherChunksAreRefused) {
    // A 12-bit word $0RGB shows each nibble n as n x 17.
    const std::vector<Rgb8> palette = {{0, 0, 0}, {0x10, 0x20, 0x30}};
    auto shamOf = [](std::initializer_list<std::vector<std::uint16_t>> lines) {
        Bytes data = be16(0);
        for (const auto &words : lines) {
            for (unsigned r = 0; r < 16; r++)
                iffbytes::append(data, be16(r < words.size() ? words[r] : 0));
        }
        return data;
    };
    const Bytes twoLines = cat({be16(0), Bytes(64, 0)});
    const struct {
        Bytes data;
        unsigned height;
        bool lace;
        std::vector<ColourChange> changes; // none: refused, saying
        const char *says;
    } cases[] = {
        // Line 0 changes register 1 only where the map differs; line 1 register 0.
        {shamOf({{0x000, 0x123}, {0xfff, 0x123}}),
         2,
         false,
         {{0, 1, {0x11, 0x22, 0x33}}, {1, 0, {255, 255, 255}}},
         ""},
        // An interlaced picture: a palette for each two lines, the last line alone.
        {shamOf({{0x000, 0x456}, {0x00f, 0x456}}),
         3,
         true,
         {{0, 1, {0x44, 0x55, 0x66}}, {2, 0, {0, 0, 255}}},
         ""},
        {{0}, 2, false, {}, "the SHAM chunk of 1 bytes is too short for its version word"},
        {cat({be16(1), Bytes(64, 0)}), 2, false, {}, "is of version 1; only version 0 is read"},
        {twoLines, 3, false, {}, "holds palettes for 2 lines, the picture needs 3 (3 lines)"},
        {twoLines, 2, true, {}, "the interlaced picture needs 1 (2 lines)"},
        {cat({be16(0), Bytes(63, 0)}), 2, false, {}, "holds palettes for 1 lines"},
    };
    for (const auto &c : cases) {
        std::string error;
        const auto changes = picture::readSham(c.data, palette, c.height, c.lace, &error);
        EXPECT_EQ(changes.value_or(std::vector<ColourChange>{}), c.changes) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(Pchg, SmallBigPackedAndEarlyChangesAndMalformedChunksRefused) {
    using Header = iffbytes::PchgHeader;
    // 32-bit changes from line -2, 3 lines, 2 of them changed, registers 0-255, a change each.
    // Big changes: register word, alpha, red, blue, green (the document's LongColorChange).
    const Bytes big = iffbytes::pchg({0, 2, -2, 3, 2, 0, 255, 1, 2}, cat({be32(0xa0000000),
                                                                          be16(1),
                                                                          be16(200),
                                                                          {9, 0x11, 0x22, 0x33},
                                                                          be16(1),
                                                                          be16(3),
                                                                          {0, 1, 2, 3}}));
    // The small changes with one field of the header changed.
    auto with = []<typename T>(T Header::*field, T value) {
        Header h = kSmallHeader;
        h.*field = value;
        return dataOf(iffbytes::pchg(h, kSmallData));
    };
    const Header packed{1, 1, 0, 4, 2, 0, 31, 2, 3};
    Bytes badTree = iffbytes::pchgHuffman(kSmallData);
    badTree[8 + 766] = 0x80; // the root's word: a step back past the tree's first word
    const Bytes huffman = dataOf(iffbytes::pchg(packed, iffbytes::pchgHuffman(kSmallData)));
    using u16 = std::uint16_t;
    const struct {
        Bytes data;
        std::vector<ColourChange> changes; // none: refused, saying
        const char *says;
    } cases[] = {
        // 12-bit: the second count's registers are 16 on; Huffman-coded, the same changes.
        {dataOf(iffbytes::pchg(kSmallHeader, kSmallData)), kSmallChanges, ""},
        {huffman, kSmallChanges, ""},
        // 32-bit, from line -2: what is above the picture shows on its first line.
        {dataOf(big), {{0, 200, {0x11, 0x33, 0x22}}, {0, 3, {1, 3, 2}}}, ""},
        {Bytes(19, 0), {}, "the PCHG chunk of 19 bytes is too short for its 20-byte header"},
        {with(&Header::compression, u16{2}), {}, "compressed with method 2, which is not read"},
        {with(&Header::flags, u16{3}), {}, "its flags (3) name neither 12-bit nor 32-bit changes"},
        {with(&Header::startLine, std::int16_t{1}), {}, "changes lines 1 to 4, the picture has 4"},
        {dataOf(iffbytes::pchg(kSmallHeader, {0x50, 0})), {}, "it ends inside its line mask"},
        {dataOf(iffbytes::pchg(kSmallHeader, Bytes(kSmallData.begin(), kSmallData.end() - 1))),
         {},
         "it ends inside the changes of line 3"},
        {with(&Header::maxReg, u16{16}),
         {},
         "line 1 changes register 17, outside its registers 0-16"},
        {with(&Header::maxChanges, u16{1}),
         {},
         "line 1 has 2 changes, more than its MaxChanges of 1"},
        {with(&Header::changedLines, u16{3}),
         {},
         "it says 3 lines and 3 changes, its data holds 2 and 3"},
        {with(&Header::totalChanges, 4u), {}, "it says 2 lines and 4 changes"},
        {dataOf(iffbytes::pchg(packed, badTree)), {}, "its Huffman tree points outside itself"},
        {Bytes(huffman.begin(), huffman.end() - 2), {}, "its packed data ends after"},
        {dataOf(iffbytes::pchg(packed, cat({be32(768), be32(900), Bytes(768, 0), {1}}))),
         {},
         "its 1 packed bytes cannot hold the 900 it unpacks to"},
    };
    for (const auto &c : cases) {
        std::string error;
        const auto changes = picture::readPchg(c.data, 4, &error);
        EXPECT_EQ(changes.value_or(std::vector<ColourChange>{}), c.changes) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(ColourChanges, TheFileShowsEachLineWithItsPaletteOrWithoutABrokenChunk) {
    // 16 x 4, one plane: the left half colour 1, the right half colour 0, every line.
    const Bytes body = cat({{0xff, 0}, {0xff, 0}, {0xff, 0}, {0xff, 0}});
    auto file = [&](const Bytes &changes, std::uint32_t camg = 0) {
        return iffbytes::group("FORM", "ILBM",
                               {iffbytes::bmhd(16, 4, 1), iffbytes::chunk("CAMG", be32(camg)),
                                iffbytes::chunk("CMAP", {0, 0, 0, 0x10, 0x20, 0x30}), changes,
                                iffbytes::chunk("BODY", body)});
    };
    const Rgb8 black{}, map1{0x10, 0x20, 0x30}, red{255, 0, 0}, blue{0, 0, 255};
    // Worked by hand from kSmallData: line 1 turns colour 1 red, line 3 colour 0 blue.
    const std::vector<Rgb8> smallLines[4] = {
        {map1, black}, {red, black}, {red, black}, {red, blue}};
    // An interlaced SHAM picture: line pair 0-1 as the map, 2-3 colour 1 $0f0.
    Bytes sham =
        cat({be16(0), be16(0), be16(0x123), Bytes(28, 0), be16(0), be16(0x0f0), Bytes(28, 0)});
    const Rgb8 green{0, 255, 0}, c123{0x11, 0x22, 0x33};
    const std::vector<Rgb8> shamLines[4] = {
        {c123, black}, {c123, black}, {green, black}, {green, black}};
    const std::vector<Rgb8> plain[4] = {{map1, black}, {map1, black}, {map1, black}, {map1, black}};
    struct Case {
        const char *what;
        Bytes bytes;
        const std::vector<Rgb8> *lines;
        std::vector<std::string> warnings;
    } cases[] = {
        {"PCHG", file(iffbytes::pchg(kSmallHeader, kSmallData)), smallLines, {}},
        {"SHAM, interlaced", file(iffbytes::chunk("SHAM", sham), 0x804), shamLines, {}},
        {"short PCHG",
         file(iffbytes::chunk("PCHG", {0, 0, 0, 1})),
         plain,
         {"the PCHG chunk of 4 bytes is too short for its 20-byte header; the picture is shown "
          "without its changes"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        const auto read = picture::readPicture(c.bytes, &error);
        ASSERT_TRUE(read) << error;
        const std::vector<Rgb8> shown = picture::render(*read);
        for (unsigned y = 0; y < 4; y++) {
            EXPECT_EQ(shown[y * 16], c.lines[y][0]) << "line " << y;
            EXPECT_EQ(shown[y * 16 + 15], c.lines[y][1]) << "line " << y;
            EXPECT_EQ(picture::linePalette(*read, y)[1], c.lines[y][0]) << "line " << y;
        }
        EXPECT_EQ(read->warnings, c.warnings);
    }
}
