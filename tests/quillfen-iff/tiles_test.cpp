// tiles as a user runs it: each distinct tile is what raw --region writes of where the map first
// shows it, the text assembles to the bytes, and bad input gets the man page's exit status. The
// tile numbers and flip bits are the picture library's (tests/picture/tiles_test.cpp).
#include "m68k_assembler.h"
#include "run_program.h"
#include "testing.h"

using namespace ifftool;

TEST(QuillfenIffTiles, EachTileIsRawOfWhereItIsFirstSeenAndTheTextAssembles) {
    Folder folder;
    // 32 x 16 in 4 colours that repeat every 16 pixels across and 8 down.
    Indexed sheet{32, 16, {}, {0, 0xff0000, 0xff00, 0xff}};
    for (unsigned i = 0; i < 32 * 16; i++)
        sheet.pixels.push_back(static_cast<std::uint8_t>((i % 16 + 2 * (i / 32 % 8)) / 3 % 4));
    save(folder.file("s.iff"), ilbmOf(sheet, 2));
    const std::string files = " " + folder.file("s.iff") + " " + folder.file("t") + " ";
    for (const auto &[options, raw, size, distinct] :
         {std::tuple("--size 8x8 --dedupe --flips", "", 8u, 2u),
          std::tuple("--size 8x8 --planar", " --planar", 8u, 8u),
          std::tuple("--size 16x16 --dedupe --interleaved", "", 16u, 1u)}) {
        SCOPED_TRACE(options);
        ASSERT_EQ(tool(std::string("tiles ") + options + files + folder.file("m")).status, 0);
        const Bytes tiles = load(folder.file("t")), map = load(folder.file("m"));
        // Tile k is first seen at place k: the first row begins with every distinct tile.
        EXPECT_EQ(tiles.size(), distinct * size * 4);
        for (unsigned k = 0, each = size * 4; k < distinct && tiles.size() == distinct * each;
             k++) {
            EXPECT_EQ(tool("raw --region " + std::to_string(k % (32 / size) * size) + "," +
                           std::to_string(k / (32 / size) * size) + "," + std::to_string(size) +
                           "," + std::to_string(size) + raw + files)
                          .status,
                      0);
            EXPECT_EQ(load(folder.file("t")),
                      Bytes(tiles.begin() + k * each, tiles.begin() + (k + 1) * each));
        }
        // Both texts in one source (labels x and x_map), assembled: the tiles' bytes, the map's.
        ASSERT_EQ(tool(std::string("tiles --text ") + options + " " + folder.file("s.iff") + " " +
                       folder.file("x.tiles") + " " + folder.file("x.map"))
                      .status,
                  0);
        Bytes text = load(folder.file("x.tiles")), words, both = tiles;
        append(text, load(folder.file("x.map")));
        append(both, map);
        for (std::uint16_t word : m68k::assemble(std::string(text.begin(), text.end()))
                                      .words.value_or(std::vector<std::uint16_t>{}))
            append(words, be16(word));
        EXPECT_EQ(words, both);
    }
}

TEST(QuillfenIffTiles, LeftOverPixelsAndRefusals) {
    Folder folder;
    savePng(folder.file("odd.png"), {35, 15, std::vector<std::uint8_t>(35 * 15), {0, 0xff}}, 1);
    for (const testprogram::Row &row : std::initializer_list<testprogram::Row>{
             {"tiles --size 8x8 %odd.png %t %m", 0, nullptr,
              "%odd.png: The picture, 35 x 15 pixels, is not a whole number of 8 x 8 tiles;"},
             {"tiles --size 16x16 %odd.png %no-t %no-m", 1, nullptr,
              "is smaller than one 16 x 16 tile. Nothing is written."}})
        testprogram::expectRow(kTool, folder.path(), row);
    EXPECT_EQ(load(folder.file("m")).size(), 8u); // 4 x 1 whole tiles
    EXPECT_FALSE(exists(folder.file("no-t")) || exists(folder.file("no-m")));
    // A map that cannot be written takes the tiles with it: half of the pair is no use. A tiles
    // file that was there is put back as it was.
    const std::string badMap = " " + folder.file("none/m");
    const std::string odd = "tiles --size 8x8 " + folder.file("odd.png") + " ";
    EXPECT_EQ(tool(odd + folder.file("lone-t") + badMap).status, 2);
    EXPECT_FALSE(exists(folder.file("lone-t")));
    save(folder.file("old-t"), {1, 2, 3});
    EXPECT_EQ(tool(odd + folder.file("old-t") + badMap).status, 2);
    EXPECT_EQ(load(folder.file("old-t")), Bytes({1, 2, 3}));
    testprogram::expectUsageErrors(kTool, folder.path(), "tiles",
                                   {"--size 8x16 %odd.png %t %m", "%odd.png %t %m",
                                    "--size 8x8 --flips %odd.png %t %m",
                                    "--size 8x8 --planar --interleaved %odd.png %t %m"});
}
