// The register database compiled into the program (see embed.cmake), read once for the commands
// that name a register's bits.
#include "commands.h"

#include <cstddef>
#include <cstdio>
#include <string_view>

extern const char kRegisterDatabase[];
extern const std::size_t kRegisterDatabaseSize;

namespace quillfen_asm {

const std::vector<amiga::RegisterLayout> *registerDatabase(const char *command) {
    static std::string error;
    static const std::vector<amiga::RegisterLayout> registers = amiga::readRegisterDatabase(
        std::string_view(kRegisterDatabase, kRegisterDatabaseSize), &error);
    if (!error.empty()) {
        std::fprintf(stderr, "quillfen-asm %s: the register database is damaged: %s\n", command,
                     error.c_str());
        return nullptr;
    }
    return &registers;
}

} // namespace quillfen_asm
