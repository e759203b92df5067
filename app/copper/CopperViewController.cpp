#include "copper/CopperViewController.h"
#include "ui_CopperViewController.h"

#include "common/CopperFramePreview.h"
#include "common/HexFormatter.h"
#include "common/Wrapping.h"
#include "copper/CopperSequenceModel.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

CopperViewController::CopperViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::CopperViewController>()) {
    ui->setupUi(this);
    configureController();
}

CopperViewController::~CopperViewController() = default;

void CopperViewController::configureController() {
    CopperSequenceModel &list = m_tool.list();
    list.setDropHandler([this](const QString &uuidText, int gap) {
        const bool taken = m_tool.drop(uuidText, gap);
        selectRow();
        return taken;
    });
    ui->sequenceTableView->setModel(&list);
    connect(ui->sequenceTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CopperViewController::selectRow);

    // One formatter serves every two-digit hexadecimal field.
    auto *hexFormatter = new HexFormatter(2, this);
    for (QLineEdit *field : {ui->initialVerticalWaitTextField, ui->initialHorizontalWaitTextField,
                             ui->initialVerticleMaskTextField, ui->initialHorizontalMaskTextField,
                             ui->moveVerticalValueTextField, ui->moveHorizontalValueTextField,
                             ui->waitVerticalValueTextField, ui->waitHorizontalValueTextField,
                             ui->waitVerticleMaskTextField, ui->waitHorizontalMaskTextField})
        field->setValidator(hexFormatter);

    // A byte that follows the line has no field of its own: the box empties and locks it.
    const std::pair<QCheckBox *, QLineEdit *> autoBoxes[] = {
        {ui->moveAutoVerticalValueButton, ui->moveVerticalValueTextField},
        {ui->moveAutoHorizontalValueButton, ui->moveHorizontalValueTextField}};
    for (const auto &[box, field] : autoBoxes)
        connect(box, &QCheckBox::clicked, this, [box = box, field = field] {
            field->setEnabled(!box->isChecked());
            field->setText(QString());
        });

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
    connect(&list, &QAbstractItemModel::rowsInserted, this, &CopperViewController::outputCode);
    connect(&list, &QAbstractItemModel::rowsRemoved, this, &CopperViewController::outputCode);
    connect(&list, &QAbstractItemModel::rowsMoved, this, &CopperViewController::outputCode);
    connect(&list, &QAbstractItemModel::modelReset, this, &CopperViewController::outputCode);
    connect(&list, &QAbstractItemModel::dataChanged, this, &CopperViewController::outputCode);
    connect(&list, &QAbstractItemModel::layoutChanged, this, &CopperViewController::outputCode);
    // Undo puts a whole list back, and the list view forgets its selection.
    connect(&list, &QAbstractItemModel::modelReset, this, &CopperViewController::selectRow);
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
            if (m_tool.move(row, key->key() == Qt::Key_Up ? row - 1 : row + 2))
                selectRow();
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
    ui->moveRegisterMessageLabel->setText(m_tool.addMove(
        {ui->moveRegisterTextField->text(), ui->moveVerticalValueTextField->text(),
         ui->moveHorizontalValueTextField->text(), ui->moveAutoVerticalValueButton->isChecked(),
         ui->moveAutoHorizontalValueButton->isChecked()}));
}

void CopperViewController::addWaitCommand() {
    m_tool.addWait({ui->waitVerticalValueTextField->text(),
                    ui->waitHorizontalValueTextField->text(), ui->waitVerticleMaskTextField->text(),
                    ui->waitHorizontalMaskTextField->text(), ui->waitSkipButton->isChecked()});
}

void CopperViewController::selectRow() {
    const bool selected = currentSelectedRow() != -1;
    ui->xcopyCommandButton->setEnabled(selected);
    ui->removeCommandButton->setEnabled(selected);
}

void CopperViewController::copyCommand() {
    // The row the list shows selected, not a remembered one that may be gone.
    m_tool.duplicate(currentSelectedRow());
}

void CopperViewController::removeCommand() {
    if (m_tool.remove(currentSelectedRow()))
        selectRow();
}

void CopperViewController::clearSequence() {
    m_tool.clear();
    selectRow();
}

void CopperViewController::outputCode() {
    m_tool.lines = ui->iterationsTextField->text();
    m_tool.firstLine = ui->initialVerticalWaitTextField->text();
    m_tool.horizontal = ui->initialHorizontalWaitTextField->text();
    m_tool.verticalMask = ui->initialVerticleMaskTextField->text();
    m_tool.horizontalMask = ui->initialHorizontalMaskTextField->text();
    m_tool.ntsc = ui->ntscButton->isChecked();
    const std::string code = m_tool.code();
    ui->sequenceOutputTextView->setPlainText(QString::fromStdString(code));
    ui->outputFramePreview->showCopperText(code, amiga::CopperFrame::Chipset::Ocs, -1,
                                           m_tool.run().frameLines);
}

QPlainTextEdit *CopperViewController::codeOutputView() const {
    return ui->sequenceOutputTextView;
}

void CopperViewController::copyOutput() {
    QApplication::clipboard()->setText(ui->sequenceOutputTextView->toPlainText());
}

void CopperViewController::loadCommand(int row) {
    if (const std::optional<CopperTool::MoveFields> move = m_tool.moveFieldsAt(row)) {
        ui->moveRegisterTextField->setText(move->reg);
        ui->moveAutoVerticalValueButton->setChecked(move->autoHigh);
        ui->moveAutoHorizontalValueButton->setChecked(move->autoLow);
        ui->moveVerticalValueTextField->setEnabled(!move->autoHigh);
        ui->moveHorizontalValueTextField->setEnabled(!move->autoLow);
        ui->moveVerticalValueTextField->setText(move->high);
        ui->moveHorizontalValueTextField->setText(move->low);
    } else if (const std::optional<CopperTool::WaitFields> wait = m_tool.waitFieldsAt(row)) {
        ui->waitVerticalValueTextField->setText(wait->vertical);
        ui->waitHorizontalValueTextField->setText(wait->horizontal);
        ui->waitVerticleMaskTextField->setText(wait->verticalMask);
        ui->waitHorizontalMaskTextField->setText(wait->horizontalMask);
        ui->waitSkipButton->setChecked(wait->skip);
    }
}
