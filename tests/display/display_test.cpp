#include "display/DisplayViewController.h"
#include "ui_DisplayViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include "run_program.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLocale>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DisplayTool : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        controller = std::make_unique<DisplayViewController>();
        controller->show();
        ui = controller->controls();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    static void type(QLineEdit *field, const QString &text) { userinput::type(field, text); }
    static void paste(QLineEdit *field, const QString &text) { userinput::paste(field, text); }
    void enter(const QString &w, const QString &h, const QString &d) {
        type(ui->displayWidthTextField, w);
        type(ui->displayHeightTextField, h);
        type(ui->displayDepthTextField, d);
    }
    QStringList results() const {
        return {ui->bytesBitplaneLineTextField->text(),
                ui->bytesBitplaneLineLabel->text(),
                ui->bytesBitplaneTextField->text(),
                ui->bytesBitplaneLabel->text(),
                ui->bytesAllBitplanesTextField->text(),
                ui->bytesAllBitplanesLabel->text(),
                ui->bytesPerBitplaneLineAllBitplanesTextField->text(),
                ui->bytesPerBitplaneLineAllBitplanesLabel->text(),
                ui->moduloTextField->text(),
                ui->moduloHexTextField->text(),
                ui->moduloLabel->text()};
    }

    std::unique_ptr<DisplayViewController> controller;
    Ui::DisplayViewController *ui = nullptr;
};

const QString divide = QString::fromUtf8("\xc3\xb7");

} // namespace

TEST_F(DisplayTool, ComputesMemoryAndModuloWithTheirArithmetic) {
    enter("320", "256", "5");
    EXPECT_EQ(results(),
              (QStringList{"40", "(320 " + divide + " 8)", "10,240", "(40 x 256)", "51,200",
                           "(10240 x 5)", "200", "(40 x 5)", "160", "0xa0", "(200 - 40)"}));
    EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), 4);

    // Grouping in the results, never in the labels.
    enter("1280", "1024", "8");
    EXPECT_EQ(ui->bytesAllBitplanesTextField->text(), "1,310,720");
    EXPECT_EQ(ui->bytesAllBitplanesLabel->text(), "(163840 x 8)");
    EXPECT_EQ(ui->moduloHexTextField->text(), "0x460");
    EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), 7);

    // Widths that are not a multiple of 8 lose the remainder; below 8 everything is 0.
    enter("327", "256", "5");
    EXPECT_EQ(ui->bytesBitplaneLineTextField->text(), "40");
    EXPECT_EQ(ui->bytesBitplaneLineLabel->text(), "(327 " + divide + " 8)");
    enter("7", "256", "5");
    EXPECT_EQ(results(), (QStringList{"0", "(7 " + divide + " 8)", "0", "(0 x 256)", "0", "(0 x 5)",
                                      "0", "(0 x 5)", "0", "0x0", "(0 - 0)"}));

    // One bitplane: no modulo, a line of all bitplanes is one line.
    enter("640", "200", "1");
    EXPECT_EQ(ui->moduloTextField->text(), "0");
    EXPECT_EQ(ui->bytesPerBitplaneLineAllBitplanesTextField->text(),
              ui->bytesBitplaneLineTextField->text());
    EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), 0);
}

TEST_F(DisplayTool, ShowsAWorkedExampleBeforeTheFirstEdit) {
    EXPECT_EQ(ui->displayWidthTextField->text(), "320");
    EXPECT_EQ(ui->bytesAllBitplanesTextField->text(), "51,200");
    EXPECT_EQ(ui->moduloLabel->text(), "(200 - 40)");
    EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), 4);
}

TEST_F(DisplayTool, UsesTheLocaleGroupingSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    enter("1280", "1024", "8");
    EXPECT_EQ(ui->bytesAllBitplanesTextField->text(), "1.310.720");
    EXPECT_EQ(ui->bytesBitplaneLabel->text(), "(160 x 1024)");
}

