// Runs of quillfen-asm or quillfen-iff kept in a text file beside the test, as a user sees them:
//
//   == ARGUMENTS      a run ("==" alone: without any); '%' in the arguments stands for the
//                     scratch folder and a slash
//   exit N            its exit status
//   out               a piece of the standard output: the lines up to the next heading, each
//                     with its newline ("out ^": the output begins with them; "out -": nothing is
//                     printed); a last line that ends in " …" stops there, without its newline
//   err               a piece of the standard error, the same way
//
// Lines that begin with "#" are notes for the reader.
#pragma once

#include "run_program.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace runtable {

struct Run {
    std::string arguments;
    int status = 0;
    std::string out; // "^…" when the output begins with it
    bool quiet = false;
    std::string err;
};

inline std::vector<Run> read(const std::string &path) {
    std::vector<Run> runs;
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::string *piece = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line == "==" || line.rfind("== ", 0) == 0) {
            runs.emplace_back();
            runs.back().arguments = line.substr(std::min<std::size_t>(line.size(), 3));
            piece = nullptr;
        } else if (line.rfind('#', 0) == 0 || runs.empty()) {
        } else if (piece == nullptr && line.rfind("exit ", 0) == 0) {
            runs.back().status = std::stoi(line.substr(5));
        } else if (line == "out" || line == "out ^" || line == "out -") {
            piece = &runs.back().out;
            *piece = line == "out ^" ? "^" : "";
            runs.back().quiet = line == "out -";
        } else if (line == "err") {
            piece = &runs.back().err;
        } else if (piece != nullptr) {
            *piece += line + "\n";
        }
    }
    for (Run &run : runs)
        for (std::string *text : {&run.out, &run.err})
            if (text->size() >= 5 && text->compare(text->size() - 5, 5, " …\n") == 0)
                text->resize(text->size() - 5);
    return runs;
}

// Each run of the file, as testprogram::expectRow checks a row; then what the caller checks after
// it.
inline void expectRuns(const std::string &program, const std::string &folder,
                       const std::string &path,
                       const std::function<void(const std::string &arguments)> &after = {}) {
    for (const Run &run : read(path)) {
        testprogram::expectRow(
            program, folder,
            {run.arguments, run.status, run.quiet ? nullptr : run.out.c_str(), run.err});
        if (after)
            after(run.arguments);
    }
}

} // namespace runtable
