#include "gradient/GradientViewController.h"
#include "ui_GradientViewController.h"

#include "common/HexFormatter.h"
#include "common/HexToInteger.h"
#include "common/SnapshotCommand.h"
#include <QUndoStack>

#include <QClipboard>
#include <QColorDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <amiga/asmtext.h>
#include <optional>

namespace {

QString nameOf(amiga::Rgb8 colour) {
    return QString::asprintf("#%02x%02x%02x", colour.red, colour.green, colour.blue);
}

std::optional<amiga::Rgb8> colourOf(const QString &text) {
    return amiga::rgbFromText(text.toStdString());
}

QColor qColourOf(amiga::Rgb8 colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QIcon swatch(amiga::Rgb8 colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(qColourOf(colour));
    QPainter(&pixmap).drawRect(0, 0, 11, 11);
    return QIcon(pixmap);
}

} // namespace

GradientViewController::GradientViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::GradientViewController>()) {
    ui->setupUi(this);
    configureController();
}

GradientViewController::~GradientViewController() {
    // The controls outlive this part of the object: a field that loses the focus while the tab
    // is torn down must not call back into it.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

QPlainTextEdit *GradientViewController::codeOutputView() const {
    return ui->gradientCodeTextView;
}

void GradientViewController::setColourSource(ColourSource source) {
    m_source = std::move(source);
    refresh();
}

void GradientViewController::configureController() {
    m_undoStack = new QUndoStack(this);
    showAsCode(ui->gradientCodeTextView);
    ui->gradientCodeTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QRegularExpression hexColour(QStringLiteral("#?[0-9A-Fa-f]{0,6}"));
    ui->keyColourLineEdit->setValidator(new QRegularExpressionValidator(hexColour, this));
    ui->fadeColourLineEdit->setValidator(new QRegularExpressionValidator(hexColour, this));

    connect(ui->keyListWidget, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_loading && row >= 0)
            selectKey(row);
    });
    connect(ui->addKeyButton, &QPushButton::clicked, this, &GradientViewController::addKey);
    connect(ui->removeKeyButton, &QPushButton::clicked, this, &GradientViewController::removeKey);
    connect(ui->pickColourButton, &QPushButton::clicked, this, &GradientViewController::pickColour);
    connect(ui->usePaletteEntryButton, &QPushButton::clicked, this,
            &GradientViewController::usePaletteEntry);
    connect(ui->takeEditedColourButton, &QPushButton::clicked, this,
            &GradientViewController::takeEditedColour);
    connect(ui->copyCodeButton, &QPushButton::clicked, this, &GradientViewController::copyCode);
    connect(ui->keyLineSpinBox, &QSpinBox::valueChanged, this, [this](int line) {
        if (!m_loading)
            moveKey(m_tool.selected(), line);
    });
    // A colour typed in full takes effect at once; when editing ends the field shows the key's.
    connect(ui->keyColourLineEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (const auto colour = colourOf(text))
            setSelectedKeyColour(
                Colour::convertFrom24BitWithRed(colour->red, colour->green, colour->blue));
    });
    connect(ui->keyColourLineEdit, &QLineEdit::editingFinished, this,
            &GradientViewController::loadSelectedKey);
    connect(ui->gradientPreview, &GradientPreview::keyPressed, this,
            &GradientViewController::selectKey);
    connect(ui->gradientPreview, &GradientPreview::keyDragged, this,
            &GradientViewController::moveKey);

    for (QSpinBox *box :
         {ui->startLineSpinBox, ui->lineCountSpinBox, ui->registerSpinBox, ui->hposSpinBox})
        connect(box, &QSpinBox::valueChanged, this, &GradientViewController::refresh);
    for (QComboBox *box : {ui->blendComboBox, ui->ditherComboBox, ui->showComboBox})
        connect(box, &QComboBox::currentIndexChanged, this, &GradientViewController::refresh);
    connect(ui->chipsetComboBox, &QComboBox::currentIndexChanged, this,
            &GradientViewController::chipsetChanged);
    ui->bplcon3TextField->setValidator(new HexFormatter(4, this));
    connect(ui->bplcon3TextField, &QLineEdit::textChanged, this, &GradientViewController::refresh);
    connect(ui->ntscButton, &QCheckBox::toggled, this, &GradientViewController::refresh);
    connect(ui->bplcon3TextField, &QLineEdit::editingFinished, this, [this] {
        if (ui->bplcon3TextField->text().isEmpty())
            ui->bplcon3TextField->setText(QStringLiteral("0c00"));
    });
    // A change to the fade shows the fade table.
    auto showFade = [this] {
        if (ui->showComboBox->currentIndex() != static_cast<int>(Output::FadeTable))
            ui->showComboBox->setCurrentIndex(static_cast<int>(Output::FadeTable));
        else
            refresh();
    };
    connect(ui->fadeStepsSpinBox, &QSpinBox::valueChanged, this, showFade);
    connect(ui->fadeTargetComboBox, &QComboBox::currentIndexChanged, this, showFade);
    connect(ui->fadeColourLineEdit, &QLineEdit::textEdited, this, [showFade](const QString &text) {
        if (colourOf(text))
            showFade();
    });

    // A sunset: deep blue at the top, orange, and pale yellow at the bottom.
    setKeys({{0, {0x10, 0x20, 0x60}}, {120, {0xff, 0x80, 0x40}}, {199, {0xff, 0xe8, 0xa0}}});
    chipsetChanged();
    // The worked example the tab starts with is no change of the user's.
    m_undoStack->clear();
}

