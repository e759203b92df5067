// A sheet of graphics cut into the assets of a game: bobs, the frames of a sprite, the glyphs of
// a font or the tiles of a map, written as binary data, assembler text or a C array, each with
// the second file that goes with it. What quillfen-iff's bobs, sprite --frames, font and tiles
// write and what the Convert tab's Sheet page saves, made in one place.
#pragma once

#include "picture/bobs.h"
#include "picture/export.h"
#include "picture/font.h"
#include "picture/picture.h"
#include "picture/region.h"
#include "picture/tiles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace picture {

enum class SheetCut { Bobs, SpriteFrames, Font, Tiles };
enum class SheetForm { Binary, Text, C };

struct SheetOptions {
    SheetCut cut = SheetCut::Bobs;
    SheetForm form = SheetForm::Binary;
    BobOptions bobs;
    SpriteExportOptions sprites; // sprite.frames is set for the cut
    FontOptions font;
    TileOptions tiles;
    std::string name;          // the data's label or array name (a symbol)
    std::string companionName; // the tile map's (a symbol); the data's name is not used twice
    std::string attribute;     // before a C array's type ("__chip"), or nothing
    bool index = false;        // bobs: the include of the frames' offsets as the companion
    bool widths = false;       // a proportional font in binary: the width table as the companion
};

// What a sheet was cut into: the data file, the file that goes with it, and where each cut lies.
struct Sheet {
    Output data;      // the frames, glyphs or tiles: bytes, or text (or the refusal)
    Output companion; // bobs' index, a font's width table, the tile map; nothing when empty
    bool hasCompanion = false;
    // The cuts in the order they are written (a tile map: every tile of the map, by rows), and
    // what each is called on the sheet: its number, its character, its tile.
    std::vector<Region> frames;
    std::vector<std::string> labels;
};

// Cuts the sheet as options say. A refusal sets data.error, with nothing made; warnings are in
// data.warnings.
Sheet cutSheet(const Picture &picture, const SheetOptions &options);

// The bytes as a C array after a comment saying what they are (amiga::CArrayWriter).
std::string cArrayText(const std::string &what, const std::string &name,
                       const std::vector<std::uint8_t> &bytes, const std::string &attribute);

// For a comment above sprite data in C: "hardware sprites 16 pixels wide, attached pairs, with
// control words, 136 bytes".
std::string spriteDescription(const amiga::SpriteOptions &sprite, std::size_t bytes);

} // namespace picture
