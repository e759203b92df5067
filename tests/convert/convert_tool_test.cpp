// The Convert tool's rules and texts as tables on ConvertTool, without widgets: the facts shown
// about a picture, the display shape of its pixels, the export options as the library takes
// them, the sprite refusals, the status line and saving. The exports' bytes are the picture
// library's (tests/picture) and quillfen-iff's (tests/quillfen-iff).
#include "colour/PaletteFile.h"
#include "convert/ConvertTool.h"
#include "picture_path.h"

#include "QtPrinters.h"
#include "golden_text.h"
#include "scratch_files.h"

#include <QImage>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

ConvertTool toolOf(const QString &path) {
    ConvertTool tool;
    std::string error;
    std::optional<picture::Picture> read = picture::readPictureFile(path.toStdString(), &error);
    EXPECT_TRUE(read) << error;
    if (read)
        tool.use(path, std::move(*read));
    tool.refresh();
    return tool;
}

class ConvertToolTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    testfiles::Folder dir;
};

} // namespace

TEST_F(ConvertToolTest, TheFactsOfAPicture) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_CONVERT_DATA "/facts.txt");
    ASSERT_EQ(cases.size(), 5u);
    for (const auto &[file, facts] : cases) {
        const ConvertTool tool = toolOf(picturePath(file.c_str()));
        EXPECT_EQ(tool.facts().join('\n').toStdString() + "\n", facts);
        EXPECT_FALSE(tool.reduceAllowed()) << file; // an indexed picture has nothing to reduce
        EXPECT_TRUE(tool.paletteAllowed()) << file;
    }
    EXPECT_EQ(ConvertTool().facts(), QStringList(7, "–"));
}

// A lores pixel is as wide as a non-interlaced line is tall, a hires pixel half as wide, a
// superhires one a quarter, an interlaced line half as tall (Hardware Reference Manual,
// "Playfield Hardware": 320 lores or 640 hires pixels across the same screen, 200 or 400
// interlaced lines down it). Without a CAMG the BMHD's aspect decides.
TEST_F(ConvertToolTest, ThePixelsTakeTheShapeOfTheirDisplayMode) {
    struct Case {
        picture::Source source;
        int camg; // -1: none saved
        unsigned xAspect, yAspect;
        QSize aspect;
        const char *display;
    } cases[] = {
        {picture::Source::Ilbm, 0x0000, 10, 11, {1, 1}, "lores, pixels 1 × 1"},
        {picture::Source::Ilbm, 0x8000, 10, 11, {1, 2}, "hires, pixels 1 × 2"},
        {picture::Source::Ilbm, 0x0004, 10, 11, {2, 1}, "lores interlaced, pixels 2 × 1"},
        {picture::Source::Ilbm, 0x8004, 10, 11, {1, 1}, "hires interlaced, pixels 1 × 1"},
        {picture::Source::Ilbm, 0x8020, 10, 11, {1, 4}, "superhires, pixels 1 × 4"},
        {picture::Source::Ilbm, 0x8024, 10, 11, {1, 2}, "superhires interlaced, pixels 1 × 2"},
        {picture::Source::Ilbm, -1, 10, 20, {1, 2}, "none saved, BMHD aspect 10:20, pixels 1 × 2"},
        {picture::Source::Ilbm, -1, 5, 11, {1, 2}, "none saved, BMHD aspect 5:11, pixels 1 × 2"},
        {picture::Source::Pbm, -1, 20, 11, {2, 1}, "none saved, BMHD aspect 20:11, pixels 2 × 1"},
        {picture::Source::Ilbm, -1, 10, 11, {1, 1}, "lores, pixels 1 × 1"}, // square PAL lores
        {picture::Source::Ilbm, -1, 0, 0, {1, 1}, "lores, pixels 1 × 1"},   // no aspect either
        {picture::Source::Png, -1, 0, 0, {1, 1}, "none saved, square pixels"},
    };
    for (const Case &c : cases) {
        picture::Picture p;
        p.source = c.source;
        p.width = p.height = p.depth = 1;
        p.pixels = {0};
        p.palette = {{0, 0, 0}, {255, 255, 255}};
        p.hasViewportMode = c.camg >= 0;
        p.viewportMode = static_cast<std::uint32_t>(std::max(c.camg, 0));
        p.xAspect = c.xAspect;
        p.yAspect = c.yAspect;
        ConvertTool tool;
        tool.use("p", p);
        EXPECT_EQ(tool.pixelAspect(), c.aspect) << c.display;
        EXPECT_EQ(tool.facts()[6], c.display);
    }
}

