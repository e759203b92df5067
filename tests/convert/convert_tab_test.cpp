// The Convert tab's wiring: pictures opened (on a worker thread, dropped, from the menus) show
// as ConvertTool and the picture library give them, each control reaches the tool, each output
// its view, one parity case per export with quillfen-iff, and the palette handed to the Colour
// tab as a step that can be undone.
#include "colour/ColourViewController.h"
#include "colour/PaletteDataSource.h"
#include "convert/ConvertViewController.h"
#include "convert/PictureView.h"
#include "m68k_assembler.h"
#include "picture_path.h"
#include "run_program.h"
#include "shell/MainTabViewController.h"
#include "shell/MainWindow.h"
#include "ui_ConvertViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include "iff_bytes.h"
#include "scratch_files.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// A check box ticked or cleared from the keyboard, as a user does with Space.
void toggle(QCheckBox *box) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
}

class ConvertTab : public ::testing::Test {
protected:
    void SetUp() override {
        controller = std::make_unique<ConvertViewController>();
        controller->resize(1100, 720);
        controller->show();
        QApplication::processEvents();
        ui = controller->controls();
    }
    void open(const QString &path) {
        ASSERT_TRUE(controller->openPictureFile(path)) << controller->status().toStdString();
    }
    // Every output shows what the tool computes.
    void expectViewsShowTheTool() {
        const ConvertTool &tool = controller->tool();
        QStringList facts;
        for (const QLabel *label :
             {ui->fileNameValueLabel, ui->sizeValueLabel, ui->depthValueLabel, ui->modeValueLabel,
              ui->coloursValueLabel, ui->transparencyValueLabel, ui->displayValueLabel})
            facts << label->text();
        EXPECT_EQ(facts, tool.facts());
        const picture::Output &output = tool.output();
        EXPECT_EQ(ui->exportCodeTextView->toPlainText().toStdString(),
                  output.ok() ? output.text : "");
        EXPECT_EQ(controller->status(), tool.status());
        // Save, Copy, Reduce, Original, Use Palette: enabled when the tool allows them.
        EXPECT_EQ(
            std::vector<bool>({ui->saveButton->isEnabled(), ui->copyExportButton->isEnabled(),
                               ui->reduceGroupBox->isEnabled(), ui->originalButton->isEnabled(),
                               ui->usePaletteButton->isEnabled()}),
            std::vector<bool>({output.ok(), output.ok() && !output.text.empty(),
                               tool.reduceAllowed(), tool.originalAllowed(),
                               tool.paletteAllowed()}));
        EXPECT_EQ(ui->bitplaneDepthSpinBox->maximum(), tool.deepestDepth());
        EXPECT_EQ(ui->pictureView->pixelAspect(),
                  ui->aspectCheckBox->isChecked() ? tool.pixelAspect() : QSize(1, 1));
        if (!tool.picture)
            return;
        const QImage shown = controller->shownImage();
        const std::vector<amiga::Rgb8> colours = picture::render(*tool.picture);
        ASSERT_EQ(static_cast<std::size_t>(shown.width() * shown.height()), colours.size());
        for (std::size_t i = 0; i < colours.size(); ++i)
            ASSERT_EQ(shown.pixel(static_cast<int>(i) % shown.width(),
                                  static_cast<int>(i) / shown.width()),
                      qRgb(colours[i].red, colours[i].green, colours[i].blue))
                << i;
        QList<QColor> map;
        for (const amiga::Rgb8 &c : tool.picture->palette)
            map << QColor(c.red, c.green, c.blue);
        EXPECT_EQ(ui->colourMapStrip->colours(), map);
    }
    // A file of one name in the tab's folder or quillfen-iff's: text names data after its file.
    std::string saved(const char *folder, const std::string &suffix) {
        std::filesystem::create_directories(dir.file(folder));
        return dir.file(folder) + "/sheet" + suffix;
    }
    // What the tab saves beside what quillfen-iff writes with these arguments.
    void expectTheSameFileAs(const std::string &arguments) {
        SCOPED_TRACE(arguments);
        const std::string tab = saved("tab", ".out"), cli = saved("cli", ".out");
        ASSERT_TRUE(controller->saveOutput(QString::fromStdString(tab)))
            << controller->status().toStdString();
        const testprogram::Outcome outcome = testprogram::run(
            QUILLFEN_IFF_TOOL,
            arguments + " '" + controller->tool().path.toStdString() + "' '" + cli + "'");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_TRUE(testfiles::load(tab) == testfiles::load(cli));
    }

