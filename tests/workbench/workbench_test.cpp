// The Copper workbench as a user drives it: a list pasted and read, an instruction selected, the
// frame preview's bands. The expected lines are worked out by hand from the words (a WAIT for
// line $2c takes effect on that line; see tests/amiga/copperframe_test.cpp for the beam).
#include "ui_CopperWorkbenchViewController.h"
#include "workbench/CopperWorkbenchViewController.h"

#include "common/CopperFramePreview.h"
#include "ui_FrameView.h"
#include "workbench/CopperListingModel.h"
#include "workbench/FrameView.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Band = CopperFramePreview::Band;

struct Workbench {
    CopperWorkbenchViewController tool;
    Ui::CopperWorkbenchViewController &ui = *tool.controls();

    bool paste(const QString &text) {
        ui.copperSourceTextEdit->setPlainText(text);
        return tool.readList();
    }
};

} // namespace

TEST(Workbench, APastedListReadsBackAsExplainedInstructionsWithItsBands) {
    Workbench bench;
    ASSERT_TRUE(bench.paste("\tdc.w\tCOLOR00,$0f00\n"
                            "\tdc.w\t$2c07,$fffe,COLOR00,$00f0,COLOR01,$0fff\n"
                            "\tdc.w\t$ffdf,$fffe\n"
                            "\tdc.w\t$2c07,$fffe,COLOR00,$000f\n"
                            "\tdc.w\t$ffff,$fffe\n"));
    EXPECT_EQ(bench.tool.listingModel()->rowCount(), 8);
    EXPECT_EQ(bench.ui.readMessageLabel->text(), "8 instruction(s).");
    EXPECT_EQ(bench.tool.listingText().split(QLatin1Char('\n')).at(4),
              "\tdc.w\t$ffdf,$fffe\t; WAIT for line $ff, horizontal $de");

    // Selecting the second WAIT shows it runs after the wrap, on line $12c.
    bench.ui.listingListView->setCurrentIndex(bench.tool.listingModel()->index(5));
    EXPECT_TRUE(bench.ui.fieldsLabel->text().contains("line $12c"))
        << bench.ui.fieldsLabel->text().toStdString();

    // Red to $2b, green from $2c to $12b, blue from $12c; colour 1 white from $2c.
    EXPECT_EQ(bench.ui.framePreview->bands(0), (QVector<Band>{{0, 0x2b, QColor(255, 0, 0)},
                                                              {0x2c, 0x12b, QColor(0, 255, 0)},
                                                              {0x12c, 0x137, QColor(0, 0, 255)}}));
    EXPECT_EQ(bench.ui.framePreview->bands(1),
              (QVector<Band>{{0, 0x2b, QColor(0, 0, 0)}, {0x2c, 0x137, QColor(255, 255, 255)}}));

    // An NTSC frame ends after line $105: the blue never comes.
    bench.ui.ntscButton->click();
    EXPECT_EQ(bench.ui.framePreview->bands(0),
              (QVector<Band>{{0, 0x2b, QColor(255, 0, 0)}, {0x2c, 0x105, QColor(0, 255, 0)}}));
}

TEST(Workbench, BitsAreNamedAsOnTheCommandLine) {
    // BPLCON0 $5200: five planes (BPU2-0 = 101) and COLOR (bit 9); the same text as
    // quillfen-asm copper prints for it (tests/quillfen-asm/copper_test.cpp).
    Workbench bench;
    ASSERT_TRUE(bench.paste("\tdc.w\t$0100,$5200\n"));
    EXPECT_EQ(bench.tool.listingText(), "\tdc.w\tBPLCON0,$5200\t; BPU=5 COLOR\n");
}

TEST(Workbench, UnreadableTextSaysWhereAndKeepsTheLastListing) {
    Workbench bench;
    ASSERT_TRUE(bench.paste("0180 0502\n"));
    EXPECT_FALSE(bench.paste("0180 0502\n\tdc.w\tCOLOUR00,$0fff\n"));
    EXPECT_TRUE(bench.ui.readMessageLabel->text().startsWith("Line 2: 'COLOUR00'"))
        << bench.ui.readMessageLabel->text().toStdString();
    EXPECT_EQ(bench.tool.listingModel()->rowCount(), 1);
    // The pasted text is left as it was, to be mended.
    EXPECT_TRUE(bench.ui.copperSourceTextEdit->toPlainText().contains("COLOUR00"));
}

