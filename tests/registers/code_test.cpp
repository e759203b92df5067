// The Registers tab's code: the line that writes the word, set/clear, the copper choice and Copy;
// the blitter section; and the same text as quillfen-asm prints, assembled as pasted.
#include "registers/RegistersViewController.h"
#include "ui_RegistersViewController.h"

#include "QtPrinters.h"
#include "m68k_assembler.h"
#include "run_program.h"
#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

class RegisterCodeTab : public ::testing::Test {
protected:
    void SetUp() override {
        controller = std::make_unique<RegistersViewController>();
        controller->show();
        ui = controller->controls();
    }
    void show(const QString &name) {
        QComboBox *popUp = ui->registerPopUpButton;
        popUp->setCurrentIndex(popUp->findText(name));
        controller->changeRegister(popUp);
    }
    void tick(int bit) { controller->viewWithTag(bit + 1)->click(); }
    void goal(const QString &text) {
        ui->goalSeekTextField->setText(text);
        ui->goalSeekButton->click();
    }
    QString code() const { return ui->registerCodeTextView->toPlainText(); }
    QString blitterCode() const { return ui->blitterCodeTextView->toPlainText(); }

    std::unique_ptr<RegistersViewController> controller;
    Ui::RegistersViewController *ui = nullptr;
};

// What quillfen-asm prints for the arguments.
QString commandLine(const std::string &arguments) {
    return QString::fromStdString(testprogram::run(QUILLFEN_ASM_TOOL, arguments).out);
}

} // namespace

TEST_F(RegisterCodeTab, TheWordBecomesTheLineThatWritesIt) {
    show("BPLCON0");
    EXPECT_EQ(code(), "\tmove.w\t#$0000,BPLCON0(a6)\t; all bits clear\n");
    goal("5200");
    EXPECT_EQ(code(), "\tmove.w\t#$5200,BPLCON0(a6)\t; BPU=5 COLOR\n");
    ui->registerCopperButton->click();
    EXPECT_EQ(code(), "\tdc.w\tBPLCON0,$5200\t; BPU=5 COLOR\n");
    // The set/clear choice is for the four registers that have bit 15 SET/CLR.
    EXPECT_FALSE(ui->setClearPopUpButton->isEnabled());

    ui->copyRegisterCodeButton->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), code());
}

TEST_F(RegisterCodeTab, SetAndClearWriteBitFifteen) {
    show("DMACON");
    EXPECT_TRUE(ui->setClearPopUpButton->isEnabled());
    // DMAEN, BPLEN and COPEN are bits 9, 8 and 7.
    for (int bit : {9, 8, 7})
        tick(bit);
    EXPECT_EQ(code(), "\tmove.w\t#$8380,DMACON(a6)\t; SET DMAEN BPLEN COPEN\n");
    ui->setClearPopUpButton->setCurrentIndex(1);
    EXPECT_EQ(code(), "\tmove.w\t#$0380,DMACON(a6)\t; CLEAR DMAEN BPLEN COPEN\n");
    // Ticking SET/CLR itself does not overrule the choice.
    tick(15);
    EXPECT_EQ(code(), "\tmove.w\t#$0380,DMACON(a6)\t; CLEAR DMAEN BPLEN COPEN\n");
    show("BPLCON0");
    EXPECT_FALSE(ui->setClearPopUpButton->isEnabled());
}

TEST_F(RegisterCodeTab, TheTabAndTheCommandLinePrintTheSameLines) {
    struct Case {
        const char *name;
        const char *value;
        int setClear; // -1 none, 0 set, 1 clear
        bool copper;
        int chipset; // the pop-up's index: 0 OCS, 1 ECS, 2 AGA
    };
    const Case cases[] = {{"BPLCON0", "5200", -1, false, 2}, {"BPLCON3", "0c00", -1, true, 2},
                          {"INTENA", "c020", 0, false, 2},   {"ADKCON", "1100", 1, true, 2},
                          {"DMACONR", "0200", -1, false, 2}, {"BLTCON0", "09f0", -1, true, 2},
                          {"FMODE", "000f", -1, false, 0},   {"SPR0CTL", "0019", -1, false, 2},
                          {"BPLCON1", "ff11", -1, true, 1},  {"BPLCON1", "ff11", -1, true, 2}};
    const char *const chipsets[] = {"ocs", "ecs", "aga"};
    for (const Case &c : cases) {
        show(c.name);
        if (c.setClear >= 0)
            ui->setClearPopUpButton->setCurrentIndex(c.setClear);
        ui->registerCopperButton->setChecked(c.copper);
        goal(c.value);
        // Another chipset renames the bits and keeps them ticked.
        ui->chipsetPopUpButton->setCurrentIndex(c.chipset);
        controller->changeChipset();
        std::string arguments =
            std::string("register ") + c.name + " " + c.value + " --chipset " + chipsets[c.chipset];
        if (c.setClear >= 0)
            arguments += c.setClear == 0 ? " --set" : " --clear";
        if (c.copper)
            arguments += " --copper";
        EXPECT_EQ(code(), commandLine(arguments)) << arguments;
    }
    // BPLCON1 on ECS: bits 3-0 are PF1H3-0 and bits 15-8 unused (Hardware Reference Manual); on
    // AGA bit 0 is PF1H2 and bit 8 PF1H0 (AGA documentation).
    show("BPLCON1");
    EXPECT_EQ(controller->viewWithTag(1)->text(), "PF1H2");
    EXPECT_EQ(controller->viewWithTag(9)->text(), "PF1H0");
    ui->chipsetPopUpButton->setCurrentIndex(1);
    controller->changeChipset();
    EXPECT_EQ(controller->viewWithTag(1)->text(), "PF1H0");
    EXPECT_EQ(controller->viewWithTag(9)->text(), "unused");
}