    // The same for a sheet, whose second file (its suffix after the saved file's stem) is
    // written beside it: given to quillfen-iff after the option, or as its last file (tiles).
    void expectTheSameFilesAs(const std::string &arguments, const char *second,
                              bool lastFile = false) {
        SCOPED_TRACE(arguments);
        const std::string tab = saved("tab", ".out"), cli = saved("cli", ".out");
        ASSERT_TRUE(controller->saveOutput(QString::fromStdString(tab)))
            << controller->status().toStdString();
        const std::string tabSecond = saved("tab", second), cliSecond = saved("cli", second);
        const std::string picture = " '" + controller->tool().path.toStdString() + "' ";
        const testprogram::Outcome outcome = testprogram::run(
            QUILLFEN_IFF_TOOL,
            lastFile ? arguments + picture + "'" + cli + "' '" + cliSecond + "'"
                     : arguments + " '" + cliSecond + "'" + picture + "'" + cli + "'");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_TRUE(testfiles::load(tab) == testfiles::load(cli));
        EXPECT_TRUE(testfiles::load(tabSecond) == testfiles::load(cliSecond));
        EXPECT_FALSE(testfiles::load(tabSecond).empty());
    }

    // A hires picture (CAMG $8000) of four colours, 7 x 4 in two planes, the pixel at x, y of
    // colour (x + 2y) mod 4: plane 0 is 0101010 on every row, plane 1 0011001 and 1100110 in
    // turn.
    QString fourColours() {
        const iffbytes::Bytes ilbm = iffbytes::group(
            "FORM", "ILBM",
            {iffbytes::bmhd(7, 4, 2),
             iffbytes::chunk("CMAP", {0xff, 0, 0, 0, 0xff, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}),
             iffbytes::chunk("CAMG", iffbytes::be32(0x8000)),
             iffbytes::chunk("BODY", {0x54, 0, 0x32, 0, 0x54, 0, 0xcc, 0, 0x54, 0, 0x32, 0, 0x54, 0,
                                      0xcc, 0})});
        const std::string path = dir.file("four.iff");
        EXPECT_TRUE(iffbytes::save(path, ilbm));
        return QString::fromStdString(path);
    }

    testfiles::Folder dir;
    std::unique_ptr<ConvertViewController> controller;
    Ui::ConvertViewController *ui = nullptr;
};

} // namespace

// Each control reaches the tool: the file the tab saves is the one quillfen-iff writes with the
// options the controls hold.
TEST_F(ConvertTab, EachControlReachesTheToolAndTheFileSavedIsQuillfenIffs) {
    expectViewsShowTheTool(); // no picture yet
    open(picturePath("brush-transparent-color.iff"));
    expectViewsShowTheTool();
    // Bitplanes.
    userinput::chooseWithKeys(ui->bitplaneLayoutComboBox, 1);
    userinput::chooseWithKeys(ui->maskComboBox, 1);
    toggle(ui->invertMaskCheckBox);
    ui->bitplaneDepthSpinBox->setValue(2);
    ui->bitplaneTransparentSpinBox->setValue(3);
    expectViewsShowTheTool();
    expectTheSameFileAs("raw --planar --mask=inverted --depth 2 --transparent 3");
    toggle(ui->chunkyCheckBox);
    EXPECT_TRUE(controller->tool().bitplanes.chunky);
    EXPECT_FALSE(ui->maskComboBox->isEnabled());
    expectViewsShowTheTool();

    // Palette.
    ui->exportTabWidget->setCurrentIndex(1);
    userinput::chooseWithKeys(ui->paletteFormatComboBox, 3);
    userinput::chooseWithKeys(ui->paletteOutputComboBox, 1);
    ui->paletteColoursSpinBox->setValue(2);
    expectViewsShowTheTool();
    expectTheSameFileAs("palette --format loadrgb32 --binary --colors 2");

    // Sprites, from a picture of few enough colours.
    open(fourColours());
    EXPECT_EQ(controller->tool().bitplanes.depth, std::nullopt); // its own depth again
    ui->exportTabWidget->setCurrentIndex(2);
    userinput::chooseWithKeys(ui->spriteChipsetComboBox, 1);
    userinput::chooseWithKeys(ui->spriteWidthComboBox, 1);
    toggle(ui->controlWordsCheckBox);
    userinput::type(ui->spriteXLineEdit, "C0.8"); // upper case becomes lower case
    userinput::type(ui->spriteYLineEdit, "6d");
    userinput::chooseWithKeys(ui->spriteOutputComboBox, 0);
    ui->spriteTransparentSpinBox->setValue(1);
    expectViewsShowTheTool();
    expectTheSameFileAs("sprite --chipset aga --width 32 --x c0.8 --y 6d --text --transparent 1");
    ui->copyExportButton->click();
    EXPECT_EQ(QApplication::clipboard()->text(), ui->exportCodeTextView->toPlainText());

    // The X field takes what --x takes at the keyboard.
    for (const auto &[typed, kept] :
         {std::pair{"c0.0", "c0."}, {"c0.48", "c0.4"}, {"1g2", "12"}, {"1234", "123"}}) {
        userinput::type(ui->spriteXLineEdit, typed);
        EXPECT_EQ(ui->spriteXLineEdit->text(), kept) << typed;
    }
    expectViewsShowTheTool(); // "c0." refused, the tab says why and offers no save
}

