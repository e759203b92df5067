#include "gradient/GradientViewController.h"
#include "ui_GradientViewController.h"

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
#include <amiga/copperframe.h>
#include <amiga/fade.h>
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
            moveKey(m_selected, line);
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
    refresh();
}

void GradientViewController::setKeys(std::vector<amiga::GradientKey> keys) {
    if (keys.empty())
        return;
    m_keys = std::move(keys);
    m_selected = std::clamp(m_selected, 0, static_cast<int>(m_keys.size()) - 1);
    fillKeyList();
    loadSelectedKey();
    refresh();
}

void GradientViewController::fillKeyList() {
    const QSignalBlocker quiet(ui->keyListWidget);
    QListWidget *list = ui->keyListWidget;
    while (list->count() > static_cast<int>(m_keys.size()))
        delete list->takeItem(list->count() - 1);
    while (list->count() < static_cast<int>(m_keys.size()))
        list->addItem(QString());
    for (int i = 0; i < static_cast<int>(m_keys.size()); ++i) {
        QListWidgetItem *item = list->item(i);
        const QString text = tr("Line %1: %2").arg(m_keys[i].line).arg(nameOf(m_keys[i].colour));
        if (item->text() != text) {
            item->setText(text);
            item->setIcon(swatch(m_keys[i].colour));
        }
    }
    list->setCurrentRow(m_selected);
    ui->removeKeyButton->setEnabled(m_keys.size() > 1);
}

void GradientViewController::loadSelectedKey() {
    if (m_keys.empty())
        return;
    m_loading = true;
    const amiga::GradientKey &key = m_keys[static_cast<std::size_t>(m_selected)];
    ui->keyLineSpinBox->setValue(key.line);
    ui->keyColourLineEdit->setText(nameOf(key.colour));
    m_loading = false;
}

void GradientViewController::selectKey(int index) {
    if (index < 0 || index >= static_cast<int>(m_keys.size()))
        return;
    m_selected = index;
    fillKeyList();
    loadSelectedKey();
    refresh();
}

void GradientViewController::recordKeys(const QString &what,
                                        const std::vector<amiga::GradientKey> &before,
                                        KeyStep step) {
    if (m_restoringKeys || before == m_keys)
        return;
    using Keys = std::vector<amiga::GradientKey>;
    // A drag of one key, or a run of colour edits, is one step: it joins the step before
    // while the same key goes on changing the same way.
    const bool joins = step != KeyStep::Own && step == m_lastKeyStep && m_selected == m_lastKey;
    m_undoStack->push(new SnapshotCommand<Keys>(
        what, before, m_keys,
        [this](const Keys &keys) {
            m_restoringKeys = true;
            setKeys(keys);
            m_restoringKeys = false;
            m_lastKeyStep = KeyStep::Own;
        },
        step == KeyStep::Own ? -1 : static_cast<int>(step), [joins] { return joins; }));
    m_lastKeyStep = step;
    m_lastKey = m_selected;
}

void GradientViewController::moveKey(int index, int line) {
    const std::vector<amiga::GradientKey> before = m_keys;
    if (index < 0 || index >= static_cast<int>(m_keys.size()))
        return;
    line = std::clamp(line, 0, ui->keyLineSpinBox->maximum());
    m_selected = index;
    if (m_keys[static_cast<std::size_t>(index)].line == line && !m_loading) {
        loadSelectedKey();
        return;
    }
    m_keys[static_cast<std::size_t>(index)].line = line;
    fillKeyList();
    loadSelectedKey();
    refresh();
    recordKeys(tr("Move Key"), before, KeyStep::Move);
}

void GradientViewController::setSelectedKeyColour(const Colour &colour) {
    const std::vector<amiga::GradientKey> before = m_keys;
    m_keys[static_cast<std::size_t>(m_selected)].colour = colour.toRgb8();
    fillKeyList();
    if (!ui->keyColourLineEdit->hasFocus())
        loadSelectedKey();
    refresh();
    recordKeys(tr("Key Colour"), before, KeyStep::Colour);
}

void GradientViewController::addKey() {
    const std::vector<amiga::GradientKey> before = m_keys;
    const amiga::GradientKey &selected = m_keys[static_cast<std::size_t>(m_selected)];
    const int lines = ui->lineCountSpinBox->value();
    int next = std::max(lines - 1, selected.line);
    for (const amiga::GradientKey &key : m_keys)
        if (key.line > selected.line)
            next = std::min(next, key.line);
    // Half way to the next key, in the colour the gradient has there (rounded to 8 bits a gun),
    // so that the gradient stays as it is until the new key is moved or recoloured.
    const int line = (selected.line + next + 1) / 2;
    const std::vector<amiga::GradientLine> shown = amiga::gradientLines(request());
    const amiga::Rgb8 colour = line < static_cast<int>(shown.size())
                                   ? shown[static_cast<std::size_t>(line)].colour
                                   : selected.colour;
    m_keys.insert(m_keys.begin() + m_selected + 1, {line, colour});
    ++m_selected;
    fillKeyList();
    loadSelectedKey();
    refresh();
    recordKeys(tr("Add Key"), before, KeyStep::Own);
}

