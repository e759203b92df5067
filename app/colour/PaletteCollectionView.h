#pragma once
#include <QList>
#include <QListView>

class QMimeData;

// The palette grid: entries in rows, drawn by PaletteEntryItemDelegate. Drags
// and drops are decided by its drop delegate (the Colour tool): a drop lands
// either onto an entry or between two entries (before the proposed index).
class PaletteCollectionView : public QListView {
    Q_OBJECT
public:
    enum DropOperation { DropOn = 0, DropBefore = 1 };
    enum DragOperation {
        DragOperationNone = 0,
        DragOperationCopy = 1,
        DragOperationGeneric = 4,
        DragOperationMove = 16,
    };

    struct DropDelegate {
        virtual ~DropDelegate() = default;
        virtual bool canDragItems(const QList<int> &rows) = 0;
        virtual void draggingSessionWillBegin(const QList<int> &rows) = 0;
        virtual void draggingSessionEnded(Qt::DropAction operation) = 0;
        virtual int validateDrop(const QMimeData *drag, int proposedIndex,
                                 DropOperation operation) = 0;
        virtual bool acceptDrop(const QMimeData *drag, int index, DropOperation operation) = 0;
    };

    struct DropTarget {
        int index = -1; // -1: nowhere
        DropOperation operation = DropOn;
    };

    explicit PaletteCollectionView(QWidget *parent = nullptr);

    void setDropDelegate(DropDelegate *delegate) { m_dropDelegate = delegate; }

    // Where a drop at a point of the viewport would go.
    DropTarget dropTargetAt(const QPoint &position) const;
    // The rows now selected, in ascending order.
    QList<int> selectedRows() const;

    // Cells in a row: 16, so that a bank of 32 colour registers is one block of two rows, or 8
    // (four rows a bank) when the grid is too narrow for 16 readable cells.
    int columns() const;

protected:
    // The cells share the width in whole columns.
    void resizeEvent(QResizeEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static Qt::DropAction actionFor(int operation);
    void setIndicator(const DropTarget &target);

    DropDelegate *m_dropDelegate = nullptr;
    DropTarget m_indicator;
};