TEST_F(ConvertTab, TrueColourIsReducedFromTheControls) {
    open(picturePath("small-24bit.iff"));
    expectViewsShowTheTool();
    ui->reduceColoursSpinBox->setValue(16);
    userinput::chooseWithKeys(ui->reducePrecisionComboBox, 0);
    // The Dither list: None, Ordered, Error diffusion.
    userinput::chooseWithKeys(ui->ditherComboBox, 1);
    userinput::click(ui->reduceButton);
    EXPECT_EQ(controller->tool().reduction.dither, picture::Dither::Ordered);
    userinput::chooseWithKeys(ui->ditherComboBox, 2);
    userinput::click(ui->reduceButton);
    expectViewsShowTheTool();
    expectTheSameFileAs("raw --reduce 16 --dither --chipset ocs");
    userinput::click(ui->originalButton);
    EXPECT_TRUE(controller->workingPicture()->isTrueColour());
    expectViewsShowTheTool();
}

TEST_F(ConvertTab, ThePicturesShapeAndZoomReachTheView) {
    open(fourColours());
    // At 4x, in the hires shape (1 x 2), each picture pixel is a block of 4 x 8 of its own
    // colour: nothing smoothed.
    userinput::chooseWithKeys(ui->zoomComboBox, 3);
    QApplication::processEvents();
    const QImage screen = ui->pictureView->viewport()->grab().toImage(),
                 image = controller->shownImage();
    const QPointF origin = ui->pictureView->pictureRect().topLeft();
    for (int i = 0; i < 28; ++i)
        for (const QPointF corner : {QPointF(0.5, 0.5), QPointF(3.5, 7.5)}) {
            const QPointF at =
                (origin + QPointF(i % 7 * 4, i / 7 * 8) + corner) * screen.devicePixelRatio();
            ASSERT_EQ(screen.pixel(static_cast<int>(at.x()), static_cast<int>(at.y())) |
                          0xff000000u,
                      image.pixel(i % 7, i / 7))
                << i;
        }
    // Fitted, the view keeps the shape, by whole screen pixels; the aspect box squares it.
    userinput::chooseWithKeys(ui->zoomComboBox, 0);
    const QSizeF pixel = ui->pictureView->pixelSize() * ui->pictureView->devicePixelRatioF();
    EXPECT_EQ(pixel.height(), 2 * pixel.width());
    EXPECT_EQ(pixel.width(), std::floor(pixel.width()));
    toggle(ui->aspectCheckBox);
    expectViewsShowTheTool();
}

