// The Gradient tool: its key rules and preview on GradientTool; the tab's text is the text
// quillfen-asm prints for the same input, byte for byte, and its key controls reach the tool.
#include "gradient/GradientTool.h"
#include "gradient/GradientViewController.h"
#include "run_program.h"
#include "ui_GradientViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include "golden_text.h"
#include "iff_bytes.h"
#include "scratch_files.h"
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const amiga::Rgb8 black{0, 0, 0}, white{255, 255, 255};

class GradientTab : public ::testing::Test {
protected:
    void SetUp() override {
        tab.resize(1000, 640);
        tab.show();
        QApplication::processEvents();
    }
    std::string shownText() const { return ui.gradientCodeTextView->toPlainText().toStdString(); }
    static std::string program(const std::string &arguments) {
        const testprogram::Outcome outcome = testprogram::run(QUILLFEN_ASM_TOOL, arguments);
        EXPECT_EQ(outcome.status, 0) << arguments << "\n" << outcome.err;
        return outcome.out;
    }
    GradientViewController tab;
    Ui::GradientViewController &ui = *tab.controls();
};

} // namespace

// Every control of the list reaches the tool: the copper list and the word table are the
// program's for the same input (data/setups.txt).
TEST_F(GradientTab, ShowsTheTextQuillfenAsmPrintsForTheSameInput) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_GRADIENT_DATA "/setups.txt");
    ASSERT_EQ(cases.size(), 4u);
    tab.setKeys({{0, {0x10, 0x20, 0x60}}, {90, {0xff, 0x80, 0x40}}, {150, white}});
    ui.startLineSpinBox->setValue(0xf0);
    ui.lineCountSpinBox->setValue(180);
    for (const auto &[controls, arguments] : cases) {
        SCOPED_TRACE(arguments);
        for (const QString &control : QString::fromStdString(controls).split(' ')) {
            QWidget *widget = tab.findChild<QWidget *>(control.section('=', 0, 0));
            const QString value = control.section('=', 1);
            if (auto *spinBox = qobject_cast<QSpinBox *>(widget))
                spinBox->setValue(value.toInt(nullptr, 0));
            else if (auto *popUp = qobject_cast<QComboBox *>(widget))
                popUp->setCurrentIndex(value.toInt());
            else if (auto *field = qobject_cast<QLineEdit *>(widget))
                field->setText(value);
            else
                qobject_cast<QAbstractButton *>(widget)->setChecked(value == "1");
        }
        EXPECT_EQ(shownText(), program("gradient --start f0 --lines 180 " +
                                       arguments.substr(0, arguments.size() - 1) +
                                       " 0:#102060 90:#ff8040 150:#ffffff"));
        // The status says what the list's last line says, and what the frame left out; for the
        // word table, its count of lines.
        const QString text = ui.gradientCodeTextView->toPlainText();
        EXPECT_EQ(ui.gradientStatusLabel->text(), ui.showComboBox->currentIndex() == 1
                                                      ? "180 line(s), one dc.w each"
                                                      : text.section('\n', -2, -2).mid(2) + "; " +
                                                            text.section('\n', -3, -3).mid(2));
    }
}

// The fade table of the Colour tool's palette is the program's for a file of that palette: a
// FORM ILBM with a bitmap header (2 x 1, one plane) and a CMAP of $123456 and $ff8000.
TEST_F(GradientTab, FadeTablesAreQuillfenAsmsForThePicturesPalette) {
    const testfiles::Folder dir;
    const std::string path = dir.file("two.ilbm");
    using namespace iffbytes;
    ASSERT_TRUE(
        save(path, group("FORM", "ILBM",
                         {bmhd(2, 1, 1), chunk("CMAP", {0x12, 0x34, 0x56, 0xff, 0x80, 0})})));
    const QList<Colour> palette = {Colour::convertFrom24BitWithRed(0x12, 0x34, 0x56),
                                   Colour::convertFrom24BitWithRed(0xff, 0x80, 0)};
    tab.setColourSource({[palette] { return palette; }, {}});
    ui.fadeStepsSpinBox->setValue(3); // changing the fade shows the fade table
    EXPECT_EQ(ui.showComboBox->currentIndex(), 2);
    EXPECT_EQ(shownText(), program("fade --steps 3 " + path));
    EXPECT_EQ(ui.gradientStatusLabel->text(), "3 step(s) of 2 colour(s)");
    userinput::chooseWithKeys(ui.chipsetComboBox, 1);
    userinput::chooseWithKeys(ui.fadeTargetComboBox, 1);
    EXPECT_EQ(shownText(), program("fade --steps 3 --chipset aga --to ffffff " + path));
    userinput::chooseWithKeys(ui.fadeTargetComboBox, 2);
    userinput::type(ui.fadeColourLineEdit, "#FF8800");
    ui.fadeStepsSpinBox->setValue(7);
    EXPECT_EQ(shownText(), program("fade --steps 7 --chipset aga --to ff8800 " + path));
}

