#include "display/DisplayViewController.h"
#include "common/TextFields.h"
#include "ui_DisplayViewController.h"

#include "common/HexFormatter.h"
#include "common/HexToInteger.h"
#include "common/Wrapping.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <array>
#include <cstdint>

namespace {

constexpr std::array<std::uint8_t, 8> depthTable = {1, 2, 3, 4, 5, 6, 7, 8};

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
    // Warnings in a rust colour; a palette of their own, as a style sheet would give each its own
    // style to build.
    QPalette warning = ui->setupGroupBox->palette();
    warning.setColor(QPalette::WindowText, QColor(0xa3, 0x3a, 0x00));
    for (QLabel *label : ui->setupGroupBox->findChildren<QLabel *>())
        if (label->objectName().endsWith(QLatin1String("WarningLabel")))
            label->setPalette(warning);

    // The code and the screen on the frame share one place, so the tab grows no taller; the
    // controls of the page on show sit beside the page's tab.
    ui->setupOutputTabWidget->setCornerWidget(ui->setupOutputControlsStack);
    // Moved into the tab bar, the controls are put back in the order Tab visits: after the tabs,
    // before the page.
    const std::array<QWidget *, 8> order = {
        ui->setupOutputTabWidget,  ui->setupCopperInstructionsButton,
        ui->copySetupCodeButton,   ui->setupCodeTextView,
        ui->screenZoomSpinBox,     ui->screenOutlineCheckBox,
        ui->screenPictureCheckBox, ui->screenScrollArea};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    connect(ui->setupOutputTabWidget, &QTabWidget::currentChanged, ui->setupOutputControlsStack,
            &QStackedWidget::setCurrentIndex);
    ui->screenNoteLabel->hide(); // until the frame is drawn there is nothing to note
    // The frame is rendered when its page is first shown, and after that whenever it is on show.
    connect(ui->setupOutputTabWidget, &QTabWidget::currentChanged, this, [this] {
        if (m_screenOutdated)
            drawScreen();
    });
    connect(ui->screenZoomSpinBox, &QSpinBox::valueChanged, this,
            &DisplayViewController::showScreen);
    connect(ui->screenOutlineCheckBox, &QCheckBox::toggled, this,
            &DisplayViewController::showScreen);
    connect(ui->screenPictureCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        m_tool.screenPicture = on ? m_givenPicture : nullptr;
        drawScreen();
    });

    enableChipsetChoices();
    // Start with a worked example instead of empty results.
    calculateDisplay();
}

void DisplayViewController::readControls() {
    m_tool.width = integerValue(ui->displayWidthTextField->text());
    m_tool.height = integerValue(ui->displayHeightTextField->text());
    m_tool.depth = integerValue(ui->displayDepthTextField->text());
    m_tool.chipset = ui->chipsetPopUpButton->currentIndex();
    m_tool.ntsc = ui->videoStandardPopUpButton->currentIndex() == 1;
    m_tool.resolution = ui->resolutionPopUpButton->currentIndex();
    m_tool.fetchMode = ui->fetchModePopUpButton->currentIndex();
    m_tool.interlace = ui->interlaceButton->isChecked();
    m_tool.interleaved = ui->interleavedButton->isChecked();
    m_tool.scroll = ui->scrollButton->isChecked();
    m_tool.centred = ui->centredButton->isChecked();
    m_tool.hstart = static_cast<int>(convertHexToInteger(ui->hstartTextField->text()));
    m_tool.vstart = static_cast<int>(convertHexToInteger(ui->vstartTextField->text()));
    m_tool.cpuCode = !ui->setupCopperInstructionsButton->isChecked();
}

