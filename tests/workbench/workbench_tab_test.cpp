// The Workbench tab's wiring: each control reaches WorkbenchTool and each output its view, a
// file is read on a worker (a device or a FIFO refused before it is read), and the listing is
// the text quillfen-asm copper prints for the same file.
#include "common/CopperFramePreview.h"
#include "ui_CopperWorkbenchViewController.h"
#include "ui_FrameView.h"
#include "workbench/CopperWorkbenchViewController.h"
#include "workbench/FrameView.h"

#include "QtPrinters.h"
#include "run_program.h"
#include "scratch_files.h"
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Band = CopperFramePreview::Band;

struct WorkbenchTab : ::testing::Test {
    CopperWorkbenchViewController tab;
    Ui::CopperWorkbenchViewController &ui = *tab.controls();
    const WorkbenchTool &tool = tab.tool();
    testfiles::Folder dir;

    QString write(const char *name, const QByteArray &bytes) {
        EXPECT_TRUE(testfiles::saveText(dir.file(name), bytes.toStdString()));
        return QString::fromStdString(dir.file(name));
    }
    void read(const QString &list) {
        ui.copperSourceTextEdit->setPlainText(list);
        ui.readListButton->click();
    }
};

} // namespace

TEST_F(WorkbenchTab, EveryControlReachesTheToolAndTheViewsShowIt) {
    // COLOR00 red, from line $2c green; COLOR01 white from $2c.
    const QByteArray list = "\tdc.w\tCOLOR00,$0f00,$0100,$5200\n"
                            "\tdc.w\t$2c07,$fffe,COLOR00,$00f0,COLOR01,$0fff\n";
    read(list);
    ASSERT_EQ(ui.listingListView->model()->rowCount(), 5);
    EXPECT_EQ(ui.listingListView->model()->index(1, 0).data().toString(),
              WorkbenchTool::rowText(tool.listing().entries[1]));
    EXPECT_EQ(ui.readMessageLabel->text(), tool.message());
    EXPECT_EQ(ui.framePreview->bands(0),
              (QVector<Band>{{0, 0x2b, QColor(255, 0, 0)}, {0x2c, 0x137, QColor(0, 255, 0)}}));
    ui.previewRegisterSpinBox->setValue(1);
    EXPECT_EQ(ui.framePreview->bands(1).back(), (Band{0x2c, 0x137, QColor(255, 255, 255)}));
    ui.listingListView->setCurrentIndex(ui.listingListView->model()->index(2, 0));
    EXPECT_EQ(ui.fieldsLabel->text(), tool.fieldsText(2));
    // The chip set and the frame read the list again.
    ui.chipsetComboBox->setCurrentIndex(1);
    EXPECT_TRUE(tool.aga);
    EXPECT_EQ(ui.previewRegisterSpinBox->maximum(), 255);
    ui.ntscButton->click();
    EXPECT_EQ(ui.framePreview->bands(0).back().lastLine, 0x105);
    ui.copyListingButton->click();
    EXPECT_EQ(QApplication::clipboard()->text(), tool.listingText());
    // The listing is the program's for the same file.
    const testprogram::Outcome program = testprogram::run(
        QUILLFEN_ASM_TOOL, "copper --chipset aga --ntsc " + write("list.s", list).toStdString());
    EXPECT_EQ(tool.listingText().toStdString(), program.out);
    // Return in the symbol field reads the list again with its values.
    ui.copperSourceTextEdit->setPlainText("\tdc.w\tCOLOR00,sky\n");
    ui.symbolsLineEdit->setText("sky=$00f");
    QTest::keyClick(ui.symbolsLineEdit, Qt::Key_Return);
    EXPECT_EQ(tool.symbols, "sky=$00f");
    EXPECT_TRUE(tool.listingText().startsWith("\tdc.w\tCOLOR00,$000f"));
}

// Binary words from the offset (an odd number of bytes after it refused), or text; a device
// neither fills the memory nor keeps the tab waiting, and the list stays.
TEST_F(WorkbenchTab, AFileIsReadAsTextOrAsWordsFromTheOffset) {
    ui.binaryFileCheckBox->setChecked(true);
    EXPECT_TRUE(ui.binaryOffsetSpinBox->isEnabled());
    ui.binaryOffsetSpinBox->setValue(2);
    const QString words = write("list.bin", QByteArray::fromHex("beef018000f0fffffffe"));
    ASSERT_TRUE(tab.openFile(words));
    EXPECT_EQ(ui.copperSourceTextEdit->toPlainText(), "0180 00f0 ffff fffe\n");
    EXPECT_EQ(tab.readMessage(), "2 instruction(s).");
    ui.binaryOffsetSpinBox->setValue(3);
    EXPECT_FALSE(tab.openFile(words));
    EXPECT_EQ(tab.readMessage(), tool.message());
    ui.binaryFileCheckBox->setChecked(false);
    ASSERT_TRUE(tab.openFile(write("list.s", "\tdc.w\t$0180,$0502\n")));
    // The refusal is the file reader's (tests/picture/files_test.cpp, a FIFO too).
    EXPECT_FALSE(tab.openFile("/dev/zero"));
    EXPECT_TRUE(tab.readMessage().startsWith("“zero” is not a regular file")) << tab.readMessage();
    EXPECT_EQ(ui.copperSourceTextEdit->toPlainText(), "\tdc.w\t$0180,$0502\n");
}

// One lores plane at $20000: its first pixel, at H $81 on line $2c, in COLOR01. The visible PAL
// frame: H $5c-$1d3 at two columns each, lines $1a-$137. A click on the pixel tells its story
// and selects the COLOR01 MOVE, the eighth instruction.
TEST_F(WorkbenchTab, TheFrameShowsTheListWithItsChipDataAndAClickedPixelsStory) {
    read("\tdc.w\tDIWSTRT,$2c81,DIWSTOP,$2cc1,DDFSTRT,$38,DDFSTOP,$d0\n"
         "\tdc.w\tBPL1PTH,$2,BPL1PTL,0,BPLCON0,$1200,COLOR01,$f00\n"
         "\tdc.w\t$ffff,$fffe\n");
    FrameView &view = *tab.frameView();
    ASSERT_TRUE(view.addChipFile(write("planes.bin", QByteArray("\x80\x00", 2)), 0x20000));
    ASSERT_EQ(view.frameImage().size(), QSize(752, 286));
    const int x = 2 * (0x81 - 0x5c), y = 0x2c - 0x1a;
    EXPECT_EQ(view.frameImage().pixel(x, y), 0xffff0000u);
    QTest::mouseClick(view.controls()->frameLabel, Qt::LeftButton, {}, QPoint(x, y));
    EXPECT_TRUE(view.storyText().contains(QStringLiteral("COLOR01 = #ff0000"))) << view.storyText();
    EXPECT_EQ(ui.listingListView->currentIndex().row(), 7);
}
