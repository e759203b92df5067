// The Convert tab, shown offscreen and driven through its controls: pictures open (ILBMs from
// other programs, PNGs written here by Qt's own writer) and show as the Amiga shows them; the
// bitplanes, palettes and sprites it saves are byte for byte what quillfen-iff writes with the
// same options, and where a picture is small enough, what the Hardware Reference Manual's layout
// gives by hand; a refused export writes nothing; the colour map goes to the Colour tab as a
// step that can be undone.
#include "colour/ColourViewController.h"
#include "colour/PaletteDataSource.h"
#include "colour/PaletteFile.h"
#include "convert/ConvertViewController.h"
#include "convert/PictureView.h"
#include "run_program.h"
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"
#include "ui_ConvertViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QtEndian>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <picture/picture.h>

namespace {

QString picturePath(const char *name) {
    return QStringLiteral(QUILLFEN_TEST_PICTURES "/") + QLatin1String(name);
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Colours of a picture as the tab shows them, row after row.
std::vector<QRgb> pixelsOf(const QImage &image) {
    std::vector<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back(image.pixel(x, y) | 0xff000000u);
    return pixels;
}

// A check box ticked or cleared from the keyboard, as a user does with Space: a click in the
// middle of a check box wider than its text would miss it.
void toggle(QCheckBox *box) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
}

// The four colours of the small picture below.
const QList<QRgb> kFourColours = {qRgb(0, 0, 0), qRgb(0xff, 0x00, 0x00), qRgb(0x00, 0xff, 0x00),
                                  qRgb(0x00, 0x00, 0xff)};

// A picture 20 pixels wide (two 16-pixel words a plane row, the second one part-filled) and two
// lines high. Line 0: colour 1 at x 0-7, colour 2 at 8-15, colour 3 at 16-19. Line 1: colour 3
// at x 0, colour 0 elsewhere.
int smallPictureColour(int x, int y) {
    if (y == 1)
        return x == 0 ? 3 : 0;
    return x < 8 ? 1 : x < 16 ? 2 : 3;
}

class ConvertTab : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        controller = std::make_unique<ConvertViewController>();
        controller->resize(1100, 720);
        controller->show();
        QApplication::processEvents();
        ui = controller->controls();
    }

    // The small picture as an indexed PNG written by Qt.
    QString smallPng() {
        QImage image(20, 2, QImage::Format_Indexed8);
        image.setColorTable(kFourColours);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 20; ++x)
                image.setPixel(x, y, static_cast<uint>(smallPictureColour(x, y)));
        const QString path = dir.filePath("small.png");
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    // An indexed PNG of sixteen colours, 32 x 4: two attached pairs of sprites.
    QString sixteenColourPng() {
        QImage image(32, 4, QImage::Format_Indexed8);
        QList<QRgb> colours;
        for (int i = 0; i < 16; ++i)
            colours.append(qRgb(i * 17, 255 - i * 17, (i * 85) & 0xff));
        image.setColorTable(colours);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 32; ++x)
                image.setPixel(x, y, static_cast<uint>((x / 2 + y) % 16));
        const QString path = dir.filePath("sixteen.png");
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    // A true-colour PNG: a ramp of many colours, or (few) a picture of three.
    QString trueColourPng(bool few) {
        QImage image(64, 16, QImage::Format_RGB32);
        const QRgb three[] = {qRgb(0x12, 0x34, 0x56), qRgb(0xfe, 0xdc, 0xba), qRgb(0, 0x80, 0)};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 64; ++x)
                image.setPixel(x, y,
                               few ? three[(x / 8 + y) % 3] : qRgb(x * 4, y * 16, 255 - x * 2));
        const QString path = dir.filePath(few ? "three.png" : "ramp.png");
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    // What the tab saves with its controls as they are.
    QByteArray saved() {
        const QString path = dir.filePath("tab.out");
        QFile::remove(path);
        EXPECT_TRUE(controller->saveOutput(path)) << controller->status().toStdString();
        return contents(path);
    }

    // What quillfen-iff writes: "command options FILE OUT".
    QByteArray commandLine(const std::string &command, const std::string &options,
                           const QString &picture) {
        const QString out = dir.filePath("cli.out");
        QFile::remove(out);
        const std::string arguments = command + " " + options + " '" + picture.toStdString() +
                                      "' '" + out.toStdString() + "'";
        const testprogram::Outcome outcome = testprogram::run(QUILLFEN_IFF_TOOL, arguments);
        EXPECT_EQ(outcome.status, 0) << arguments << "\n" << outcome.err;
        return contents(out);
    }

    void open(const QString &path) {
        ASSERT_TRUE(controller->openPictureFile(path)) << controller->status().toStdString();
    }

    void showExport(ConvertViewController::Export which) {
        ui->exportTabWidget->setCurrentIndex(static_cast<int>(which));
    }

    QTemporaryDir dir;
    std::unique_ptr<ConvertViewController> controller;
    Ui::ConvertViewController *ui = nullptr;
};

} // namespace