TEST_F(DisplayTool, WidthAndHeightKeepOnlyDigits) {
    enter("320", "256", "5");
    type(ui->displayWidthTextField, "a1b2");
    EXPECT_EQ(ui->displayWidthTextField->text(), "12");
    EXPECT_EQ(ui->bytesBitplaneLineTextField->text(), "1");
    EXPECT_EQ(ui->bytesBitplaneLineLabel->text(), "(12 " + divide + " 8)");

    paste(ui->displayHeightTextField, " 2,0-0 ");
    EXPECT_EQ(ui->displayHeightTextField->text(), "200");
    EXPECT_EQ(ui->bytesBitplaneLabel->text(), "(1 x 200)");

    // A stray letter typed in the middle goes, and the cursor stays where it was.
    type(ui->displayWidthTextField, "3200");
    ui->displayWidthTextField->setCursorPosition(2);
    QTest::keyClicks(ui->displayWidthTextField, "x");
    EXPECT_EQ(ui->displayWidthTextField->text(), "3200");
    EXPECT_EQ(ui->displayWidthTextField->cursorPosition(), 2);
    QTest::keyClicks(ui->displayWidthTextField, "0");
    EXPECT_EQ(ui->displayWidthTextField->text(), "32000");
}

TEST_F(DisplayTool, ClearingWidthOrHeightKeepsTheResults) {
    enter("320", "256", "5");
    const QStringList before = results();
    type(ui->displayWidthTextField, "");
    EXPECT_EQ(ui->displayWidthTextField->text(), "");
    EXPECT_EQ(results(), before);
    type(ui->displayHeightTextField, "abc");
    EXPECT_EQ(ui->displayHeightTextField->text(), "");
    EXPECT_EQ(results(), before);
}

TEST_F(DisplayTool, DepthKeepsOneDigitFromOneToEight) {
    enter("320", "256", "5");
    QLineEdit *depth = ui->displayDepthTextField;

    type(depth, "90");
    EXPECT_EQ(depth->text(), "");
    type(depth, "5");
    QTest::keyClicks(depth, "6");
    EXPECT_EQ(depth->text(), "5");
    paste(depth, "734");
    EXPECT_EQ(depth->text(), "7");
    EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), 6);
    EXPECT_EQ(ui->moduloTextField->text(), "240");
}

TEST_F(DisplayTool, EmptiedDepthLeavesDepthResultsBlank) {
    enter("320", "256", "5");
    type(ui->displayDepthTextField, "");
    EXPECT_EQ(ui->bytesBitplaneLineTextField->text(), "40");
    EXPECT_EQ(ui->bytesBitplaneTextField->text(), "10,240");
    for (QLabel *f : {ui->bytesAllBitplanesTextField, ui->bytesPerBitplaneLineAllBitplanesTextField,
                      ui->moduloTextField, ui->moduloHexTextField})
        EXPECT_EQ(f->text(), "") << f->objectName().toStdString();
    EXPECT_EQ(ui->moduloLabel->text(), "");
    EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), -1);

    // Typing a depth again brings everything back.
    QTest::keyClicks(ui->displayDepthTextField, "2");
    EXPECT_EQ(ui->moduloTextField->text(), "40");
    EXPECT_EQ(ui->displayColoursPopupButton->currentIndex(), 1);
}

TEST_F(DisplayTool, PopUpWritesItsDepthAndRecomputes) {
    enter("320", "256", "5");
    QComboBox *popup = ui->displayColoursPopupButton;
    ASSERT_EQ(popup->count(), 8);
    popup->setFocus();
    QTest::keyClick(popup, Qt::Key_End); // the user picks the last item: 8 bitplanes
    EXPECT_EQ(ui->displayDepthTextField->text(), "8");
    EXPECT_EQ(ui->bytesAllBitplanesLabel->text(), "(10240 x 8)");
    EXPECT_EQ(ui->moduloTextField->text(), "280");
    QTest::keyClick(popup, Qt::Key_Home);
    EXPECT_EQ(ui->displayDepthTextField->text(), "1");
    EXPECT_EQ(ui->moduloTextField->text(), "0");
}

TEST_F(DisplayTool, LargestInputsDoNotWrap) {
    // Nine digits each is the most the fields take: the products stay exact.
    enter("9999999999", "999999999", "8"); // the tenth digit is refused
    EXPECT_EQ(ui->displayWidthTextField->text(), "999999999");
    EXPECT_EQ(ui->bytesBitplaneLineTextField->text(), "124,999,999");
    EXPECT_EQ(ui->bytesAllBitplanesTextField->text(), "999,999,991,000,000,008");
    EXPECT_EQ(ui->moduloHexTextField->text(), "0x342770b9");
}

// --- The screen's set-up registers, driven as a user would ---

namespace {

// Chooses a pop-up item by keyboard, as a user does (which sends activated).
void choose(QComboBox *popUp, int index) {
    userinput::chooseWithKeys(popUp, index);
    ASSERT_EQ(popUp->currentIndex(), index);
}

} // namespace

