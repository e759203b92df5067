#pragma once
#include "copper/CopperObject.h"

#include <QAbstractListModel>
#include <functional>
#include <memory>
#include <vector>

// The copper list as the list view sees it: one row per instruction, showing
// its row text. Rows are dragged as the instruction's uuid under
// "copper.command" and may be dropped between rows (never onto one).
//
// The model deliberately has no removeRows() or moveRows(): after an internal
// move the list view would otherwise move or remove the selected rows itself,
// and the drop handler is the one place that reorders the sequence.
class CopperSequenceModel : public QAbstractListModel {
    Q_OBJECT
public:
    static const QString commandMimeType;

    using Sequence = CopperSequence;
    // Called for a drop that the model accepts: the dragged uuid text and the
    // gap (0 to rowCount) it was dropped in. Answers whether the drop was taken.
    using DropHandler = std::function<bool(const QString &uuidText, int gap)>;

    explicit CopperSequenceModel(QObject *parent = nullptr);
    ~CopperSequenceModel() override;

    const Sequence &sequence() const { return m_sequence; }
    CopperObject *objectAt(int row) const;
    // The row of the instruction with this uuid, -1 when none has it.
    int rowOfUuid(const QUuid &uuid) const;

    void append(std::unique_ptr<CopperObject> object);
    void removeAt(int row);
    void clear();
    // Moves the instruction at row into the gap before gap (0 to rowCount):
    // it ends at gap when it came from gap or later, at gap - 1 otherwise.
    void moveToGap(int row, int gap);

    // The list as it stands, each instruction copied with its uuid, for undo.
    std::shared_ptr<const Sequence> snapshot() const;
    // Puts a snapshot's instructions back in place of the list.
    void restore(const Sequence &snapshot);
    // Whether the list holds the same instructions, in the same order, as a snapshot.
    bool matches(const Sequence &snapshot) const;

    void setDropHandler(DropHandler handler) { m_dropHandler = std::move(handler); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    Sequence m_sequence;
    DropHandler m_dropHandler;
};
