// tiles as a user runs it: each distinct tile's bytes are what raw --region writes of the place
// where the map first shows it, the text assembles to the bytes, and bad input is refused with
// the exit status and message the man page gives. The tile numbers themselves are the picture
// library's (tests/picture/tiles_test.cpp).
#include "m68k_assembler.h"
#include "run_program.h"
#include "testing.h"

using namespace ifftool;

namespace {

// width x height in 4 colours, 8 x 8 tiles in the order of `tiles`, by rows: 'A' clear but for
// colour 1 at (1,0) and 2 at (0,2); 'x', 'y', 'z' A mirrored in X, Y, both; 'B' all colour 3.
// Pixels past the tiles are colour 3.
Indexed drawnTiles(unsigned width, unsigned height, const std::string &tiles) {
    Indexed picture{
        width, height, std::vector<std::uint8_t>(width * height, 3), {0, 0xff0000, 0xff00, 0xff}};
    for (unsigned t = 0; t < tiles.size(); t++) {
        const unsigned left = t % (width / 8) * 8, top = t / (width / 8) * 8;
        if (tiles[t] == 'B')
            continue;
        const bool x = tiles[t] == 'x' || tiles[t] == 'z', y = tiles[t] == 'y' || tiles[t] == 'z';
        for (unsigned i = 0; i < 64; i++)
            picture.pixels[(top + i / 8) * width + left + i % 8] = 0;
        picture.pixels[(top + (y ? 7 : 0)) * width + left + (x ? 6 : 1)] = 1;
        picture.pixels[(top + (y ? 5 : 2)) * width + left + (x ? 7 : 0)] = 2;
    }
    return picture;
}

Bytes wordsOf(const std::string &text) {
    Bytes bytes;
    for (std::uint16_t word : m68k::assemble(text).words.value_or(std::vector<std::uint16_t>{}))
        append(bytes, be16(word));
    return bytes;
}

} // namespace

TEST(QuillfenIffTiles, EachTileIsRawOfWhereItIsFirstSeen) {
    Folder folder;
    save(folder.file("sheet.iff"), ilbmOf(drawnTiles(32, 16, "ABxAyzBx"), 2));
    const std::string files =
        " " + folder.file("sheet.iff") + " " + folder.file("t.bin") + " " + folder.file("m.bin");
    struct Run {
        std::string options, rawOptions;
        unsigned size, tiles;
        bool flips;
    };
    for (const Run &run : {Run{"--size 8x8 --dedupe --flips", "", 8, 2, true},
                           Run{"--size 8x8 --planar", " --planar", 8, 8, false},
                           Run{"--size 16x16 --dedupe --interleaved", "", 16, 2, false}}) {
        SCOPED_TRACE(run.options);
        ASSERT_EQ(tool("tiles " + run.options + files).status, 0);
        const Bytes tiles = load(folder.file("t.bin")), map = load(folder.file("m.bin"));
        ASSERT_EQ(map.size(), 2u * (32 / run.size) * (16 / run.size));
        const std::size_t each = tiles.size() / run.tiles;
        EXPECT_EQ(each, run.size * 2u * 2); // rows of a word, 2 planes
        // The map's words in order: a number not seen before is the next tile, unmirrored.
        unsigned next = 0;
        for (std::size_t i = 0; i < map.size(); i += 2) {
            const unsigned word = map[i] << 8 | map[i + 1];
            const unsigned number = run.flips ? word & 0x3fff : word;
            if (number < next)
                continue;
            ASSERT_EQ(std::tuple(number, word), std::tuple(next, number));
            const unsigned columns = 32 / run.size, at = static_cast<unsigned>(i / 2);
            const std::string region = std::to_string(at % columns * run.size) + "," +
                                       std::to_string(at / columns * run.size) + "," +
                                       std::to_string(run.size) + "," + std::to_string(run.size);
            ASSERT_EQ(tool("raw --region " + region + run.rawOptions + " " +
                           folder.file("sheet.iff") + " " + folder.file("r.bin"))
                          .status,
                      0);
            EXPECT_EQ(Bytes(tiles.begin() + number * each, tiles.begin() + (number + 1) * each),
                      load(folder.file("r.bin")))
                << region;
            next++;
        }
        EXPECT_EQ(next, run.tiles);
        if (!m68k::available())
            continue;
        // The text of both, assembled, is the bytes; each with its comment and label.
        ASSERT_EQ(tool("tiles --text " + run.options + " " + folder.file("sheet.iff") + " " +
                       folder.file("t.s") + " " + folder.file("m.s"))
                      .status,
                  0);
        for (const auto &[name, bytes] : {std::pair("t", tiles), std::pair("m", map)}) {
            const Bytes text = load(folder.file(std::string(name) + ".s"));
            const std::string lines(text.begin(), text.end());
            EXPECT_EQ(wordsOf(lines), bytes) << lines;
            EXPECT_EQ(lines.find("\n" + std::string(name) + ":\n\tdc.w\t"), lines.find('\n'))
                << lines;
        }
    }
}

TEST(QuillfenIffTiles, LeftOverPixelsAndRefusals) {
    Folder folder;
    savePng(folder.file("odd.png"), drawnTiles(35, 17, "ABxAyzBx"), 2);
    savePng(folder.file("small.png"), drawnTiles(15, 20, ""), 2);
    Indexed strip{16384, 256, std::vector<std::uint8_t>(16384 * 256), {0, 0xffffff}};
    savePng(folder.file("strip.png"), strip, 1);
    for (const testprogram::Row &row : std::initializer_list<testprogram::Row>{
             {"tiles --size 8x8 %odd.png %t %m", 0, nullptr,
              "%odd.png: The picture, 35 x 17 pixels, is not a whole number of 8 x 8 tiles; 8 "
              "whole tiles are used, leaving out 3 pixels on the right and 1 line at the bottom."},
             {"tiles --size 16x16 %small.png %no-t %no-m", 1, nullptr,
              "is smaller than one 16 x 16 tile. Nothing is written."},
             {"tiles --size 8x8 --dedupe %strip.png %no-t %no-m", 1, nullptr,
              "holds 65536 tiles of 8 x 8; a map counts at most 65535. Nothing is written."},
             {"tiles --size 8x16 %odd.png %no-t %no-m", 2, nullptr, "takes 8x8 or 16x16"},
         })
        testprogram::expectRow(kTool, folder.path(), row);
    EXPECT_EQ(load(folder.file("m")).size(), 2u * 8);
    EXPECT_FALSE(exists(folder.file("no-t")) || exists(folder.file("no-m")));
    testprogram::expectUsageErrors(
        kTool, folder.path(), "tiles",
        {"%odd.png %t %m", "--size 16 %odd.png %t %m", "--size 8x8 --flips %odd.png %t %m",
         "--size 8x8 --planar --interleaved %odd.png %t %m", "--size 8x8 %odd.png %t"});
}