TEST_F(ConvertToolTest, TheControlsBecomeTheLibrarysOptions) {
    ConvertTool tool;
    struct Raw {
        int mask;
        bool invert, chunky;
        amiga::MaskOutput wanted;
        bool inverted;
    } raws[] = {
        {0, true, false, amiga::MaskOutput::None, false}, // no mask, nothing to invert
        {1, true, false, amiga::MaskOutput::After, true},
        {2, false, false, amiga::MaskOutput::Only, false},
        {2, true, true, amiga::MaskOutput::None, false}, // chunky bytes have no mask
    };
    for (const Raw &r : raws) {
        tool.bitplanes.mask = r.mask;
        tool.bitplanes.invertMask = r.invert;
        tool.bitplanes.chunky = r.chunky;
        EXPECT_EQ(tool.rawOptions().mask, r.wanted) << r.mask;
        EXPECT_EQ(tool.rawOptions().invertMask, r.inverted) << r.mask;
    }
    // The palette formats in the pop-up's order.
    const amiga::PaletteFormat formats[] = {
        amiga::PaletteFormat::Words,  amiga::PaletteFormat::Rgb8,
        amiga::PaletteFormat::Rgb32,  amiga::PaletteFormat::LoadRgb32,
        amiga::PaletteFormat::Copper, amiga::PaletteFormat::CopperAga};
    for (int i = 0; i < 6; ++i) {
        tool.palette.format = i;
        EXPECT_EQ(tool.paletteOptions().format, formats[i]) << i;
    }
    // Sprites: the widths in order; control words at a position only with both X and Y, VSTART
    // in hex (HSTART is read as quillfen-iff's --x reads it).
    const struct {
        int width;
        bool control;
        const char *x, *y;
        unsigned pixels, vstart; // 0: no position
    } sprites[] = {
        {0, true, "80", "2c", 16, 0x2c},
        {1, true, "c0.8", "6d", 32, 0x6d},
        {2, false, "80", "2c", 64, 0},
        {0, true, "80", "", 16, 0},
    };
    for (const auto &s : sprites) {
        tool.sprites = {s.width, false, s.control, true, s.x, s.y, true, std::nullopt};
        const amiga::SpriteOptions options = tool.spriteOptions().sprite;
        EXPECT_EQ(options.width, s.pixels);
        EXPECT_EQ(options.position ? options.position->vstart : 0u, s.vstart) << s.x << s.y;
    }
}

// As quillfen-iff sprite refuses them, in its words.
TEST_F(ConvertToolTest, SpriteOptionsThatCannotGoTogether) {
    struct Case {
        int width;
        bool aga, control;
        const char *x, *y, *says; // "" for none
    } cases[] = {
        {1, false, false, "", "", "Sprites of 32 pixels are AGA's (FMODE)"},
        {2, true, false, "", "", ""},
        {0, false, true, "80", "", "X and Y go together"},
        {0, false, true, "", "2c", "X and Y go together"},
        {0, false, false, "80", "", ""}, // no control words: the position is not asked for
        {0, true, true, "c0.", "6d", "must be .4, .8 or .c (a quarter, a half or three quarters"},
        {0, true, true, "200", "6d", "takes HSTART in lores pixels, a hexadecimal number from 0"},
        {0, false, true, "c0.4", "6d", "places a sprite between lores pixels, which only AGA"},
        {0, false, true, "c0", "6d", ""},
    };
    for (const Case &c : cases) {
        ConvertTool tool;
        tool.sprites = {c.width, false, c.control, c.aga, c.x, c.y, true, std::nullopt};
        const QString problem = tool.spriteProblem();
        EXPECT_EQ(problem.isEmpty(), *c.says == 0) << c.x << problem.toStdString();
        EXPECT_TRUE(problem.contains(c.says)) << problem.toStdString();
    }
}

