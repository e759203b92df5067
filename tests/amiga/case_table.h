// Case tables kept in data/ beside the tests: a case of a golden file (golden_text.h) whose lines
// are rows of fields parted by '|', and the numbers the fields write.
#pragma once

#include "golden_text.h"

#include <amiga/colourwords.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// Copper and chip memory words.
using Words = std::vector<std::uint16_t>;

namespace casetable {

using Row = std::vector<std::string>;

// Text with \t and \n for a tab and a newline.
inline std::string unescaped(std::string text) {
    for (std::size_t at = 0; (at = text.find('\\', at)) != std::string::npos; ++at)
        if (at + 1 < text.size() && (text[at + 1] == 't' || text[at + 1] == 'n'))
            text.replace(at, 2, text[at + 1] == 't' ? "\t" : "\n");
    return text;
}

// The fields of a line parted by '|', each without its outer blanks; a field in double quotes
// keeps its blanks, and its \t and \n stand for a tab and a newline.
inline Row fields(const std::string &line) {
    Row row;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '|');) {
        const std::size_t first = field.find_first_not_of(" \t");
        field = first == std::string::npos
                    ? std::string()
                    : field.substr(first, field.find_last_not_of(" \t") - first + 1);
        const bool quoted = field.size() > 1 && field.front() == '"' && field.back() == '"';
        row.push_back(quoted ? unescaped(field.substr(1, field.size() - 2)) : field);
    }
    return row;
}

// The rows of case `name` of a file in data/, each line's fields; a case missing or without rows
// fails, so that a misspelled name cannot leave a loop with nothing to check.
inline std::vector<Row> rows(const std::string &file, const std::string &name) {
    const auto all = golden::read(std::string(QUILLFEN_AMIGA_DATA "/") + file);
    const auto found = all.find(name);
    EXPECT_NE(found, all.end()) << file << ": no case " << name;
    std::vector<Row> table;
    std::istringstream lines(found == all.end() ? "" : found->second);
    for (std::string line; std::getline(lines, line);)
        if (Row row = fields(line); !row.empty())
            table.push_back(row);
    EXPECT_FALSE(found != all.end() && table.empty())
        << file << ": case " << name << " has no rows";
    return table;
}

// A number as written: $hex, #hex (a colour), or decimal.
inline unsigned number(const std::string &text) {
    const bool hex = !text.empty() && (text[0] == '$' || text[0] == '#');
    return static_cast<unsigned>(std::stoul(text.substr(hex ? 1 : 0), nullptr, hex ? 16 : 10));
}

// A colour written #rrggbb, or $rrggbb first on a line (where "#" opens a note).
inline amiga::Rgb8 rgb(const std::string &text) {
    const unsigned v = number(text);
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
}

// Numbers parted by blanks or commas.
inline std::vector<std::uint16_t> words(std::string text) {
    for (char &c : text)
        c = c == ',' ? ' ' : c;
    std::istringstream in(text);
    std::vector<std::uint16_t> out;
    for (std::string w; in >> w;)
        out.push_back(static_cast<std::uint16_t>(number(w)));
    return out;
}

} // namespace casetable