TEST_F(DisplayTool, SetUpOfTheStandardScreensInTheTabAndItsCode) {
    // The default screen: PAL lores 320x256x5 from $2c81 (hand-worked in the set-up tests).
    EXPECT_EQ(ui->diwstrtValueLabel->text(), "$2c81");
    EXPECT_EQ(ui->diwstopValueLabel->text(), "$2cc1");
    EXPECT_EQ(ui->ddfstrtValueLabel->text(), "$0038");
    EXPECT_EQ(ui->ddfstopValueLabel->text(), "$00d0");
    EXPECT_EQ(ui->bplcon0ValueLabel->text(), "$5200");
    EXPECT_FALSE(ui->diwhighValueLabel->isVisible());
    EXPECT_FALSE(ui->fmodeValueLabel->isVisible());
    EXPECT_TRUE(ui->setupCodeTextView->toPlainText().startsWith("\tdc.w\tDIWSTRT,$2c81\n"));

    QTest::mouseClick(ui->interleavedButton, Qt::LeftButton);
    EXPECT_EQ(ui->bpl1modValueLabel->text(), "$00a0");
    EXPECT_TRUE(ui->setupCodeTextView->toPlainText().contains("\tdc.w\tBPL1MOD,$00a0\n"));

    type(ui->displayWidthTextField, "640");
    choose(ui->resolutionPopUpButton, 1);
    EXPECT_EQ(ui->ddfstrtValueLabel->text(), "$003c");
    EXPECT_EQ(ui->ddfstopValueLabel->text(), "$00d4");

    type(ui->displayWidthTextField, "320");
    choose(ui->resolutionPopUpButton, 0);
    type(ui->displayHeightTextField, "200");
    choose(ui->videoStandardPopUpButton, 1);
    EXPECT_EQ(ui->diwstopValueLabel->text(), "$f4c1");

    // The CPU form of the same set-up.
    QTest::mouseClick(ui->setupCopperInstructionsButton, Qt::LeftButton);
    EXPECT_TRUE(ui->setupCodeTextView->toPlainText().startsWith("\tmove.w\t#$2c81,DIWSTRT(a6)\n"));
}

TEST_F(DisplayTool, WarningsStandBesideTheirRegister) {
    EXPECT_FALSE(ui->ddfstrtWarningLabel->isVisible());
    EXPECT_FALSE(ui->bplcon1ValueLabel->isVisible());
    type(ui->hstartTextField, "71");
    type(ui->displayWidthTextField, "336");
    EXPECT_EQ(ui->ddfstrtValueLabel->text(), "$0030");
    EXPECT_TRUE(ui->ddfstrtWarningLabel->isVisible());
    EXPECT_TRUE(ui->ddfstrtWarningLabel->text().contains("sprites 6-7")); // OCS
    EXPECT_TRUE(ui->setupCodeTextView->toPlainText().contains("; the fetch starts at $30"));
    // Between two fetch grid points: BPLCON1 gets its own row ($77 is 6 pixels after $71).
    type(ui->hstartTextField, "77");
    type(ui->displayWidthTextField, "320");
    EXPECT_TRUE(ui->bplcon1ValueLabel->isVisible());
    EXPECT_EQ(ui->bplcon1ValueLabel->text(), "$0066");
    // Upper-case digits and a fourth digit never reach the field.
    type(ui->vstartTextField, "2C");
    EXPECT_NE(ui->vstartTextField->text(), "2C");
}

TEST_F(DisplayTool, MemoryResultsSayWhenTheDisplayFetchesMore) {
    EXPECT_FALSE(ui->fetchedBytesLabel->isVisible()); // 320 pixels: 40 bytes both ways
    type(ui->displayWidthTextField, "100");
    EXPECT_EQ(ui->bytesBitplaneLineTextField->text(), "12"); // the memory rule stays width / 8
    EXPECT_TRUE(ui->fetchedBytesLabel->isVisible());
    // 100 pixels are 7 words in memory; the fetch brings 7 units of 16 pixels: 14 bytes.
    EXPECT_TRUE(ui->fetchedBytesLabel->text().contains("takes 14 bytes in memory"));
    EXPECT_TRUE(ui->fetchedBytesLabel->text().contains("2 more than"));
}

