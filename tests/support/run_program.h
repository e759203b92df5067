// Runs a command-line program as a user's shell would, for tests of the programs.
#pragma once

#include <string>

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

} // namespace testprogram
