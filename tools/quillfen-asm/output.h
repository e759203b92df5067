// Where quillfen-asm's commands write: the standard output, or with -o FILE a file that is
// replaced only when the whole text is written (make sees no half-written target).
#pragma once

#include "commandline.h"

#include <string>

namespace quillfen_asm {

// The -o option of every command.
extern const quillfen_cli::Option kOutputOption;

// Writes text to the file of -o, or to the standard output without it. Gives status, or kTrouble
// after a message naming the command when the text cannot be written (the file of -o is then as
// it was).
int writeOutput(const quillfen_cli::Arguments &arguments, const std::string &text, int status);

} // namespace quillfen_asm
