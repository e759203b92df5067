#include "copper/CopperViewController.h"
#include "common/TextFields.h"
#include "ui_CopperViewController.h"

#include "common/CopperFramePreview.h"

#include "common/HexFormatter.h"
#include "common/HexToInteger.h"
#include "common/SnapshotCommand.h"
#include "common/Wrapping.h"
#include "copper/CopperCode.h"
#include "copper/CopperMove.h"
#include "copper/CopperSequenceModel.h"
#include "copper/CopperWait.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QUndoStack>
#include <cstdlib>

CopperViewController::CopperViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::CopperViewController>()) {
    ui->setupUi(this);
    configureController();
}

CopperViewController::~CopperViewController() = default;

void CopperViewController::configureController() {
    m_undoStack = new QUndoStack(this);
    m_sequence = new CopperSequenceModel(this);
    m_sequence->setDropHandler(
        [this](const QString &uuidText, int gap) { return acceptDrop(uuidText, gap); });
    ui->sequenceTableView->setModel(m_sequence);
    connect(ui->sequenceTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CopperViewController::selectRow);

    // One formatter serves every two-digit hexadecimal field.
    m_hexFormatter = new HexFormatter(2, this);
    for (QLineEdit *field : {ui->initialVerticalWaitTextField, ui->initialHorizontalWaitTextField,
                             ui->initialVerticleMaskTextField, ui->initialHorizontalMaskTextField,
                             ui->moveVerticalValueTextField, ui->moveHorizontalValueTextField,
                             ui->waitVerticalValueTextField, ui->waitHorizontalValueTextField,
                             ui->waitVerticleMaskTextField, ui->waitHorizontalMaskTextField})
        field->setValidator(m_hexFormatter);

    for (QCheckBox *box : {ui->moveAutoVerticalValueButton, ui->moveAutoHorizontalValueButton})
        connect(box, &QCheckBox::clicked, this, [this, box] { autoCheck(box); });

    connect(ui->addMoveButton, &QPushButton::clicked, this, &CopperViewController::addMoveCommand);
    connect(ui->addWaitButton, &QPushButton::clicked, this, &CopperViewController::addWaitCommand);
    connect(ui->xcopyCommandButton, &QPushButton::clicked, this,
            &CopperViewController::copyCommand);
    connect(ui->removeCommandButton, &QPushButton::clicked, this,
            &CopperViewController::removeCommand);
    connect(ui->clearSequenceButton, &QPushButton::clicked, this,
            &CopperViewController::clearSequence);
    connect(ui->outputCodeButton, &QPushButton::clicked, this, &CopperViewController::outputCode);
    connect(ui->copyOutputButton, &QPushButton::clicked, this, &CopperViewController::copyOutput);
    connect(ui->sequenceTableView, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { loadCommand(index.row()); });
    // Keys in the list: Delete removes, Return loads, Ctrl+Up/Down moves a row.
    ui->sequenceTableView->installEventFilter(this);

    // Rows move by dragging within the list; the model offers only gaps as targets.
    ui->sequenceTableView->setDragDropMode(QAbstractItemView::DragDrop);
    ui->sequenceTableView->setDefaultDropAction(Qt::MoveAction);
    ui->sequenceTableView->setDropIndicatorShown(true);

    // The output follows the list and the run at once, whatever changed them (an edit, a drag,
    // Undo, Clear), so that what Copy takes always matches the list.
    connect(m_sequence, &QAbstractItemModel::rowsInserted, this, &CopperViewController::outputCode);
    connect(m_sequence, &QAbstractItemModel::rowsRemoved, this, &CopperViewController::outputCode);
    connect(m_sequence, &QAbstractItemModel::rowsMoved, this, &CopperViewController::outputCode);
    connect(m_sequence, &QAbstractItemModel::modelReset, this, &CopperViewController::outputCode);
    connect(m_sequence, &QAbstractItemModel::dataChanged, this, &CopperViewController::outputCode);
    connect(m_sequence, &QAbstractItemModel::layoutChanged, this,
            &CopperViewController::outputCode);
    for (QLineEdit *field : {ui->iterationsTextField, ui->initialVerticalWaitTextField,
                             ui->initialHorizontalWaitTextField, ui->initialVerticleMaskTextField,
                             ui->initialHorizontalMaskTextField})
        connect(field, &QLineEdit::textChanged, this, &CopperViewController::outputCode);
    connect(ui->ntscButton, &QCheckBox::toggled, this, &CopperViewController::outputCode);

    disableWordWrap(ui->sequenceOutputTextView);
    // Code reads best in a fixed-width font, as it will in the editor it goes to.
    showAsCode(ui->sequenceOutputTextView);
}

