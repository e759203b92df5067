// The inputs that the project keeps for a fuzz target (those a target once failed on, and real
// files) join its generated starting corpus: every file of the folders named, colon-separated, in
// QUILLFEN_KEPT_INPUTS when the seed program was built, up to a size that keeps the fuzzer quick.
#ifndef QUILLFEN_FUZZ_KEPT_INPUTS_H
#define QUILLFEN_FUZZ_KEPT_INPUTS_H

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>

inline void copyKeptInputs(const std::string &corpus, std::uintmax_t largest = 64 * 1024) {
#ifdef QUILLFEN_KEPT_INPUTS
    namespace fs = std::filesystem;
    std::istringstream folders(QUILLFEN_KEPT_INPUTS);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::error_code error;
        for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
            if (entry.is_regular_file() && entry.file_size() <= largest &&
                entry.path().extension() != ".md" && entry.path().extension() != ".serenity") {
                fs::copy_file(entry.path(), fs::path(corpus) / entry.path().filename(),
                              fs::copy_options::overwrite_existing, error);
            }
        }
        if (error) {
            fprintf(stderr, "%s: %s\n", folder.c_str(), error.message().c_str());
        }
    }
#else
    (void)corpus;
    (void)largest;
#endif
}

#endif
