#pragma once
#include "colour/Colour.h"
#include "common/CodeOutputTool.h"
#include "common/UndoableTool.h"
#include "gradient/GradientTool.h"

#include <QList>
#include <QWidget>
#include <amiga/gradient.h>
#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class GradientViewController;
}
class QUndoStack;
class QPlainTextEdit;

// The Gradient tool: key colours at display lines blended into a copper gradient on one colour
// register, with a preview of the exact colours beside what the printed copper list shows on
// the chosen chipset, and fade tables of the Colour tool's palette.
class GradientViewController : public QWidget, public CodeOutputTool, public UndoableTool {
    Q_OBJECT
public:
    // Where colours come from outside the tool: the Colour tool's palette and the colour its
    // editor holds. Without a source the palette is the default one and the edited colour black.
    struct ColourSource {
        std::function<QList<Colour>()> palette;
        std::function<Colour()> editedColour;
    };
    using Output = GradientTool::Output;

    explicit GradientViewController(QWidget *parent = nullptr);
    ~GradientViewController() override;

    Ui::GradientViewController *controls() const { return ui.get(); }
    QPlainTextEdit *codeOutputView() const override;
    // Adding, removing, moving and recolouring keys can be undone.
    QUndoStack *undoStack() const override { return m_undoStack; }
    void setColourSource(ColourSource source);

    // The key colours, in the order of the key list.
    const std::vector<amiga::GradientKey> &keys() const;
    void setKeys(std::vector<amiga::GradientKey> keys);
    int selectedKey() const;
    void selectKey(int index);
    // What the controls ask for.
    amiga::GradientRequest request();
    // The tool, as the last computation read the controls into it.
    const GradientTool &tool() const { return m_tool; }
    // The fade table's palette and its text.
    QList<Colour> fadePalette() const;

    // Moves a key to a line (from the first line), as dragging its mark does.
    void moveKey(int index, int line);
    // Gives the selected key a colour.
    void setSelectedKeyColour(const Colour &colour);

public slots:
    void addKey();
    void removeKey();
    void pickColour();
    void usePaletteEntry();
    void takeEditedColour();
    void copyCode();
    // Recomputes the output and the preview from the controls and the keys.
    void refresh();

private:
    void configureController();
    void fillKeyList();
    void loadSelectedKey();
    void chipsetChanged();
    void showStatus(const QString &text);
    // Copies every control into the tool.
    void readControls();

    std::unique_ptr<Ui::GradientViewController> ui;
    GradientTool m_tool;
    // Changes to the keys, for Edit > Undo.
    enum class KeyStep { Own, Move, Colour };
    void recordKeys(const QString &what, const std::vector<amiga::GradientKey> &before,
                    KeyStep step);
    QUndoStack *m_undoStack = nullptr;
    bool m_restoringKeys = false;
    KeyStep m_lastKeyStep = KeyStep::Own;
    int m_lastKey = -1;
    ColourSource m_source;
    bool m_loading = false;
};
