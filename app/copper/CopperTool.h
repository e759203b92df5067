#pragma once
#include "copper/CopperCode.h"
#include "copper/CopperSequenceModel.h"

#include <QString>
#include <QUndoStack>
#include <functional>
#include <optional>
#include <string>

// What the Copper tab holds and computes, without its widgets: the instruction list and the
// rules for adding, duplicating, removing, moving and clearing its rows (each one step that can
// be undone), the fields that bring a row back, and the code for the run of lines the controls
// ask for (PAL or NTSC). The controller copies its controls in and shows the list and the code.
class CopperTool {
public:
    // A MOVE's fields as typed: the register, and two hexadecimal bytes (empty reads as 0); a
    // byte that follows the line has no text.
    struct MoveFields {
        QString reg, high, low;
        bool autoHigh = false, autoLow = false;
    };
    // A WAIT's position and mask bytes as typed, and whether it is a SKIP.
    struct WaitFields {
        QString vertical, horizontal, verticalMask, horizontalMask;
        bool skip = false;
    };

    // The run as its fields hold it: the number of lines (decimal), the line WAIT's position and
    // masks (hexadecimal) and the frame.
    QString lines, firstLine, horizontal, verticalMask, horizontalMask;
    bool ntsc = false;

    CopperTool();
    ~CopperTool();

    // The list, for the list view; every change goes through the tool.
    CopperSequenceModel &list() { return m_list; }
    QUndoStack &undoStack() { return m_undo; }

    // Appends a MOVE when the register field names a register of the custom chips, and gives
    // an empty text; otherwise changes nothing and says why.
    QString addMove(const MoveFields &fields);
    void addWait(const WaitFields &fields);
    // A new instruction equal to the one at row, at the end; false when there is no such row.
    bool duplicate(int row);
    bool remove(int row);
    void clear();
    // Moves the row into the gap before gap (0 to the row count); false when nothing moved.
    bool move(int row, int gap);
    // A dragged row, named by the uuid text it carries; false when no row has it.
    bool drop(const QString &uuidText, int gap);

    // The fields that give the row's instruction again, when the row is one of that kind.
    std::optional<MoveFields> moveFieldsAt(int row) const;
    std::optional<WaitFields> waitFieldsAt(int row) const;

    CopperRun run() const;
    // The list on every line of the run, as the tab shows it.
    std::string code() const { return copperCode(run(), m_list.sequence()); }

private:
    // Makes a change to the list as one step that can be undone; a change that changed nothing
    // is no step.
    void change(const QString &what, const std::function<void()> &apply);

    CopperSequenceModel m_list;
    QUndoStack m_undo;
};
