#include "display/DisplayViewController.h"
#include "common/TextFields.h"
#include "ui_DisplayViewController.h"

#include <QLocale>
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
    const std::uint64_t w = integerValue(ui->displayWidthTextField->text());
    const std::uint64_t h = integerValue(ui->displayHeightTextField->text());
    const std::uint64_t d = integerValue(ui->displayDepthTextField->text());

    const std::uint64_t l = w >> 3;
    const std::uint64_t p = l * h;
    const std::uint64_t a = p * d;
    const std::uint64_t la = l * d;
    const std::uint64_t m = la - l;

    auto operands = [](std::uint64_t x, std::uint64_t y) {
        return QStringLiteral("(%1 x %2)").arg(static_cast<qint64>(x)).arg(static_cast<qint64>(y));
    };

    ui->bytesBitplaneLineTextField->setText(grouped(l));
    ui->bytesBitplaneLineLabel->setText(
        QStringLiteral("(%1 \u00f7 8)").arg(static_cast<qint64>(w)));
    ui->bytesBitplaneTextField->setText(grouped(p));
    ui->bytesBitplaneLabel->setText(operands(l, h));

    QSignalBlocker blocker(ui->displayColoursPopupButton);
    if (d == 0) {
        // No depth yet (the field was emptied): the results that need one stay
        // blank until a depth is typed or chosen, rather than showing a modulo
        // that has wrapped below zero.
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

    ui->bytesAllBitplanesTextField->setText(grouped(a));
    ui->bytesAllBitplanesLabel->setText(operands(p, d));
    ui->bytesPerBitplaneLineAllBitplanesTextField->setText(grouped(la));
    ui->bytesPerBitplaneLineAllBitplanesLabel->setText(operands(l, d));
    ui->moduloTextField->setText(grouped(m));
    ui->moduloHexTextField->setText(QStringLiteral("0x%1").arg(m, 0, 16));
    ui->moduloLabel->setText(
        QStringLiteral("(%1 - %2)").arg(static_cast<qint64>(la)).arg(static_cast<qint64>(l)));
    ui->displayColoursPopupButton->setCurrentIndex(static_cast<int>(d) - 1);
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