TEST_F(ConvertTab, AnIlbmShowsAsThePictureLibraryRendersIt) {
    struct Case {
        const char *file;
        QString size, depth, mode, colours, transparency, display;
    } cases[] = {
        // SOURCES.md beside the pictures says what each one is; the display modes are their
        // CAMGs: $800 (HAM), $11000 (NTSC, lores), none in the PBM.
        {"ham6.iff", "256 × 256", "6 planes", "ILBM HAM6", "16 in the colour map", "none",
         "lores, pixels 1 × 1"},
        {"gradient.iff", "320 × 200", "3 planes", "ILBM indexed", "8 in the colour map", "none",
         "lores, pixels 1 × 1"},
        {"test-stencil.iff", "320 × 200", "8 planes", "ILBM indexed", "256 in the colour map",
         "mask plane", "lores, pixels 1 × 1"},
        {"serenity.lbm", "640 × 480", "8 planes", "PBM indexed", "256 in the colour map", "none",
         "lores, pixels 1 × 1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        open(picturePath(c.file));
        EXPECT_EQ(ui->fileNameValueLabel->text(), QLatin1String(c.file));
        EXPECT_EQ(ui->sizeValueLabel->text(), c.size);
        EXPECT_EQ(ui->depthValueLabel->text(), c.depth);
        EXPECT_EQ(ui->modeValueLabel->text(), c.mode);
        EXPECT_EQ(ui->coloursValueLabel->text(), c.colours);
        EXPECT_EQ(ui->transparencyValueLabel->text(), c.transparency);
        EXPECT_EQ(ui->displayValueLabel->text(), c.display);

        std::string error;
        const auto read = picture::readPictureFile(picturePath(c.file).toStdString(), &error);
        ASSERT_TRUE(read) << error;
        std::vector<QRgb> rendered;
        for (const amiga::Rgb8 &colour : picture::render(*read))
            rendered.push_back(qRgb(colour.red, colour.green, colour.blue));
        EXPECT_TRUE(pixelsOf(controller->shownImage()) == rendered);
        ASSERT_EQ(ui->colourMapStrip->colours().size(),
                  static_cast<qsizetype>(read->palette.size()));
        for (std::size_t i = 0; i < read->palette.size(); ++i)
            EXPECT_EQ(ui->colourMapStrip->colours()[static_cast<qsizetype>(i)],
                      QColor(read->palette[i].red, read->palette[i].green, read->palette[i].blue));
        // An indexed picture has nothing to reduce.
        EXPECT_FALSE(ui->reduceGroupBox->isEnabled());
    }
    // The brush names a transparent colour in its header (masking 2); it was drawn hires
    // interlaced (CAMG $19004).
    open(picturePath("brush-transparent-color.iff"));
    EXPECT_EQ(ui->displayValueLabel->text(), "hires interlaced, pixels 1 × 1");
    EXPECT_TRUE(ui->transparencyValueLabel->text().startsWith("colour "))
        << ui->transparencyValueLabel->text().toStdString();
}

TEST_F(ConvertTab, APngWrittenByQtShowsItsOwnColoursPixelForPixel) {
    open(smallPng());
    EXPECT_EQ(ui->sizeValueLabel->text(), "20 × 2");
    EXPECT_EQ(ui->modeValueLabel->text(), "PNG indexed");
    EXPECT_EQ(ui->coloursValueLabel->text(), "4 in the colour map");
    const QImage shown = controller->shownImage();
    ASSERT_EQ(shown.size(), QSize(20, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(shown.pixel(x, y) | 0xff000000u, kFourColours[smallPictureColour(x, y)])
                << x << "," << y;

    // At 4x every picture pixel is a 4 x 4 block of its own colour: nothing is smoothed.
    userinput::chooseWithKeys(ui->zoomComboBox, 3);
    QApplication::processEvents();
    EXPECT_EQ(ui->pictureView->scale(), 4.0);
    const QImage screen = ui->pictureView->viewport()->grab().toImage();
    // The picture's first screen pixel, where its 4 x 4 blocks start.
    const QPoint origin = ui->pictureView->pictureRect().topLeft().toPoint();
    const qreal ratio = screen.devicePixelRatio();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 20; ++x)
            for (const QPoint corner : {QPoint(0, 0), QPoint(3, 3)}) {
                const QPoint at = origin + QPoint(x * 4, y * 4) + corner;
                EXPECT_EQ(screen.pixel((QPointF(at) * ratio).toPoint()) | 0xff000000u,
                          kFourColours[smallPictureColour(x, y)])
                    << x << "," << y;
            }
    // Fitted, the small picture grows by whole screen pixels.
    userinput::chooseWithKeys(ui->zoomComboBox, 0);
    const double devicePixels = ui->pictureView->scale() * ui->pictureView->devicePixelRatioF();
    EXPECT_EQ(devicePixels, std::floor(devicePixels));
    EXPECT_GT(ui->pictureView->scale(), 4.0);
}

// An ILBM keeps the display mode it was drawn in (CAMG), and the display gives its pixels that
// mode's shape: a lores pixel is as wide as a non-interlaced line is tall, a hires pixel half as
// wide, an interlaced line half as tall (Hardware Reference Manual, "Playfield Hardware": 320
// lores or 640 hires pixels across the same screen, 200 or 400 interlaced lines down it). The
// pictures are made by netpbm's ppmtoilbm, with its switches for the mode.
TEST_F(ConvertTab, AnIlbmShowsAtItsDisplayModesPixelAspect) {
    if (std::system("command -v ppmtoilbm >/dev/null") != 0)
        GTEST_SKIP() << "netpbm's ppmtoilbm is not installed (scripts/install-deps installs it)";
    // Four colours, every pixel unlike its neighbours across and down.
    const QRgb colours[] = {qRgb(0xff, 0, 0), qRgb(0, 0xff, 0), qRgb(0, 0, 0xff),
                            qRgb(0xff, 0xff, 0xff)};
    QImage drawn(6, 3, QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            drawn.setPixel(x, y, colours[(x + 2 * y) % 4]);
    const QString ppm = dir.filePath("drawn.ppm");
    ASSERT_TRUE(drawn.save(ppm, "PPM"));

    // Each picture pixel's block at the view's scale now has the pixel's colour throughout.
    auto blocksAre = [&](QSize block) {
        QApplication::processEvents();
        const QImage screen = ui->pictureView->viewport()->grab().toImage();
        const qreal ratio = screen.devicePixelRatio();
        const QPointF origin = ui->pictureView->pictureRect().topLeft();
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                for (int dy = 0; dy < block.height(); ++dy)
                    for (int dx = 0; dx < block.width(); ++dx) {
                        const QPointF at = origin + QPointF(x * block.width() + dx + 0.5,
                                                            y * block.height() + dy + 0.5);
                        const QPoint device(static_cast<int>(std::floor(at.x() * ratio)),
                                            static_cast<int>(std::floor(at.y() * ratio)));
                        ASSERT_EQ(screen.pixel(device) | 0xff000000u, drawn.pixel(x, y))
                            << x << "," << y << " +" << dx << "," << dy;
                    }
    };

    const struct {
        const char *switches;
        QSize aspect; // screen pixels across and down at 1x
        const char *display;
    } modes[] = {
        {"", {1, 1}, "lores, pixels 1 × 1"},
        // Hires: twice as tall as wide; lores interlaced: twice as wide as tall.
        {"-hires", {1, 2}, "hires, pixels 1 × 2"},
        {"-lace", {2, 1}, "lores interlaced, pixels 2 × 1"},
        {"-hires -lace", {1, 1}, "hires interlaced, pixels 1 × 1"},
        // Superhires (35 ns pixels), a quarter of a lores pixel wide.
        {"-camg 0x8020", {1, 4}, "superhires, pixels 1 × 4"},
        {"-camg 0x8024", {1, 2}, "superhires interlaced, pixels 1 × 2"},
    };
    const QString ilbm = dir.filePath("drawn.iff");
    for (const auto &m : modes) {
        SCOPED_TRACE(m.switches);
        ASSERT_EQ(testprogram::run("ppmtoilbm", std::string(m.switches) + " '" + ppm.toStdString() +
                                                    "' >'" + ilbm.toStdString() + "'")
                      .status,
                  0);
        open(ilbm);
        EXPECT_TRUE(ui->aspectCheckBox->isChecked()); // on unless the user turns it off
        EXPECT_EQ(ui->displayValueLabel->text(), QString::fromUtf8(m.display));
        userinput::chooseWithKeys(ui->zoomComboBox, 1);
        EXPECT_EQ(ui->pictureView->pixelAspect(), m.aspect);
        EXPECT_EQ(ui->pictureView->pictureRect().size(),
                  QSizeF(6 * m.aspect.width(), 3 * m.aspect.height()));
        blocksAre(m.aspect);
        // At 4x each of them four times as large.
        userinput::chooseWithKeys(ui->zoomComboBox, 3);
        blocksAre(m.aspect * 4);
        // Fitted, the view keeps the shape, by whole screen pixels.
        userinput::chooseWithKeys(ui->zoomComboBox, 0);
        const QSizeF pixel = ui->pictureView->pixelSize() * ui->pictureView->devicePixelRatioF();
        EXPECT_EQ(pixel.width() * m.aspect.height(), pixel.height() * m.aspect.width());
        EXPECT_EQ(pixel.width(), std::floor(pixel.width()));
        EXPECT_GT(pixel.width(), 4.0);
        // Off, every pixel is square again; the picture itself is the same either way.
        toggle(ui->aspectCheckBox);
        EXPECT_EQ(ui->pictureView->pixelAspect(), QSize(1, 1));
        userinput::chooseWithKeys(ui->zoomComboBox, 2);
        blocksAre({2, 2});
        EXPECT_TRUE(pixelsOf(controller->shownImage()) == pixelsOf(drawn));
        toggle(ui->aspectCheckBox);
    }
    // Without a CAMG, the BMHD's pixel aspect tells: ppmtoilbm's hires picture (xAspect 10,
    // yAspect 20) with its CAMG chunk taken out, the FORM's size made 12 bytes smaller.
    ASSERT_EQ(testprogram::run("ppmtoilbm",
                               "-hires '" + ppm.toStdString() + "' >'" + ilbm.toStdString() + "'")
                  .status,
              0);
    QByteArray bytes = contents(ilbm);
    const qsizetype camg = bytes.indexOf("CAMG");
    ASSERT_GT(camg, 12);
    bytes.remove(camg, 12);
    qToBigEndian<quint32>(qFromBigEndian<quint32>(bytes.constData() + 4) - 12, bytes.data() + 4);
    const QString noCamg = dir.filePath("nocamg.iff");
    QFile out(noCamg);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    open(noCamg);
    EXPECT_EQ(ui->pictureView->pixelAspect(), QSize(1, 2));
    EXPECT_EQ(ui->displayValueLabel->text(), "none saved, BMHD aspect 10:20, pixels 1 × 2");

    // A PNG has no display mode: square pixels.
    open(smallPng());
    EXPECT_TRUE(ui->aspectCheckBox->isChecked());
    EXPECT_EQ(ui->pictureView->pixelAspect(), QSize(1, 1));
    EXPECT_EQ(ui->displayValueLabel->text(), "none saved, square pixels");
}

// The sprite controls as a user types them: the X field keeps lower case, and the text shown is
// the text saved. (The words themselves are quillfen-iff's, below, worked out by hand in
// tests/amiga/sprites_test.cpp.)
TEST_F(ConvertTab, TheSpriteTextShownIsTheTextSaved) {
    open(smallPng());
    showExport(ConvertViewController::Export::Sprites);
    toggle(ui->controlWordsCheckBox);
    userinput::chooseWithKeys(ui->spriteChipsetComboBox, 1);
    userinput::type(ui->spriteXLineEdit, "C0.8"); // upper case becomes lower case
    userinput::type(ui->spriteYLineEdit, "6d");
    EXPECT_EQ(ui->spriteXLineEdit->text(), "c0.8");
    userinput::chooseWithKeys(ui->spriteOutputComboBox, 0);
    const QString text = ui->exportCodeTextView->toPlainText();
    EXPECT_TRUE(text.contains("\tdc.w\t$6d60,$6f10\n")) << text.toStdString();
    EXPECT_EQ(saved(), text.toUtf8());
}

// The X field takes what --x takes: three hexadecimal digits of lores pixels and, after a point,
// a fraction of 4, 8 or c. Anything else is not taken at the keyboard; a point without its
// fraction, or a fraction off AGA, is refused in the sentence quillfen-iff says.
TEST_F(ConvertTab, TheSpriteXFieldTakesQuarterPixelsOnAga) {
    open(smallPng());
    showExport(ConvertViewController::Export::Sprites);
    toggle(ui->controlWordsCheckBox);
    userinput::type(ui->spriteYLineEdit, "6d");
    const struct {
        const char *typed, *kept;
    } keys[] = {{"c0.0", "c0."}, {"c0.48", "c0.4"}, {"1g2", "12"},
                {"1234", "123"}, {"c0..8", "c0.8"}, {"$c0", "c0"}};
    for (const auto &k : keys) {
        userinput::type(ui->spriteXLineEdit, k.typed);
        EXPECT_EQ(ui->spriteXLineEdit->text(), k.kept) << k.typed;
    }

    const QString target = dir.filePath("never.spr");
    auto refusedAs = [&](const char *x, const char *chipset, const char *words) {
        SCOPED_TRACE(x);
        userinput::type(ui->spriteXLineEdit, x);
        EXPECT_FALSE(controller->output().ok());
        EXPECT_FALSE(controller->saveOutput(target));
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(controller->status().contains(words)) << controller->status().toStdString();
        // The command line refuses the same position in the same words.
        const testprogram::Outcome outcome = testprogram::run(
            QUILLFEN_IFF_TOOL, std::string("sprite --chipset ") + chipset + " --x " + x +
                                   " --y 6d '" + smallPng().toStdString() + "' '" +
                                   target.toStdString() + "'");
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_NE(outcome.err.find(words), std::string::npos) << outcome.err;
    };
    refusedAs("c0.", "aga", "must be .4, .8 or .c (a quarter, a half or three quarters");
    refusedAs("200", "aga", "takes HSTART in lores pixels, a hexadecimal number from 0 to 1ff");
    userinput::chooseWithKeys(ui->spriteChipsetComboBox, 0);
    refusedAs("c0.4", "ocs", "places a sprite between lores pixels, which only AGA can do");
    // A whole pixel is OCS's too.
    userinput::type(ui->spriteXLineEdit, "c0");
    EXPECT_TRUE(controller->output().ok()) << controller->status().toStdString();
}

TEST_F(ConvertTab, ExportsAreTheBytesQuillfenIffWrites) {
    struct Bitplanes {
        const char *file;
        int layout, depth, mask;
        bool inverted, chunky;
        int transparent;
        const char *options;
    } bitplanes[] = {
        {"gradient.iff", 0, 0, 0, false, false, -1, ""},
        {"gradient.iff", 1, 0, 0, false, false, -1, "--planar"},
        {"gradient.iff", 0, 2, 0, false, false, -1, "--depth 2"},
        {"gradient.iff", 0, 0, 1, false, false, 3, "--mask --transparent 3"},
        {"gradient.iff", 0, 0, 0, false, true, -1, "--chunky"},
        {"brush-transparent-color.iff", 0, 0, 1, false, false, -1, "--mask"},
        {"brush-transparent-color.iff", 1, 0, 1, true, false, -1, "--planar --mask=inverted"},
        {"test-stencil.iff", 0, 0, 2, false, false, -1, "--mask-only"},
        {"test-stencil.iff", 1, 0, 2, true, false, -1, "--planar --mask-only=inverted"},
        {"ham6.iff", 0, 0, 0, false, false, -1, ""},
        {"serenity.lbm", 1, 5, 0, false, false, -1, "--planar --depth 5"},
    };
    for (const Bitplanes &c : bitplanes) {
        SCOPED_TRACE(std::string(c.file) + " " + c.options);
        open(picturePath(c.file));
        showExport(ConvertViewController::Export::Bitplanes);
        if (ui->chunkyCheckBox->isChecked() != c.chunky)
            toggle(ui->chunkyCheckBox);
        if (!c.chunky) {
            userinput::chooseWithKeys(ui->bitplaneLayoutComboBox, c.layout);
            userinput::chooseWithKeys(ui->maskComboBox, c.mask);
        }
        ui->bitplaneDepthSpinBox->setValue(c.depth);
        if (ui->invertMaskCheckBox->isChecked() != c.inverted)
            toggle(ui->invertMaskCheckBox);
        ui->bitplaneTransparentSpinBox->setValue(c.transparent);
        const QByteArray fromTab = saved();
        EXPECT_FALSE(fromTab.isEmpty());
        EXPECT_TRUE(fromTab == commandLine("raw", c.options, picturePath(c.file)));
    }

    struct Palette {
        const char *file;
        int format, output, colours;
        const char *options;
    } palettes[] = {
        {"gradient.iff", 0, 0, 0, "--format words"},
        {"gradient.iff", 1, 0, 8, "--format rgb8 --colors 8"},
        {"gradient.iff", 2, 1, 0, "--format rgb32 --binary"},
        {"gradient.iff", 3, 1, 2, "--format loadrgb32 --binary --colors 2"},
        {"ham6.iff", 4, 0, 0, "--format copper"},
        {"test-stencil.iff", 5, 0, 0, "--format copper-aga"},
        {"test-stencil.iff", 5, 1, 40, "--format copper-aga --binary --colors 40"},
    };
    for (const Palette &c : palettes) {
        SCOPED_TRACE(std::string(c.file) + " " + c.options);
        open(picturePath(c.file));
        showExport(ConvertViewController::Export::Palette);
        userinput::chooseWithKeys(ui->paletteFormatComboBox, c.format);
        userinput::chooseWithKeys(ui->paletteOutputComboBox, c.output);
        ui->paletteColoursSpinBox->setValue(c.colours);
        const QByteArray fromTab = saved();
        EXPECT_FALSE(fromTab.isEmpty());
        EXPECT_TRUE(fromTab == commandLine("palette", c.options, picturePath(c.file)));
        // The text shown is the text saved, for Edit > Copy Output.
        if (c.output == 0) {
            EXPECT_EQ(controller->codeOutputView()->toPlainText().toUtf8(), fromTab);
        }
    }

    struct Sprites {
        bool small; // the small PNG, else one of sixteen colours for attached pairs
        int width;
        bool attached, control;
        const char *x, *y;
        int chipset, output, transparent;
        const char *options;
    } sprites[] = {
        {true, 0, false, false, "", "", 0, 1, -1, ""},
        {true, 0, false, false, "", "", 0, 0, -1, "--text"},
        {true, 0, false, true, "", "", 0, 0, -1, "--control --text"},
        {true, 0, false, true, "a1", "1f0", 0, 1, -1, "--x a1 --y 1f0"},
        {true, 1, false, true, "80", "2c", 1, 0, -1,
         "--width 32 --chipset aga --x 80 --y 2c --text"},
        {true, 2, false, true, "1c3", "3fd", 1, 1, -1, "--width 64 --chipset aga --x 1c3 --y 3fd"},
        {true, 0, false, false, "", "", 0, 0, 1, "--transparent 1 --text"},
        {false, 0, true, true, "80", "2c", 0, 1, -1, "--attached --x 80 --y 2c"},
        {false, 0, true, false, "", "", 1, 0, -1, "--attached --chipset aga --text"},
        {true, 0, false, true, "c0.8", "6d", 1, 1, -1, "--chipset aga --x c0.8 --y 6d"},
        {true, 1, false, true, "1f.4", "2c", 1, 0, -1,
         "--width 32 --chipset aga --x 1f.4 --y 2c --text"},
        {false, 0, true, true, "a0.c", "1f0", 1, 1, -1,
         "--attached --chipset aga --x a0.c --y 1f0"},
    };
    const QString small = smallPng();
    const QString sixteen = sixteenColourPng();
    for (const Sprites &c : sprites) {
        SCOPED_TRACE(c.options);
        const QString file = c.small ? small : sixteen;
        open(file);
        showExport(ConvertViewController::Export::Sprites);
        userinput::chooseWithKeys(ui->spriteChipsetComboBox, c.chipset);
        userinput::chooseWithKeys(ui->spriteWidthComboBox, c.width);
        if (ui->attachedCheckBox->isChecked() != c.attached)
            toggle(ui->attachedCheckBox);
        if (ui->controlWordsCheckBox->isChecked() != c.control)
            toggle(ui->controlWordsCheckBox);
        if (c.control) {
            userinput::type(ui->spriteXLineEdit, QLatin1String(c.x));
            userinput::type(ui->spriteYLineEdit, QLatin1String(c.y));
        }
        userinput::chooseWithKeys(ui->spriteOutputComboBox, c.output);
        ui->spriteTransparentSpinBox->setValue(c.transparent);
        const QByteArray fromTab = saved();
        EXPECT_FALSE(fromTab.isEmpty());
        EXPECT_TRUE(fromTab == commandLine("sprite", c.options, file));
    }
}

TEST_F(ConvertTab, TrueColourIsReducedAndTheOriginalKeptToReduceAgain) {
    // Three colours fit in four: they are kept exactly, each pixel its own colour.
    const QString three = trueColourPng(true);
    open(three);
    const std::vector<QRgb> colours = pixelsOf(QImage(three).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(ui->modeValueLabel->text(), "PNG 24-bit");
    EXPECT_EQ(ui->coloursValueLabel->text(), "3 distinct");
    EXPECT_TRUE(ui->reduceGroupBox->isEnabled());
    EXPECT_FALSE(ui->usePaletteButton->isEnabled());
    // Bitplanes need colour numbers: refused, and the status line says to reduce first.
    showExport(ConvertViewController::Export::Bitplanes);
    EXPECT_FALSE(controller->output().ok());
    EXPECT_FALSE(ui->saveButton->isEnabled());
    EXPECT_TRUE(controller->status().contains("reduce")) << controller->status().toStdString();

    ui->reduceColoursSpinBox->setValue(4);
    userinput::chooseWithKeys(ui->reducePrecisionComboBox, 1); // AGA 24-bit
    userinput::click(ui->reduceButton);
    ASSERT_TRUE(controller->workingPicture().has_value());
    EXPECT_FALSE(controller->workingPicture()->isTrueColour());
    EXPECT_EQ(controller->workingPicture()->palette.size(), 3u);
    EXPECT_TRUE(pixelsOf(controller->shownImage()) == colours);
    EXPECT_TRUE(controller->output().ok()) << controller->status().toStdString();
    EXPECT_TRUE(ui->usePaletteButton->isEnabled());

    // Many colours: the tab's reduction is the command line's --reduce, dithered or not, OCS
    // or AGA; each reduction starts again from the picture as read.
    const QString ramp = trueColourPng(false);
    open(ramp);
    struct Case {
        int colours, precision, dither; // dither: the list's None, Ordered, Error diffusion
        const char *options;
    } cases[] = {{16, 0, 2, "--reduce 16 --dither --chipset ocs"},
                 {32, 1, 0, "--reduce 32 --chipset aga"},
                 {12, 0, 1, "--reduce 12 --dither=ordered --chipset ocs"},
                 {2, 0, 0, "--reduce 2 --chipset ocs"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options);
        ui->reduceColoursSpinBox->setValue(c.colours);
        userinput::chooseWithKeys(ui->reducePrecisionComboBox, c.precision);
        userinput::chooseWithKeys(ui->ditherComboBox, c.dither);
        userinput::click(ui->reduceButton);
        EXPECT_EQ(controller->workingPicture()->palette.size(),
                  static_cast<std::size_t>(c.colours));
        EXPECT_TRUE(controller->originalPicture()->isTrueColour());
        EXPECT_TRUE(saved() == commandLine("raw", c.options, ramp));
    }
    // Original goes back to the picture as read.
    EXPECT_TRUE(ui->originalButton->isEnabled());
    userinput::click(ui->originalButton);
    EXPECT_TRUE(controller->workingPicture()->isTrueColour());
    EXPECT_FALSE(controller->output().ok());
}

TEST_F(ConvertTab, ARefusedExportSaysWhyAndWritesNothing) {
    open(picturePath("gradient.iff"));
    const QString target = dir.filePath("never.bin");
    auto refused = [&](const char *what) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(controller->output().ok());
        EXPECT_FALSE(ui->saveButton->isEnabled());
        EXPECT_FALSE(controller->status().isEmpty());
        EXPECT_TRUE(controller->status().endsWith(QLatin1Char('.')))
            << controller->status().toStdString();
        EXPECT_FALSE(controller->saveOutput(target));
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(ui->exportCodeTextView->toPlainText().isEmpty());
    };
    // Eight colours are too many for a sprite of three.
    showExport(ConvertViewController::Export::Sprites);
    refused("sprite colours");
    // A position needs both its halves; 32-pixel sprites need AGA.
    open(sixteenColourPng());
    toggle(ui->attachedCheckBox);
    EXPECT_TRUE(controller->output().ok());
    toggle(ui->controlWordsCheckBox);
    userinput::type(ui->spriteXLineEdit, "80");
    refused("x without y");
    userinput::type(ui->spriteYLineEdit, "2c");
    EXPECT_TRUE(controller->output().ok());
    userinput::chooseWithKeys(ui->spriteWidthComboBox, 1);
    refused("32 pixels on OCS");
    // A colour map of 8 has no 9th colour, nor a colour 8 to make transparent.
    open(picturePath("gradient.iff"));
    showExport(ConvertViewController::Export::Palette);
    ui->paletteColoursSpinBox->setValue(9);
    refused("palette colours");
    showExport(ConvertViewController::Export::Bitplanes);
    toggle(ui->chunkyCheckBox);
    ui->bitplaneTransparentSpinBox->setValue(8);
    refused("transparent colour past the colour map");
}

TEST_F(ConvertTab, AFileThatCannotBeReadLeavesThePictureAndSaysWhy) {
    open(picturePath("ham6.iff"));
    const std::vector<QRgb> before = pixelsOf(controller->shownImage());
    QFile empty(dir.filePath("empty.iff"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile text(dir.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all\n");
    text.close();
    // A device and a FIFO are refused before they are read: neither fills the memory nor keeps
    // the tab waiting.
    const QString fifo = dir.filePath("fifo.iff");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path :
         {picturePath("truncated-bmhd-chunk.iff"), picturePath("missing-body-chunk.iff"),
          dir.filePath("empty.iff"), dir.filePath("notes.png"), dir.filePath("missing.iff"),
          QStringLiteral("/dev/zero"), fifo}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(controller->openPictureFile(path));
        // A sentence naming the file.
        EXPECT_TRUE(controller->status().contains(QFileInfo(path).fileName()))
            << controller->status().toStdString();
        EXPECT_TRUE(controller->status().endsWith('.')) << controller->status().toStdString();
        EXPECT_EQ(ui->fileNameValueLabel->text(), "ham6.iff");
        EXPECT_EQ(ui->modeValueLabel->text(), "ILBM HAM6");
        EXPECT_TRUE(pixelsOf(controller->shownImage()) == before);
    }
}

TEST_F(ConvertTab, AReadingGoesOnWhileTheTabSaysSoAndASaveThatFailsKeepsTheFile) {
    // The reading is on a worker thread: the tab is busy until it ends, and says so.
    QSignalSpy read(controller.get(), &ConvertViewController::pictureRead);
    controller->startReading(picturePath("gradient.iff"));
    EXPECT_TRUE(controller->isReading());
    EXPECT_FALSE(ui->openPictureButton->isEnabled());
    EXPECT_EQ(controller->cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(controller->status(), "Reading “gradient.iff”…");
    ASSERT_TRUE(read.count() == 1 || read.wait());
    EXPECT_EQ(read.first().first().toBool(), true);
    EXPECT_TRUE(ui->openPictureButton->isEnabled());
    EXPECT_EQ(controller->cursor().shape(), Qt::ArrowCursor);

    // A disk that fills at any byte (the file size limit stands in for it): the file saved
    // over is as it was, nothing is left beside it, and the status says so.
    const QString target = dir.filePath("planes.raw");
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    for (const rlim_t failsAfter : {rlim_t{0}, rlim_t{100}}) {
        SCOPED_TRACE(failsAfter);
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = previous;
        lower.rlim_cur = failsAfter;
        setrlimit(RLIMIT_FSIZE, &lower);
        const bool saved = controller->saveOutput(target);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, handler);
        EXPECT_FALSE(saved);
        EXPECT_EQ(controller->status(),
                  "“planes.raw” cannot be written: File too large; it is left as it was.");
        EXPECT_EQ(contents(target), "old");
        QStringList after = before;
        if (!after.contains("planes.raw"))
            after.append("planes.raw");
        after.sort();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), after);
    }
}

TEST_F(ConvertTab, APictureDroppedOnTheTabOpens) {
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(picturePath("gradient.iff"))});
    const QPoint middle = controller->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(controller.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    // The picture is read on a worker thread; the tab shows it when it is read.
    QSignalSpy read(controller.get(), &ConvertViewController::pictureRead);
    QApplication::sendEvent(controller.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(read.count() == 1 || read.wait());
    EXPECT_EQ(ui->fileNameValueLabel->text(), "gradient.iff");
    delete data;
}

// In the window: Ctrl+7, File > Open Picture, Edit > Copy Output, and the palette handed to
// the Colour tab, where Edit > Undo takes it back.
class ConvertInTheWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        convert = window.convertViewController();
        ASSERT_NE(convert, nullptr);
    }
    QAction *action(const char *name) { return window.findChild<QAction *>(name); }

    MainWindow window;
    ConvertViewController *convert = nullptr;
};

TEST_F(ConvertInTheWindow, TheMenusReachTheTab) {
    QTest::keyClick(&window, Qt::Key_7, Qt::ControlModifier);
    EXPECT_EQ(window.tabViewController()->currentWidget(), convert);
    EXPECT_EQ(window.tabViewController()->tabText(6), "Convert");
    EXPECT_TRUE(action("showConvertAction")->isChecked());

    window.tabViewController()->setCurrentIndex(0);
    QAction *open = action("openPictureAction");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+Shift+O"));
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window.tabViewController()->currentWidget(), convert);
    auto *dialog = window.findChild<QFileDialog *>();
    ASSERT_NE(dialog, nullptr) << "Ctrl+Shift+O opened no file dialog";
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    const QStringList filters = dialog->nameFilters();
    EXPECT_TRUE(filters.first().contains("*.png") && filters.first().contains("*.iff"))
        << filters.join(";;").toStdString();
    EXPECT_EQ(filters.last(), "All files (*)");
    dialog->reject();

    // A picture dropped on the window while the tab is on show is for the tab, not the palette.
    const QList<Colour> palette =
        window.colourViewController()->paletteDataSource()->paletteEntries();
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(picturePath("gradient.iff"))});
    const QPoint middle = window.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QSignalSpy read(convert, &ConvertViewController::pictureRead);
    QApplication::sendEvent(&window, &drop);
    ASSERT_TRUE(read.count() == 1 || read.wait());
    EXPECT_EQ(window.tabViewController()->currentWidget(), convert);
    EXPECT_EQ(convert->pictureName(), "gradient.iff");
    EXPECT_EQ(window.colourViewController()->paletteDataSource()->paletteEntries(), palette);
    delete data;

    // Edit > Copy Output copies the palette text.
    convert->controls()->exportTabWidget->setCurrentIndex(1);
    EXPECT_EQ(window.currentOutputView(), convert->codeOutputView());
    ASSERT_TRUE(action("copyOutputAction")->isEnabled());
    action("copyOutputAction")->trigger();
    EXPECT_FALSE(QApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(QApplication::clipboard()->text(), convert->codeOutputView()->toPlainText());
}

