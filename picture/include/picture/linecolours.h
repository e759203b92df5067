// Palette changes down a picture, as paint programs store them beside an ILBM's planes: the
// SHAM chunk (sliced HAM: 16 colours a line) and the PCHG chunk (palette changes, small or big,
// packed or not). Each reader takes the chunk's data alone and gives the changes in line order;
// the picture reader hands them on in Picture::colourChanges.
#pragma once

#include "picture/picture.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace picture {

// The changes a SHAM chunk makes to registers 0-15 of palette, for a picture of height lines:
// one palette of 16 $0RGB words a line, one for every two lines of an interlaced picture. Only
// the colours that differ from the register's colour before are changes. Nothing, with *error
// the sentence's end ("the SHAM chunk holds palettes for 200 lines, the picture has 256"), for a
// chunk that is short, of a version other than 0, or of another height.
std::optional<std::vector<ColourChange>> readSham(std::span<const std::uint8_t> chunk,
                                                  const std::vector<amiga::Rgb8> &palette,
                                                  unsigned height, bool lace, std::string *error);

// The changes of a PCHG chunk for a picture of height lines: 12-bit small changes or 24-bit big
// ones (alpha dropped), unpacked first when the chunk is Huffman-coded. Changes above the
// picture's first line take effect on it. Nothing, with *error set, for a chunk that is short or
// malformed (counts that disagree with its data, a register outside MinReg-MaxReg or past the
// 256 the Amiga has) or that changes lines the picture does not have.
std::optional<std::vector<ColourChange>> readPchg(std::span<const std::uint8_t> chunk,
                                                  unsigned height, std::string *error);

// The registers on a line: the palette (at least 256 entries, black past the map) with every
// change up to and including that line applied. For a picture without changes, its palette.
std::vector<amiga::Rgb8> linePalette(const Picture &picture, unsigned line);

} // namespace picture
