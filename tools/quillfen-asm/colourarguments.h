// Colour and chipset values on the command line, for the commands that take them.
#pragma once

#include "options.h"

#include <amiga/colourwords.h>

#include <optional>
#include <string>

namespace quillfen_asm {

// "#rrggbb" or "rrggbb" (a shell takes a word that starts with '#' for a comment): exactly six
// hexadecimal digits; nullopt for anything else.
std::optional<amiga::Rgb8> parseRgb(const std::string &text);

// The value of --chipset: true for aga, false for ocs or ecs (and when the option is missing);
// anything else is recorded as a usage error.
bool agaChipset(Arguments &arguments);

} // namespace quillfen_asm