void DisplayViewController::enableChipsetChoices() {
    readControls();
    m_tool.applyChipsetRules();
    auto *resolutions = qobject_cast<QStandardItemModel *>(ui->resolutionPopUpButton->model());
    if (resolutions)
        resolutions->item(2)->setEnabled(m_tool.superhiresAllowed());
    if (ui->resolutionPopUpButton->currentIndex() != m_tool.resolution)
        ui->resolutionPopUpButton->setCurrentIndex(m_tool.resolution);
    ui->fetchModePopUpButton->setEnabled(m_tool.fetchModeAllowed());
    if (ui->fetchModePopUpButton->currentIndex() != m_tool.fetchMode)
        ui->fetchModePopUpButton->setCurrentIndex(m_tool.fetchMode);
    ui->hstartTextField->setEnabled(m_tool.startTyped());
    ui->vstartTextField->setEnabled(m_tool.startTyped());
}

void DisplayViewController::calculateDisplaySetup() {
    readControls();
    struct Row {
        QLabel *name, *value, *arithmetic, *warning;
    };
    const Row labels[] = {
        {ui->diwstrtNameLabel, ui->diwstrtValueLabel, ui->diwstrtArithmeticLabel,
         ui->diwstrtWarningLabel},
        {ui->diwstopNameLabel, ui->diwstopValueLabel, ui->diwstopArithmeticLabel,
         ui->diwstopWarningLabel},
        {ui->diwhighNameLabel, ui->diwhighValueLabel, ui->diwhighArithmeticLabel,
         ui->diwhighWarningLabel},
        {ui->ddfstrtNameLabel, ui->ddfstrtValueLabel, ui->ddfstrtArithmeticLabel,
         ui->ddfstrtWarningLabel},
        {ui->ddfstopNameLabel, ui->ddfstopValueLabel, ui->ddfstopArithmeticLabel,
         ui->ddfstopWarningLabel},
        {ui->bplcon0NameLabel, ui->bplcon0ValueLabel, ui->bplcon0ArithmeticLabel,
         ui->bplcon0WarningLabel},
        {ui->bplcon1NameLabel, ui->bplcon1ValueLabel, ui->bplcon1ArithmeticLabel,
         ui->bplcon1WarningLabel},
        {ui->bpl1modNameLabel, ui->bpl1modValueLabel, ui->bpl1modArithmeticLabel,
         ui->bpl1modWarningLabel},
        {ui->bpl2modNameLabel, ui->bpl2modValueLabel, ui->bpl2modArithmeticLabel,
         ui->bpl2modWarningLabel},
        {ui->fmodeNameLabel, ui->fmodeValueLabel, ui->fmodeArithmeticLabel, ui->fmodeWarningLabel},
    };
    const std::vector<DisplayTool::Row> rows = m_tool.rows();
    for (std::size_t i = 0; i < rows.size() && i < std::size(labels); ++i) {
        const Row &row = labels[i];
        for (QLabel *label : {row.name, row.value, row.arithmetic})
            label->setVisible(rows[i].shown);
        row.value->setText(rows[i].value);
        row.arithmetic->setText(rows[i].arithmetic);
        row.warning->setText(rows[i].warning);
        row.warning->setVisible(!rows[i].warning.isEmpty());
    }
    const QString note = m_tool.fetchNote();
    ui->fetchedBytesLabel->setVisible(!note.isEmpty());
    ui->fetchedBytesLabel->setText(note);
    ui->setupCodeTextView->setPlainText(m_tool.code());
    drawScreen();
}

void DisplayViewController::drawScreen() {
    m_screenOutdated = ui->setupOutputTabWidget->currentWidget() != ui->screenPage;
    if (m_screenOutdated)
        return;
    amiga::FramePicture picture;
    QString message;
    m_screen = QImage();
    if (!m_tool.screenFrame(&picture, &message)) {
        ui->screenNoteLabel->setText(message);
        ui->screenNoteLabel->show();
        ui->screenFrameLabel->clear();
        return;
    }
    QStringList notes;
    for (const std::string &note : picture.notes)
        notes.append(QString::fromStdString(note));
    ui->screenNoteLabel->setText(notes.join(QLatin1Char('\n')));
    ui->screenNoteLabel->setVisible(!notes.isEmpty());
    m_screen = QImage(picture.columns, picture.rows, QImage::Format_RGB32);
    for (int y = 0; y < picture.rows; ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_screen.scanLine(y));
        for (int x = 0; x < picture.columns; ++x)
            line[x] =
                0xff000000u | picture.pixels[static_cast<std::size_t>(y) * picture.columns + x];
    }
    m_outlines = picture.outlines;
    m_columnsPerPixel = picture.columns / (amiga::visibleRegion(m_tool.ntsc).h1 -
                                           amiga::visibleRegion(m_tool.ntsc).h0);
    showScreen();
}