void GradientViewController::chipsetChanged() {
    const bool aga = ui->chipsetComboBox->currentIndex() == 1;
    ui->registerSpinBox->setMaximum(aga ? amiga::kAgaColourRegisters - 1
                                        : amiga::kOcsColourRegisters - 1);
    // AGA shows every 8-bit colour: there is nothing to dither.
    ui->ditherComboBox->setEnabled(!aga);
    ui->bplcon3TextField->setEnabled(aga);
    refresh();
}

const std::vector<amiga::GradientKey> &GradientViewController::keys() const {
    return m_tool.keys();
}

int GradientViewController::selectedKey() const {
    return m_tool.selected();
}

void GradientViewController::setKeys(std::vector<amiga::GradientKey> keys) {
    if (!m_tool.setKeys(std::move(keys)))
        return;
    fillKeyList();
    loadSelectedKey();
    refresh();
}

void GradientViewController::fillKeyList() {
    const QSignalBlocker quiet(ui->keyListWidget);
    QListWidget *list = ui->keyListWidget;
    const std::vector<amiga::GradientKey> &keys = m_tool.keys();
    while (list->count() > static_cast<int>(keys.size()))
        delete list->takeItem(list->count() - 1);
    while (list->count() < static_cast<int>(keys.size()))
        list->addItem(QString());
    for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
        QListWidgetItem *item = list->item(i);
        const QString text = tr("Line %1: %2").arg(keys[i].line).arg(nameOf(keys[i].colour));
        if (item->text() != text) {
            item->setText(text);
            item->setIcon(swatch(keys[i].colour));
        }
    }
    list->setCurrentRow(m_tool.selected());
    ui->removeKeyButton->setEnabled(m_tool.canRemoveKey());
}

void GradientViewController::loadSelectedKey() {
    if (m_tool.keys().empty())
        return;
    m_loading = true;
    const amiga::GradientKey &key = m_tool.keys()[static_cast<std::size_t>(m_tool.selected())];
    ui->keyLineSpinBox->setValue(key.line);
    ui->keyColourLineEdit->setText(nameOf(key.colour));
    m_loading = false;
}

void GradientViewController::selectKey(int index) {
    if (!m_tool.select(index))
        return;
    fillKeyList();
    loadSelectedKey();
    refresh();
}

void GradientViewController::recordKeys(const QString &what,
                                        const std::vector<amiga::GradientKey> &before,
                                        KeyStep step) {
    if (m_restoringKeys || before == m_tool.keys())
        return;
    using Keys = std::vector<amiga::GradientKey>;
    // A drag of one key, or a run of colour edits, is one step: it joins the step before
    // while the same key goes on changing the same way.
    const bool joins =
        step != KeyStep::Own && step == m_lastKeyStep && m_tool.selected() == m_lastKey;
    m_undoStack->push(new SnapshotCommand<Keys>(
        what, before, m_tool.keys(),
        [this](const Keys &keys) {
            m_restoringKeys = true;
            setKeys(keys);
            m_restoringKeys = false;
            m_lastKeyStep = KeyStep::Own;
        },
        step == KeyStep::Own ? -1 : static_cast<int>(step), [joins] { return joins; }));
    m_lastKeyStep = step;
    m_lastKey = m_tool.selected();
}

void GradientViewController::moveKey(int index, int line) {
    const std::vector<amiga::GradientKey> before = m_tool.keys();
    if (index < 0 || index >= static_cast<int>(before.size()))
        return;
    if (!m_tool.moveKey(index, line, ui->keyLineSpinBox->maximum()) && !m_loading) {
        loadSelectedKey();
        return;
    }
    fillKeyList();
    loadSelectedKey();
    refresh();
    recordKeys(tr("Move Key"), before, KeyStep::Move);
}

void GradientViewController::setSelectedKeyColour(const Colour &colour) {
    const std::vector<amiga::GradientKey> before = m_tool.keys();
    m_tool.setSelectedColour(colour.toRgb8());
    fillKeyList();
    if (!ui->keyColourLineEdit->hasFocus())
        loadSelectedKey();
    refresh();
    recordKeys(tr("Key Colour"), before, KeyStep::Colour);
}

void GradientViewController::addKey() {
    const std::vector<amiga::GradientKey> before = m_tool.keys();
    readControls();
    m_tool.addKey();
    fillKeyList();
    loadSelectedKey();
    refresh();
    recordKeys(tr("Add Key"), before, KeyStep::Own);
}

void GradientViewController::removeKey() {
    const std::vector<amiga::GradientKey> before = m_tool.keys();
    if (!m_tool.removeKey())
        return;
    fillKeyList();
    loadSelectedKey();
    refresh();
    recordKeys(tr("Remove Key"), before, KeyStep::Own);
}

