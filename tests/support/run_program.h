// Runs a command-line program as a user's shell would, for tests of the programs.
#pragma once

#include <gtest/gtest.h>

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
