// Runs a command-line program as a user's shell would, for tests of the programs, and checks runs
// given as rows or kept in a text file beside the test.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace testprogram {

struct Outcome {
    int status = -1; // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs "program arguments" through /bin/sh, its standard input the file input, and collects
// both output streams.
Outcome run(const std::string &program, const std::string &arguments,
            const std::string &input = "/dev/null");

// Whether the programs are built with AddressSanitizer, which reserves more address space than
// a memory limit (ulimit -v) allows: there such limits are left out.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// A row of a table of runs: the arguments, '%' standing for the scratch folder and a slash; the
// exit status; a piece of the standard output ("^text": the output begins with it; null: nothing
// is printed); a piece of the standard error ('%' as in the arguments).
struct Row {
    std::string arguments;
    int status;
    const char *out = "";
    std::string err = "";
};

inline std::string inFolder(std::string text, const std::string &folder) {
    for (std::size_t at = 0; (at = text.find('%', at)) != std::string::npos; at += folder.size())
        text.replace(at, 1, folder + "/");
    return text;
}

inline void expectRow(const std::string &program, const std::string &folder, const Row &row) {
    SCOPED_TRACE(row.arguments);
    const Outcome r = run(program, inFolder(row.arguments, folder));
    EXPECT_EQ(r.status, row.status) << r.err;
    if (row.out == nullptr)
        EXPECT_EQ(r.out, "");
    else if (row.out[0] == '^')
        EXPECT_EQ(r.out.rfind(row.out + 1, 0), 0u) << r.out;
    else
        EXPECT_NE(r.out.find(row.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(inFolder(row.err, folder)), std::string::npos) << r.err;
}

// Usage errors: each of the arguments after the command prints nothing, says the command's usage
// on the standard error and ends with status 2.
inline void expectUsageErrors(const std::string &program, const std::string &folder,
                              const std::string &command, const std::vector<std::string> &bad) {
    const std::string name = program.substr(program.rfind('/') + 1);
    for (const std::string &arguments : bad)
        expectRow(program, folder,
                  {command + " " + arguments, 2, nullptr, "usage: " + name + " " + command});
}

} // namespace testprogram

// Runs of quillfen-asm or quillfen-iff kept in a text file beside the test, as a user sees them:
//
//   == ARGUMENTS      a run ("==" alone: without any); '%' in the arguments stands for the
//                     scratch folder and a slash
//   exit N            its exit status
//   out               a piece of the standard output: the lines up to the next heading, each
//                     with its newline ("out ^": the output begins with them; "out -": nothing is
//                     printed); a last line that ends in " …" stops there, without its newline
//   err               a piece of the standard error, the same way
//   usage COMMAND     then a line of arguments (or none) for each usage error of the command:
//                     nothing printed, the command's usage on the standard error, exit status 2
//
// Lines that begin with "#" are notes for the reader.
namespace runtable {

// Each run of the file, as testprogram::expectRow checks a row; then what the caller checks after
// it. A file without runs fails.
inline void expectRuns(const std::string &program, const std::string &folder,
                       const std::string &path,
                       const std::function<void(const std::string &arguments)> &after = {}) {
    struct Run {
        std::string arguments, out, err, usage;
        int status = 0;
        bool quiet = false;
    };
    std::vector<Run> runs;
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::string *piece = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line == "==" || line.rfind("== ", 0) == 0 || line.rfind("usage ", 0) == 0) {
            runs.emplace_back();
            (line[0] == 'u' ? runs.back().usage : runs.back().arguments) =
                line.substr(std::min<std::size_t>(line.size(), line[0] == 'u' ? 6 : 3));
            piece = nullptr;
        } else if (line.rfind('#', 0) == 0 || runs.empty()) {
        } else if (!runs.back().usage.empty()) {
            testprogram::expectUsageErrors(program, folder, runs.back().usage, {line});
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
    EXPECT_FALSE(runs.empty()) << path << ": no runs";
    for (Run &run : runs) {
        if (!run.usage.empty())
            continue;
        for (std::string *text : {&run.out, &run.err})
            if (text->size() >= 5 && text->compare(text->size() - 5, 5, " …\n") == 0)
                text->resize(text->size() - 5);
        testprogram::expectRow(
            program, folder,
            {run.arguments, run.status, run.quiet ? nullptr : run.out.c_str(), run.err});
        if (after)
            after(run.arguments);
    }
}

} // namespace runtable
