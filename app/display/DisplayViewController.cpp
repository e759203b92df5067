#include "display/DisplayViewController.h"
#include "common/TextFields.h"
#include "ui_DisplayViewController.h"

#include "common/HexFormatter.h"
#include "common/HexToInteger.h"
#include "common/Wrapping.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QLocale>
#include <QStandardItemModel>
#include <algorithm>
#include <amiga/asmtext.h>
#include <amiga/bitplanememory.h>
#include <amiga/displaysetup.h>
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

    // The screen's set-up: every choice recomputes it.
    auto *hexFormatter = new HexFormatter(3, this);
    for (QLineEdit *field : {ui->hstartTextField, ui->vstartTextField}) {
        field->setValidator(hexFormatter);
        connect(field, &QLineEdit::textEdited, this, &DisplayViewController::calculateDisplaySetup);
    }
    for (QComboBox *popUp : {ui->chipsetPopUpButton, ui->videoStandardPopUpButton,
                             ui->resolutionPopUpButton, ui->fetchModePopUpButton})
        connect(popUp, &QComboBox::activated, this, [this] {
            enableChipsetChoices();
            calculateDisplaySetup();
        });
    for (QCheckBox *box : {ui->centredButton, ui->interlaceButton, ui->interleavedButton,
                           ui->scrollButton, ui->setupCopperInstructionsButton})
        connect(box, &QCheckBox::clicked, this, [this] {
            enableChipsetChoices();
            calculateDisplaySetup();
        });
    connect(ui->copySetupCodeButton, &QPushButton::clicked, this,
            &DisplayViewController::copySetupCode);
    disableWordWrap(ui->setupCodeTextView);
    // Code reads best in a fixed-width font, as it will in the editor it goes to.
    showAsCode(ui->setupCodeTextView);
    for (QLabel *label : ui->setupGroupBox->findChildren<QLabel *>())
        if (label->objectName().endsWith(QLatin1String("WarningLabel")))
            label->setStyleSheet(QStringLiteral("color: #a33a00"));

    enableChipsetChoices();
    // Start with a worked example instead of empty results.
    calculateDisplay();
}

void DisplayViewController::enableChipsetChoices() {
    const int chipset = ui->chipsetPopUpButton->currentIndex(); // OCS, ECS, AGA
    // Superhires needs ECS or AGA; OCS falls back to hires.
    auto *resolutions = qobject_cast<QStandardItemModel *>(ui->resolutionPopUpButton->model());
    if (resolutions)
        resolutions->item(2)->setEnabled(chipset != 0);
    if (chipset == 0 && ui->resolutionPopUpButton->currentIndex() == 2)
        ui->resolutionPopUpButton->setCurrentIndex(1);
    ui->fetchModePopUpButton->setEnabled(chipset == 2);
    if (chipset != 2)
        ui->fetchModePopUpButton->setCurrentIndex(0);
    const bool centred = ui->centredButton->isChecked();
    ui->hstartTextField->setEnabled(!centred);
    ui->vstartTextField->setEnabled(!centred);
}

