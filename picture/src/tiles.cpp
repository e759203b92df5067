// A picture cut into tiles: compared by their colour numbers, written by the same rules as `raw`.
#include "picture/tiles.h"

#include "picture/region.h"

#include <string>
#include <unordered_map>

namespace picture {

namespace {

TileSet refusedTiles(std::string error) {
    TileSet set;
    set.error = std::move(error);
    return set;
}

std::string plural(unsigned count, const char *one, const char *many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The colour numbers of the tile at column, row: its rows one after another.
std::string tilePixels(const Picture &picture, unsigned size, unsigned column, unsigned row) {
    std::string pixels;
    pixels.reserve(std::size_t{size} * size);
    for (unsigned y = 0; y < size; y++) {
        const std::uint8_t *line =
            picture.pixels.data() + std::size_t{row * size + y} * picture.width + column * size;
        pixels.append(reinterpret_cast<const char *>(line), size);
    }
    return pixels;
}

// A tile's colour numbers mirrored: left to right with x, top to bottom with y.
std::string mirrored(const std::string &pixels, unsigned size, bool x, bool y) {
    std::string out(pixels.size(), '\0');
    for (unsigned row = 0; row < size; row++) {
        for (unsigned column = 0; column < size; column++) {
            const unsigned from =
                (y ? size - 1 - row : row) * size + (x ? size - 1 - column : column);
            out[row * size + column] = pixels[from];
        }
    }
    return out;
}

} // namespace

TileSet cutTiles(const Picture &picture, const TileOptions &options) {
    if (picture.width == 0 || picture.height == 0) {
        return refusedTiles("The picture has no pixels.");
    }
    if (picture.pixels.empty()) {
        return refusedTiles(picture.deepPixels.empty()
                                ? "The picture has no colour numbers; reduce its colours first."
                                : "A picture of " + std::to_string(picture.depth) +
                                      " planes cannot be cut into tiles, which hold 1 to 8.");
    }
    const unsigned size = options.size;
    const std::string tile = std::to_string(size) + " x " + std::to_string(size);
    TileSet set;
    set.columns = picture.width / size;
    set.rows = picture.height / size;
    if (set.columns == 0 || set.rows == 0) {
        return refusedTiles("The picture, " + std::to_string(picture.width) + " x " +
                            std::to_string(picture.height) + " pixels, is smaller than one " +
                            tile + " tile.");
    }
    const unsigned long long total = 1ull * set.columns * set.rows;
    if (total > kMostMapTiles) {
        return refusedTiles("The picture holds " + std::to_string(total) + " tiles of " + tile +
                            "; a map counts at most " + std::to_string(kMostMapTiles) + ".");
    }
    if (std::string over = leftOverWarning(picture.width, picture.height, tile + " tiles",
                                           static_cast<unsigned>(total), "tile", "tiles", "used",
                                           picture.width % size, picture.height % size);
        !over.empty()) {
        set.warnings.push_back(std::move(over));
    }
    RawOptions raw;
    raw.planar = options.planar;
    raw.depth = rawDepth(picture, raw);
    set.depth = *raw.depth;
    std::unordered_map<std::string, unsigned> seen;
    for (unsigned row = 0; row < set.rows; row++) {
        for (unsigned column = 0; column < set.columns; column++) {
            const std::string pixels = tilePixels(picture, size, column, row);
            std::uint16_t entry = 0;
            bool found = false;
            if (options.dedupe) {
                // The tile as it is first; then mirrored, with the flips that draw it so.
                for (const std::uint16_t flips : {std::uint16_t{0}, kTileFlipX, kTileFlipY,
                                                  std::uint16_t(kTileFlipX | kTileFlipY)}) {
                    if (flips != 0 && !options.flips) {
                        break;
                    }
                    const auto at =
                        seen.find(flips == 0 ? pixels
                                             : mirrored(pixels, size, flips & kTileFlipX,
                                                        flips & kTileFlipY));
                    if (at != seen.end()) {
                        entry = static_cast<std::uint16_t>(at->second | flips);
                        found = true;
                        break;
                    }
                }
            }
            if (!found) {
                if (options.flips && set.count > kLargestFlippedTile) {
                    return refusedTiles(
                        "The picture holds more than " + std::to_string(kLargestFlippedTile + 1) +
                        " distinct tiles; with flips a map word numbers tiles 0 to " +
                        std::to_string(kLargestFlippedTile) + " (bits 0-13).");
                }
                std::string error;
                const std::optional<Picture> cut =
                    cutRegion(picture, {column * size, row * size, size, size}, &error);
                const Output planes = cut ? rawBitplanes(*cut, raw) : Output{{}, {}, error, {}};
                if (!planes.ok()) {
                    return refusedTiles(planes.error);
                }
                set.tiles.insert(set.tiles.end(), planes.bytes.begin(), planes.bytes.end());
                entry = static_cast<std::uint16_t>(set.count);
                if (options.dedupe) {
                    seen.emplace(pixels, set.count);
                }
                set.count++;
            }
            set.map.push_back(static_cast<std::uint8_t>(entry >> 8));
            set.map.push_back(static_cast<std::uint8_t>(entry & 0xff));
        }
    }
    return set;
}

std::string tilesDescription(const TileSet &set, const TileOptions &options) {
    const std::size_t each = set.count == 0 ? 0 : set.tiles.size() / set.count;
    return plural(set.count, "tile", "tiles") + " of " + std::to_string(options.size) + " x " +
           std::to_string(options.size) + " pixels, " + plural(set.depth, "plane", "planes") +
           (options.planar ? ", planar" : ", interleaved") +
           (options.size == 8 ? ", each row a word (the tile in the high byte), " : ", ") +
           std::to_string(each) + " bytes a tile, " + std::to_string(set.tiles.size()) + " bytes";
}

std::string mapDescription(const TileSet &set, const TileOptions &options) {
    return "A map of " + std::to_string(set.columns) + " x " + std::to_string(set.rows) +
           " tiles by rows, a word each: the tile number" +
           (options.flips ? "; bit 15 X flip, bit 14 Y flip" : "");
}

} // namespace picture
