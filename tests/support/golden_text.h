// Expected texts kept in a file beside the test, as the user sees them: "== name" opens a case,
// a line that begins with "#" is a note for the reader, and every other line, ended by its
// newline, belongs to the text of the case above it.
#pragma once

#include <fstream>
#include <map>
#include <string>

namespace golden {

// The cases of the file; empty when it cannot be read.
inline std::map<std::string, std::string> read(const std::string &path) {
    std::map<std::string, std::string> cases;
    std::ifstream in(path);
    std::string line, *text = nullptr;
    while (std::getline(in, line)) {
        if (line.rfind("== ", 0) == 0)
            text = &cases[line.substr(3)];
        else if (line.rfind('#', 0) != 0 && text != nullptr)
            *text += line + "\n";
    }
    return cases;
}

} // namespace golden
