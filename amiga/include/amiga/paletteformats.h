// A palette as the tables programs load it, as data lines to paste or as big-endian bytes to
// incbin. The text and the bytes of a format always hold the same values.
//
//   Words      one $0RGB word per colour (high nibbles): the table LoadRGB4 takes.
//   Rgb8       one long $00RRGGBB per colour.
//   Rgb32      three longs per colour, each gun's byte repeated in all four bytes: the entries
//              LoadRGB32 takes.
//   LoadRgb32  a long count << 16 | first colour, the Rgb32 entries, and a terminating 0 long:
//              a whole LoadRGB32 table.
//   Copper     copper MOVEs COLOR00+2i,$0RGB.
//   CopperAga  copper MOVEs for 24-bit colours: BPLCON3 with LOCT clear, the high-nibble MOVEs,
//              BPLCON3 with LOCT set, the low-nibble MOVEs; for more than 32 colours bank by
//              bank, each bank's BPLCON3 values carrying its bank bits; every BPLCON3 value is
//              the base bplcon3 (by default the reset value $0c00) with the bank and LOCT set
//              in it, and the last MOVE writes the base itself.
//
// firstColour is the first colour register for the copper formats (bank x 32 + register on
// AGA) and the table's first colour for LoadRgb32; the plain tables (Words, Rgb8, Rgb32) are
// the colours alone and do not use it. Colours a format cannot hold (registers past COLOR31, or
// past bank 7 COLOR31 on AGA; more than 65535 colours, or a first colour past 65535, for
// LoadRgb32) are left out of the bytes, and the text ends with a comment line that says so.
//
// Text: 8 words a line (Words), 4 longs a line (Rgb8), one colour's three longs a line (Rgb32
// and the entries of LoadRgb32, whose first long and terminating 0 have a line each), one MOVE
// a line (the copper formats).
#pragma once

#include "amiga/colourwords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

enum class PaletteFormat { Words, Rgb8, Rgb32, LoadRgb32, Copper, CopperAga };

// "words", "rgb8", "rgb32", "loadrgb32", "copper", "copper-aga".
std::optional<PaletteFormat> paletteFormatNamed(std::string_view name);
std::string_view paletteFormatName(PaletteFormat format);

// How many colours a format can hold: 32 for Copper, 256 for CopperAga, 65535 for LoadRgb32
// (the count is a word), else no limit.
unsigned paletteFormatLimit(PaletteFormat format);

// The table as big-endian bytes. Colours past the format's limit are left out.
std::vector<std::uint8_t> paletteBytes(PaletteFormat format, const std::vector<Rgb8> &colours,
                                       unsigned firstColour = 0,
                                       std::uint16_t bplcon3 = kBplcon3Reset);

// The table as data lines after a comment line that says what follows ("\tdc.w\t" or
// "\tdc.l\t", lower-case "$" hex, register names for the copper formats). Empty for no colours.
std::string paletteText(PaletteFormat format, const std::vector<Rgb8> &colours,
                        unsigned firstColour = 0, std::uint16_t bplcon3 = kBplcon3Reset);

} // namespace amiga
