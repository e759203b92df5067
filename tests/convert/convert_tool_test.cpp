// The Convert tool's rules and texts as tables on ConvertTool, without widgets: the facts shown
// about a picture, the display shape of its pixels, the export options as the library takes
// them, the sprite refusals, the status line and saving. The exports' bytes are the picture
// library's (tests/picture) and quillfen-iff's (tests/quillfen-iff).
#include "colour/PaletteFile.h"
#include "convert/ConvertTool.h"
#include "picture_path.h"

#include "QtPrinters.h"
#include "english_locale.h"
#include "golden_table.h"
#include "scratch_files.h"

#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// The rows of a table in data/cases.txt.
QList<QStringList> table(const char *name) {
    return golden::table(QUILLFEN_CONVERT_DATA "/cases.txt", name);
}

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

class ConvertToolTest : public EnglishLocale {
protected:
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
        // The colour map handed to the Colour tab is what the Colour tab's own palette file
        // reading gives for the same picture.
        EXPECT_EQ(tool.paletteColours(), PaletteFile::read(picturePath(file.c_str())).colours);
    }
}

TEST_F(ConvertToolTest, ThePixelsTakeTheShapeOfTheirDisplayMode) {
    for (const QStringList &c : table("display modes")) {
        picture::Picture p;
        p.source = c[0] == "Pbm"   ? picture::Source::Pbm
                   : c[0] == "Png" ? picture::Source::Png
                                   : picture::Source::Ilbm;
        p.hasViewportMode = c[1] != "-";
        p.viewportMode = c[1].toUInt(nullptr, 16);
        p.xAspect = c[2].section(':', 0, 0).toUInt();
        p.yAspect = c[2].section(':', 1).toUInt();
        ConvertTool tool;
        tool.use("p", p);
        const QSize aspect = tool.pixelAspect();
        EXPECT_EQ(QStringList(
                      {QString("%1:%2").arg(aspect.width()).arg(aspect.height()), tool.facts()[6]}),
                  c.mid(3));
    }
}

TEST_F(ConvertToolTest, TheControlsBecomeTheLibrarysOptions) {
    ConvertTool tool;
    const QStringList masks = {"None", "After", "Only"}; // amiga::MaskOutput in order
    for (const QStringList &r : table("raw options")) {
        tool.bitplanes.mask = r[0].toInt();
        tool.bitplanes.invertMask = r[1] == "1";
        tool.bitplanes.chunky = r[2] == "1";
        const picture::RawOptions options = tool.rawOptions();
        EXPECT_EQ(QStringList({masks.value(static_cast<int>(options.mask)),
                               options.invertMask ? "1" : "0"}),
                  r.mid(3))
            << r.join('|').toStdString();
    }
    for (const QStringList &s : table("sprite options")) {
        tool.sprites = {s[0].toInt(), false, s[1] == "1", true, s[2], s[3], true, std::nullopt};
        const amiga::SpriteOptions options = tool.spriteOptions().sprite;
        EXPECT_EQ(
            QStringList({QString::number(options.width),
                         options.position ? QString::number(options.position->vstart, 16) : "-"}),
            s.mid(4))
            << s.join('|').toStdString();
    }
}

// As quillfen-iff sprite refuses them, in its words.
TEST_F(ConvertToolTest, SpriteOptionsThatCannotGoTogether) {
    for (const QStringList &c : table("sprite refusals")) {
        ConvertTool tool;
        tool.sprites = {c[0].toInt(), false, c[2] == "1", c[1] == "1",
                        c[3],         c[4],  true,        std::nullopt};
        const QString problem = tool.spriteProblem();
        EXPECT_EQ(problem.isEmpty(), c[5].isEmpty()) << c.join('|').toStdString();
        EXPECT_TRUE(problem.contains(c[5])) << problem.toStdString();
    }
}

