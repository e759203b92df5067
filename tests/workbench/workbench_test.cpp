// The Copper workbench as a user drives it: a list pasted and read, an instruction selected, the
// frame preview's bands. The expected lines are worked out by hand from the words (a WAIT for
// line $2c takes effect on that line; see tests/amiga/copperframe_test.cpp for the beam).
#include "ui_CopperWorkbenchViewController.h"
#include "workbench/CopperWorkbenchViewController.h"

#include "common/CopperFramePreview.h"
#include "workbench/CopperListingModel.h"

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
    EXPECT_FALSE(bench.paste("0180 0502\n\tdc.w\tCOLOR00,(1\n"));
    EXPECT_TRUE(
        bench.ui.readMessageLabel->text().startsWith("Line 2, column 15: a '(' that is not closed"))
        << bench.ui.readMessageLabel->text().toStdString();
    EXPECT_EQ(bench.tool.listingModel()->rowCount(), 1);
    // The pasted text is left as it was, to be mended.
    EXPECT_TRUE(bench.ui.copperSourceTextEdit->toPlainText().contains("COLOR00,(1"));
}

// The symbol field reaches the reader: Return in it reads the list again with its values; a
// colour not known is a band of no colour in the preview.
TEST(Workbench, TheSymbolFieldGivesUndefinedSymbolsValues) {
    Workbench bench;
    ASSERT_TRUE(bench.paste("\tdc.w\tCOLOR00,$0f00\n\tsection\tc,data_c\n"
                            "\tdc.w\t$2c07,$fffe,COLOR00,sky\n"));
    EXPECT_TRUE(bench.ui.readMessageLabel->text().contains("1 with a word not known"));
    EXPECT_TRUE(bench.ui.readMessageLabel->text().contains("Line 2: section passed over"));
    EXPECT_EQ(bench.ui.framePreview->bands(0),
              (QVector<Band>{{0, 0x2b, QColor(255, 0, 0)}, {0x2c, 0x137, QColor()}}));
    bench.ui.symbolsLineEdit->setText("sky=$00f");
    QTest::keyClick(bench.ui.symbolsLineEdit, Qt::Key_Return);
    EXPECT_TRUE(bench.tool.listingText().endsWith("\tdc.w\tCOLOR00,$000f\t; colour 0 = $00f\n"))
        << bench.tool.listingText().toStdString();
    EXPECT_EQ(bench.ui.framePreview->bands(0).back(), (Band{0x2c, 0x137, QColor(0, 0, 255)}));
    bench.ui.symbolsLineEdit->setText("sky");
    EXPECT_FALSE(bench.tool.readList());
    EXPECT_TRUE(bench.ui.readMessageLabel->text().startsWith("Symbols: 'sky'"));
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
