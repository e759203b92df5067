// Palette changes down a picture: the SHAM and PCHG readers against chunks built byte by byte,
// and pictures with them shown line by line. The layouts are S. Vigna's PCHG document
// (http://amigan.1emu.net/reg/ILBM.PCHG.txt) and the SHAM chunk as paint programs wrote it.
#include "case_files.h"
#include "iff_bytes.h"
#include "picture/linecolours.h"

#include <gtest/gtest.h>

#include <sstream>

using amiga::Rgb8;
using iffbytes::be16;
using iffbytes::be32;
using iffbytes::Bytes;
using iffbytes::cat;
using picture::ColourChange;

namespace {

std::vector<ColourChange> changesOf(const std::string &text) {
    std::istringstream words(text);
    std::vector<ColourChange> changes;
    unsigned line, reg, rgb;
    for (char colon, equals;
         words >> line >> colon >> reg >> equals >> std::hex >> rgb >> std::dec;)
        changes.push_back(
            {line, reg, {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)}});
    return changes;
}

const auto kCases = casefiles::read(QUILLFEN_PICTURE_DATA "/colour_changes.txt");

// The "12-bit" PCHG case's data, which the other cases change.
Bytes smallPchg() {
    const auto small = kCases.find("pchg: 12-bit");
    return small == kCases.end() ? Bytes(20) : casefiles::bytes(small->second.at("data"));
}

} // namespace

TEST(ColourChanges, ShamAndPchgChunksReadAsWorkedOutByHandOrRefusedSayingWhy) {
    ASSERT_EQ(kCases.size(), 20u);
    for (const auto &[name, fields] : kCases) {
        std::string error;
        const Bytes data = casefiles::bytes(fields.at("data"));
        const auto changes =
            name.rfind("sham", 0) == 0
                ? picture::readSham(data, {{0, 0, 0}, {0x10, 0x20, 0x30}},
                                    std::stoul(fields.at("height")),
                                    fields.at("height").find("lace") != std::string::npos, &error)
                : picture::readPchg(data, 4, &error);
        const auto says = fields.find("error");
        EXPECT_EQ(changes.value_or(std::vector<ColourChange>{}),
                  changesOf(says == fields.end() ? fields.at("changes") : ""))
            << name << ": " << error;
        if (says != fields.end())
            EXPECT_NE(error.find(says->second), std::string::npos) << name << ": " << error;
    }
    // Huffman-coded, the same changes; a tree that points outside itself, packed data cut short.
    // The packed data: CompInfoSize and OriginalDataSize, the tree's 768 bytes, the bits.
    const Bytes kSmall = smallPchg();
    const Bytes header(kSmall.begin(), kSmall.begin() + 20),
        data(kSmall.begin() + 20, kSmall.end());
    Bytes packed = cat({header, iffbytes::pchgHuffman(data)});
    packed[1] = 1; // Compression 1
    Bytes badTree = packed;
    badTree[20 + 8 + 766] = 0x80; // the root's word: a step back past the tree's first word
    const struct {
        Bytes data;
        const char *says;
    } packedCases[] = {{packed, ""},
                       {badTree, "its Huffman tree points outside itself"},
                       {Bytes(packed.begin(), packed.end() - 2), "its packed data ends after"}};
    for (const auto &c : packedCases) {
        std::string error;
        const auto changes = picture::readPchg(c.data, 4, &error);
        EXPECT_EQ(changes.value_or(std::vector<ColourChange>{}),
                  changesOf(*c.says ? "" : kCases.at("pchg: 12-bit").at("changes")))
            << c.says;
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
    // Worked by hand from the "12-bit" PCHG case: line 1 turns colour 1 red, line 3 colour 0 blue.
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
        {"PCHG", file(iffbytes::chunk("PCHG", smallPchg())), smallLines, {}},
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
