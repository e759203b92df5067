// font: three glyphs drawn here, each the bytes raw --region writes of its cell, their widths
// worked out by hand; the text assembled to the same bytes as the binary files.
#include "m68k_assembler.h"
#include "run_program.h"
#include "testing.h"

using namespace ifftool;

TEST(QuillfenIffFont, GlyphsAreRawCellsWithWidthsAndText) {
    // 18 x 4 in colours 0-1: cells of 6 x 3 holding 'A' (columns 0-3 set), 'B' (columns 3-4)
    // and an empty one, then a line past them at the bottom.
    Indexed grid{18, 4, {}, {0, 0xffffff}};
    for (const char *c = "011000000010000000100100000100000000111100000000000000"
                         "111111111111111111";
         *c != '\0'; c++)
        grid.pixels.push_back(static_cast<std::uint8_t>(*c - '0'));
    Folder folder;
    savePng(folder.file("grid.png"), grid, 1);
    const std::string files = " " + folder.file("grid.png") + " " + folder.file("out");
    // Proportional, a glyph moves left to its leftmost pixel: 'B' from column 3 is what its
    // columns 3-5 alone make (one word a row either way, the columns after it clear).
    Bytes a, b, space, bMoved;
    for (auto [cell, at] :
         {std::pair{&a, "0,0,6,3"}, {&b, "6,0,6,3"}, {&space, "12,0,6,3"}, {&bMoved, "9,0,3,3"}}) {
        ASSERT_EQ(tool("raw --region " + std::string(at) + files).status, 0);
        *cell = load(folder.file("out"));
    }
    ASSERT_NE(b, bMoved);
    const std::string widths = " --proportional --widths " + folder.file("w");
    const struct {
        std::string options;
        Bytes glyphs, widths;
        const char *warning;
    } cases[] = {
        {"",
         cat({a, b, space}),
         {},
         "The picture, 18 x 4 pixels, is not a whole number of cells of 6 x 3; 3 whole cells are "
         "used, leaving out 1 line at the bottom."},
        // 'A' 0-3: 4 wide; 'B' 3-4: 2 wide; the empty one half of 6; colour 0 in every column.
        {widths, cat({a, bMoved, space}), {4, 2, 3}, ""},
        {widths + " --first 254",
         cat({a, bMoved}),
         {4, 2},
         "1 of the 3 cells would be past character"},
        {widths + " --transparent 1", cat({a, b, space}), {6, 6, 6}, ""},
    };
    for (const auto &c : cases) {
        const testprogram::Outcome r = tool("font --cell 6x3" + c.options + files);
        ASSERT_EQ(r.status, 0) << c.options << r.err;
        EXPECT_NE(r.err.find(c.warning), std::string::npos) << r.err;
        EXPECT_EQ(load(folder.file("out")), c.glyphs) << c.options;
        if (!c.widths.empty()) {
            EXPECT_EQ(load(folder.file("w")), c.widths) << c.options;
        }
    }
    if (m68k::available()) {
        ASSERT_EQ(tool("font --cell 6x3 --proportional --first A --text --name f" + files).status,
                  0);
        const std::string text = testfiles::loadText(folder.file("out"));
        for (const char *line : {"\n; 'A' $41\n", "\n; 'C' $43\n", "\n; widths\nf_widths:\n"})
            EXPECT_NE(text.find(line), std::string::npos) << line << text;
        EXPECT_EQ(m68k::assemble(text).bytes, cat({a, bMoved, space, {4, 2, 3}}));
    }
    std::filesystem::remove(folder.file("out"));
    for (const testprogram::Row &row : std::initializer_list<testprogram::Row>{
             {"font --cell 19x3 %grid.png %out", 1, nullptr,
              "grid.png: The picture, 18 x 4 pixels, holds no whole cell of 19 x 3. Nothing is "
              "written."},
             {"font --cell 6 %grid.png %out", 2, nullptr, "option '--cell' takes WxH"},
             {"font %grid.png %out", 2, nullptr, "--cell WxH, the size of a glyph's cell"},
             {"font --cell 6x3 --first 256 %grid.png %out", 2, nullptr,
              "option '--first' takes a character or its decimal code (0 to 255), not '256'"},
             {"font --cell 6x3 --first AB %grid.png %out", 2, nullptr, "not 'AB'"},
             {"font --cell 6x3 --widths %w %grid.png %out", 2, nullptr,
              "--widths needs --proportional"}}) {
        testprogram::expectRow(kTool, folder.path(), row);
        EXPECT_FALSE(exists(folder.file("out"))) << row.arguments;
    }
}
