#include "display/DisplayViewController.h"
#include "common/TextFields.h"
#include "ui_DisplayViewController.h"

#include <QLocale>
#include <amiga/bitplanememory.h>
#include <array>
#include <cstdint>

namespace {

constexpr std::array<std::uint8_t, 8> depthTable = {1, 2, 3, 4, 5, 6, 7, 8};

// Decimal digits in groups of three, separated by the current locale's
// grouping separator (51200 reads 51,200 in an English locale).
QString grouped(std::uint64_t value) {
    const QString digits = QString::number(value);
    const QString separator = QLocale().groupSeparator();
    QString result;
    result.reserve(digits.size() + digits.size() / 3 * separator.size());
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += separator;
        result += digits[i];
    }
    return result;
}

} // namespace

DisplayViewController::DisplayViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::DisplayViewController>()) {
    ui->setupUi(this);
    configureController();
}

DisplayViewController::~DisplayViewController() = default;

void DisplayViewController::configureController() {
    for (QLineEdit *field :
         {ui->displayWidthTextField, ui->displayHeightTextField, ui->displayDepthTextField}) {
        connect(field, &QLineEdit::textEdited, this,
                [this, field] { controlTextDidChange(field); });
    }
    // activated is sent only for the user's choice, never for a selection made by code.
    connect(ui->displayColoursPopupButton, &QComboBox::activated, this,
            &DisplayViewController::changeColours);
    // Start with a worked example instead of empty results.
    calculateDisplay();
}

void DisplayViewController::changeColours(int index) {
    if (index < 0 || index >= static_cast<int>(depthTable.size()))
        return;
    ui->displayDepthTextField->setText(QString::number(depthTable[index]));
    calculateDisplay();
}

void DisplayViewController::calculateDisplay() {
    const auto value = [](const QLineEdit *field) {
        return static_cast<std::uint64_t>(integerValue(field->text()));
    };
    const amiga::BitplaneMemory m =
        amiga::bitplaneMemory(value(ui->displayWidthTextField), value(ui->displayHeightTextField),
                              value(ui->displayDepthTextField));

    auto operands = [](std::uint64_t x, std::uint64_t y) {
        return QStringLiteral("(%1 x %2)").arg(static_cast<qint64>(x)).arg(static_cast<qint64>(y));
    };

    ui->bytesBitplaneLineTextField->setText(grouped(m.bytesPerLine));
    ui->bytesBitplaneLineLabel->setText(
        QStringLiteral("(%1 \u00f7 8)").arg(static_cast<qint64>(m.width)));
    ui->bytesBitplaneTextField->setText(grouped(m.bytesPerPlane));
    ui->bytesBitplaneLabel->setText(operands(m.bytesPerLine, m.height));

    QSignalBlocker blocker(ui->displayColoursPopupButton);
    if (m.depth == 0) {
        // No depth yet (the field was emptied): the results that need one stay
        // blank until a depth is typed or chosen.
        for (QLineEdit *field :
             {ui->bytesAllBitplanesTextField, ui->bytesPerBitplaneLineAllBitplanesTextField,
              ui->moduloTextField, ui->moduloHexTextField})
            field->clear();
        for (QLabel *label : {ui->bytesAllBitplanesLabel, ui->bytesPerBitplaneLineAllBitplanesLabel,
                              ui->moduloLabel})
            label->clear();
        ui->displayColoursPopupButton->setCurrentIndex(-1);
        return;
    }

    ui->bytesAllBitplanesTextField->setText(grouped(m.bytesAllPlanes));
    ui->bytesAllBitplanesLabel->setText(operands(m.bytesPerPlane, m.depth));
    ui->bytesPerBitplaneLineAllBitplanesTextField->setText(grouped(m.bytesPerLineAllPlanes));
    ui->bytesPerBitplaneLineAllBitplanesLabel->setText(operands(m.bytesPerLine, m.depth));
    ui->moduloTextField->setText(grouped(m.interleavedModulo));
    ui->moduloHexTextField->setText(QStringLiteral("0x%1").arg(m.interleavedModulo, 0, 16));
    ui->moduloLabel->setText(QStringLiteral("(%1 - %2)")
                                 .arg(static_cast<qint64>(m.bytesPerLineAllPlanes))
                                 .arg(static_cast<qint64>(m.bytesPerLine)));
    ui->displayColoursPopupButton->setCurrentIndex(static_cast<int>(m.depth) - 1);
}

void DisplayViewController::controlTextDidChange(QLineEdit *field) {
    if (field == ui->displayWidthTextField || field == ui->displayHeightTextField) {
        keepOnly(field, u"0123456789");
        if (!field->text().isEmpty())
            calculateDisplay();
    } else if (field == ui->displayDepthTextField) {
        keepOnly(field, u"12345678", 1);
        calculateDisplay();
    }
}