TEST_F(DisplayTool, TheChipSetRulesOutWhatItCannotShow) {
    auto *resolutions = qobject_cast<QStandardItemModel *>(ui->resolutionPopUpButton->model());
    ASSERT_NE(resolutions, nullptr);
    EXPECT_FALSE(resolutions->item(2)->isEnabled()); // no superhires on OCS
    EXPECT_FALSE(ui->fetchModePopUpButton->isEnabled());
    choose(ui->chipsetPopUpButton, 2); // AGA
    EXPECT_TRUE(resolutions->item(2)->isEnabled());
    EXPECT_TRUE(ui->fetchModePopUpButton->isEnabled());
    EXPECT_TRUE(ui->fmodeValueLabel->isVisible());
    choose(ui->fetchModePopUpButton, 3);
    EXPECT_EQ(ui->fmodeValueLabel->text(), "$0003");
    EXPECT_EQ(ui->ddfstopValueLabel->text(), "$00b8"); // 5 blocks of 64 pixels from $38
    choose(ui->resolutionPopUpButton, 2);
    choose(ui->chipsetPopUpButton, 0); // back to OCS: hires, fetch mode 0
    EXPECT_EQ(ui->resolutionPopUpButton->currentIndex(), 1);
    EXPECT_EQ(ui->fetchModePopUpButton->currentIndex(), 0);
    EXPECT_FALSE(ui->fmodeValueLabel->isVisible());
}

TEST_F(DisplayTool, CentredWindowUsesNoTypedStart) {
    QTest::mouseClick(ui->centredButton, Qt::LeftButton);
    EXPECT_FALSE(ui->hstartTextField->isEnabled());
    type(ui->displayWidthTextField, "256");
    type(ui->displayHeightTextField, "200");
    // The middle of the standard window is $121 across and line $ac down.
    EXPECT_EQ(ui->diwstrtValueLabel->text(), "$48a1");
}

TEST_F(DisplayTool, TheTabAndTheCommandLinePrintTheSameSetUp) {
    type(ui->displayWidthTextField, "640");
    type(ui->displayHeightTextField, "512");
    type(ui->displayDepthTextField, "4");
    choose(ui->resolutionPopUpButton, 1);
    QTest::mouseClick(ui->interlaceButton, Qt::LeftButton);
    QTest::mouseClick(ui->interleavedButton, Qt::LeftButton);
    QTest::mouseClick(ui->setupCopperInstructionsButton, Qt::LeftButton);
    const testprogram::Outcome tool =
        testprogram::run(QUILLFEN_ASM_TOOL, "display --width 640 --height 512 --depth 4 "
                                            "--hires --lace --interleaved --cpu");
    ASSERT_EQ(tool.status, 0) << tool.err;
    EXPECT_EQ(ui->setupCodeTextView->toPlainText().toStdString(), tool.out);
}

TEST_F(DisplayTool, FieldsKeepWhatTheUserMeant) {
    // Cleaned first, then cut: the label and unit of a pasted text do not eat its digits.
    paste(ui->displayWidthTextField, "Width: 1280 px");
    EXPECT_EQ(ui->displayWidthTextField->text(), "1280");
    EXPECT_EQ(ui->bytesBitplaneLineTextField->text(), "160");
    // Leading zeros are no digits of the number.
    type(ui->displayWidthTextField, "0000000320");
    EXPECT_EQ(ui->displayWidthTextField->text(), "320");
    type(ui->displayHeightTextField, "0");
    EXPECT_EQ(ui->displayHeightTextField->text(), "0");
    // Digits of other scripts are their value: Arabic-Indic 256, full-width 200.
    paste(ui->displayHeightTextField, QString::fromUtf8("\u0662\u0665\u0666"));
    EXPECT_EQ(ui->displayHeightTextField->text(), "256");
    paste(ui->displayWidthTextField, QString::fromUtf8("\uff12\uff10\uff10"));
    EXPECT_EQ(ui->displayWidthTextField->text(), "200");
    paste(ui->displayDepthTextField, QString::fromUtf8("\u0665"));
    EXPECT_EQ(ui->displayDepthTextField->text(), "5");
}

TEST_F(DisplayTool, ResultsAreSelectableLabelsOutsideTheTabOrder) {
    for (QLabel *result :
         {ui->bytesBitplaneLineTextField, ui->bytesBitplaneTextField,
          ui->bytesAllBitplanesTextField, ui->bytesPerBitplaneLineAllBitplanesTextField,
          ui->moduloTextField, ui->moduloHexTextField}) {
        EXPECT_TRUE(result->textInteractionFlags() & Qt::TextSelectableByMouse)
            << result->objectName().toStdString();
        EXPECT_FALSE(result->focusPolicy() & Qt::TabFocus) << result->objectName().toStdString();
    }
}
