// The commands of quillfen-asm, one file each; main.cpp lists them. Their command line is the
// one quillfen-iff reads too (commandline.h).
#pragma once

#include "commandline.h"

#include <amiga/copperread.h>
#include <amiga/registercode.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillfen_asm {

using quillfen_cli::Arguments;
using quillfen_cli::Base;
using quillfen_cli::Command;
using quillfen_cli::kNegative;
using quillfen_cli::kSuccess;
using quillfen_cli::kTrouble;
using quillfen_cli::parseDecimal;
using quillfen_cli::parseHex;
using quillfen_cli::Takes;
using quillfen_cli::usageError;

// Each command's table entry, defined in the command's own file. Add a new one here and to the
// list in main.cpp.
extern const Command copperCommand;
extern const Command displayCommand;
extern const Command registerCommand;
extern const Command blitterCommand;
extern const Command gradientCommand;
extern const Command fadeCommand;
extern const Command frameCommand;

// Reads a copper list file as the copper command does (assembler data, with symbols given values
// by --define, a memory view, or with binary big-endian words from offset on). The reader's notes
// go to the standard error as FILE:LINE: note: TEXT. False after printing the problems as
// FILE:LINE:COLUMN: TEXT, or naming the command when the file cannot be read.
bool readCopperListFile(const char *command, const std::string &path, bool binary,
                        std::size_t offset, const std::vector<amiga::CopperSymbol> &symbols,
                        amiga::CopperRead *read);

// The register database compiled into the program; null, with a message on standard error that
// names the command, when it cannot be read.
const std::vector<amiga::RegisterLayout> *registerDatabase(const char *command);

// The value of --chipset (fallback when it is missing); nullopt, with the fault recorded in
// arguments, for another value.
std::optional<amiga::Chipset> chipsetOption(Arguments &arguments, const char *fallback);

} // namespace quillfen_asm
