#include "run_program.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace testprogram {

Outcome run(const std::string &program, const std::string &arguments, const std::string &input) {
    Outcome outcome;
    char errName[] = "/tmp/quillfen-stderr-XXXXXX";
    const int errFile = mkstemp(errName);
    if (errFile < 0)
        return outcome;
    close(errFile);
    const std::string command = program + " " + arguments + " <'" + input + "' 2>" + errName;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe != nullptr) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            outcome.out.append(buffer, n);
        const int status = pclose(pipe);
        outcome.status = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream err(errName, std::ios::binary);
    outcome.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    std::remove(errName);
    return outcome;
}

} // namespace testprogram
