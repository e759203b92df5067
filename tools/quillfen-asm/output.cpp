#include "output.h"

#include <picture/files.h>

#include <cstdio>

namespace quillfen_asm {

const quillfen_cli::Option kOutputOption = {
    "-o", "write to FILE instead of the standard output, replacing it only when all is written",
    quillfen_cli::Takes::Value, "FILE"};

int writeOutput(const quillfen_cli::Arguments &arguments, const std::string &text, int status) {
    const std::string path = arguments.value("-o").value_or("-");
    std::string error;
    if (path == "-") {
        std::fflush(stdout);
    }
    if (!picture::writeWholeFile(path, text.data(), text.size(), &error)) {
        std::fprintf(stderr, "quillfen-asm %s: %s\n", arguments.command().name, error.c_str());
        return quillfen_cli::kTrouble;
    }
    return status;
}

} // namespace quillfen_asm
