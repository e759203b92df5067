// The Registers tab's wiring: each control reaches RegistersTool, each output shows what the
// tool computes, and one parity case per code view with quillfen-asm.
#include "registers/RegistersViewController.h"
#include "ui_RegistersViewController.h"

#include "QtPrinters.h"
#include "UserInput.h"
#include "run_program.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RegistersTab : public ::testing::Test {
protected:
    void SetUp() override { controller.show(); }
    QAbstractButton *bit(int i) const { return controller.viewWithTag(i + 1); }
    void choose(const QString &name) {
        userinput::chooseWithKeys(ui->registerPopUpButton, ui->registerPopUpButton->findText(name));
    }
    // Every output shows what the tool computes from what the controls hold.
    void expectViewsShowTheTool() {
        const RegistersTool &tool = controller.tool();
        QStringList shown;
        for (const QLabel *label :
             {ui->lowByteLabel, ui->lowByteBase16Label, ui->lowByteBinaryLabel, ui->highByteLabel,
              ui->highByteBase16Label, ui->highByteBinaryLabel, ui->finalWordLabel,
              ui->finalWordBase16Label, ui->finalBinaryLabel, ui->groupWordLabel,
              ui->groupWordBase16Label, ui->groupBinaryLabel})
            shown << label->text();
        if (tool.groupResults().isEmpty())
            shown = shown.mid(0, 9);
        EXPECT_EQ(shown, tool.results() + tool.groupResults());
        EXPECT_EQ(ui->registerCodeTextView->toPlainText(), tool.code());
        EXPECT_EQ(ui->setClearPopUpButton->isEnabled(), tool.setClearAllowed());
        for (int i = 0; i < 16; ++i) {
            const RegistersTool::BitLabel label = tool.bitLabel(i);
            EXPECT_EQ(QStringList({bit(i)->text(), bit(i)->toolTip(), bit(i)->accessibleName(),
                                   bit(i)->accessibleDescription()}),
                      QStringList({label.title, label.toolTip, label.accessibleName,
                                   label.accessibleDescription}))
                << i;
            EXPECT_EQ(std::pair(bit(i)->font().italic(), bit(i)->isChecked()),
                      std::pair(label.italic, (tool.word >> i & 1) != 0))
                << i;
        }
        EXPECT_EQ(ui->blitterMintermsLabel->text(), tool.blitter.minterms());
        EXPECT_EQ(ui->blitterCodeTextView->toPlainText(), tool.blitter.code());
        EXPECT_EQ(ui->blitterDescendingButton->isChecked(), tool.blitter.descending);
        EXPECT_EQ(ui->blitterDescendingButton->isEnabled(), tool.blitter.descendingAllowed());
        EXPECT_EQ(ui->blitterFillCarryInButton->isEnabled(), tool.blitter.fillCarryInAllowed());
    }

    RegistersViewController controller;
    Ui::RegistersViewController *ui = controller.controls();
};

} // namespace