// At the window's smallest the controls still show their whole text: the long palette format
// names, the aspect check box beside the zoom.
TEST_F(ConvertInTheWindow, TheSmallestWindowShowsTheControlsWhole) {
    // The window's minimum is held within the screen: on a narrow one every control is squeezed.
    if (window.minimumWidth() >= window.screen()->availableGeometry().width())
        GTEST_SKIP() << "the screen is narrower than the window's minimum width";
    window.tabViewController()->setCurrentWidget(convert);
    window.resize(window.minimumSize());
    Ui::ConvertViewController *ui = convert->controls();
    // A picture of a long name and 256 colours.
    ASSERT_TRUE(convert->openPictureFile(picturePath("serenity.lbm")));
    ui->exportTabWidget->setCurrentIndex(1);
    QApplication::processEvents();
    // A pop-up shows its text beside an arrow of some 20 pixels.
    for (QComboBox *popUp : {ui->paletteFormatComboBox, ui->zoomComboBox})
        for (int index = 0; index < popUp->count(); ++index) {
            const QString item = popUp->itemText(index);
            EXPECT_GE(popUp->width(), popUp->fontMetrics().horizontalAdvance(item) + 24)
                << item.toStdString();
        }
    for (QAbstractButton *button :
         std::initializer_list<QAbstractButton *>{ui->aspectCheckBox, ui->openPictureButton})
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
}

