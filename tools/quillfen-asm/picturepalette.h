// The palette of a picture file, for the commands that start from one.
#pragma once

#include <amiga/colourwords.h>

#include <string>
#include <vector>

namespace quillfen_asm {

// The colour map of a picture file, read by the picture library: the CMAP of the ILBM, ACBM or
// PBM picture of that index (0 the first), or a PNG's palette (or grey levels); or the CMAP of
// an ILBM palette file (a colour map without a bitmap). On failure, empty, with why in error (a
// sentence naming the file).
std::vector<amiga::Rgb8> pictureColourMap(const std::string &path, std::string &error,
                                          unsigned index = 0);

} // namespace quillfen_asm