void DisplayViewController::showScreen() {
    if (m_screen.isNull())
        return;
    QImage shown = m_screen;
    if (ui->screenOutlineCheckBox->isChecked()) {
        // Each line's window edges in yellow, its fetched picture's in cyan.
        const int h0 = amiga::visibleRegion(m_tool.ntsc).h0;
        for (int y = 0; y < shown.height() && y < static_cast<int>(m_outlines.size()); ++y) {
            const amiga::LineOutline &o = m_outlines[static_cast<std::size_t>(y)];
            const auto mark = [&](int h, QRgb colour) {
                const int x = m_columnsPerPixel * (h - h0);
                if (h >= 0 && x >= 0 && x < shown.width())
                    shown.setPixel(x, y, colour);
            };
            mark(o.fetchFrom, 0xff00ffff);
            mark(o.fetchTo - 1, 0xff00ffff);
            mark(o.windowFrom, 0xffffff00);
            mark(o.windowTo - 1, 0xffffff00);
        }
    }
    // Superhires columns are narrowed to hires ones so the frame keeps its shape.
    const int zoom = ui->screenZoomSpinBox->value();
    const int width = shown.width() * 2 / m_columnsPerPixel * zoom;
    ui->screenFrameLabel->setPixmap(QPixmap::fromImage(
        shown.scaled(width, shown.height() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    ui->screenFrameLabel->resize(ui->screenFrameLabel->pixmap().size());
}

void DisplayViewController::usePicture(std::shared_ptr<const DisplayTool::ScreenPicture> picture) {
    m_givenPicture = std::move(picture);
    ui->screenPictureCheckBox->setEnabled(m_givenPicture != nullptr);
    if (!m_givenPicture) {
        const QSignalBlocker quiet(ui->screenPictureCheckBox);
        ui->screenPictureCheckBox->setChecked(false);
    }
    // Drawn again only when the picture on show changes.
    const bool shownBefore = m_tool.screenPicture != nullptr;
    m_tool.screenPicture = ui->screenPictureCheckBox->isChecked() ? m_givenPicture : nullptr;
    if (shownBefore || m_tool.screenPicture)
        drawScreen();
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
    readControls();
    const DisplayTool::Memory m = m_tool.memory();
    const std::pair<QLabel *, QString> shown[] = {
        {ui->bytesBitplaneLineTextField, m.bytesPerLine},
        {ui->bytesBitplaneLineLabel, m.bytesPerLineArithmetic},
        {ui->bytesBitplaneTextField, m.bytesPerPlane},
        {ui->bytesBitplaneLabel, m.bytesPerPlaneArithmetic},
        {ui->bytesAllBitplanesTextField, m.bytesAllPlanes},
        {ui->bytesAllBitplanesLabel, m.bytesAllPlanesArithmetic},
        {ui->bytesPerBitplaneLineAllBitplanesTextField, m.bytesPerLineAllPlanes},
        {ui->bytesPerBitplaneLineAllBitplanesLabel, m.bytesPerLineAllPlanesArithmetic},
        {ui->moduloTextField, m.modulo},
        {ui->moduloHexTextField, m.moduloHex},
        {ui->moduloLabel, m.moduloArithmetic},
    };
    for (const auto &[label, text] : shown)
        label->setText(text);
    QSignalBlocker blocker(ui->displayColoursPopupButton);
    ui->displayColoursPopupButton->setCurrentIndex(m.colourChoice);
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