void GradientViewController::removeKey() {
    const std::vector<amiga::GradientKey> before = m_keys;
    if (m_keys.size() < 2)
        return;
    m_keys.erase(m_keys.begin() + m_selected);
    m_selected = std::min(m_selected, static_cast<int>(m_keys.size()) - 1);
    fillKeyList();
    loadSelectedKey();
    refresh();
    recordKeys(tr("Remove Key"), before, KeyStep::Own);
}

void GradientViewController::pickColour() {
    const amiga::GradientKey &key = m_keys[static_cast<std::size_t>(m_selected)];
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

amiga::GradientRequest GradientViewController::request() const {
    amiga::GradientRequest request;
    request.firstLine = ui->startLineSpinBox->value();
    request.lines = ui->lineCountSpinBox->value();
    request.keys = m_keys;
    request.aga = ui->chipsetComboBox->currentIndex() == 1;
    request.colourRegister = ui->registerSpinBox->value();
    request.blend = ui->blendComboBox->currentIndex() == 1 ? amiga::GradientBlend::Oklab
                                                           : amiga::GradientBlend::Rgb;
    const amiga::GradientDither dithers[] = {amiga::GradientDither::None,
                                             amiga::GradientDither::Ordered,
                                             amiga::GradientDither::Diffuse};
    request.dither =
        request.aga ? amiga::GradientDither::None : dithers[ui->ditherComboBox->currentIndex()];
    request.horizontal = ui->hposSpinBox->value();
    return request;
}

void GradientViewController::refresh() {
    if (m_keys.empty())
        return;
    const amiga::GradientRequest request = this->request();
    const amiga::GradientCopperList list = amiga::gradientCopperList(request);
    const std::string &copper = list.text;
    std::string text;
    switch (static_cast<Output>(ui->showComboBox->currentIndex())) {
    case Output::CopperList: {
        text = copper;
        QString status =
            list.instructions == 1
                ? tr("1 instruction, 4 bytes")
                : tr("%1 instructions, %2 bytes").arg(list.instructions).arg(list.bytes());
        if (list.firstLeftOut >= 0)
            status += tr("; lines $%1 to $%2 are past the end of a PAL frame: left out")
                          .arg(list.firstLeftOut, 0, 16)
                          .arg(list.lastLeftOut, 0, 16);
        showStatus(status);
        break;
    }
    case Output::WordTable:
        text = amiga::gradientTableCode(request);
        showStatus(tr("%n line(s), one dc.w each", nullptr, request.lines));
        break;
    case Output::FadeTable: {
        std::vector<amiga::Rgb8> palette;
        for (const Colour &colour : fadePalette())
            palette.push_back(colour.toRgb8());
        amiga::Rgb8 target{};
        if (ui->fadeTargetComboBox->currentIndex() == 1)
            target = {255, 255, 255};
        else if (ui->fadeTargetComboBox->currentIndex() == 2)
            target = colourOf(ui->fadeColourLineEdit->text()).value_or(amiga::Rgb8{});
        text = amiga::fadeCode(amiga::fadeSteps(palette, target, ui->fadeStepsSpinBox->value()),
                               request.aga, amiga::fadeTargetName(target));
        showStatus(tr("%n step(s) of %1 colour(s)", nullptr, ui->fadeStepsSpinBox->value())
                       .arg(palette.size()));
        break;
    }
    }
    const QString shownText = QString::fromStdString(text);
    if (ui->gradientCodeTextView->toPlainText() != shownText)
        ui->gradientCodeTextView->setPlainText(shownText);

    // The preview: the exact colours, and the printed copper list run over a frame.
    const std::vector<amiga::GradientLine> lines = amiga::gradientLines(request);
    amiga::CopperFrame frame(request.aga ? amiga::CopperFrame::Chipset::Aga
                                         : amiga::CopperFrame::Chipset::Ocs);
    std::vector<std::uint16_t> words =
        amiga::dataWords(copper).value_or(std::vector<std::uint16_t>{});
    words.insert(words.end(), {0xffff, 0xfffe});
    frame.run(words);
    QList<QColor> exact;
    QList<QColor> shown;
    exact.reserve(static_cast<qsizetype>(lines.size()));
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        exact.append(qColourOf(lines[i].colour));
        const int line = request.firstLine + static_cast<int>(i);
        // Lines past the end of the frame are never shown.
        shown.append(line < amiga::CopperFrame::kLines
                         ? qColourOf(frame.colour(line, request.colourRegister))
                         : QColor(Qt::black));
    }
    QList<int> keyLines;
    for (const amiga::GradientKey &key : m_keys)
        keyLines.append(key.line);
    ui->gradientPreview->setLines(exact, shown, keyLines, m_selected);
}
