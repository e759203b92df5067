// Palette changes down a picture: the SHAM and PCHG readers against chunks built byte by byte
// (pictures with them are shown line by line in data/iff_pictures.txt). The layouts are S.
// Vigna's PCHG document (http://amigan.1emu.net/reg/ILBM.PCHG.txt) and the SHAM chunk as paint
// programs wrote it.
#include "case_files.h"
#include "iff_bytes.h"
#include "picture/linecolours.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

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

} // namespace

TEST(ColourChanges, ShamAndPchgChunksReadAsWorkedOutByHandOrRefusedSayingWhy) {
    auto cases = casefiles::read(QUILLFEN_PICTURE_DATA "/colour_changes.txt");
    ASSERT_EQ(cases.size(), 20u);
    // Huffman-coded (Compression 1), the "12-bit" case's changes; a tree that points outside
    // itself, packed data cut short. The packed data: CompInfoSize and OriginalDataSize, the
    // tree's 768 bytes, the bits.
    const Bytes small = casefiles::bytes(cases.at("pchg: 12-bit").at("data"));
    Bytes packed = cat({Bytes(small.begin(), small.begin() + 20),
                        iffbytes::pchgHuffman(Bytes(small.begin() + 20, small.end()))});
    packed[1] = 1; // Compression 1
    Bytes badTree = packed;
    badTree[20 + 8 + 766] = 0x80; // the root's word: a step back past the tree's first word
    const std::map<std::string, Bytes> packedFiles = {
        {"pchg: packed", packed},
        {"pchg: packed, a bad tree", badTree},
        {"pchg: packed, cut", Bytes(packed.begin(), packed.end() - 2)}};
    cases["pchg: packed"] = {{"changes", cases.at("pchg: 12-bit").at("changes")}};
    cases["pchg: packed, a bad tree"] = {{"error", "its Huffman tree points outside itself"}};
    cases["pchg: packed, cut"] = {{"error", "its packed data ends after"}};
    for (const auto &[name, fields] : cases) {
        std::string error;
        const Bytes data = packedFiles.count(name) != 0 ? packedFiles.at(name)
                                                        : casefiles::bytes(fields.at("data"));
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
        if (says != fields.end()) {
            EXPECT_NE(error.find(says->second), std::string::npos) << name << ": " << error;
        }
    }
}
