// The register database of the machine library, read once for the commands that name a
// register's bits.
#include "commands.h"

#include <cstdio>
#include <string>

namespace quillfen_asm {

const std::vector<amiga::RegisterLayout> *registerDatabase(const char *command) {
    std::string error;
    const std::vector<amiga::RegisterLayout> &registers = amiga::registerDatabase(&error);
    if (!error.empty()) {
        std::fprintf(stderr, "quillfen-asm %s: the register database is damaged: %s\n", command,
                     error.c_str());
        return nullptr;
    }
    return &registers;
}

std::optional<amiga::Chipset> chipsetOption(Arguments &arguments, const char *fallback) {
    const std::string chipset = arguments.value("--chipset").value_or(fallback);
    if (chipset == "ocs")
        return amiga::Chipset::Ocs;
    if (chipset == "ecs")
        return amiga::Chipset::Ecs;
    if (chipset == "aga")
        return amiga::Chipset::Aga;
    arguments.fail("option '--chipset' takes ocs, ecs or aga, not '" + chipset + "'");
    return std::nullopt;
}

} // namespace quillfen_asm
