#pragma once
#include "colour/Colour.h"
#include "colour/ColourTool.h"
#include "colour/PaletteCollectionView.h"
#include "common/CodeOutputTool.h"
#include "common/UndoableTool.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class ColourViewController;
}
class PaletteDataSource;
class QComboBox;
class QUndoStack;
class QItemSelection;
class QLineEdit;
class QPlainTextEdit;
class QThread;

// The Colour tool: a palette grid, an editor for one colour in 8-bit-per-gun
// terms with its 12-bit and 24-bit forms, the AGA bank and register it goes to,
// and the colour, palette and rainbow code for AGA and OCS/ECS.
class ColourViewController : public QWidget,
                             public PaletteCollectionView::DropDelegate,
                             public CodeOutputTool,
                             public UndoableTool {
    Q_OBJECT
public:
    explicit ColourViewController(QWidget *parent = nullptr);
    ~ColourViewController() override;

    // Control access for the window and its tests.
    Ui::ColourViewController *controls() const { return ui.get(); }
    PaletteDataSource *paletteDataSource() const { return m_paletteDataSource; }
    // What the controls hold, as the last computation read them.
    const ColourTool &tool() const { return m_tool; }
    // The view that holds the tab's generated code: the one the window copies from.
    QPlainTextEdit *codeOutputView() const override;
    // Every change to the palette can be undone: colour edits (one step per finished edit),
    // drops, moves, loads, size changes and rainbow heights.
    QUndoStack *undoStack() const override { return m_undoStack; }

    // A colour slider moved (sender), or a direct call (sender null): refresh
    // that gun's fields; with updateUserInterface also the well, the colour code
    // and the selected entries.
    void calculateColours(QObject *sender, bool updateUserInterface);
    // The bank or register slider moved: its field, the palette index, the code.
    void updateSliderIndex(QObject *sender);
    // Loads a colour (if any) and a palette index (unless -1) into the editor.
    void updateColourConversionWithColour(const std::optional<Colour> &colour, qint64 index);
    void checkOptionChanged(QObject *sender);
    bool isAGA() const;
    bool isCopperInstructions() const;
    // The count pop-up was changed: rebuild the palette at that size.
    void changeNumberOfColourEntries(QComboBox *popup);
    // Selects the pop-up item for a count, if it has one; sends nothing.
    void updatePopupButtonForColourCount(qint64 count);
    // Clears the editor to black without touching any entry.
    void resetSelection();
    // Selects entry 0 and shows it in the editor (after a load or a change of the colour count).
    void selectFirstEntry();
    void storeRainbowHeight(qint64 height, qint64 paletteIndex);
    // Gives every selected entry the colour well's colour.
    void updateSelectedColours();
    // Editing of a decimal field ended: cut it to 255, move its slider, refresh.
    void controlTextDidEndEditing(QLineEdit *field);
    void didSelectItems(const QList<int> &rows);
    void didDeselectItems(const QList<int> &rows);

    void outputColourCode();
    void outputPaletteCode();
    void outputRainbowCode();

    // Makes the colour map of a picture of the file the palette: of picture index
    // (0 the first) when given; else of its one picture, or, for a file of several
    // pictures, of the one the user picks from a list (size, depth, colours) that
    // this opens. A file that cannot be used leaves the palette as it was; the
    // status line says why. The file is read on a worker thread, the window going
    // on meanwhile and the status line saying what is read; paletteRead tells
    // whether it was used (false too while the list waits for the user's choice).
    void startLoadingPalette(const QString &path, std::optional<unsigned> index = std::nullopt);
    // The same, waiting for the reading to end: whether the palette was used.
    bool decodePaletteWithURL(const QString &path, std::optional<unsigned> index = std::nullopt);
    // Makes colours (the colour map of a picture named source) the palette, as loading a
    // palette file does: one step that can be undone, the status line saying what was loaded.
    void usePaletteColours(const QList<Colour> &colours, const QString &source);

    // Entries of a drag that started in the grid; none for a drag from outside.
    const std::optional<QList<int>> &indexPathsOfItemsBeingDragged() const {
        return m_indexPathsOfItemsBeingDragged;
    }

    // Grid drag and drop.
    bool canDragItems(const QList<int> &rows) override;
    void draggingSessionWillBegin(const QList<int> &rows) override;
    void draggingSessionEnded(Qt::DropAction operation) override;
    int validateDrop(const QMimeData *drag, int proposedIndex,
                     PaletteCollectionView::DropOperation operation) override;
    bool acceptDrop(const QMimeData *drag, int index,
                    PaletteCollectionView::DropOperation operation) override;

public slots:
    // Asks for a picture file and loads its palette: the button, and the File
    // menu with its Ctrl+O.
    void loadPalette();
    // Puts the whole code view on the clipboard.
    void copyCode();

signals:
    void paletteRead(bool used);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void configureController();
    // Moves the one selected entry a place back or on, as a drop between entries does.
    bool moveSelectedEntry(int step);
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void colourPicked(const Colour &colour);
    void rainbowHeightEdited();
    // Shows an entry in the editor: colour, bank, register, rainbow height.
    void loadEntryIntoEditor(int row);
    void setStatus(const QString &text);
    // Makes a change to the palette as one step that can be undone. An edit that continues the
    // one before it (the same slider still held, the same field still being typed in) joins
    // its step; anything else ends the edit.
    enum class Step { Own, ColourEdit, HeightEdit };
    void changePalette(const QString &what, const std::function<void()> &change,
                       Step step = Step::Own);
    // The palette put back by undo or redo: the pop-up, the editor and the status line follow.
    void showRestoredPalette();
    // Copies the editor's colour, index and the code options into the tool.
    void readControls();
    void showCode(ColourTool::Output which);

    std::unique_ptr<Ui::ColourViewController> ui;
    ColourTool m_tool;
    PaletteDataSource *m_paletteDataSource = nullptr;
    // The palette file being read, and its name.
    QThread *m_reader = nullptr;
    QString m_readingName;
    std::optional<QList<int>> m_indexPathsOfItemsBeingDragged;
    // Loading a selection into the editor shows the entry; it changes no colour.
    bool m_loadingSelection = false;
    // The entry whose rainbow height the height field shows, or -1.
    int m_heightFieldIndex = -1;
    QUndoStack *m_undoStack = nullptr;
    // The step the last edit made, while more of the same edit may join it.
    Step m_openEdit = Step::Own;
};