TEST_F(ConvertToolTest, TheStatusLineAndTheSave) {
    ConvertTool none;
    none.refresh();
    EXPECT_FALSE(none.output().ok());
    EXPECT_TRUE(none.status().startsWith("Open a picture: ")) << none.status().toStdString();

    // 640 x 480 in 8 planes: 80 bytes a plane row, 640 x 480 bytes in all.
    ConvertTool tool = toolOf(picturePath("serenity.lbm"));
    EXPECT_EQ(tool.status(), "307,200 bytes.");
    EXPECT_EQ(tool.suggestedSaveName(), picturePath("serenity.raw"));
    QString said;
    ASSERT_TRUE(tool.save(QString::fromStdString(dir.file("planes.raw")), &said));
    EXPECT_EQ(said, "Saved 307,200 bytes to “planes.raw”.");
    EXPECT_EQ(testfiles::load(dir.file("planes.raw")), tool.output().bytes);

    // Text output saves the text; the status counts its lines.
    tool.which = ConvertTool::Export::Palette;
    tool.refresh();
    const std::string text = tool.output().text;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(tool.suggestedSaveName(), picturePath("serenity.s"));
    const long lines = std::count(text.begin(), text.end(), '\n');
    EXPECT_EQ(tool.status(), QString("%1 lines of text.").arg(lines));
    ASSERT_TRUE(tool.save(QString::fromStdString(dir.file("palette.s")), &said));
    EXPECT_EQ(testfiles::loadText(dir.file("palette.s")), text);
    tool.palette.binary = true;
    tool.refresh();
    EXPECT_EQ(tool.suggestedSaveName(), picturePath("serenity.pal"));
    tool.which = ConvertTool::Export::Sprites;
    tool.sprites.text = false;
    tool.refresh();
    EXPECT_EQ(tool.suggestedSaveName(), picturePath("serenity.spr"));

    // A refused export writes nothing and says why, as a sentence.
    ASSERT_FALSE(tool.output().ok()); // 256 colours are too many for a sprite
    EXPECT_FALSE(tool.save(QString::fromStdString(dir.file("never.spr")), &said));
    EXPECT_EQ(said, tool.status());
    EXPECT_TRUE(said.endsWith('.') && said[0].isUpper()) << said.toStdString();
    EXPECT_TRUE(testfiles::load(dir.file("never.spr")).empty());

    // A file that cannot be written: the library's words, with the name as the tab shows it.
    tool.which = ConvertTool::Export::Bitplanes;
    tool.refresh();
    EXPECT_FALSE(tool.save(QString::fromStdString(dir.file("no/planes.raw")), &said));
    EXPECT_EQ(said, "“planes.raw” cannot be written: No such file or directory.");
}

TEST_F(ConvertToolTest, TrueColourIsReducedAndTheOriginalKept) {
    // Three colours in a true-colour PNG written by Qt.
    QImage image(64, 16, QImage::Format_RGB32);
    const QRgb three[] = {qRgb(0x12, 0x34, 0x56), qRgb(0xfe, 0xdc, 0xba), qRgb(0, 0x80, 0)};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, three[(x / 8 + y) % 3]);
    const QString path = QString::fromStdString(dir.file("three.png"));
    ASSERT_TRUE(image.save(path, "PNG"));
    ConvertTool tool = toolOf(path);
    EXPECT_EQ(tool.facts().mid(2, 3), QStringList({"true colour", "PNG 24-bit", "3 distinct"}));
    EXPECT_TRUE(tool.reduceAllowed());
    EXPECT_FALSE(tool.originalAllowed());
    EXPECT_FALSE(tool.paletteAllowed());
    EXPECT_FALSE(tool.output().ok()); // bitplanes need colour numbers
    EXPECT_TRUE(tool.status().contains("reduce")) << tool.status().toStdString();

    tool.reduction.colours = 4;
    tool.reduction.twelveBit = false;
    ASSERT_TRUE(tool.reduce());
    tool.refresh();
    EXPECT_TRUE(tool.output().ok()) << tool.status().toStdString();
    EXPECT_EQ(tool.picture->palette.size(), 3u); // three colours fit in four, kept exactly
    EXPECT_EQ(tool.facts()[3], "PNG indexed, reduced");
    EXPECT_TRUE(tool.originalAllowed());
    EXPECT_TRUE(tool.original->isTrueColour());
    tool.reduction.colours = 2; // each reduction starts again from the picture as read
    ASSERT_TRUE(tool.reduce());
    EXPECT_EQ(tool.picture->palette.size(), 2u);
    ASSERT_TRUE(tool.useOriginal());
    EXPECT_TRUE(tool.picture->isTrueColour());
}

// The colour map the tab hands to the Colour tab is what the Colour tab's own palette file
// reading gives for the same picture.
TEST_F(ConvertToolTest, ThePaletteForTheColourTabIsThePaletteFilesColours) {
    for (const char *file : {"ham6.iff", "gradient.iff"}) {
        const PaletteFile palette = PaletteFile::read(picturePath(file));
        ASSERT_TRUE(palette.ok) << palette.error.toStdString();
        EXPECT_EQ(toolOf(picturePath(file)).paletteColours(), palette.colours) << file;
    }
}
