// The emulator's reference frames (tests/quillfen-asm/emulator/frames/NAME/frame.txt, made by
// scripts/frame-on-emulator): the arguments of quillfen-asm frame that draw the region, and the
// region's pixels as the emulated Amiga showed them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace framefixture {

struct Fixture {
    std::vector<std::string> args; // LIST and the options, file names relative to the folder
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB
    bool ok = false;
};

// Reads folder/frame.txt: "args ...", "size W H", "palette RRGGBB ...", then a line a row of
// runs "N*I" (N omitted for 1), or "=" for the row above.
inline Fixture read(const std::string &folder) {
    Fixture f;
    std::ifstream in(folder + "/frame.txt");
    std::vector<std::uint32_t> palette, row;
    for (std::string line, word; std::getline(in, line);) {
        std::istringstream words(line);
        if (!(words >> word) || word[0] == '#')
            continue;
        if (word == "args") {
            while (words >> word)
                f.args.push_back(word);
        } else if (word == "size") {
            words >> f.width >> f.height;
        } else if (word == "palette") {
            while (words >> word)
                palette.push_back(static_cast<std::uint32_t>(std::stoul(word, nullptr, 16)));
        } else if (word == "=") {
            f.pixels.insert(f.pixels.end(), row.begin(), row.end());
        } else {
            row.clear();
            do {
                const std::size_t star = word.find('*');
                const int count = star == std::string::npos ? 1 : std::stoi(word.substr(0, star));
                const std::size_t index =
                    std::stoul(star == std::string::npos ? word : word.substr(star + 1));
                row.insert(row.end(), static_cast<std::size_t>(count), palette.at(index));
            } while (words >> word);
            f.pixels.insert(f.pixels.end(), row.begin(), row.end());
        }
    }
    f.ok = f.width > 0 && f.pixels.size() == static_cast<std::size_t>(f.width) * f.height;
    return f;
}

// The reference frames, one folder each under QUILLFEN_FRAME_FIXTURES, sorted.
inline std::vector<std::string> names() {
    std::vector<std::string> all;
    for (const auto &entry : std::filesystem::directory_iterator(QUILLFEN_FRAME_FIXTURES))
        all.push_back(entry.path().filename().string());
    std::sort(all.begin(), all.end());
    return all;
}

} // namespace framefixture
