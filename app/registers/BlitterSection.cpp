#include "registers/BlitterSection.h"
#include "common/CodeOutputTool.h"
#include "ui_RegistersViewController.h"

#include <QClipboard>
#include <QGuiApplication>

namespace bl = amiga::blitter;

BlitterSection::BlitterSection(Ui::RegistersViewController *controls, QObject *parent)
    : QObject(parent), ui(controls) {
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

std::optional<bl::Blit> BlitterSection::blit() const {
    const QString function = ui->blitterFunctionTextField->text().trimmed();
    const std::optional<std::uint8_t> minterms = bl::parseFunction(function.toStdString());
    if (!minterms)
        return std::nullopt;
    bl::Blit blit;
    blit.minterms = *minterms;
    blit.function = function.toStdString();
    blit.channels = {ui->blitterUseAButton->isChecked(), ui->blitterUseBButton->isChecked(),
                     ui->blitterUseCButton->isChecked(), ui->blitterUseDButton->isChecked()};
    blit.aShift = ui->blitterAShiftSpinBox->value();
    blit.bShift = ui->blitterBShiftSpinBox->value();
    blit.descending = ui->blitterDescendingButton->isChecked();
    blit.fill = static_cast<bl::Fill>(ui->blitterFillPopUpButton->currentIndex());
    blit.fillCarryIn = ui->blitterFillCarryInButton->isChecked();
    blit.widthWords = ui->blitterWidthSpinBox->value();
    blit.heightLines = ui->blitterHeightSpinBox->value();
    return blit;
}

void BlitterSection::choosePreset(int index) {
    const std::vector<bl::Preset> &presets = bl::presets();
    if (index < 1 || index > static_cast<int>(presets.size()))
        return;
    const bl::Preset &preset = presets[static_cast<std::size_t>(index - 1)];
    ui->blitterFunctionTextField->setText(QString::fromLatin1(preset.function));
    showChannels(bl::parseChannels(preset.channels).value_or(bl::Channels{}));
    ui->blitterFillPopUpButton->setCurrentIndex(static_cast<int>(preset.fill));
    ui->blitterPresetPopUpButton->setCurrentIndex(index);
    ui->blitterPresetPopUpButton->setToolTip(QString::fromLatin1(preset.summary));
    update();
}

void BlitterSection::showChannels(const bl::Channels &channels) {
    ui->blitterUseAButton->setChecked(channels.a);
    ui->blitterUseBButton->setChecked(channels.b);
    ui->blitterUseCButton->setChecked(channels.c);
    ui->blitterUseDButton->setChecked(channels.d);
}

void BlitterSection::functionEdited() {
    ui->blitterPresetPopUpButton->setCurrentIndex(0);
    ui->blitterPresetPopUpButton->setToolTip(QStringLiteral("Fill in a common blit"));
    const std::optional<std::uint8_t> minterms =
        bl::parseFunction(ui->blitterFunctionTextField->text().toStdString());
    if (minterms)
        showChannels(bl::channelsFor(*minterms));
    update();
}

void BlitterSection::update() {
    // A fill works only descending; the fill carry-in means something only in a fill.
    const bool fill = ui->blitterFillPopUpButton->currentIndex() != 0;
    ui->blitterDescendingButton->setEnabled(!fill);
    if (fill && !ui->blitterDescendingButton->isChecked()) {
        const QSignalBlocker blocker(ui->blitterDescendingButton);
        ui->blitterDescendingButton->setChecked(true);
    }
    ui->blitterFillCarryInButton->setEnabled(fill);

    std::string error;
    const std::optional<std::uint8_t> minterms =
        bl::parseFunction(ui->blitterFunctionTextField->text().trimmed().toStdString(), &error);
    if (!minterms) {
        ui->blitterMintermsLabel->setText(QString::fromStdString("Cannot read: " + error));
        ui->blitterCodeTextView->clear();
        return;
    }
    ui->blitterMintermsLabel->setText(
        QStringLiteral("LF $%1").arg(*minterms, 2, 16, QLatin1Char('0')));
    ui->blitterCodeTextView->setPlainText(
        QString::fromStdString(bl::blitterCode(*blit(), ui->blitterCopperButton->isChecked())));
}

void BlitterSection::copyCode() {
    QGuiApplication::clipboard()->setText(ui->blitterCodeTextView->toPlainText());
}
