// Cutting a picture into tiles: the tile numbers and flip bits worked out by hand from the
// drawing below, and the limits of a map. The tiles' bytes are raw's, checked against raw by
// tests/quillfen-iff/tiles_test.cpp.
#include "made_pictures.h"
#include "picture/tiles.h"

#include <gtest/gtest.h>

namespace {

// 35 x 17 in 4 colours: 8 x 8 tiles "ABXA" over "YZBX", colour 3 past them. A is clear but for
// colour 1 at (1,0) and colour 2 at (0,2); X, Y, Z are A mirrored in X, in Y, in both; B is all 3.
picture::Picture tileSheet() {
    std::vector<std::uint8_t> p(35 * 17, 3);
    const std::string tiles = "ABXAYZBX";
    for (unsigned t = 0; t < 8; t++) {
        const bool x = tiles[t] == 'X' || tiles[t] == 'Z', y = tiles[t] == 'Y' || tiles[t] == 'Z';
        for (unsigned i = 0; tiles[t] != 'B' && i < 64; i++)
            p[(t / 4 * 8 + i / 8) * 35 + t % 4 * 8 + i % 8] = i == (y ? 56u : 0u) + (x ? 6 : 1) ? 1
                                                              : i == (y ? 40u : 16u) + (x ? 7 : 0)
                                                                  ? 2
                                                                  : 0;
    }
    return madepictures::indexedPicture(35, p, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
}

} // namespace

TEST(Tiles, NumbersFlipsAndLeftOversOfASheet) {
    using Map = std::vector<std::uint8_t>;
    for (const auto &[dedupe, flips, count, map] :
         {std::tuple(false, false, 8u, Map{0, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7}),
          // First seen first: A 0, B 1, X 2, Y 3, Z 4.
          std::tuple(true, false, 5u, Map{0, 0, 0, 1, 0, 2, 0, 0, 0, 3, 0, 4, 0, 1, 0, 2}),
          // Every mirror of A is tile 0: bit 15 for X, bit 14 for Y.
          std::tuple(true, true, 2u,
                     Map{0, 0, 0, 1, 0x80, 0, 0, 0, 0x40, 0, 0xc0, 0, 0, 1, 0x80, 0})}) {
        const picture::TileSet set = picture::cutTiles(tileSheet(), {8, dedupe, flips, false});
        EXPECT_EQ(std::tuple(set.count, set.columns, set.rows, set.depth, set.map),
                  std::tuple(count, 4u, 2u, 2u, map));
    }
    EXPECT_EQ(picture::cutTiles(tileSheet(), {16, false, false, false}).warnings,
              std::vector<std::string>{"The picture, 35 x 17 pixels, is not a whole number of "
                                       "16 x 16 tiles; 2 whole tiles are used, leaving out 3 "
                                       "pixels on the right and 1 line at the bottom."});
}

TEST(Tiles, LimitsOfAMap) {
    // n tiles in a row, tile k numbered by its first two pixels (never 0, so that no tile is
    // another mirrored), or all clear.
    const auto strip = [](unsigned n, bool numbered) {
        std::vector<std::uint8_t> pixels(std::size_t{n} * 64, 0);
        for (unsigned k = 0; numbered && k < n; k++)
            std::tie(pixels[k * 8], pixels[k * 8 + 1]) = std::tuple(1 + k % 200, 1 + k / 200);
        return madepictures::indexedPicture(n * 8, pixels, {});
    };
    const std::string flips = "The picture holds more than 16384 distinct tiles; with flips a map "
                              "word numbers tiles 0 to 16383 (bits 0-13).";
    for (const auto &[tiles, numbered, error] : {
             std::tuple(16384u, true, std::string()),
             std::tuple(16385u, true, flips),
             std::tuple(65535u, false, std::string()),
             std::tuple(65536u, false,
                        std::string("The picture holds 65536 tiles of 8 x 8; a map counts at "
                                    "most 65535.")),
         })
        EXPECT_EQ(picture::cutTiles(strip(tiles, numbered), {8, true, true, false}).error, error)
            << tiles;
}