TEST_F(RegisterCodeTab, TheBlitterSectionWritesThePresetsAndTheFunction) {
    QComboBox *presets = ui->blitterPresetPopUpButton;
    auto choose = [presets](const QString &name) {
        presets->setCurrentIndex(presets->findText(name));
        emit presets->activated(presets->currentIndex());
    };
    choose("Cookie-cut");
    ui->blitterAShiftSpinBox->setValue(4);
    ui->blitterBShiftSpinBox->setValue(4);
    ui->blitterWidthSpinBox->setValue(4);
    ui->blitterHeightSpinBox->setValue(20);
    EXPECT_EQ(blitterCode(), commandLine("blitter --function 'AB+!AC' --channels ABCD --ashift 4 "
                                         "--bshift 4 --width 4 --height 20"));
    EXPECT_TRUE(blitterCode().startsWith("\tmove.w\t#$4fca,BLTCON0(a6)"));
    EXPECT_TRUE(blitterCode().contains("\tmove.w\t#$4000,BLTCON1(a6)"));
    EXPECT_EQ(ui->blitterMintermsLabel->text(), "LF $ca");

    ui->blitterAShiftSpinBox->setValue(0);
    ui->blitterBShiftSpinBox->setValue(0);
    choose("Clear D");
    EXPECT_TRUE(blitterCode().startsWith("\tmove.w\t#$0100,BLTCON0(a6)"))
        << blitterCode().toStdString();
    choose("Copy A to D");
    EXPECT_TRUE(blitterCode().startsWith("\tmove.w\t#$09f0,BLTCON0(a6)"))
        << blitterCode().toStdString();

    // A fill is descending whatever the box said; carry-in only with a fill.
    EXPECT_FALSE(ui->blitterFillCarryInButton->isEnabled());
    choose("Area fill");
    EXPECT_TRUE(ui->blitterDescendingButton->isChecked());
    EXPECT_FALSE(ui->blitterDescendingButton->isEnabled());
    EXPECT_TRUE(blitterCode().contains("#$000a,BLTCON1")) << blitterCode().toStdString();

    // Typing a function: the channels follow what it reads; a fault shows instead of code.
    ui->blitterFunctionTextField->clear();
    QTest::keyClicks(ui->blitterFunctionTextField, "A|B");
    EXPECT_EQ(presets->currentIndex(), 0);
    EXPECT_EQ(ui->blitterMintermsLabel->text(), "LF $fc");
    EXPECT_TRUE(ui->blitterUseBButton->isChecked());
    EXPECT_FALSE(ui->blitterUseCButton->isChecked());
    QTest::keyClicks(ui->blitterFunctionTextField, "+");
    EXPECT_TRUE(ui->blitterMintermsLabel->text().startsWith("Cannot read"));
    EXPECT_EQ(blitterCode(), "");

    ui->blitterCopperButton->click();
    QTest::keyClick(ui->blitterFunctionTextField, Qt::Key_Backspace);
    ui->blitterCopyButton->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), blitterCode());
    EXPECT_TRUE(blitterCode().contains("\tdc.w\tBLTCON0,$0dfc")) << blitterCode().toStdString();
}

TEST_F(RegisterCodeTab, WhatTheTabShowsAssemblesAsPasted) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    show("DMACON");
    for (int bit : {9, 8, 7})
        tick(bit);
    QString text = code();
    ui->registerCopperButton->click();
    text += code();
    // move.w #imm,d16(a6) is $3d7c, the word, the offset; DMACON is $096. The blitter's default
    // is a copy of A to D, $09f0 and $0000 into BLTCON0 ($040) and BLTCON1 ($042).
    text += blitterCode();
    const m68k::Result result = m68k::assemble(text.toStdString());
    ASSERT_TRUE(result.words) << result.messages;
    EXPECT_EQ(*result.words,
              (std::vector<std::uint16_t>{0x3d7c, 0x8380, 0x0096, 0x0096, 0x8380, 0x3d7c, 0x09f0,
                                          0x0040, 0x3d7c, 0x0000, 0x0042}));
}
