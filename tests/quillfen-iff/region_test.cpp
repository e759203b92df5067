// --region on the picture commands: the rectangle asked for is what is converted (the same bytes
// as the piece saved by itself, its planes worked out from its pixels), the colour map stays
// whole, and a region that does not fit is refused with exit status 2 and nothing written.
#include "run_program.h"
#include "testing.h"

using namespace ifftool;

namespace {

// A rectangle of a sheet of 40 x 6 in colours 0-7, value (3 * x + y) % 8, in a map of 8.
Indexed sheetPart(unsigned left, unsigned top, unsigned width, unsigned height) {
    Indexed picture{width, height, {}, {0, 0x110000, 0x220000, 0x330000, 0x44, 0x55, 0x66, 0x77}};
    for (unsigned y = top; y < top + height; y++)
        for (unsigned x = left; x < left + width; x++)
            picture.pixels.push_back(static_cast<std::uint8_t>((3 * x + y) % 8));
    return picture;
}

} // namespace

TEST(QuillfenIffRegion, TheRectangleIsConvertedOrRefused) {
    Folder folder;
    savePng(folder.file("sheet.png"), sheetPart(0, 0, 40, 6), 4);
    save(folder.file("sheet.iff"), ilbmOf(sheetPart(0, 0, 40, 6), 3));
    // 17 pixels from x 5 (two words a row, not on a word boundary), rows 2-4.
    const Indexed piece = sheetPart(5, 2, 17, 3);
    const std::string out = " " + folder.file("out");
    auto written = [&](const std::string &arguments) {
        EXPECT_EQ(tool(arguments + out).status, 0) << arguments;
        return load(folder.file("out"));
    };
    for (const std::string &in : {folder.file("sheet.png"), folder.file("sheet.iff")}) {
        const std::string region = " --region 5,2,17,3 " + in;
        EXPECT_EQ(written("raw --planar --mask" + region),
                  expectedPlanes(piece, 3, false, Mask::After));
        // The whole map, though the region shows one colour of it.
        EXPECT_EQ(written("palette --format rgb8 --binary --region 39,5,1,1 " + in),
                  written("palette --format rgb8 --binary " + in));
        // The sheet commands cut from the region: one frame, glyph or tile of all of it.
        const Bytes interleaved = expectedPlanes(piece, 3, true, Mask::None);
        EXPECT_EQ(written("bobs --size 17x3" + region), interleaved);
        EXPECT_EQ(written("font --cell 17x3" + region), interleaved);
        EXPECT_EQ(
            tool("tiles --size 8x8 --region 8,0,8,8 " + in + out + " " + folder.file("map")).status,
            2); // the sheet is 6 lines tall: the region is refused before any cut
        EXPECT_EQ(tool("ilbm" + region + " " + folder.file("piece.iff")).status, 0);
        EXPECT_EQ(written("raw " + folder.file("piece.iff")),
                  expectedPlanes(piece, 3, true, Mask::None));
    }
    std::filesystem::remove(folder.file("out"));
    save(folder.file("map.iff"),
         group("FORM", "ILBM", {bmhd(40, 6, 3), picturetest::cmapOf({0x123456})}));
    for (const testprogram::Row &row : std::initializer_list<testprogram::Row>{
             {"raw --region 1,2,3 %sheet.png %out", 2, nullptr, "option '--region' takes X,Y,W,H"},
             {"sprite --region 30,0,16,6 %sheet.png %out", 2, nullptr,
              "sheet.png: The region 30,0,16,6 reaches past the picture's right edge (40 pixels "
              "wide). Nothing is written."},
             {"palette --format words --region 40,0,1,1 %sheet.png %out", 2, nullptr, "right edge"},
             {"palette --ocs --region 0,0,1,1 %map.iff", 2, nullptr, "saved alone"},
             {"copper --region 0,0,1,1 %sheet.png %out", 2, nullptr, "usage:"}}) {
        testprogram::expectRow(kTool, folder.path(), row);
        EXPECT_FALSE(exists(folder.file("out"))) << row.arguments;
    }
}