TEST_F(ConvertTab, AReadingGoesOnWhileTheTabSaysSoADroppedFileOpensAndABrokenOneNot) {
    QSignalSpy read(controller.get(), &ConvertViewController::pictureRead);
    controller->startReading(picturePath("gradient.iff"));
    EXPECT_TRUE(controller->isReading());
    EXPECT_FALSE(ui->openPictureButton->isEnabled());
    EXPECT_EQ(controller->cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(controller->status(), "Reading “gradient.iff”…");
    ASSERT_TRUE(read.count() == 1 || read.wait());
    EXPECT_TRUE(ui->openPictureButton->isEnabled());
    EXPECT_EQ(controller->cursor().shape(), Qt::ArrowCursor);

    EXPECT_TRUE(userinput::dropFile(controller.get(), picturePath("ham6.iff")));
    ASSERT_TRUE(read.count() == 2 || read.wait());
    EXPECT_EQ(controller->pictureName(), "ham6.iff");
    // A file that cannot be read leaves the picture and says why, in a sentence naming it (a
    // broken picture's sentence is the shell's: tests/shell).
    const QImage before = controller->shownImage();
    EXPECT_FALSE(controller->openPictureFile(QString::fromStdString(dir.file("missing.iff"))));
    EXPECT_TRUE(controller->status().contains("“missing.iff”") &&
                controller->status().endsWith('.'))
        << controller->status().toStdString();
    EXPECT_EQ(controller->pictureName(), "ham6.iff");
    EXPECT_TRUE(controller->shownImage() == before);
}

// In the window: File > Open Picture, Edit > Copy Output, a dropped picture, the palette handed
// to the Colour tab, where Edit > Undo takes it back. Ctrl+7 and the window's smallest layout are
// the shell's (tests/shell).
TEST(ConvertInTheWindow, TheMenusAndTheColourTabReachTheTab) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ConvertViewController *convert = window.convertViewController();
    auto action = [&](const char *name) { return window.findChild<QAction *>(name); };
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window.tabViewController()->currentWidget(), convert);
    auto *dialog = window.findChild<QFileDialog *>();
    ASSERT_NE(dialog, nullptr) << "Ctrl+Shift+O opened no file dialog";
    EXPECT_EQ(dialog->nameFilters().last(), "All files (*)");
    dialog->reject();

    // A picture dropped on the window while the tab is on show is for the tab, not the palette.
    ColourViewController *colour = window.colourViewController();
    const QList<Colour> before = colour->paletteDataSource()->paletteEntries();
    QSignalSpy read(convert, &ConvertViewController::pictureRead);
    userinput::dropFile(&window, picturePath("ham6.iff"));
    ASSERT_TRUE(read.count() == 1 || read.wait());
    EXPECT_EQ(convert->pictureName(), "ham6.iff");
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries(), before);
    // It is offered to the Display tab's screen on the frame.
    EXPECT_TRUE(window.findChild<QCheckBox *>("screenPictureCheckBox")->isEnabled());

    convert->controls()->exportTabWidget->setCurrentIndex(1);
    action("copyOutputAction")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), convert->codeOutputView()->toPlainText());

    userinput::click(convert->controls()->usePaletteButton);
    EXPECT_EQ(window.tabViewController()->currentWidget(), colour);
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries(), convert->tool().paletteColours());
    action("undoAction")->trigger();
    EXPECT_EQ(colour->paletteDataSource()->paletteEntries(), before);
}

