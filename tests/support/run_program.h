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

} // namespace testprogram