// The preview runs the printed list over the frame of the chipset, so it shows what the list
// shows on each line (tests/amiga/gradient_test.cpp holds that for every dither and blend) and
// nothing past the frame's end ($138). The exact colours are the keys' (KeyControlsReachTheTool).
TEST(GradientTool, ThePreviewShowsWhatThePrintedListShowsOnEachLine) {
    GradientTool tool;
    tool.setKeys({{0, {0x10, 0x00, 0x40}}, {70, {0xff, 0x80, 0x00}}, {150, {0, 0xc0, 0xff}}});
    tool.firstLine = 0xd0;
    tool.lines = 200; // $d0-$197: past $ff and past the end of the frame
    tool.dither = amiga::GradientDither::Ordered;
    for (bool aga : {false, true}) {
        tool.aga = aga;
        const std::vector<amiga::GradientLine> lines = amiga::gradientLines(tool.request());
        const std::vector<amiga::Rgb8> shown = tool.preview().shown;
        ASSERT_EQ(shown.size(), 200u);
        for (std::size_t i = 0; i < 200; ++i)
            ASSERT_EQ(shown[i], 0xd0 + i < 0x138 ? lines[i].shown : black) << aga << " " << i;
    }
}

TEST(GradientTool, KeysAreAddedMovedAndRemoved) {
    GradientTool tool;
    tool.lines = 101;
    ASSERT_FALSE(tool.setKeys({}));
    tool.setKeys({{0, black}, {100, white}});
    // A new key goes half way to the next one, in the colour the gradient has there.
    tool.addKey();
    EXPECT_EQ(tool.selected(), 1);
    EXPECT_EQ(tool.keys(), (std::vector<amiga::GradientKey>{
                               {0, black}, {50, {128, 128, 128}}, {100, white}})); // 127.5 rounded
    // After the last key: half way to the last line, 80.5 rounded up.
    tool.setKeys({{0, black}, {61, white}});
    tool.select(1);
    tool.addKey();
    EXPECT_EQ(tool.keys()[2], (amiga::GradientKey{81, white}));
    // Moves stay within the lines; a move to the same line is no change.
    EXPECT_TRUE(tool.moveKey(2, 500, 255));
    EXPECT_EQ(tool.keys()[2].line, 255);
    EXPECT_FALSE(tool.moveKey(2, 255, 255));
    EXPECT_FALSE(tool.moveKey(3, 10, 255));
    // The selection follows a removal; the last key stays.
    EXPECT_TRUE(tool.removeKey());
    EXPECT_EQ(tool.selected(), 1);
    EXPECT_TRUE(tool.removeKey());
    EXPECT_FALSE(tool.removeKey());
    EXPECT_EQ(tool.keys().size(), 1u);
}

TEST_F(GradientTab, KeyControlsReachTheTool) {
    tab.setColourSource({[] { return Colour::amigaDefaults(4); },
                         [] { return Colour::convertFrom24BitWithRed(1, 2, 3); }});
    tab.setKeys({{0, black}, {100, white}});
    ui.lineCountSpinBox->setValue(101);
    const std::string before = shownText();
    tab.selectKey(0);
    userinput::click(ui.addKeyButton);
    ASSERT_EQ(tab.keys().size(), 3u);
    EXPECT_EQ(ui.keyLineSpinBox->value(), 50);
    EXPECT_EQ(ui.keyColourLineEdit->text(), "#808080");
    // A colour typed in full, in either case, takes effect at once; no other letters are taken.
    userinput::type(ui.keyColourLineEdit, "FF0000");
    EXPECT_EQ(tab.keys()[1].colour, (amiga::Rgb8{255, 0, 0}));
    EXPECT_NE(shownText().find("COLOR00,$0f00"), std::string::npos);
    QTest::keyClicks(ui.keyColourLineEdit, "zz");
    EXPECT_EQ(ui.keyColourLineEdit->text(), "FF0000");
    // Colours from the Colour tool: its palette entry (the palette has 4) and its edited colour.
    for (int entry : {1, 9}) {
        ui.paletteEntrySpinBox->setValue(entry);
        userinput::click(ui.usePaletteEntryButton);
        EXPECT_EQ(tab.keys()[1].colour, Colour::amigaDefaults(4)[1].toRgb8());
    }
    EXPECT_TRUE(ui.gradientStatusLabel->text().contains("no entry 9"));
    userinput::click(ui.takeEditedColourButton);
    EXPECT_EQ(tab.keys()[1].colour, (amiga::Rgb8{1, 2, 3}));
    // Moving the key by its line field, then by dragging its mark in the preview.
    ui.keyLineSpinBox->setValue(20);
    EXPECT_EQ(tab.keys()[1].line, 20);
    GradientPreview *preview = ui.gradientPreview;
    QTest::mousePress(preview, Qt::LeftButton, {}, QPoint(20, preview->yOfLine(20)));
    QTest::mouseMove(preview, QPoint(20, preview->yOfLine(80)));
    EXPECT_EQ(tab.keys()[1].line, 80);
    EXPECT_EQ(ui.keyLineSpinBox->value(), 80);
    QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(20, preview->yOfLine(80)));
    // The preview shows the tool's colours.
    const amiga::Rgb8 shown = tab.tool().preview().shown[80];
    EXPECT_EQ(preview->exactColours()[80], QColor(1, 2, 3));
    EXPECT_EQ(preview->shownColours()[80], QColor(shown.red, shown.green, shown.blue));
    userinput::click(ui.removeKeyButton);
    EXPECT_EQ(shownText(), before);
    tab.selectKey(0);
    userinput::click(ui.removeKeyButton);
    EXPECT_FALSE(ui.removeKeyButton->isEnabled()); // the last key stays
    // AGA has nothing to dither and 256 registers.
    ui.chipsetComboBox->setCurrentIndex(1);
    EXPECT_FALSE(ui.ditherComboBox->isEnabled());
    EXPECT_EQ(ui.registerSpinBox->maximum(), 255);
}