TEST(Workbench, ABinaryFileOpensFromItsOffsetAndAgaFollowsTheBank) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    // Two bytes of something else, then BPLCON3 bank 1 and COLOR00 $0f0: colour 32 on AGA.
    file.write(QByteArray::fromHex("beef"
                                   "01062000"
                                   "018000f0"
                                   "fffffffe"));
    file.close();
    Workbench bench;
    bench.ui.binaryFileCheckBox->setChecked(true);
    EXPECT_TRUE(bench.ui.binaryOffsetSpinBox->isEnabled());
    bench.ui.binaryOffsetSpinBox->setValue(2);
    ASSERT_TRUE(bench.tool.openFile(file.fileName()));
    EXPECT_EQ(bench.ui.copperSourceTextEdit->toPlainText(), "0106 2000 0180 00f0 ffff fffe\n");
    bench.ui.chipsetComboBox->setCurrentIndex(1);
    const amiga::CopperListEntry *move = bench.tool.listingModel()->entryAt(1);
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->colourIndex, 32);
    bench.ui.previewRegisterSpinBox->setValue(32);
    EXPECT_EQ(bench.ui.framePreview->bands(1).front().colour, QColor(0, 255, 0));
    // On OCS the bank does not exist: COLOR00 itself turns green.
    bench.ui.chipsetComboBox->setCurrentIndex(0);
    EXPECT_EQ(bench.ui.framePreview->bands(0).front().colour, QColor(0, 255, 0));

    bench.ui.binaryOffsetSpinBox->setValue(3); // an odd number of bytes after it
    EXPECT_FALSE(bench.tool.openFile(file.fileName()));
    EXPECT_TRUE(bench.ui.readMessageLabel->text().contains("odd number of bytes"));
}

TEST(Workbench, ADeviceOrAFifoIsRefusedBeforeItIsRead) {
    // Neither fills the memory nor keeps the tab waiting; the list on show stays.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("list.s");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Workbench bench;
    bench.ui.copperSourceTextEdit->setPlainText("\tdc.w\t$0180,$0502\n");
    for (const QString &path : {QStringLiteral("/dev/zero"), fifo}) {
        EXPECT_FALSE(bench.tool.openFile(path));
        EXPECT_EQ(
            bench.ui.readMessageLabel->text(),
            "“" + QFileInfo(path).fileName() +
                "” is not a regular file (a device, a FIFO or a socket); only files are read.");
        EXPECT_EQ(bench.ui.copperSourceTextEdit->toPlainText(), "\tdc.w\t$0180,$0502\n");
    }
}

TEST(Workbench, TheFrameShowsTheListWithItsChipDataAndAClickedPixelsStory) {
    Workbench bench;
    // One lores plane at $20000: its first pixel, at H $81 on line $2c, in COLOR01.
    ASSERT_TRUE(bench.paste("\tdc.w\tDIWSTRT,$2c81,DIWSTOP,$2cc1,DDFSTRT,$38,DDFSTOP,$d0\n"
                            "\tdc.w\tBPL1PTH,$2,BPL1PTL,0,BPLCON0,$1200,COLOR01,$f00\n"
                            "\tdc.w\t$ffff,$fffe\n"));
    QTemporaryDir folder;
    QFile chip(folder.filePath("planes.bin"));
    ASSERT_TRUE(chip.open(QIODevice::WriteOnly));
    chip.write(QByteArray("\x80\x00", 2));
    chip.close();
    FrameView &view = *bench.tool.frameView();
    ASSERT_TRUE(view.addChipFile(chip.fileName(), 0x20000));
    // The visible PAL frame: H $5c-$1d3 at two columns each, lines $1a-$137.
    ASSERT_EQ(view.frameImage().size(), QSize(752, 286));
    const int x = 2 * (0x81 - 0x5c), y = 0x2c - 0x1a;
    EXPECT_EQ(view.frameImage().pixel(x, y), 0xffff0000u);
    QTest::mouseClick(view.controls()->frameLabel, Qt::LeftButton, {}, QPoint(x, y));
    EXPECT_TRUE(view.storyText().contains(QStringLiteral("COLOR01 = #ff0000")))
        << view.storyText().toStdString();
    // The COLOR01 MOVE is the eighth instruction: its row is selected.
    EXPECT_EQ(bench.ui.listingListView->currentIndex().row(), 7);
}
