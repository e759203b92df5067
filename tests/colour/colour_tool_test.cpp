// The Colour tool's rules and texts as tables on ColourTool and the colour value, without
// widgets. The nibbles of 12-bit colour are the amiga library's (tests/amiga/colourwords_test.cpp)
// and so is the code's text (tests/amiga/colourcode_test.cpp): here, which code each output is
// and what the editor and options give it.
#include "colour/ColourTool.h"

#include "QtPrinters.h"
#include "colour_values.h"
#include "golden_table.h"
#include <QColor>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// The rows of a table in data/cases.txt.
QList<QStringList> table(const char *name) {
    return golden::table(QUILLFEN_COLOUR_DATA "/cases.txt", name);
}

std::vector<int> guns(const Colour &c) {
    return {c.red8(), c.green8(), c.blue8()};
}

} // namespace

TEST(ColourModel, EveryEightBitValueSurvivesTheRoundTripAndTheDefaultPalette) {
    for (int v = 0; v < 256; ++v) {
        const Colour c = rgb(v, 255 - v, v / 2);
        ASSERT_EQ(guns(c), (std::vector<int>{v, 255 - v, v / 2})) << "value " << v;
        // The stored component is the single-precision quotient, not the double one.
        ASSERT_EQ(c.redComponent(), static_cast<double>(static_cast<float>(v) / 255.0f));
        ASSERT_EQ(Colour::fromQColor(c.toQColor()), c) << v; // through Qt's colour and back
    }
    // The 12-bit constructor widens a nibble, n x 17, and takes more than 15 as 15.
    EXPECT_EQ(guns(Colour::convertFrom12BitWithRed(1, 14, 0)), (std::vector<int>{17, 238, 0}));
    EXPECT_EQ(guns(Colour::convertFrom12BitWithRed(16, 200, 255)),
              (std::vector<int>{255, 255, 255}));
    // Components are kept in range.
    EXPECT_EQ(guns(Colour::colorWithRed(1.5, -0.25, std::nan(""), 1.0)),
              (std::vector<int>{255, 0, 0}));
    // The default palette, then grey.
    const QList<Colour> all = Colour::amigaDefaults(256);
    ASSERT_EQ(all.size(), 256);
    QStringList first16;
    for (int i = 0; i < 16; ++i)
        first16 << all[i].name().mid(1);
    EXPECT_EQ(first16.join(' '), "000000 a0a0a0 555555 ffffff 880088 ff44aa ee0000 662200 ff6600 "
                                 "ffaa88 ffee00 008800 00dd00 00cccc 0066ff 0000aa");
    EXPECT_EQ(guns(Colour::defaultAmigaGrey()), (std::vector<int>{0xaa, 0xaa, 0xaa}));
    EXPECT_EQ(all[16], Colour::defaultAmigaGrey());
    EXPECT_EQ(Colour::amigaDefaults(4), all.mid(0, 4));
    EXPECT_TRUE(Colour::amigaDefaults(-3).isEmpty());
}

TEST(ColourToolTest, AGunInItsThreeFieldsAndAnEntryInItsBank) {
    // The 12-bit nibble is the high nibble, as the AGA high half and OCS code have it.
    for (const QString texts : {"0 0 00", "16 1 10", "185 b b9", "255 f ff"})
        EXPECT_EQ(ColourTool::gunTexts(texts.section(' ', 0, 0).toInt()).join(' '), texts);
    for (const QStringList &t : table("typed guns"))
        EXPECT_EQ(ColourTool::typedGun(t[0]), t[1].toInt()) << t[0].toStdString();
    EXPECT_EQ(ColourTool::colourOf(0x12, 0x34, 0x56), rgb(0x12, 0x34, 0x56));
    // A palette index is a bank of thirty-two and a register.
    const int cases[][3] = {{0, 0, 0}, {31, 0, 31}, {32, 1, 0}, {70, 2, 6}, {255, 7, 31}};
    for (const auto &[index, bank, reg] : cases) {
        ColourTool tool;
        tool.setPaletteIndex(index);
        EXPECT_EQ(std::vector<int>({tool.bank, tool.colourRegister}), std::vector<int>({bank, reg}))
            << index;
        EXPECT_EQ(tool.paletteIndex(), index);
    }
}

TEST(ColourToolTest, APaletteOfAnotherSize) {
    const QList<Colour> four = {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9), rgb(10, 11, 12)};
    for (const QStringList &c : table("other sizes")) {
        QStringList names; // as the default palette's are read above
        for (const Colour &colour : ColourTool::resized(four, c[0].toInt(), c[1] == "1"))
            names << colour.name().mid(1);
        EXPECT_EQ(names.join(' '), c[2]) << c.join('|').toStdString();
    }
    // Dropped in front of an entry: it ends just there, the entries between moving up.
    const int moves[][3] = {{2, 6, 5}, {5, 0, 0}, {0, 32, 31}, {3, 3, 3}, {3, 4, 3}};
    for (const auto &[from, before, to] : moves)
        EXPECT_EQ(ColourTool::movedTo(from, before), to) << from << " " << before;
    // The status line counts in words that agree.
    EXPECT_EQ(ColourTool::loadedStatus(1, "one.iff"), "Loaded 1 colour from “one.iff”.");
    EXPECT_EQ(ColourTool::loadedStatus(2, "two.iff"), "Loaded 2 colours from “two.iff”.");
    EXPECT_EQ(ColourTool::restoredStatus(1), "The palette has 1 colour.");
    EXPECT_EQ(ColourTool::restoredStatus(32), "The palette has 32 colours.");
    EXPECT_EQ(ColourTool::sizeStep(1), "Palette of 1 Colour");
    EXPECT_EQ(ColourTool::sizeStep(16), "Palette of 16 Colours");
}

TEST(ColourToolTest, EachOutputIsItsCodeWithTheEditorsPlaceAndTheOptions) {
    ColourTool tool;
    tool.red = 0x12;
    tool.green = 0x34;
    tool.blue = 0x56;
    tool.bank = 1;
    tool.colourRegister = 5;
    tool.rainbowStart = "2c";
    const ColourPalette palette{{rgb(0xff, 0, 0), rgb(0, 0xff, 0), rgb(0, 0, 0xff)}, {4, 0}};
    const std::vector<amiga::Rgb8> guns = {{0xff, 0, 0}, {0, 0xff, 0}, {0, 0, 0xff}};
    const struct {
        bool aga, copper;
        const char *bplcon3;
        std::uint16_t base; // the BPLCON3 the code keeps: its reset value unless typed
    } cases[] = {
        {true, true, "", 0x0c00}, {true, false, "1020", 0x1020}, {false, true, "", 0x0c00}};
    for (const auto &c : cases) {
        tool.aga = c.aga;
        tool.copper = c.copper;
        tool.bplcon3 = c.bplcon3;
        const amiga::ColourCodeOptions options{c.aga, c.copper, c.base};
        EXPECT_EQ(tool.code(ColourTool::Output::Colour),
                  amiga::colourCode(options, 1, 5, {0x12, 0x34, 0x56}));
        EXPECT_EQ(tool.code(ColourTool::Output::Palette, palette),
                  amiga::paletteCode(options, 1, 5, guns));
        // Heights the palette lacks are 0; the start line is typed in hex.
        EXPECT_EQ(tool.code(ColourTool::Output::Rainbow, palette),
                  amiga::rainbowCode(options, 0x2c, guns, {4, 0, 0}));
    }
}
