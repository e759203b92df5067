// Palette changes down a picture: the SHAM and PCHG readers against chunks built byte by byte
// (pictures with them are shown line by line in read_test.cpp's data/iff_pictures.txt). The layouts
// are S. Vigna's PCHG document (http://amigan.1emu.net/reg/ILBM.PCHG.txt) and the SHAM chunk as
// paint programs wrote it.
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
