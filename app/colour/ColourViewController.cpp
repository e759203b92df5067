#include "colour/ColourViewController.h"
#include "common/Reading.h"
#include "common/SnapshotCommand.h"
#include "common/TextFields.h"
#include "ui_ColourViewController.h"

#include "common/CopperFramePreview.h"

#include "colour/ColourMimeData.h"
#include "colour/PaletteDataSource.h"
#include "colour/PaletteFile.h"
#include "common/HexFormatter.h"
#include "common/HexToInteger.h"
#include "common/RGBColourNumberFormatter.h"
#include "common/Wrapping.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QThread>
#include <QUndoStack>
#include <QWheelEvent>
#include <amiga/colourcode.h>
#include <cstdlib>
#include <memory>
#include <vector>

Q_LOGGING_CATEGORY(lcColour, "quillfen.colour")

namespace {

QList<int> rowsOf(const QItemSelection &selection) {
    QList<int> rows;
    for (const QModelIndex &index : selection.indexes()) {
        if (!rows.contains(index.row()))
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString describeRows(const QList<int> &rows) {
    QStringList parts;
    for (int row : rows)
        parts.append(QString::number(row));
    return QStringLiteral("{") + parts.join(QStringLiteral(", ")) + QStringLiteral("}");
}

} // namespace

ColourViewController::ColourViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::ColourViewController>()) {
    ui->setupUi(this);
    configureController();
}

ColourViewController::~ColourViewController() {
    // A reading under way ends first (it takes seconds at most); its result goes nowhere.
    if (m_reader) {
        disconnect(m_reader, nullptr, this, nullptr);
        m_reader->wait();
        delete m_reader;
    }
    // The controls outlive this part of the object: a field that loses the focus
    // while the tab is torn down must not call back into it.
    ui->paletteEditorCollectionView->setDropDelegate(nullptr);
    ui->paletteEditorCollectionView->removeEventFilter(this);
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

void ColourViewController::configureController() {
    m_undoStack = new QUndoStack(this);
    auto *formatter = new RGBColourNumberFormatter(this);
    const struct {
        QSlider *slider;
        QLineEdit *field;
    } guns[] = {{ui->redSlider, ui->redValueTextField},
                {ui->greenSlider, ui->greenValueTextField},
                {ui->blueSlider, ui->blueValueTextField}};
    for (const auto &gun : guns) {
        QSlider *slider = gun.slider;
        QLineEdit *field = gun.field;
        // Values set by code are set with the slider's signals blocked.
        connect(slider, &QSlider::valueChanged, this,
                [this, slider] { calculateColours(slider, true); });
        field->setValidator(formatter);
        connect(field, &QLineEdit::editingFinished, this, [this, field] {
            controlTextDidEndEditing(field);
            m_openEdit = Step::Own; // a typed value is one edit
        });
        // A slider let go ends the edit its drag made.
        connect(slider, &QSlider::sliderReleased, this, [this] { m_openEdit = Step::Own; });
    }
    connect(ui->rainbowIndexHeightTextField, &QLineEdit::editingFinished, this,
            [this] { m_openEdit = Step::Own; });
    // One notch of the wheel over the palette size must not throw colours away.
    ui->paletteColourEntriesPopupButton->installEventFilter(this);

    for (QSlider *slider : {ui->agaColourBankSlider, ui->colourRegisterSlider})
        connect(slider, &QSlider::valueChanged, this,
                [this, slider] { updateSliderIndex(slider); });

    ui->rainbowStartTextField->setValidator(new HexFormatter(2, this));
    ui->bplcon3TextField->setValidator(new HexFormatter(4, this));
    connect(ui->bplcon3TextField, &QLineEdit::editingFinished, this, [this] {
        if (ui->bplcon3TextField->text().isEmpty())
            ui->bplcon3TextField->setText(QStringLiteral("0c00"));
        checkOptionChanged(ui->bplcon3TextField);
    });
    ui->rainbowIndexHeightTextField->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
    connect(ui->rainbowIndexHeightTextField, &QLineEdit::textEdited, this,
            &ColourViewController::rainbowHeightEdited);

    for (QCheckBox *box : {ui->agaChipsetButton, ui->copperInstructionsButton})
        connect(box, &QCheckBox::clicked, this, [this, box] { checkOptionChanged(box); });

    m_paletteDataSource = new PaletteDataSource(this);
    ui->paletteEditorCollectionView->setModel(m_paletteDataSource);
    ui->paletteEditorCollectionView->setDropDelegate(this);
    ui->paletteEditorCollectionView->installEventFilter(this);
    connect(ui->paletteEditorCollectionView->selectionModel(),
            &QItemSelectionModel::selectionChanged, this, &ColourViewController::selectionChanged);
    connect(m_paletteDataSource, &QAbstractItemModel::modelReset, this,
            [this] { m_heightFieldIndex = -1; });

    connect(ui->paletteColourEntriesPopupButton, &QComboBox::activated, this,
            [this] { changeNumberOfColourEntries(ui->paletteColourEntriesPopupButton); });
    changeNumberOfColourEntries(ui->paletteColourEntriesPopupButton);

    disableWordWrap(ui->codeOutputTextView);
    showAsCode(ui->codeOutputTextView);

    connect(ui->colourWell, &ColourWell::colourPicked, this, &ColourViewController::colourPicked);
    connect(ui->outputPaletteCodeButton, &QPushButton::clicked, this,
            &ColourViewController::outputPaletteCode);
    connect(ui->outputRainbowCodeButton, &QPushButton::clicked, this,
            &ColourViewController::outputRainbowCode);
    connect(ui->copyCodeButton, &QPushButton::clicked, this, &ColourViewController::copyCode);
    connect(ui->loadPaletteButton, &QPushButton::clicked, this, &ColourViewController::loadPalette);

    // Show the code for the editor's colour from the start.
    outputColourCode();
    // The palette the tab starts with is no change of the user's.
    m_undoStack->clear();
    m_openEdit = Step::Own;
}

// --- The editor ---

void ColourViewController::calculateColours(QObject *sender, bool updateUserInterface) {
    if (sender) {
        QLineEdit *decimal = nullptr;
        QLabel *twelveBit = nullptr, *twentyFourBit = nullptr;
        if (sender == ui->redSlider) {
            decimal = ui->redValueTextField;
            twelveBit = ui->red12BitValueTextField;
            twentyFourBit = ui->red24BitValueTextField;
        } else if (sender == ui->greenSlider) {
            decimal = ui->greenValueTextField;
            twelveBit = ui->green12BitValueTextField;
            twentyFourBit = ui->green24BitValueTextField;
        } else if (sender == ui->blueSlider) {
            decimal = ui->blueValueTextField;
            twelveBit = ui->blue12BitValueTextField;
            twentyFourBit = ui->blue24BitValueTextField;
        }
        if (decimal) {
            const QStringList texts = ColourTool::gunTexts(static_cast<QSlider *>(sender)->value());
            decimal->setText(texts[0]);
            decimal->setModified(false);
            twelveBit->setText(texts[1]);
            twentyFourBit->setText(texts[2]);
        }
    }
    if (updateUserInterface) {
        // The colour the decimal fields hold, a field still being typed in included.
        ui->colourWell->setColor(
            ColourTool::colourOf(ColourTool::typedGun(ui->redValueTextField->text()),
                                 ColourTool::typedGun(ui->greenValueTextField->text()),
                                 ColourTool::typedGun(ui->blueValueTextField->text())));
        outputColourCode();
        updateSelectedColours();
    }
}

void ColourViewController::updateSliderIndex(QObject *sender) {
    if (sender == ui->agaColourBankSlider || sender == ui->colourRegisterSlider) {
        const QString text =
            QString::asprintf("%ld", static_cast<long>(static_cast<QSlider *>(sender)->value()));
        if (sender == ui->agaColourBankSlider)
            ui->agaColourBankTextField->setText(text);
        else
            ui->colourRegisterTextField->setText(text);
    }
    readControls();
    ui->calculatedColourRegisterTextField->setText(QString::number(m_tool.paletteIndex()));
    outputColourCode();
}

void ColourViewController::updateColourConversionWithColour(const std::optional<Colour> &colour,
                                                            qint64 index) {
    if (colour) {
        m_tool.setColour(*colour);
        const QSignalBlocker r(ui->redSlider), g(ui->greenSlider), b(ui->blueSlider);
        ui->redSlider->setValue(m_tool.red);
        ui->greenSlider->setValue(m_tool.green);
        ui->blueSlider->setValue(m_tool.blue);
    }
    if (index != -1) {
        ColourTool place;
        place.setPaletteIndex(index);
        {
            const QSignalBlocker blocker(ui->agaColourBankSlider);
            ui->agaColourBankSlider->setValue(place.bank);
        }
        updateSliderIndex(ui->agaColourBankSlider);
        {
            const QSignalBlocker blocker(ui->colourRegisterSlider);
            ui->colourRegisterSlider->setValue(place.colourRegister);
        }
        updateSliderIndex(ui->colourRegisterSlider);
    }
    calculateColours(ui->redSlider, false);
    calculateColours(ui->greenSlider, false);
    calculateColours(ui->blueSlider, true);
}

void ColourViewController::checkOptionChanged(QObject *) {
    outputColourCode();
}

bool ColourViewController::isAGA() const {
    return ui->agaChipsetButton->isChecked();
}

bool ColourViewController::isCopperInstructions() const {
    return ui->copperInstructionsButton->isChecked();
}

void ColourViewController::changeNumberOfColourEntries(QComboBox *popup) {
    if (!popup)
        return;
    const qint64 n = std::max<qint64>(0, integerValue(popup->currentText()));
    const QList<Colour> &present = m_paletteDataSource->paletteEntries();
    const qint64 current = present.size();
    if (n == current)
        return;
    const QList<Colour> entries =
        ColourTool::resized(present, n, ui->keepExistingPaletteButton->isChecked());
    changePalette(ColourTool::sizeStep(n),
                  [&] { m_paletteDataSource->setPaletteEntries(entries); });
    selectFirstEntry();
}

void ColourViewController::selectFirstEntry() {
    // A new palette leaves no entry selected: the editor would show a colour of the old one,
    // and an edit would go nowhere.
    if (m_paletteDataSource->paletteEntries().isEmpty()) {
        resetSelection();
        return;
    }
    QItemSelectionModel *selection = ui->paletteEditorCollectionView->selectionModel();
    const QModelIndex first = m_paletteDataSource->index(0, 0);
    selection->select(first, QItemSelectionModel::ClearAndSelect);
    selection->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    // Already the only selected entry: the selection did not change, so load it here.
    loadEntryIntoEditor(0);
}

void ColourViewController::updatePopupButtonForColourCount(qint64 count) {
    QComboBox *popup = ui->paletteColourEntriesPopupButton;
    for (int i = 0; i < popup->count(); ++i) {
        if (integerValue(popup->itemText(i)) == count) {
            const QSignalBlocker blocker(popup);
            popup->setCurrentIndex(i);
            return;
        }
    }
}

void ColourViewController::resetSelection() {
    const bool loading = m_loadingSelection;
    m_loadingSelection = true;
    updateColourConversionWithColour(Colour::colorWithRed(0.0, 0.0, 0.0, 1.0), -1);
    m_loadingSelection = loading;
    m_heightFieldIndex = -1;
}

void ColourViewController::storeRainbowHeight(qint64 height, qint64 paletteIndex) {
    changePalette(
        tr("Rainbow Height"),
        [&] { m_paletteDataSource->storeRainbowHeight(height, paletteIndex); }, Step::HeightEdit);
}

void ColourViewController::updateSelectedColours() {
    if (m_loadingSelection)
        return;
    const QList<int> rows = ui->paletteEditorCollectionView->selectedRows();
    const Colour colour = ui->colourWell->color();
    changePalette(
        tr("Colour Edit"),
        [&] {
            for (int row : rows)
                m_paletteDataSource->updatePaletteEntryForCollectionView(row, colour);
        },
        Step::ColourEdit);
}

void ColourViewController::controlTextDidEndEditing(QLineEdit *field) {
    if (!field || !field->isModified())
        return;
    field->setModified(false);
    // The slider takes the value cut to 255; the field then shows the slider's value.
    const int value = ColourTool::typedGun(field->text());
    QSlider *slider = nullptr;
    if (field == ui->redValueTextField)
        slider = ui->redSlider;
    else if (field == ui->greenValueTextField)
        slider = ui->greenSlider;
    else if (field == ui->blueValueTextField)
        slider = ui->blueSlider;
    if (slider) {
        const QSignalBlocker blocker(slider);
        slider->setValue(value);
    }
    updateColourConversionWithColour(std::nullopt, -1);
}

void ColourViewController::colourPicked(const Colour &colour) {
    // A picked colour is an edit like a typed one, and a whole one.
    m_openEdit = Step::Own;
    updateColourConversionWithColour(colour, -1);
    m_openEdit = Step::Own;
}

void ColourViewController::rainbowHeightEdited() {
    // The height belongs to the entry it was loaded from, as soon as it is typed.
    const QList<int> rows = ui->paletteEditorCollectionView->selectedRows();
    if (rows.size() == 1 && rows.first() == m_heightFieldIndex)
        storeRainbowHeight(integerValue(ui->rainbowIndexHeightTextField->text()), rows.first());
}

void ColourViewController::loadEntryIntoEditor(int row) {
    const PaletteEntryCollectionViewItem *item = m_paletteDataSource->itemAtIndex(row);
    if (!item)
        return;
    const bool loading = m_loadingSelection;
    m_loadingSelection = true;
    updateColourConversionWithColour(item->colour(), row);
    m_loadingSelection = loading;
    ui->rainbowIndexHeightTextField->setText(QString::number(item->rainbowHeight()));
    m_heightFieldIndex = row;
}

void ColourViewController::selectionChanged(const QItemSelection &selected,
                                            const QItemSelection &deselected) {
    m_openEdit = Step::Own;
    const QList<int> deselectedRows = rowsOf(deselected);
    if (!deselectedRows.isEmpty())
        didDeselectItems(deselectedRows);
    const QList<int> selectedRows = rowsOf(selected);
    if (!selectedRows.isEmpty())
        didSelectItems(selectedRows);
}

void ColourViewController::didSelectItems(const QList<int> &rows) {
    if (rows.size() == 1)
        loadEntryIntoEditor(rows.first());
}

void ColourViewController::didDeselectItems(const QList<int> &rows) {
    if (rows.size() == 1 && rows.first() == m_heightFieldIndex)
        storeRainbowHeight(integerValue(ui->rainbowIndexHeightTextField->text()), rows.first());
    // One entry left selected: the editor shows it; otherwise it starts afresh.
    const QList<int> remaining = ui->paletteEditorCollectionView->selectedRows();
    if (remaining.size() == 1)
        loadEntryIntoEditor(remaining.first());
    else
        resetSelection();
}

// --- Code output ---

void ColourViewController::readControls() {
    m_tool.red = static_cast<int>(convertHexToInteger(ui->red24BitValueTextField->text()));
    m_tool.green = static_cast<int>(convertHexToInteger(ui->green24BitValueTextField->text()));
    m_tool.blue = static_cast<int>(convertHexToInteger(ui->blue24BitValueTextField->text()));
    m_tool.bank = static_cast<int>(integerValue(ui->agaColourBankTextField->text()));
    m_tool.colourRegister = static_cast<int>(integerValue(ui->colourRegisterTextField->text()));
    m_tool.aga = isAGA();
    m_tool.copper = isCopperInstructions();
    m_tool.bplcon3 = ui->bplcon3TextField->text();
    m_tool.rainbowStart = ui->rainbowStartTextField->text();
    m_tool.ntsc = ui->ntscButton->isChecked();
}

void ColourViewController::showCode(ColourTool::Output which) {
    readControls();
    const std::string text = m_tool.code(which, m_paletteDataSource->snapshot());
    ui->codeOutputTextView->setPlainText(QString::fromStdString(text));
    // What copper data does to the frame; move.w code shows no frame.
    ui->codeFramePreview->showCopperText(
        text, isAGA() ? amiga::CopperFrame::Chipset::Aga : amiga::CopperFrame::Chipset::Ocs, -1,
        m_tool.codeOptions().frameLines);
}

void ColourViewController::outputColourCode() {
    showCode(ColourTool::Output::Colour);
}

void ColourViewController::outputPaletteCode() {
    showCode(ColourTool::Output::Palette);
}

void ColourViewController::outputRainbowCode() {
    showCode(ColourTool::Output::Rainbow);
}

QPlainTextEdit *ColourViewController::codeOutputView() const {
    return ui->codeOutputTextView;
}

void ColourViewController::copyCode() {
    QGuiApplication::clipboard()->setText(ui->codeOutputTextView->toPlainText());
}

// --- Drag and drop ---

bool ColourViewController::canDragItems(const QList<int> &rows) {
    qCInfo(lcColour) << "canDragItemsAtIndexes";
    qCInfo(lcColour, "writeItemsAtIndexes: '%s'", qUtf8Printable(describeRows(rows)));
    return true;
}

void ColourViewController::draggingSessionWillBegin(const QList<int> &rows) {
    m_indexPathsOfItemsBeingDragged = rows;
}

void ColourViewController::draggingSessionEnded(Qt::DropAction) {
    m_indexPathsOfItemsBeingDragged.reset();
}

int ColourViewController::validateDrop(const QMimeData *drag, int,
                                       PaletteCollectionView::DropOperation operation) {
    if (m_indexPathsOfItemsBeingDragged)
        return operation == PaletteCollectionView::DropBefore
                   ? PaletteCollectionView::DragOperationMove
                   : PaletteCollectionView::DragOperationGeneric;
    if (operation == PaletteCollectionView::DropBefore)
        return PaletteCollectionView::DragOperationNone;
    return colourFromMimeData(drag) ? PaletteCollectionView::DragOperationCopy
                                    : PaletteCollectionView::DragOperationNone;
}

bool ColourViewController::acceptDrop(const QMimeData *drag, int index,
                                      PaletteCollectionView::DropOperation operation) {
    const qint64 count = m_paletteDataSource->paletteEntries().size();
    PaletteCollectionView *grid = ui->paletteEditorCollectionView;

    if (m_indexPathsOfItemsBeingDragged) {
        const QList<int> dragged = *m_indexPathsOfItemsBeingDragged;
        const PaletteEntryCollectionViewItem *source =
            dragged.size() == 1 ? m_paletteDataSource->itemAtIndex(dragged.first()) : nullptr;
        if (!source) {
            qCInfo(lcColour) << "Dragging Multiple Items!";
            return false;
        }
        const int s = dragged.first();
        const Colour d = source->colour();
        if (operation == PaletteCollectionView::DropBefore) {
            if (index < 0 || index > count)
                return false;
            // Dropped in front of entry index: it ends up just there.
            const int to = ColourTool::movedTo(s, index);
            changePalette(tr("Move Entry"), [&] { m_paletteDataSource->moveEntry(s, to); });
        } else {
            const PaletteEntryCollectionViewItem *target = m_paletteDataSource->itemAtIndex(index);
            if (!target)
                return false;
            const Colour t = target->colour();
            const bool swap = ui->dragDropMethodPopupButton->currentIndex() == 0;
            changePalette(swap ? tr("Swap Entries") : tr("Copy Entry"), [&] {
                m_paletteDataSource->updatePaletteEntryForCollectionView(index, d);
                if (swap)
                    m_paletteDataSource->updatePaletteEntryForCollectionView(s, t);
            });
        }
        // The editor follows the entry it shows, which may have moved or changed.
        const QList<int> rows = grid->selectedRows();
        if (rows.size() == 1)
            loadEntryIntoEditor(rows.first());
        return true;
    }

    const std::optional<Colour> d = colourFromMimeData(drag);
    if (!d || operation != PaletteCollectionView::DropOn || index < 0 || index >= count)
        return false;
    changePalette(tr("Drop Colour"),
                  [&] { m_paletteDataSource->updatePaletteEntryForCollectionView(index, *d); });
    const QModelIndex target = m_paletteDataSource->index(index, 0);
    grid->selectionModel()->select(target, QItemSelectionModel::ClearAndSelect);
    grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    // Already the only selected entry: the selection did not change, so load it here.
    loadEntryIntoEditor(index);
    return true;
}

// Ctrl+Left and Ctrl+Right move the selected entry within the palette: the
// keyboard's way of dragging it between its neighbours.
bool ColourViewController::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->paletteColourEntriesPopupButton && event->type() == QEvent::Wheel) {
        event->ignore();
        return true;
    }
    if (watched == ui->paletteEditorCollectionView && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier &&
            (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
            moveSelectedEntry(key->key() == Qt::Key_Left ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ColourViewController::moveSelectedEntry(int step) {
    PaletteCollectionView *grid = ui->paletteEditorCollectionView;
    const QList<int> rows = grid->selectedRows();
    if (rows.size() != 1)
        return false;
    const int from = rows.first();
    const int to = from + step;
    bool done = false;
    if (to >= 0 && to < m_paletteDataSource->paletteEntries().size())
        changePalette(tr("Move Entry"), [&] { done = m_paletteDataSource->moveEntry(from, to); });
    if (!done)
        return false;
    const QModelIndex moved = m_paletteDataSource->index(to, 0);
    grid->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
    grid->selectionModel()->setCurrentIndex(moved, QItemSelectionModel::NoUpdate);
    grid->scrollTo(moved);
    loadEntryIntoEditor(to);
    return true;
}

// --- Loading ---

void ColourViewController::loadPalette() {
    auto *dialog = new QFileDialog(this, tr("Choose Amiga IFF Palette File"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Amiga pictures often have no suffix at all, so every file stays one choice away.
    dialog->setNameFilters({tr("IFF pictures (*.iff *.ilbm *.lbm *.acbm *.pbm *.IFF *.ILBM *.LBM)"),
                            tr("PNG pictures (*.png *.PNG)"), tr("All files (*)")});
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &path) { startLoadingPalette(path); });
    dialog->open();
}

void ColourViewController::startLoadingPalette(const QString &path, std::optional<unsigned> index) {
    if (path.isEmpty()) {
        emit paletteRead(false);
        return;
    }
    const QString name = QFileInfo(path).fileName();
    if (m_reader) {
        setStatus(tr("Still reading “%1”; “%2” is not loaded.").arg(m_readingName, name));
        emit paletteRead(false);
        return;
    }
    auto file = std::make_shared<PaletteFile>();
    auto pictures = std::make_shared<std::vector<picture::PictureSummary>>();
    m_reader = QThread::create([path, file, pictures, index] {
        if (!index) {
            *pictures = PaletteFile::pictures(path);
            if (pictures->size() > 1)
                return; // the user chooses first
        }
        *file = PaletteFile::read(path, index.value_or(0));
    });
    m_readingName = name;
    setStatus(tr("Reading “%1”…").arg(name));
    setCursor(Qt::BusyCursor);
    ui->loadPaletteButton->setEnabled(false);
    connect(m_reader, &QThread::finished, this, [this, file, pictures, path, name] {
        m_reader->deleteLater();
        m_reader = nullptr;
        unsetCursor();
        ui->loadPaletteButton->setEnabled(true);
        if (pictures->size() > 1) {
            setStatus(QString());
            PaletteFile::askWhichPicture(
                this, path, *pictures, tr("Load the colours of:"),
                [this, path](unsigned chosen) { startLoadingPalette(path, chosen); });
            emit paletteRead(false);
            return;
        }
        if (!file->ok) {
            setStatus(file->error);
            emit paletteRead(false);
            return;
        }
        usePaletteColours(file->colours, name);
        emit paletteRead(true);
    });
    m_reader->start();
}

bool ColourViewController::decodePaletteWithURL(const QString &path,
                                                std::optional<unsigned> index) {
    return readAndWait(this, &ColourViewController::paletteRead, m_reader,
                       [&] { startLoadingPalette(path, index); });
}

void ColourViewController::usePaletteColours(const QList<Colour> &colours, const QString &source) {
    changePalette(tr("Load Palette"), [&] {
        updatePopupButtonForColourCount(colours.size());
        m_paletteDataSource->setPaletteEntries(colours);
    });
    selectFirstEntry();
    setStatus(ColourTool::loadedStatus(colours.size(), source));
}

void ColourViewController::changePalette(const QString &what, const std::function<void()> &change,
                                         Step step) {
    using Snapshot = PaletteDataSource::Snapshot;
    Snapshot before = m_paletteDataSource->snapshot();
    change();
    Snapshot after = m_paletteDataSource->snapshot();
    if (after == before)
        return;
    // What the status line said is about the palette before the change; a load says its own
    // words once it is done.
    setStatus(QString());
    const int mergeId = step == Step::Own ? -1 : static_cast<int>(step);
    const bool joins = step != Step::Own && step == m_openEdit;
    m_undoStack->push(new SnapshotCommand<Snapshot>(
        what, std::move(before), std::move(after),
        [this](const Snapshot &state) {
            m_paletteDataSource->restore(state);
            showRestoredPalette();
        },
        mergeId, [joins] { return joins; }));
    m_openEdit = step;
}

void ColourViewController::showRestoredPalette() {
    m_openEdit = Step::Own;
    updatePopupButtonForColourCount(m_paletteDataSource->paletteEntries().size());
    const QList<int> rows = ui->paletteEditorCollectionView->selectedRows();
    if (rows.size() == 1)
        loadEntryIntoEditor(rows.first());
    setStatus(ColourTool::restoredStatus(m_paletteDataSource->paletteEntries().size()));
}

void ColourViewController::setStatus(const QString &text) {
    ui->paletteStatusLabel->setText(text);
}
