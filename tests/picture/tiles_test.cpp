// Cutting a picture into tiles: which tiles are the same, the map words that say so, the bytes of
// a tile, and the limits of a map. Tile numbers, flip bits and plane bytes are worked out by hand
// from the drawing below.
#include "made_pictures.h"
#include "picture/tiles.h"

#include <gtest/gtest.h>

namespace {

// A 35 x 17 sheet of 8 x 8 tiles over a map of 4 colours, with 3 columns and 1 line left over:
//   row 0:  A  B  AX  A
//   row 1:  AY AXY B  AX
// A is clear but for colour 1 at (1,0) and colour 2 at (0,2); AX, AY, AXY are A mirrored in X,
// Y, both; B is all colour 3.
picture::Picture tileSheet() {
    std::vector<std::uint8_t> pixels(35 * 17, 3);
    const auto drawA = [&](unsigned column, unsigned row, bool x, bool y) {
        for (unsigned i = 0; i < 64; i++)
            pixels[(row * 8 + i / 8) * 35 + column * 8 + i % 8] = 0;
        const auto put = [&](unsigned px, unsigned py, std::uint8_t colour) {
            pixels[(row * 8 + (y ? 7 - py : py)) * 35 + column * 8 + (x ? 7 - px : px)] = colour;
        };
        put(1, 0, 1);
        put(0, 2, 2);
    };
    drawA(0, 0, false, false);
    drawA(2, 0, true, false);
    drawA(3, 0, false, false);
    drawA(0, 1, false, true);
    drawA(1, 1, true, true);
    drawA(3, 1, true, false);
    return madepictures::indexedPicture(35, pixels, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
}

} // namespace

TEST(Tiles, NumbersAndFlipsOfASheet) {
    struct Case {
        bool dedupe, flips;
        unsigned count;
        std::vector<std::uint8_t> map;
    };
    for (const Case &c : {
             Case{false, false, 8, {0, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7}},
             // First seen first: A 0, B 1, AX 2, AY 3, AXY 4.
             Case{true, false, 5, {0, 0, 0, 1, 0, 2, 0, 0, 0, 3, 0, 4, 0, 1, 0, 2}},
             // Every mirror of A is tile 0: bit 15 for X, bit 14 for Y.
             Case{true, true, 2, {0, 0, 0, 1, 0x80, 0, 0, 0, 0x40, 0, 0xc0, 0, 0, 1, 0x80, 0}},
         }) {
        SCOPED_TRACE(testing::Message() << c.dedupe << c.flips);
        const picture::TileSet set = picture::cutTiles(tileSheet(), {8, c.dedupe, c.flips, false});
        ASSERT_TRUE(set.ok()) << set.error;
        EXPECT_EQ(std::tuple(set.count, set.columns, set.rows, set.depth, set.map),
                  std::tuple(c.count, 4u, 2u, 2u, c.map));
        EXPECT_EQ(set.tiles.size(), c.count * 32u); // 8 rows of a word, 2 planes
        EXPECT_EQ(set.warnings,
                  std::vector<std::string>{"The picture, 35 x 17 pixels, is not a whole number of "
                                           "8 x 8 tiles; 8 whole tiles are used, leaving out 3 "
                                           "pixels on the right and 1 line at the bottom."});
    }
}

TEST(Tiles, TileBytesHaveTheTileInTheHighByte) {
    // Tile A, interleaved: row 0 plane 0 $4000 (colour 1 at x 1); row 2 plane 1 $8000 (colour 2
    // at x 0). Tile B: every plane row $ff00. Planar: plane 0's 8 words, then plane 1's.
    std::vector<std::uint8_t> a(32, 0), b(32, 0), planarA(32, 0);
    a[0] = 0x40;
    a[2 * 4 + 2] = 0x80;
    for (unsigned i = 0; i < 32; i += 2)
        b[i] = 0xff;
    planarA[0] = 0x40;
    planarA[16 + 2 * 2] = 0x80;
    std::vector<std::uint8_t> both = a;
    both.insert(both.end(), b.begin(), b.end());
    EXPECT_EQ(picture::cutTiles(tileSheet(), {8, true, true, false}).tiles, both);
    const std::vector<std::uint8_t> planar =
        picture::cutTiles(tileSheet(), {8, true, true, true}).tiles;
    EXPECT_EQ(std::vector<std::uint8_t>(planar.begin(), planar.begin() + 32), planarA);
    // 16 x 16: the one whole tile holds A, B, AY, AXY; a row is one word a plane.
    const picture::TileSet big = picture::cutTiles(tileSheet(), {16, false, false, false});
    EXPECT_EQ(std::tuple(big.count, big.tiles.size(), big.tiles[0], big.tiles[1]),
              std::tuple(2u, 2u * 16 * 2 * 2, std::uint8_t{0x40}, std::uint8_t{0xff}));
}

TEST(Tiles, Limits) {
    // A strip of n tiles whose first two pixels number it (never 0, so no mirror of one equals
    // another): all distinct.
    const auto strip = [](unsigned n) {
        std::vector<std::uint8_t> pixels(std::size_t{n} * 64, 0);
        for (unsigned k = 0; k < n; k++) {
            pixels[k * 8] = static_cast<std::uint8_t>(1 + k % 200);
            pixels[k * 8 + 1] = static_cast<std::uint8_t>(1 + k / 200);
        }
        return madepictures::indexedPicture(n * 8, pixels, {});
    };
    const auto blank = [](unsigned n) {
        return madepictures::indexedPicture(n * 8, std::vector<std::uint8_t>(std::size_t{n} * 64),
                                            {});
    };
    struct Case {
        picture::Picture picture;
        picture::TileOptions options;
        std::string error;
    };
    for (const Case &c : {
             Case{strip(16384), {8, true, true, false}, ""},
             Case{strip(16385),
                  {8, true, true, false},
                  "The picture holds more than 16384 distinct tiles; with flips a map word numbers "
                  "tiles 0 to 16383 (bits 0-13)."},
             Case{strip(16385), {8, true, false, false}, ""},
             Case{blank(65535), {8, true, false, false}, ""},
             Case{blank(65536),
                  {8, true, false, false},
                  "The picture holds 65536 tiles of 8 x 8; a map counts at most 65535."},
             Case{madepictures::indexedPicture(15, std::vector<std::uint8_t>(15 * 20), {}),
                  {16, false, false, false},
                  "The picture, 15 x 20 pixels, is smaller than one 16 x 16 tile."},
         }) {
        const picture::TileSet set = picture::cutTiles(c.picture, c.options);
        EXPECT_EQ(set.error, c.error) << c.picture.width;
        EXPECT_EQ(set.map.size(), c.error.empty() ? c.picture.width / 4 : 0u);
    }
}
