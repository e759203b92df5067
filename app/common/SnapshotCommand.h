#pragma once
#include <QUndoCommand>
#include <functional>
#include <utility>

// An undoable change told by the state before and after it: undo puts the state before back,
// redo the state after. The change itself has been made when the command is pushed, so the
// first redo, which QUndoStack::push sends, does nothing. A command with a merge id (not -1)
// joins the step before it when that has the same id and its own mayJoin says so.
template <class State> class SnapshotCommand : public QUndoCommand {
public:
    using Apply = std::function<void(const State &)>;
    using MayJoin = std::function<bool()>;

    SnapshotCommand(const QString &text, State before, State after, Apply apply, int mergeId = -1,
                    MayJoin mayJoin = {})
        : m_before(std::move(before)), m_after(std::move(after)), m_apply(std::move(apply)),
          m_mergeId(mergeId), m_mayJoin(std::move(mayJoin)) {
        setText(text);
    }

    void undo() override { m_apply(m_before); }
    void redo() override {
        if (m_pushed)
            m_apply(m_after);
        m_pushed = true;
    }
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand *other) override {
        const auto *next = dynamic_cast<const SnapshotCommand *>(other);
        if (!next || next->m_mergeId != m_mergeId || !next->m_mayJoin || !next->m_mayJoin())
            return false;
        m_after = next->m_after;
        return true;
    }

private:
    State m_before;
    State m_after;
    Apply m_apply;
    int m_mergeId;
    MayJoin m_mayJoin;
    bool m_pushed = false;
};
