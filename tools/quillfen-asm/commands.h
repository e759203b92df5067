// The commands of quillfen-asm, one file each; main.cpp lists them.
#pragma once

#include "options.h"

namespace quillfen_asm {

// Each command's table entry, defined in the command's own file. Add a new one here and to the
// list in main.cpp.
extern const Command displayCommand;
extern const Command registerCommand;
extern const Command blitterCommand;
extern const Command gradientCommand;
extern const Command fadeCommand;

} // namespace quillfen_asm