bool CopperViewController::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->sequenceTableView && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const int row = currentSelectedRow();
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) &&
            modifiers == Qt::NoModifier) {
            removeCommand();
            return true;
        }
        // Return loads the selected row into its fields, as a double-click does.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            modifiers == Qt::NoModifier && row >= 0) {
            loadCommand(row);
            return true;
        }
        // Ctrl+Up and Ctrl+Down move the selected row, as dragging it does.
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
            modifiers == Qt::ControlModifier) {
            const int gap = key->key() == Qt::Key_Up ? row - 1 : row + 2;
            if (row >= 0 && gap >= 0 && gap <= m_sequence->rowCount()) {
                changeSequence(tr("Move Instruction"), [&] { m_sequence->moveToGap(row, gap); });
                selectRow();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int CopperViewController::currentSelectedRow() const {
    const QModelIndexList rows = ui->sequenceTableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CopperViewController::addMoveCommand() {
    const QString reg = ui->moveRegisterTextField->text();
    auto move = std::make_unique<CopperMove>(CopperObject::moveType);
    move->setRegisterReference(reg.trimmed());
    if (!move->registerOffset()) {
        ui->moveRegisterMessageLabel->setText(
            reg.trimmed().isEmpty()
                ? tr("Type a register for the MOVE: a name such as COLOR00 or an offset such as "
                     "$180.")
                : tr("\u201c%1\u201d is no custom-chip register: type a name such as COLOR00 or "
                     "an offset such as $180 or $dff180.")
                      .arg(reg.trimmed()));
        return;
    }
    ui->moveRegisterMessageLabel->clear();
    // Kept as it will be printed: the name in upper case, or the offset.
    move->setRegisterReference(move->registerText());
    move->setAutoVerticalValue(ui->moveAutoVerticalValueButton->isChecked());
    move->setAutoHorizontalValue(ui->moveAutoHorizontalValueButton->isChecked());
    move->setVerticalHexValue(ui->moveVerticalValueTextField->text(),
                              ui->moveHorizontalValueTextField->text());
    changeSequence(tr("Add MOVE"), [&] { m_sequence->append(std::move(move)); });
}

void CopperViewController::addWaitCommand() {
    auto wait = std::make_unique<CopperWait>(CopperObject::waitType);
    wait->setVerticalPositionHexValue(ui->waitVerticalValueTextField->text(),
                                      ui->waitHorizontalValueTextField->text());
    wait->setVerticalMaskHexValue(ui->waitVerticleMaskTextField->text(),
                                  ui->waitHorizontalMaskTextField->text());
    wait->setSkip(ui->waitSkipButton->isChecked());
    changeSequence(wait->isSkip() ? tr("Add SKIP") : tr("Add WAIT"),
                   [&] { m_sequence->append(std::move(wait)); });
}

void CopperViewController::selectRow() {
    m_selectedCommandRow = currentSelectedRow();
    const bool selected = m_selectedCommandRow != -1;
    ui->xcopyCommandButton->setEnabled(selected);
    ui->removeCommandButton->setEnabled(selected);
}

void CopperViewController::copyCommand() {
    // The row the list shows selected, not a remembered one that may be gone.
    const CopperObject *original = m_sequence->objectAt(currentSelectedRow());
    if (!original)
        return;
    std::unique_ptr<CopperObject> copy = original->copy();
    if (!copy)
        return;
    copy->setUuid(QUuid::createUuid());
    changeSequence(tr("Duplicate Instruction"), [&] { m_sequence->append(std::move(copy)); });
}

void CopperViewController::removeCommand() {
    const int row = currentSelectedRow();
    if (row < 0)
        return;
    changeSequence(tr("Remove Instruction"), [&] { m_sequence->removeAt(row); });
    selectRow();
}

void CopperViewController::clearSequence() {
    changeSequence(tr("Clear List"), [&] { m_sequence->clear(); });
    selectRow();
}

void CopperViewController::autoCheck(QObject *sender) {
    QLineEdit *field = nullptr;
    QCheckBox *box = nullptr;
    if (sender == ui->moveAutoVerticalValueButton) {
        box = ui->moveAutoVerticalValueButton;
        field = ui->moveVerticalValueTextField;
    } else if (sender == ui->moveAutoHorizontalValueButton) {
        box = ui->moveAutoHorizontalValueButton;
        field = ui->moveHorizontalValueTextField;
    } else {
        return;
    }
    field->setEnabled(!box->isChecked());
    field->setText(QString());
}

void CopperViewController::outputCode() {
    CopperRun run;
    run.lines = integerValue(ui->iterationsTextField->text());
    run.firstLine = convertHexToInteger(ui->initialVerticalWaitTextField->text());
    run.horizontal = convertHexToInteger(ui->initialHorizontalWaitTextField->text());
    run.verticalMask = convertHexToInteger(ui->initialVerticleMaskTextField->text());
    run.horizontalMask = convertHexToInteger(ui->initialHorizontalMaskTextField->text());
    run.frameLines =
        ui->ntscButton->isChecked() ? amiga::CopperFrame::kNtscLines : amiga::CopperFrame::kLines;
    const std::string code = copperCode(run, m_sequence->sequence());
    ui->sequenceOutputTextView->setPlainText(QString::fromStdString(code));
    ui->outputFramePreview->showCopperText(code, amiga::CopperFrame::Chipset::Ocs, -1,
                                           run.frameLines);
}

QPlainTextEdit *CopperViewController::codeOutputView() const {
    return ui->sequenceOutputTextView;
}

void CopperViewController::copyOutput() {
    QApplication::clipboard()->setText(ui->sequenceOutputTextView->toPlainText());
}

void CopperViewController::loadCommand(int row) {
    const CopperObject *object = m_sequence->objectAt(row);
    if (const auto *move = dynamic_cast<const CopperMove *>(object)) {
        ui->moveRegisterTextField->setText(move->registerReference());
        ui->moveAutoVerticalValueButton->setChecked(move->autoVerticalValue());
        ui->moveAutoHorizontalValueButton->setChecked(move->autoHorizontalValue());
        ui->moveVerticalValueTextField->setEnabled(!move->autoVerticalValue());
        ui->moveHorizontalValueTextField->setEnabled(!move->autoHorizontalValue());
        ui->moveVerticalValueTextField->setText(
            move->autoVerticalValue() ? QString() : CopperObject::byteText(move->verticalValue()));
        ui->moveHorizontalValueTextField->setText(
            move->autoHorizontalValue() ? QString()
                                        : CopperObject::byteText(move->horizontalValue()));
    } else if (const auto *wait = dynamic_cast<const CopperWait *>(object)) {
        ui->waitVerticalValueTextField->setText(CopperObject::byteText(wait->verticalPosition()));
        ui->waitHorizontalValueTextField->setText(
            CopperObject::byteText(wait->horizontalPosition()));
        ui->waitVerticleMaskTextField->setText(CopperObject::byteText(wait->verticalMask()));
        ui->waitHorizontalMaskTextField->setText(CopperObject::byteText(wait->horizontalMask()));
        ui->waitSkipButton->setChecked(wait->isSkip());
    }
}

void CopperViewController::changeSequence(const QString &what,
                                          const std::function<void()> &change) {
    using Snapshot = std::shared_ptr<const CopperSequenceModel::Sequence>;
    Snapshot before = m_sequence->snapshot();
    change();
    if (m_sequence->matches(*before))
        return;
    m_undoStack->push(new SnapshotCommand<Snapshot>(what, std::move(before), m_sequence->snapshot(),
                                                    [this](const Snapshot &state) {
                                                        m_sequence->restore(*state);
                                                        selectRow();
                                                    }));
}

bool CopperViewController::acceptDrop(const QString &uuidText, int gap) {
    // The dragged instruction is the one the drag carries, whatever is selected.
    const int row = m_sequence->rowOfUuid(QUuid::fromString(uuidText.trimmed()));
    if (row < 0)
        return false;
    changeSequence(tr("Move Instruction"), [&] { m_sequence->moveToGap(row, gap); });
    selectRow();
    return true;
}
