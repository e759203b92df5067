// Files in the tests of every folder: a scratch folder removed with what it holds, and a file's
// whole contents. Nothing here uses the project's libraries.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testfiles {

// A scratch folder, removed with what it holds.
class Folder {
public:
    Folder() {
        char name[] = "/tmp/quillfen-test-XXXXXX";
        if (mkdtemp(name) != nullptr)
            path_ = name;
    }
    ~Folder() {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The whole of a file; empty when it cannot be read.
inline std::vector<std::uint8_t> load(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::string loadText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes text as the whole of a file; false when it cannot be written.
inline bool saveText(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

// The names in the folder of path, sorted: what a write left beside its target.
inline std::vector<std::string> namesBeside(const std::string &path) {
    std::vector<std::string> names;
    for (const auto &entry :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace testfiles
