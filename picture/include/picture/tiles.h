// A picture cut into square tiles for a tile map: the tiles' planes, each tile as `raw` writes a
// picture of its own, and a map of words that says which tile goes where.
#pragma once

#include "picture/export.h"
#include "picture/picture.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace picture {

struct TileOptions {
    unsigned size = 8;   // tiles of size x size pixels: 8 or 16
    bool dedupe = false; // each distinct tile once, first seen first
    bool flips = false;  // with dedupe: a tile mirrored in X, Y or both is the same tile
    bool planar = false; // each tile's planes whole one after another, else interleaved rows
};

// The bits of a map word beside the tile number, with flips: draw the tile mirrored.
constexpr std::uint16_t kTileFlipX = 0x8000;
constexpr std::uint16_t kTileFlipY = 0x4000;
// The largest tile number a map word holds: 14 bits beside the flip bits, else 16.
constexpr unsigned kLargestFlippedTile = 0x3fff;
// A map holds at most this many words (its tiles counted as a word can count them).
constexpr unsigned kMostMapTiles = 65535;

struct TileSet {
    std::vector<std::uint8_t> tiles; // the tiles' planes, tile 0 first
    std::vector<std::uint8_t> map;   // a big-endian word for each tile of the picture, by rows
    unsigned count = 0;              // tiles in `tiles`
    unsigned columns = 0, rows = 0;  // the map's size in tiles
    unsigned depth = 0;              // planes of each tile
    std::string error;               // non-empty when nothing was made
    std::vector<std::string> warnings;
    bool ok() const { return error.empty(); }
};

// The picture's whole tiles, left to right, then down. Every tile is written with the planes of
// the whole picture (rawDepth), so that they all have one size: a tile 8 pixels wide keeps rows
// of whole words, the tile in the high byte. Pixels past the whole tiles are left out, with a
// warning. Refused: a picture without colour numbers of a byte, smaller than one tile, of more
// than kMostMapTiles tiles, or with flips of more distinct tiles than a map word can number.
TileSet cutTiles(const Picture &picture, const TileOptions &options);

// For a comment above the data: "12 tiles of 8 x 8 pixels, 3 planes, interleaved, each row a
// word (the tile in the high byte), 48 bytes a tile, 576 bytes".
std::string tilesDescription(const TileSet &set, const TileOptions &options);
// "A map of 20 x 12 tiles by rows, a word each: the tile number; bit 15 X flip, bit 14 Y flip".
std::string mapDescription(const TileSet &set, const TileOptions &options);

} // namespace picture
