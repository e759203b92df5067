#pragma once
#include "common/CodeOutputTool.h"
#include "common/UndoableTool.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class CopperViewController;
}
class CopperObject;
class CopperSequenceModel;
class HexFormatter;
class QUndoStack;
class QPlainTextEdit;

// The Copper tool: a short list of MOVE and WAIT instructions, printed as one
// dc.w line per display line, each line a WAIT followed by the list's words.
class CopperViewController : public QWidget, public CodeOutputTool, public UndoableTool {
    Q_OBJECT
public:
    explicit CopperViewController(QWidget *parent = nullptr);
    ~CopperViewController() override;

    // Control access for the window and its tests.
    Ui::CopperViewController *controls() const { return ui.get(); }
    CopperSequenceModel *sequenceArray() const { return m_sequence; }
    qint64 selectedCommandRow() const { return m_selectedCommandRow; }
    // The view that holds the tool's generated code.
    QPlainTextEdit *codeOutputView() const override;
    // Adding, removing, duplicating, moving and clearing instructions can be undone.
    QUndoStack *undoStack() const override { return m_undoStack; }

public slots:
    // Appends a MOVE when the register field names a register; otherwise says
    // why not in the tab's message line.
    void addMoveCommand();
    void addWaitCommand();
    // Remembers the list's selected row and enables copy and remove with it.
    void selectRow();
    void copyCommand();
    void removeCommand();
    void clearSequence();
    void autoCheck(QObject *sender);
    void outputCode();
    // Puts the generated code on the clipboard.
    void copyOutput();
    // Loads a row's values back into the MOVE or WAIT fields.
    void loadCommand(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void configureController();
    // Makes a change to the list as one step that can be undone.
    void changeSequence(const QString &what, const std::function<void()> &change);
    // Moves the instruction named by uuidText into the gap before gap.
    bool acceptDrop(const QString &uuidText, int gap);
    // The row the list really shows selected, -1 for none.
    int currentSelectedRow() const;

    std::unique_ptr<Ui::CopperViewController> ui;
    CopperSequenceModel *m_sequence = nullptr;
    HexFormatter *m_hexFormatter = nullptr;
    QUndoStack *m_undoStack = nullptr;
    qint64 m_selectedCommandRow = 0;
};