void DisplayViewController::calculateDisplaySetup() {
    amiga::DisplayRequest request;
    request.chipset = static_cast<amiga::Chipset>(ui->chipsetPopUpButton->currentIndex());
    request.ntsc = ui->videoStandardPopUpButton->currentIndex() == 1;
    request.resolution =
        static_cast<amiga::Resolution>(std::max(0, ui->resolutionPopUpButton->currentIndex()));
    request.interlace = ui->interlaceButton->isChecked();
    request.interleaved = ui->interleavedButton->isChecked();
    request.scroll = ui->scrollButton->isChecked();
    request.fetchMode = std::max(0, ui->fetchModePopUpButton->currentIndex());
    const auto number = [](const QLineEdit *field) {
        return static_cast<int>(std::clamp<qint64>(integerValue(field->text()), 0, 99999));
    };
    request.width = number(ui->displayWidthTextField);
    request.height = number(ui->displayHeightTextField);
    request.depth = number(ui->displayDepthTextField);
    if (ui->centredButton->isChecked()) {
        request.hstart.reset();
        request.vstart.reset();
    } else {
        request.hstart = static_cast<int>(convertHexToInteger(ui->hstartTextField->text()));
        request.vstart = static_cast<int>(convertHexToInteger(ui->vstartTextField->text()));
    }
    const amiga::DisplaySetup setup = amiga::displaySetup(request);

    struct Row {
        amiga::DisplayRegister reg;
        QLabel *name, *value, *arithmetic, *warning;
    };
    const Row rows[] = {
        {amiga::DisplayRegister::Diwstrt, ui->diwstrtNameLabel, ui->diwstrtValueLabel,
         ui->diwstrtArithmeticLabel, ui->diwstrtWarningLabel},
        {amiga::DisplayRegister::Diwstop, ui->diwstopNameLabel, ui->diwstopValueLabel,
         ui->diwstopArithmeticLabel, ui->diwstopWarningLabel},
        {amiga::DisplayRegister::Diwhigh, ui->diwhighNameLabel, ui->diwhighValueLabel,
         ui->diwhighArithmeticLabel, ui->diwhighWarningLabel},
        {amiga::DisplayRegister::Ddfstrt, ui->ddfstrtNameLabel, ui->ddfstrtValueLabel,
         ui->ddfstrtArithmeticLabel, ui->ddfstrtWarningLabel},
        {amiga::DisplayRegister::Ddfstop, ui->ddfstopNameLabel, ui->ddfstopValueLabel,
         ui->ddfstopArithmeticLabel, ui->ddfstopWarningLabel},
        {amiga::DisplayRegister::Bplcon0, ui->bplcon0NameLabel, ui->bplcon0ValueLabel,
         ui->bplcon0ArithmeticLabel, ui->bplcon0WarningLabel},
        {amiga::DisplayRegister::Bplcon1, ui->bplcon1NameLabel, ui->bplcon1ValueLabel,
         ui->bplcon1ArithmeticLabel, ui->bplcon1WarningLabel},
        {amiga::DisplayRegister::Bpl1mod, ui->bpl1modNameLabel, ui->bpl1modValueLabel,
         ui->bpl1modArithmeticLabel, ui->bpl1modWarningLabel},
        {amiga::DisplayRegister::Bpl2mod, ui->bpl2modNameLabel, ui->bpl2modValueLabel,
         ui->bpl2modArithmeticLabel, ui->bpl2modWarningLabel},
        {amiga::DisplayRegister::Fmode, ui->fmodeNameLabel, ui->fmodeValueLabel,
         ui->fmodeArithmeticLabel, ui->fmodeWarningLabel},
    };
    for (const Row &row : rows) {
        const amiga::DisplayValue *value = setup.find(row.reg);
        QStringList warnings;
        for (const amiga::DisplayWarning &warning : setup.warnings)
            if (warning.reg == row.reg)
                warnings.append(
                    (warning.refusal ? tr("The hardware cannot show this: ") : QString()) +
                    QString::fromStdString(warning.text));
        // A register the screen does not need (DIWHIGH, FMODE) shows no row, unless a warning
        // about it needs a place.
        const bool shown = value != nullptr || !warnings.isEmpty();
        for (QLabel *label : {row.name, row.value, row.arithmetic})
            label->setVisible(shown);
        row.value->setText(value ? QString::fromStdString(amiga::word(value->value)) : QString());
        row.arithmetic->setText(value ? QString::fromStdString(value->arithmetic) : QString());
        row.warning->setText(warnings.join(QLatin1Char('\n')));
        row.warning->setVisible(!warnings.isEmpty());
    }
    // The memory results keep their rule (width / 8); when the screen takes more a line, say so
    // beside them, so that they and the modulos here never disagree unsaid.
    const qint64 memoryLine = integerValue(ui->displayWidthTextField->text()) / 8;
    const int wordLine = (request.width + 15) / 16 * 2;
    const bool more = request.depth > 0 && memoryLine == request.width / 8 &&
                      (wordLine > memoryLine || setup.fetchedBytesPerPlaneLine > memoryLine);
    ui->fetchedBytesLabel->setVisible(more);
    ui->fetchedBytesLabel->setText(
        more ? tr("A line of %1 pixels takes %2 bytes in memory (whole words) and the set-up "
                  "fetches %3 bytes of each plane a line: %4 more than the bytes per bitplane "
                  "line above. The set-up's modulos count them.")
                   .arg(request.width)
                   .arg(wordLine)
                   .arg(setup.fetchedBytesPerPlaneLine)
                   .arg(std::max(wordLine, setup.fetchedBytesPerPlaneLine) - memoryLine)
             : QString());
    ui->setupCodeTextView->setPlainText(QString::fromStdString(
        amiga::displaySetupCode(setup, !ui->setupCopperInstructionsButton->isChecked())));
}

QPlainTextEdit *DisplayViewController::codeOutputView() const {
    return ui->setupCodeTextView;
}

void DisplayViewController::copySetupCode() {
    QApplication::clipboard()->setText(ui->setupCodeTextView->toPlainText());
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
        for (QLabel *field :
             {ui->bytesAllBitplanesTextField, ui->bytesPerBitplaneLineAllBitplanesTextField,
              ui->moduloTextField, ui->moduloHexTextField})
            field->clear();
        for (QLabel *label : {ui->bytesAllBitplanesLabel, ui->bytesPerBitplaneLineAllBitplanesLabel,
                              ui->moduloLabel})
            label->clear();
        ui->displayColoursPopupButton->setCurrentIndex(-1);
        calculateDisplaySetup();
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
    calculateDisplaySetup();
}

void DisplayViewController::controlTextDidChange(QLineEdit *field) {
    // Nine digits keep every product of width, height and depth inside 64 bits.
    constexpr qsizetype maximumDigits = 9;
    if (field == ui->displayWidthTextField || field == ui->displayHeightTextField) {
        keepOnly(field, u"0123456789", maximumDigits, true);
        if (!field->text().isEmpty())
            calculateDisplay();
    } else if (field == ui->displayDepthTextField) {
        keepOnly(field, u"12345678", 1);
        calculateDisplay();
    }
}
