#include "registers/BlitterSection.h"
#include "common/CodeOutputTool.h"
#include "ui_RegistersViewController.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalBlocker>

BlitterSection::BlitterSection(Ui::RegistersViewController *controls, RegistersTool::Blitter *tool,
                               QObject *parent)
    : QObject(parent), ui(controls), m_tool(tool) {
    showAsCode(ui->blitterCodeTextView);
    ui->blitterCodeTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(ui->blitterPresetPopUpButton, &QComboBox::activated, this,
            &BlitterSection::choosePreset);
    connect(ui->blitterFunctionTextField, &QLineEdit::textEdited, this,
            &BlitterSection::functionEdited);
    for (QCheckBox *box : {ui->blitterUseAButton, ui->blitterUseBButton, ui->blitterUseCButton,
                           ui->blitterUseDButton, ui->blitterDescendingButton,
                           ui->blitterFillCarryInButton, ui->blitterCopperButton})
        connect(box, &QAbstractButton::toggled, this, &BlitterSection::update);
    for (QSpinBox *box : {ui->blitterAShiftSpinBox, ui->blitterBShiftSpinBox,
                          ui->blitterWidthSpinBox, ui->blitterHeightSpinBox})
        connect(box, &QSpinBox::valueChanged, this, &BlitterSection::update);
    connect(ui->blitterFillPopUpButton, &QComboBox::currentIndexChanged, this,
            &BlitterSection::update);
    connect(ui->blitterCopyButton, &QPushButton::clicked, this, &BlitterSection::copyCode);
    update();
}

void BlitterSection::readControls() {
    RegistersTool::Blitter &blit = *m_tool;
    blit.function = ui->blitterFunctionTextField->text();
    blit.channels = {ui->blitterUseAButton->isChecked(), ui->blitterUseBButton->isChecked(),
                     ui->blitterUseCButton->isChecked(), ui->blitterUseDButton->isChecked()};
    blit.aShift = ui->blitterAShiftSpinBox->value();
    blit.bShift = ui->blitterBShiftSpinBox->value();
    blit.descending = ui->blitterDescendingButton->isChecked();
    blit.fill = ui->blitterFillPopUpButton->currentIndex();
    blit.fillCarryIn = ui->blitterFillCarryInButton->isChecked();
    blit.widthWords = ui->blitterWidthSpinBox->value();
    blit.heightLines = ui->blitterHeightSpinBox->value();
    blit.copper = ui->blitterCopperButton->isChecked();
    blit.preset = ui->blitterPresetPopUpButton->currentIndex();
}

void BlitterSection::showBlit() {
    // Setting the text the user is typing would move the cursor to its end.
    if (ui->blitterFunctionTextField->text() != m_tool->function)
        ui->blitterFunctionTextField->setText(m_tool->function);
    const QSignalBlocker a(ui->blitterUseAButton), b(ui->blitterUseBButton),
        c(ui->blitterUseCButton), d(ui->blitterUseDButton), f(ui->blitterFillPopUpButton);
    ui->blitterUseAButton->setChecked(m_tool->channels.a);
    ui->blitterUseBButton->setChecked(m_tool->channels.b);
    ui->blitterUseCButton->setChecked(m_tool->channels.c);
    ui->blitterUseDButton->setChecked(m_tool->channels.d);
    ui->blitterFillPopUpButton->setCurrentIndex(m_tool->fill);
    ui->blitterPresetPopUpButton->setCurrentIndex(m_tool->preset);
    ui->blitterPresetPopUpButton->setToolTip(m_tool->presetTip);
}

void BlitterSection::choosePreset(int index) {
    readControls();
    if (!m_tool->choosePreset(index))
        return;
    showBlit();
    update();
}

void BlitterSection::functionEdited() {
    readControls();
    m_tool->functionEdited();
    showBlit();
    update();
}

void BlitterSection::update() {
    readControls();
    m_tool->applyFillRules();
    ui->blitterDescendingButton->setEnabled(m_tool->descendingAllowed());
    if (ui->blitterDescendingButton->isChecked() != m_tool->descending) {
        const QSignalBlocker blocker(ui->blitterDescendingButton);
        ui->blitterDescendingButton->setChecked(m_tool->descending);
    }
    ui->blitterFillCarryInButton->setEnabled(m_tool->fillCarryInAllowed());
    ui->blitterMintermsLabel->setText(m_tool->minterms());
    const QString code = m_tool->code();
    if (code.isEmpty())
        ui->blitterCodeTextView->clear();
    else
        ui->blitterCodeTextView->setPlainText(code);
}

void BlitterSection::copyCode() {
    QGuiApplication::clipboard()->setText(ui->blitterCodeTextView->toPlainText());
}
