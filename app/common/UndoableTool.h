#pragma once

class QUndoStack;

// A tool whose changes can be undone keeps them on its own stack; the window's Edit menu undoes
// and redoes on the stack of the tool on show.
class UndoableTool {
public:
    virtual ~UndoableTool() = default;
    virtual QUndoStack *undoStack() const = 0;
};