// The Sheet page: each control reaches the tool, the cut is drawn over the picture with the
// chosen frame marked and shown by itself, and Save… writes the files quillfen-iff writes.
TEST_F(ConvertTab, TheSheetPageCutsAsQuillfenIffDoes) {
    open(fourColours()); // 7 x 4
    userinput::showPage(ui->exportTabWidget, 3);
    ASSERT_EQ(controller->tool().which, ConvertTool::Export::Sheet);
    ui->sheetWidthSpinBox->setValue(3);
    ui->sheetHeightSpinBox->setValue(2);
    ui->sheetFrameSpinBox->setValue(3);
    userinput::chooseWithKeys(ui->sheetMaskComboBox, 2);
    userinput::chooseWithKeys(ui->sheetOutputComboBox, 1);
    toggle(ui->addWordCheckBox);
    toggle(ui->indexCheckBox);
    expectViewsShowTheTool();
    // 2 x 2 frames of 3 x 2, the last column of pixels left over.
    const picture::Sheet &cut = controller->tool().sheetCut();
    ASSERT_EQ(cut.frames.size(), 4u);
    EXPECT_EQ(ui->pictureView->cuts(),
              QList<QRect>({{0, 0, 3, 2}, {3, 0, 3, 2}, {0, 2, 3, 2}, {3, 2, 3, 2}}));
    EXPECT_EQ(ui->pictureView->chosenCut(), 3);
    // Hires pixels of 1 x 2, each as 8 x 8 screen pixels at most: 24 x 32.
    EXPECT_EQ(ui->sheetFramePreview->pixmap().size(), QSize(24, 32));
    expectTheSameFilesAs("bobs --size 3x2 --mask=inverted --add-word --text --index", ".i");
    // The view holds the frames' lines, then the index's: one source that assembles as shown,
    // the frames' bytes, then the table of their offsets.
    if (m68k::available()) {
        const m68k::Result shown =
            m68k::assemble(ui->exportCodeTextView->toPlainText().toStdString());
        ASSERT_TRUE(shown.words) << shown.messages;
        const testprogram::Outcome binary =
            testprogram::run(QUILLFEN_IFF_TOOL, "bobs --size 3x2 --mask=inverted --add-word '" +
                                                    controller->tool().path.toStdString() + "' -");
        std::vector<std::uint8_t> expected(binary.out.begin(), binary.out.end());
        const auto frameBytes = static_cast<std::uint32_t>(expected.size() / 4);
        for (std::uint32_t frame = 0; frame < 4; frame++) {
            const std::uint32_t offset = frame * frameBytes;
            for (int shift : {24, 16, 8, 0})
                expected.push_back(static_cast<std::uint8_t>(offset >> shift));
        }
        EXPECT_EQ(shown.bytes, expected);
    }
    // Another page: no cut drawn.
    userinput::showPage(ui->exportTabWidget, 0);
    EXPECT_TRUE(ui->pictureView->cuts().isEmpty());
    userinput::showPage(ui->exportTabWidget, 3);

    // A font, proportional: its widths beside the glyphs.
    userinput::chooseWithKeys(ui->sheetCutComboBox, 2);
    userinput::chooseWithKeys(ui->sheetOutputComboBox, 0);
    toggle(ui->proportionalCheckBox);
    userinput::type(ui->sheetFirstLineEdit, "A");
    EXPECT_EQ(controller->tool().sheet.first, "A");
    ui->sheetTransparentSpinBox->setValue(1);
    EXPECT_FALSE(ui->addWordCheckBox->isEnabled());
    expectViewsShowTheTool();
    expectTheSameFilesAs("font --cell 3x2 --first A --proportional --transparent 1 --widths",
                         ".widths");

    // Tiles need 8 x 8 or 16 x 16: said, and nothing to save.
    userinput::chooseWithKeys(ui->sheetCutComboBox, 3);
    expectViewsShowTheTool();
    EXPECT_FALSE(ui->saveButton->isEnabled());
    EXPECT_TRUE(ui->pictureView->cuts().isEmpty());
    EXPECT_EQ(ui->sheetFramePreview->pixmap().isNull(), true);

    // Sprite frames take the Sprites page's width, 16 pixels, more than the picture has: refused
    // as quillfen-iff refuses it.
    userinput::chooseWithKeys(ui->sheetCutComboBox, 1);
    expectViewsShowTheTool();
    EXPECT_FALSE(ui->sheetWidthSpinBox->isEnabled());
    const testprogram::Outcome refused = testprogram::run(
        QUILLFEN_IFF_TOOL, "sprite --frames --frame-height 2 '" +
                               controller->tool().path.toStdString() + "' " + dir.file("never"));
    EXPECT_EQ(refused.status, 1);
    // The same sentence, begun with a capital in the window.
    EXPECT_NE(refused.err.find(controller->status().mid(1).toStdString()), std::string::npos)
        << refused.err;
}

TEST_F(ConvertTab, TheSheetsTilesAndTheirMapAreSavedTogether) {
    open(picturePath("serenity.lbm")); // 640 x 480
    userinput::showPage(ui->exportTabWidget, 3);
    userinput::chooseWithKeys(ui->sheetCutComboBox, 3);
    ui->sheetWidthSpinBox->setValue(16);
    ui->sheetHeightSpinBox->setValue(16);
    toggle(ui->dedupeCheckBox);
    toggle(ui->flipsCheckBox);
    userinput::chooseWithKeys(ui->sheetLayoutComboBox, 1);
    userinput::chooseWithKeys(ui->sheetOutputComboBox, 2);
    expectViewsShowTheTool();
    EXPECT_EQ(ui->pictureView->cuts().size(), 40 * 30);
    // Beside sheet.out, text and C name the map sheet_map.out.
    expectTheSameFilesAs("tiles --size 16x16 --dedupe --flips --planar --format c", "_map.out",
                         true);
}
