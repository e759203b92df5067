// Test cases kept in data files beside the tests (golden_text.h's layout): each line of a case
// is a word naming a field and the rest of the line its value. Bytes are written as hex, "XX*n"
// for n bytes of XX, 'TEXT' for text ("_" a space), and "ID{" ... "}" for an IFF chunk whose
// size is counted (and its odd body padded).
#pragma once

#include "golden_text.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace casefiles {

using Fields = std::map<std::string, std::string>;

inline std::map<std::string, Fields> read(const std::string &path) {
    std::map<std::string, Fields> cases;
    for (const auto &[name, text] : golden::read(path)) {
        std::istringstream lines(text);
        for (std::string key, rest; lines >> key && std::getline(lines, rest);)
            cases[name][key] = rest.empty() ? rest : rest.substr(1);
    }
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

} // namespace casefiles