TEST_F(ConvertInTheWindow, ThePaletteGoesToTheColourTabAsAStepThatCanBeUndone) {
    ColourViewController *colour = window.colourViewController();
    const QList<Colour> before = colour->paletteDataSource()->paletteEntries();
    ASSERT_TRUE(convert->openPictureFile(picturePath("ham6.iff")));
    window.tabViewController()->setCurrentWidget(convert);
    userinput::click(convert->controls()->usePaletteButton);

    // The same colours as the Colour tab's own Load Palette reads from the file.
    const PaletteFile file = PaletteFile::read(picturePath("ham6.iff"));
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    EXPECT_EQ(window.tabViewController()->currentWidget(), colour);
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries(), file.colours);
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries().size(), 16);

    QAction *undo = action("undoAction");
    QAction *redo = action("redoAction");
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries(), before);
    redo->trigger();
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries(), file.colours);
}

TEST_F(ConvertInTheWindow, F1ShowsTheGuideWithTheTabsSection) {
    window.tabViewController()->setCurrentWidget(convert);
    QTest::keyClick(&window, Qt::Key_F1);
    QTextBrowser *guide = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == "userGuideBrowser" && top->isVisible())
            guide = qobject_cast<QTextBrowser *>(top);
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(
        guide->toPlainText().contains("Convert: pictures to bitplanes, palettes and sprites"));
    guide->close();
}