// The controls of a register word reach the tool: the tab prints what quillfen-asm prints.
TEST_F(RegistersTab, TheTabAndTheCommandLinePrintTheSameRegisterLine) {
    // What the field keeps is RegisterWord's (registers_tool_test.cpp): one case shows it applies.
    userinput::type(ui->goalSeekTextField, "0x52001");
    EXPECT_EQ(ui->goalSeekTextField->text(), "0x5200");
    // A stray character typed in the middle goes, and the cursor stays after the digits
    // before it; nothing is computed until the goal is sought.
    ui->goalSeekTextField->setCursorPosition(2);
    QTest::keyClicks(ui->goalSeekTextField, "z");
    EXPECT_EQ(ui->goalSeekTextField->cursorPosition(), 2);
    EXPECT_EQ(controller.tool().word, 0);
    choose("DMACON");
    for (int i : {9, 8, 7}) // DMAEN, BPLEN, COPEN
        bit(i)->click();
    userinput::chooseWithKeys(ui->setClearPopUpButton, 1);
    userinput::click(ui->registerCopperButton);
    userinput::chooseWithKeys(ui->chipsetPopUpButton, 1);
    EXPECT_EQ(ui->registerCodeTextView->toPlainText().toStdString(),
              testprogram::run(QUILLFEN_ASM_TOOL, "register DMACON 0380 --chipset ecs --clear "
                                                  "--copper")
                  .out);
    expectViewsShowTheTool();
    ui->copyRegisterCodeButton->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), ui->registerCodeTextView->toPlainText());

    // The goal (button and Return), the group pop-up and a typed register name.
    choose("BPLCON0");
    userinput::type(ui->goalSeekTextField, "$5200");
    userinput::click(ui->goalSeekButton);
    EXPECT_EQ(controller.tool().word, 0x5200);
    userinput::type(ui->goalSeekTextField, "3011");
    QTest::keyClick(ui->goalSeekTextField, Qt::Key_Return);
    EXPECT_EQ(controller.tool().word, 0x3011);
    userinput::chooseWithKeys(ui->groupPopUpButton, ui->groupPopUpButton->findText("BPU"));
    EXPECT_EQ(controller.tool().group, "BPU");
    expectViewsShowTheTool();
    // Another chipset keeps the bits ticked.
    userinput::chooseWithKeys(ui->chipsetPopUpButton, 2);
    EXPECT_EQ(controller.tool().word, 0x3011);
    expectViewsShowTheTool();

    QLineEdit *edit = ui->registerPopUpButton->lineEdit();
    userinput::typeAndReturn(edit, "intena");
    EXPECT_EQ(controller.shownRegister()->name, "INTENA");
    userinput::typeAndReturn(edit, "NOSUCH"); // the shown register's name comes back
    EXPECT_EQ(edit->text(), "INTENA");
    expectViewsShowTheTool();

    // The AGA box reports the register; a click does not change it.
    const bool aga = ui->registerIsAGACheckButton->isChecked();
    userinput::click(ui->registerIsAGACheckButton);
    EXPECT_EQ(ui->registerIsAGACheckButton->isChecked(), aga);
}

TEST_F(RegistersTab, TheBlitterSectionPrintsWhatTheCommandLinePrints) {
    QComboBox *presets = ui->blitterPresetPopUpButton;
    userinput::chooseWithKeys(presets, presets->findText("Cookie-cut"));
    ui->blitterAShiftSpinBox->setValue(4);
    ui->blitterBShiftSpinBox->setValue(3);
    ui->blitterWidthSpinBox->setValue(4);
    ui->blitterHeightSpinBox->setValue(20);
    userinput::chooseWithKeys(ui->blitterFillPopUpButton, 2);
    userinput::click(ui->blitterFillCarryInButton);
    userinput::click(ui->blitterCopperButton);
    EXPECT_EQ(ui->blitterCodeTextView->toPlainText().toStdString(),
              testprogram::run(QUILLFEN_ASM_TOOL,
                               "blitter --function 'AB+!AC' --channels ABCD --ashift 4 --bshift 3 "
                               "--fill exclusive --fci --width 4 --height 20 --copper")
                  .out);
    expectViewsShowTheTool();

    // The preset of a fill, a typed function, the channel boxes, the fill pop-up and descending.
    userinput::chooseWithKeys(presets, presets->findText("Area fill"));
    expectViewsShowTheTool();
    EXPECT_EQ(controller.tool().blitter.fill, 1);
    userinput::type(ui->blitterFunctionTextField, "A|B");
    EXPECT_EQ(presets->currentIndex(), 0);
    EXPECT_TRUE(ui->blitterUseBButton->isChecked());
    userinput::click(ui->blitterUseCButton);
    userinput::chooseWithKeys(ui->blitterFillPopUpButton, 0);
    userinput::click(ui->blitterDescendingButton);
    const RegistersTool::Blitter &blit = controller.tool().blitter;
    EXPECT_TRUE(blit.channels.c && blit.fillCarryIn && blit.fill == 0 && !blit.descending);
    expectViewsShowTheTool();
    ui->blitterCopyButton->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), ui->blitterCodeTextView->toPlainText());
}

TEST_F(RegistersTab, WithoutADatabaseTheTabSaysSoAndStillCounts) {
    static int warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &) { ++warnings; });
    controller.parseRegisterData(QByteArray());
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(controller.shownRegister(), nullptr);
    EXPECT_FALSE(ui->registerPopUpButton->isEnabled());
    EXPECT_TRUE(ui->registerSummaryLabel->text().contains("could not be read"));
    bit(7)->click();
    EXPECT_EQ(controller.tool().word, 0x80);
    expectViewsShowTheTool();
}
