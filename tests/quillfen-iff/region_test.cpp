// --region on the picture commands: the rectangle asked for is what is converted (its planes
// worked out from the pixels picked out of the sheet by hand), the colour map stays whole, and a
// region that does not fit is refused with exit status 2 and nothing written.
#include "run_program.h"
#include "testing.h"

using namespace ifftool;
using testprogram::expectRow;

namespace {

// A sheet of 40 x 6 in colours 0-7, value (3 * x + y) % 8; the map 8 colours.
unsigned sheetValue(unsigned x, unsigned y) {
    return (3 * x + y) % 8;
}

Indexed sheetPicture(unsigned left, unsigned top, unsigned width, unsigned height) {
    Indexed picture{width, height, {}, {}};
    for (unsigned y = top; y < top + height; y++)
        for (unsigned x = left; x < left + width; x++)
            picture.pixels.push_back(static_cast<std::uint8_t>(sheetValue(x, y)));
    for (std::uint32_t i = 0; i < 8; i++)
        picture.palette.push_back(0x110000 * i + 0x0f);
    return picture;
}

Bytes writtenBy(const std::string &arguments, const Folder &folder) {
    const std::string out = folder.file("out");
    std::filesystem::remove(out);
    const testprogram::Outcome r = tool(arguments + " " + out);
    EXPECT_EQ(r.status, 0) << arguments << ": " << r.err;
    return load(out);
}

} // namespace

TEST(QuillfenIffRegion, TheRectangleIsConverted) {
    Folder folder;
    const Indexed sheet = sheetPicture(0, 0, 40, 6);
    savePng(folder.file("sheet.png"), sheet, 4);
    save(folder.file("sheet.iff"), ilbmOf(sheet, 3));
    // 17 pixels from x 5 (two words a row, not on a word boundary), rows 2-4.
    const Indexed piece = sheetPicture(5, 2, 17, 3);
    savePng(folder.file("piece.png"), piece, 8);
    for (const char *file : {"sheet.png", "sheet.iff"}) {
        SCOPED_TRACE(file);
        const std::string in = " " + folder.file(file);
        EXPECT_EQ(writtenBy("raw --region 5,2,17,3" + in, folder),
                  expectedPlanes(piece, 3, true, Mask::None));
        EXPECT_EQ(writtenBy("raw --planar --mask --region=5,2,17,3" + in, folder),
                  expectedPlanes(piece, 3, false, Mask::After));
        EXPECT_EQ(writtenBy("raw --chunky --region 5,2,17,3" + in, folder), piece.pixels);
        // The whole picture as a region is the picture.
        EXPECT_EQ(writtenBy("raw --region 0,0,40,6" + in, folder),
                  expectedPlanes(sheet, 3, true, Mask::None));
        // Sprites of the region are the sprites of the piece saved by itself.
        EXPECT_EQ(writtenBy("sprite --attached --region 5,2,17,3" + in, folder),
                  writtenBy("sprite --attached " + folder.file("piece.png"), folder));
        // The colour map stays whole: all 8 colours, though the piece shows fewer.
        Bytes rgb8;
        for (std::uint32_t c : sheet.palette)
            append(rgb8, be32(c));
        EXPECT_EQ(writtenBy("palette --format rgb8 --binary --region 39,5,1,1" + in, folder), rgb8);
        // An ILBM of the region: its planes are the piece's, its map the sheet's.
        const std::string ilbm = folder.file("piece.iff");
        std::filesystem::remove(ilbm);
        EXPECT_EQ(tool("ilbm --region 5,2,17,3" + in + " " + ilbm).status, 0);
        EXPECT_EQ(writtenBy("raw --depth 3 " + ilbm, folder),
                  expectedPlanes(piece, 3, true, Mask::None));
        EXPECT_EQ(writtenBy("palette --format rgb8 --binary " + ilbm, folder), rgb8);
    }
}

TEST(QuillfenIffRegion, ARegionThatDoesNotFitIsRefused) {
    Folder folder;
    savePng(folder.file("sheet.png"), sheetPicture(0, 0, 40, 6), 4);
    save(folder.file("map.iff"),
         group("FORM", "ILBM", {bmhd(40, 6, 3), picturetest::cmapOf({0x123456, 0xabcdef})}));
    const char *usage = "option '--region' takes X,Y,W,H";
    const testprogram::Row rows[] = {
        {"raw --region 1,2,3 %sheet.png %out", 2, nullptr, usage},
        {"sprite --region 1,2,3,-4 %sheet.png %out", 2, nullptr, usage},
        {"raw --region 30,0,16,6 %sheet.png %out", 2, nullptr,
         "sheet.png: The region 30,0,16,6 reaches past the picture's right edge (40 pixels wide). "
         "Nothing is written."},
        {"sprite --region 0,1,16,6 %sheet.png %out", 2, nullptr,
         "The region 0,1,16,6 reaches past the picture's bottom edge (6 pixels tall)."},
        {"ilbm --region 0,0,0,6 %sheet.png %out", 2, nullptr,
         "The region 0,0,0,6 is empty: it is 0 pixels wide."},
        // A region is checked though the colour map does not change.
        {"palette --format words --region 40,0,1,1 %sheet.png %out", 2, nullptr,
         "reaches past the picture's right edge (40 pixels wide)"},
        {"palette --ocs --region 40,0,1,1 %sheet.png", 2, nullptr, "right edge"},
        {"palette --ocs --region 0,0,1,1 %map.iff", 2, nullptr,
         "the colour map is saved alone, without pixels to cut a region from"},
        // A command that converts no pixels has no region.
        {"copper --region 0,0,1,1 %sheet.png %out", 2, nullptr, "usage: quillfen-iff copper"},
    };
    for (const testprogram::Row &row : rows) {
        expectRow(kTool, folder.path(), row);
        EXPECT_FALSE(exists(folder.file("out"))) << row.arguments;
    }
}
