// Test cases kept in data files beside the tests (golden_text.h's layout): each line of a case
// is a word naming a field and the rest of the line its value. Bytes are written as hex, "XX*n"
// for n bytes of XX, 'TEXT' for text ("_" a space), and "ID{" ... "}" for an IFF chunk whose
// size is counted (and its odd body padded). A picture's file is its "data" bytes or, for a PNG,
// the layout of its "png" field (picture_files.h).
#pragma once

#include "golden_text.h"
#include "picture_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iomanip>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace casefiles {

using Fields = std::map<std::string, std::string>;

// The cases of the file; a file without any fails, so that a misspelled path cannot leave a loop
// with nothing to check.
inline std::map<std::string, Fields> read(const std::string &path) {
    std::map<std::string, Fields> cases;
    for (const auto &[name, text] : golden::read(path)) {
        std::istringstream lines(text);
        for (std::string key, rest; lines >> key && std::getline(lines, rest);)
            cases[name][key] = rest.empty() ? rest : rest.substr(1);
    }
    EXPECT_FALSE(cases.empty()) << path << ": no cases";
    return cases;
}

inline std::vector<std::uint8_t> bytes(const std::string &text) {
    std::istringstream words(text);
    std::vector<std::uint8_t> out;
    std::vector<size_t> open;
    for (std::string word; words >> word;) {
        const size_t star = std::min(word.find('*'), word.size());
        if (word == "}") {
            const size_t size = out.size() - open.back() - 8;
            for (int i = 0; i < 4; i++)
                out[open.back() + 4 + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
            out.resize(out.size() + size % 2);
            open.pop_back();
        } else if (word.back() == '{' || word[0] == '\'') {
            const bool chunk = word.back() == '{';
            open.resize(open.size() + chunk, out.size());
            for (char c : chunk ? word.substr(0, 4) : word.substr(1, word.size() - 2))
                out.push_back(static_cast<std::uint8_t>(c == '_' ? ' ' : c));
            out.resize(out.size() + (chunk ? 4 : 0));
        } else {
            for (unsigned n = star < word.size() ? std::stoul(word.substr(star + 1)) : 1; n > 0;
                 n--)
                for (size_t i = 0; i + 1 < star; i += 2)
                    out.push_back(std::uint8_t(std::stoul(word.substr(i, 2), nullptr, 16)));
        }
    }
    return out;
}

// The numbers of a field, in the base given; none when the case has no such field.
inline std::vector<std::uint32_t> numbers(const Fields &fields, const char *key, int base = 10) {
    std::istringstream words(fields.count(key) != 0 ? fields.at(key) : "");
    words >> std::setbase(base);
    return {std::istream_iterator<std::uint32_t>(words), {}};
}

// A picture case's file: its "data", or the PNG whose "png" field gives the width, the height, the
// colour type and the bits a sample, with its "samples" (zeros after them), "plte" (RRGGBB) and
// "trns" (a palette's alphas, or the grey level or RGB colour keyed out), cut after "cut" bytes.
inline std::vector<std::uint8_t> fileOf(const Fields &fields) {
    const std::vector<std::uint32_t> png = numbers(fields, "png"), trns = numbers(fields, "trns"),
                                     cut = numbers(fields, "cut"),
                                     given = numbers(fields, "samples");
    if (png.size() != 4)
        return bytes(fields.count("data") != 0 ? fields.at("data") : "");
    std::vector<unsigned> samples(given.begin(), given.end());
    samples.resize(std::max<size_t>(samples.size(), size_t{png[0]} * png[1] * 4));
    std::vector<png_color> plte;
    for (std::uint32_t c : numbers(fields, "plte", 16))
        plte.push_back({png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
    picturetest::PngLayout layout =
        picturetest::pngLayout(png[0], png[1], int(png[2]), int(png[3]), samples, plte);
    auto keyed = [&trns](size_t i) { return png_uint_16(i < trns.size() ? trns[i] : 0); };
    const png_color_16 key{0, keyed(0), keyed(1), keyed(2), keyed(0)};
    layout.alphas.assign(plte.empty() ? trns.end() : trns.begin(), trns.end());
    layout.colourKey = plte.empty() && !trns.empty() ? &key : nullptr;
    std::vector<std::uint8_t> file = picturetest::pngOf(layout);
    file.resize(cut.empty() ? file.size() : std::min<size_t>(file.size(), cut[0]));
    return file;
}

} // namespace casefiles
