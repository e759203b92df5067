#pragma once
#include "common/CodeOutputTool.h"
#include "common/UndoableTool.h"
#include "copper/CopperTool.h"

#include <QWidget>
#include <memory>

namespace Ui {
class CopperViewController;
}
class CopperSequenceModel;
class QPlainTextEdit;

// The Copper tool: a short list of MOVE and WAIT instructions, printed as one dc.w line per
// display line, each line a WAIT followed by the list's words. The list, its rules and the code
// are CopperTool's; the controller wires the controls to it.
class CopperViewController : public QWidget, public CodeOutputTool, public UndoableTool {
    Q_OBJECT
public:
    explicit CopperViewController(QWidget *parent = nullptr);
    ~CopperViewController() override;

    // Control access for the window and its tests.
    Ui::CopperViewController *controls() const { return ui.get(); }
    CopperTool &tool() { return m_tool; }
    // The view that holds the tool's generated code.
    QPlainTextEdit *codeOutputView() const override;
    // Adding, removing, duplicating, moving and clearing instructions can be undone.
    QUndoStack *undoStack() const override { return &m_tool.undoStack(); }

public slots:
    // Appends a MOVE when the register field names a register; otherwise says
    // why not in the tab's message line.
    void addMoveCommand();
    void addWaitCommand();
    // Enables copy and remove with the list's selection.
    void selectRow();
    void copyCommand();
    void removeCommand();
    void clearSequence();
    void outputCode();
    // Puts the generated code on the clipboard.
    void copyOutput();
    // Loads a row's values back into the MOVE or WAIT fields.
    void loadCommand(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void configureController();
    // The row the list really shows selected, -1 for none.
    int currentSelectedRow() const;

    std::unique_ptr<Ui::CopperViewController> ui;
    mutable CopperTool m_tool;
};