TEST_F(ConvertTab, EveryReaderOfAPaletteGivesTheSameColoursOfTheSamePicture) {
    // The Colour tab's palette file, this tab and quillfen-iff palette read one picture of a
    // file the same way: the real pictures, and a CAT of two of them, picture by picture.
    QStringList files;
    for (const QString &name : QDir(QStringLiteral(QUILLFEN_TEST_PICTURES))
                                   .entryList({"*.iff", "*.lbm"}, QDir::Files, QDir::Name))
        files << picturePath(name.toLatin1().constData());
    const QString cat = dir.filePath("two.iff");
    {
        const QByteArray forms =
            contents(picturePath("gradient.iff")) + contents(picturePath("ham6.iff"));
        QByteArray bytes = "CAT ";
        const quint32 size = qToBigEndian(static_cast<quint32>(forms.size() + 4));
        bytes.append(reinterpret_cast<const char *>(&size), 4).append("ILBM").append(forms);
        QFile file(cat);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    struct Case {
        QString path;
        unsigned index;
    };
    std::vector<Case> cases;
    for (const QString &file : files)
        cases.push_back({file, 0});
    cases.push_back({cat, 0});
    cases.push_back({cat, 1});
    int compared = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " picture " + std::to_string(c.index + 1));
        const PaletteFile tab = PaletteFile::read(c.path, c.index);
        const testprogram::Outcome program = testprogram::run(
            QUILLFEN_IFF_TOOL, "palette --format rgb8 --binary --picture " +
                                   std::to_string(c.index + 1) + " '" + c.path.toStdString() + "'");
        EXPECT_EQ(program.status == 0, tab.ok) << program.err << tab.error.toStdString();
        if (!tab.ok || program.status != 0)
            continue;
        QList<Colour> printed;
        for (std::size_t i = 0; i + 3 < program.out.size(); i += 4)
            printed << Colour::convertFrom24BitWithRed(
                static_cast<std::uint8_t>(program.out[i + 1]),
                static_cast<std::uint8_t>(program.out[i + 2]),
                static_cast<std::uint8_t>(program.out[i + 3]));
        EXPECT_EQ(printed, tab.colours);
        if (controller->openPictureFile(c.path, c.index)) {
            QList<Colour> shown;
            for (const amiga::Rgb8 &colour : controller->workingPicture()->palette)
                shown << Colour::convertFrom24BitWithRed(colour.red, colour.green, colour.blue);
            EXPECT_EQ(shown, tab.colours);
            ++compared;
        }
    }
    EXPECT_GE(compared, 6);
    // Of the CAT, the two pictures differ: each reader took the one it was asked for.
    EXPECT_NE(PaletteFile::read(cat, 0).colours, PaletteFile::read(cat, 1).colours);
}
