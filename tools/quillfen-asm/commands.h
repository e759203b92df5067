// The commands of quillfen-asm, one file each; main.cpp lists them.
#pragma once

#include "options.h"

#include <amiga/registercode.h>

#include <vector>

namespace quillfen_asm {

// Each command's table entry, defined in the command's own file. Add a new one here and to the
// list in main.cpp.
extern const Command copperCommand;
extern const Command displayCommand;
extern const Command registerCommand;
extern const Command blitterCommand;
extern const Command gradientCommand;
extern const Command fadeCommand;

// The register database compiled into the program; null, with a message on standard error that
// names the command, when it cannot be read.
const std::vector<amiga::RegisterLayout> *registerDatabase(const char *command);

} // namespace quillfen_asm