void GradientViewController::pickColour() {
    const amiga::GradientKey &key = m_tool.keys()[static_cast<std::size_t>(m_tool.selected())];
    const QColor chosen = QColorDialog::getColor(qColourOf(key.colour), this,
                                                 tr("Key Colour at Line %1").arg(key.line));
    if (chosen.isValid())
        setSelectedKeyColour(Colour::fromQColor(chosen));
}

QList<Colour> GradientViewController::fadePalette() const {
    return m_source.palette ? m_source.palette() : Colour::amigaDefaults(16);
}

void GradientViewController::usePaletteEntry() {
    const QList<Colour> palette = fadePalette();
    const int entry = ui->paletteEntrySpinBox->value();
    if (entry >= palette.size()) {
        showStatus(tr("The palette has no entry %1: it has %n colour(s).", nullptr,
                      static_cast<int>(palette.size()))
                       .arg(entry));
        return;
    }
    setSelectedKeyColour(palette[entry]);
}

void GradientViewController::takeEditedColour() {
    setSelectedKeyColour(m_source.editedColour ? m_source.editedColour() : Colour());
}

void GradientViewController::copyCode() {
    QGuiApplication::clipboard()->setText(ui->gradientCodeTextView->toPlainText());
}

void GradientViewController::showStatus(const QString &text) {
    ui->gradientStatusLabel->setText(text);
}

void GradientViewController::readControls() {
    m_tool.firstLine = ui->startLineSpinBox->value();
    m_tool.lines = ui->lineCountSpinBox->value();
    m_tool.aga = ui->chipsetComboBox->currentIndex() == 1;
    m_tool.colourRegister = ui->registerSpinBox->value();
    m_tool.oklab = ui->blendComboBox->currentIndex() == 1;
    const amiga::GradientDither dithers[] = {amiga::GradientDither::None,
                                             amiga::GradientDither::Ordered,
                                             amiga::GradientDither::Diffuse};
    m_tool.dither = dithers[std::clamp(ui->ditherComboBox->currentIndex(), 0, 2)];
    m_tool.horizontal = ui->hposSpinBox->value();
    m_tool.ntsc = ui->ntscButton->isChecked();
    const QString bplcon3 = ui->bplcon3TextField->text();
    m_tool.bplcon3 = bplcon3.isEmpty() ? amiga::kBplcon3Reset
                                       : static_cast<std::uint16_t>(convertHexToInteger(bplcon3));
    m_tool.output = static_cast<GradientTool::Output>(ui->showComboBox->currentIndex());
    m_tool.fadePalette.clear();
    for (const Colour &colour : fadePalette())
        m_tool.fadePalette.push_back(colour.toRgb8());
    m_tool.fadeTarget =
        static_cast<GradientTool::FadeTarget>(ui->fadeTargetComboBox->currentIndex());
    m_tool.fadeColour = colourOf(ui->fadeColourLineEdit->text());
    m_tool.fadeSteps = ui->fadeStepsSpinBox->value();
}

amiga::GradientRequest GradientViewController::request() {
    readControls();
    return m_tool.request();
}

void GradientViewController::refresh() {
    if (m_tool.keys().empty())
        return;
    readControls();
    const GradientTool::Shown shown = m_tool.shown();
    switch (m_tool.output) {
    case GradientTool::Output::CopperList: {
        QString status = shown.instructions == 1
                             ? tr("1 instruction, 4 bytes")
                             : tr("%1 instructions, %2 bytes")
                                   .arg(static_cast<qulonglong>(shown.instructions))
                                   .arg(static_cast<qulonglong>(shown.instructions * 4));
        if (shown.firstLeftOut >= 0)
            status +=
                (m_tool.ntsc ? tr("; lines $%1 to $%2 are past the end of an NTSC frame: left out")
                             : tr("; lines $%1 to $%2 are past the end of a PAL frame: left out"))
                    .arg(shown.firstLeftOut, 0, 16)
                    .arg(shown.lastLeftOut, 0, 16);
        showStatus(status);
        break;
    }
    case GradientTool::Output::WordTable:
        showStatus(tr("%n line(s), one dc.w each", nullptr, shown.count));
        break;
    case GradientTool::Output::FadeTable:
        showStatus(tr("%n step(s) of %1 colour(s)", nullptr, shown.count).arg(shown.colours));
        break;
    }
    const QString shownText = QString::fromStdString(shown.text);
    if (ui->gradientCodeTextView->toPlainText() != shownText)
        ui->gradientCodeTextView->setPlainText(shownText);

    // The preview: the exact colours, and the printed copper list run over a frame.
    const GradientTool::Preview preview = m_tool.preview();
    QList<QColor> exact;
    QList<QColor> shownColours;
    for (amiga::Rgb8 colour : preview.exact)
        exact.append(qColourOf(colour));
    for (amiga::Rgb8 colour : preview.shown)
        shownColours.append(qColourOf(colour));
    QList<int> keyLines;
    for (const amiga::GradientKey &key : m_tool.keys())
        keyLines.append(key.line);
    ui->gradientPreview->setLines(exact, shownColours, keyLines, m_tool.selected());
}
