// The palette of a picture file, for the commands that start from one.
#pragma once

#include <amiga/colourwords.h>

#include <string>
#include <vector>

namespace quillfen_asm {

// The colour map (CMAP) of the file's ILBM picture (of the last one that has a colour map, as
// the Colour tab loads it). On failure, empty, with why in error; the libraries' own messages go
// to standard error.
std::vector<amiga::Rgb8> pictureColourMap(const std::string &path, std::string &error);

} // namespace quillfen_asm