TEST_F(ConvertToolTest, TheStatusLineAndTheSave) {
    // 640 x 480 in 8 planes: 80 bytes a plane row, 640 x 480 bytes in all.
    ConvertTool tool = toolOf(picturePath("serenity.lbm"));
    EXPECT_EQ(tool.status(), "307,200 bytes.");
    EXPECT_EQ(tool.suggestedSaveName(), picturePath("serenity.raw"));
    QString said;
    ASSERT_TRUE(tool.save(QString::fromStdString(dir.file("planes.raw")), &said));
    EXPECT_EQ(said, "Saved 307,200 bytes to “planes.raw”.");

    // Text output: the status counts its lines.
    tool.which = ConvertTool::Export::Palette;
    tool.refresh();
    const std::string text = tool.output().text;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(tool.suggestedSaveName(), picturePath("serenity.s"));
    const long lines = std::count(text.begin(), text.end(), '\n');
    EXPECT_EQ(tool.status(), QString("%1 lines of text.").arg(lines));
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

    tool.reduction.colours = 4;
    tool.reduction.twelveBit = false;
    ASSERT_TRUE(tool.reduce());
    EXPECT_EQ(tool.picture->palette.size(), 3u); // three colours fit in four, kept exactly
    EXPECT_EQ(tool.facts()[3], "PNG indexed, reduced");
    EXPECT_TRUE(tool.originalAllowed());
    tool.reduction.colours = 2; // each reduction starts again from the picture as read
    ASSERT_TRUE(tool.reduce());
    EXPECT_EQ(tool.picture->palette.size(), 2u);
    ASSERT_TRUE(tool.useOriginal());
    EXPECT_TRUE(tool.picture->isTrueColour());
}

TEST_F(ConvertToolTest, TheSheetsFilesAndRefusals) {
    const QString path = QString::fromStdString(dir.file("sheet.png"));
    ConvertTool tool;
    tool.path = path;
    tool.which = ConvertTool::Export::Sheet;
    for (const QStringList &c : table("sheet files")) {
        tool.sheet.cut = c[0].toInt();
        tool.sheet.form = c[1].toInt();
        tool.sheet.index = c[2] == "1";
        tool.sheet.proportional = c[3] == "1";
        const QString saved = tool.suggestedSaveName(), second = tool.companionPath(saved);
        const picture::SheetOptions options = tool.sheetOptions(saved);
        EXPECT_EQ(QStringList({QFileInfo(saved).fileName(),
                               second.isEmpty() ? "-" : QFileInfo(second).fileName(),
                               QString::fromStdString(options.name),
                               QString::fromStdString(options.companionName)}),
                  c.mid(4))
            << c.join('|').toStdString();
        EXPECT_TRUE(second.isEmpty() || QFileInfo(second).path() == QFileInfo(saved).path());
    }
    for (const QStringList &c : table("sheet refusals")) {
        tool.sheet.cut = c[0].toInt();
        tool.sheet.width = c[1].toUInt();
        tool.sheet.height = c[2].toUInt();
        tool.sheet.first = c[3];
        const QString problem = tool.sheetProblem();
        EXPECT_EQ(problem.isEmpty(), c[4].isEmpty()) << c.join('|').toStdString();
        EXPECT_TRUE(c[4].isEmpty() || problem.startsWith(c[4]))
            << c.join('|').toStdString() << ": " << problem.toStdString();
    }
}

// The frame shown by itself is the pixels of its place on the sheet; the status counts the cuts.
TEST_F(ConvertToolTest, TheChosenFrameAndTheCount) {
    ConvertTool tool = toolOf(picturePath("serenity.lbm")); // 640 x 480
    tool.which = ConvertTool::Export::Sheet;
    tool.sheet.width = 100;
    tool.sheet.height = 200;
    tool.sheet.spacingX = 10;
    tool.sheet.frame = 7;    // 5 across (100 + 10 each, 540 used, 100 left over), 2 down
    tool.sheet.index = true; // saved beside the bytes: the count stays the bytes'
    tool.refresh();
    ASSERT_TRUE(tool.output().ok()) << tool.output().error;
    // Each frame 7 words (112 pixels) a row of 8 planes, 200 rows: 22,400 bytes; what is left
    // over is said after it.
    EXPECT_TRUE(tool.status().startsWith("10 frames: 224,000 bytes. The picture"))
        << tool.status().toStdString();
    const std::optional<picture::Picture> frame = tool.chosenFrame();
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->width * 1000 + frame->height, 100u * 1000 + 200u);
    for (unsigned y = 0; y < 200; y += 37)
        for (unsigned x = 0; x < 100; x += 13)
            ASSERT_EQ(frame->pixels[y * 100 + x], tool.picture->pixels[(200 + y) * 640 + 220 + x]);
    tool.sheet.frame = 10; // past the last
    EXPECT_FALSE(tool.chosenFrame());
}
