// The chipset on the command line, for the colour commands. (Colours are read with
// amiga::rgbFromText: "#rrggbb", or "rrggbb" as a shell takes a word that starts with '#' for a
// comment.)
#pragma once

#include "commands.h"

#include <amiga/colourwords.h>

namespace quillfen_asm {

// The value of --chipset: true for aga, false for ocs or ecs (and when the option is missing);
// anything else is recorded as a usage error.
bool agaChipset(Arguments &arguments);

} // namespace quillfen_asm
