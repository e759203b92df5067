#include "colour/PaletteCollectionView.h"
#include "colour/PaletteDataSource.h"
#include "colour/PaletteEntryItemDelegate.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

PaletteCollectionView::PaletteCollectionView(QWidget *parent) : QListView(parent) {
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setGridSize(QSize(PaletteEntryItemDelegate::cellSize, PaletteEntryItemDelegate::cellSize));
    // The scroll bar keeps its place, so that the columns do not change with the palette's size.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false); // the grid draws its own
    setDragDropMode(QAbstractItemView::DragDrop);
    setItemDelegate(new PaletteEntryItemDelegate(this));
}

namespace {

// The narrowest a cell may be and still show its number.
constexpr int kNarrowestCell = 24;

} // namespace

int PaletteCollectionView::columns() const {
    return viewport()->width() >= 16 * kNarrowestCell ? 16 : 8;
}

void PaletteCollectionView::resizeEvent(QResizeEvent *event) {
    QListView::resizeEvent(event);
    // A pixel to spare: a row exactly as wide as the viewport would wrap one cell early.
    const int width = std::max(kNarrowestCell, (viewport()->width() - 1) / columns());
    if (gridSize().width() != width)
        setGridSize(QSize(width, PaletteEntryItemDelegate::cellSize));
}

PaletteCollectionView::DropTarget
PaletteCollectionView::dropTargetAt(const QPoint &position) const {
    DropTarget target;
    if (!model())
        return target;
    const int count = model()->rowCount(rootIndex());
    const QModelIndex index = indexAt(position);
    if (index.isValid()) {
        const QRect rect = visualRect(index);
        // The outer sixth of a cell on either side means "between".
        const int edge = std::max(3, rect.width() / 6);
        if (position.x() < rect.left() + edge) {
            target = {index.row(), DropBefore};
        } else if (position.x() > rect.right() - edge) {
            target = {index.row() + 1, DropBefore};
        } else {
            target = {index.row(), DropOn};
        }
        return target;
    }
    if (count == 0)
        return {0, DropBefore};
    // Past the last entry in reading order: after it.
    const QRect last = visualRect(model()->index(count - 1, 0, rootIndex()));
    if (position.y() > last.bottom() || (position.y() >= last.top() && position.x() > last.right()))
        return {count, DropBefore};
    return target;
}

QList<int> PaletteCollectionView::selectedRows() const {
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void PaletteCollectionView::startDrag(Qt::DropActions supportedActions) {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || !model())
        return;
    if (m_dropDelegate && !m_dropDelegate->canDragItems(rows))
        return;
    QMimeData *mime = model()->mimeData(selectionModel()->selectedIndexes());
    if (!mime)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    QPixmap swatch(24, 24);
    swatch.fill(qvariant_cast<QColor>(mime->colorData()));
    drag->setPixmap(swatch);
    drag->setHotSpot(QPoint(12, 12));
    if (m_dropDelegate)
        m_dropDelegate->draggingSessionWillBegin(rows);
    const Qt::DropAction result = drag->exec(supportedActions, Qt::MoveAction);
    if (m_dropDelegate)
        m_dropDelegate->draggingSessionEnded(result);
    setIndicator({});
}

Qt::DropAction PaletteCollectionView::actionFor(int operation) {
    switch (operation) {
    case DragOperationCopy:
        return Qt::CopyAction;
    case DragOperationGeneric:
    case DragOperationMove:
        return Qt::MoveAction;
    default:
        return Qt::IgnoreAction;
    }
}

void PaletteCollectionView::dragEnterEvent(QDragEnterEvent *event) {
    // Entering is allowed when a drop onto an entry would be; where exactly the
    // drag may land is decided as it moves.
    if (m_dropDelegate && model() &&
        m_dropDelegate->validateDrop(event->mimeData(), 0, DropOn) != DragOperationNone) {
        event->acceptProposedAction();
        return;
    }
    event->ignore();
}

void PaletteCollectionView::dragMoveEvent(QDragMoveEvent *event) {
    const DropTarget target = dropTargetAt(event->position().toPoint());
    const int operation =
        (m_dropDelegate && target.index >= 0)
            ? m_dropDelegate->validateDrop(event->mimeData(), target.index, target.operation)
            : int(DragOperationNone);
    if (operation == DragOperationNone) {
        setIndicator({});
        event->ignore();
        return;
    }
    setIndicator(target);
    const Qt::DropAction action = actionFor(operation);
    if (event->possibleActions() & action) {
        event->setDropAction(action);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
    if (hasAutoScroll())
        startAutoScroll();
}

void PaletteCollectionView::dragLeaveEvent(QDragLeaveEvent *event) {
    setIndicator({});
    stopAutoScroll();
    event->accept();
}

void PaletteCollectionView::dropEvent(QDropEvent *event) {
    stopAutoScroll();
    const DropTarget target = dropTargetAt(event->position().toPoint());
    setIndicator({});
    if (!m_dropDelegate || target.index < 0) {
        event->ignore();
        return;
    }
    const int operation =
        m_dropDelegate->validateDrop(event->mimeData(), target.index, target.operation);
    if (operation == DragOperationNone ||
        !m_dropDelegate->acceptDrop(event->mimeData(), target.index, target.operation)) {
        event->ignore();
        return;
    }
    const Qt::DropAction action = actionFor(operation);
    if (event->possibleActions() & action)
        event->setDropAction(action);
    event->accept();
}

void PaletteCollectionView::setIndicator(const DropTarget &target) {
    if (target.index == m_indicator.index && target.operation == m_indicator.operation)
        return;
    m_indicator = target;
    viewport()->update();
}

void PaletteCollectionView::paintEvent(QPaintEvent *event) {
    QListView::paintEvent(event);
    if (m_indicator.index < 0 || !model())
        return;
    const int count = model()->rowCount(rootIndex());
    QPainter painter(viewport());
    const QColor colour = palette().color(QPalette::Highlight);
    if (m_indicator.operation == DropOn && m_indicator.index < count) {
        const QRect rect = visualRect(model()->index(m_indicator.index, 0, rootIndex()));
        painter.setPen(QPen(colour, 2.0));
        painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
        return;
    }
    // Between entries: a bar at the left edge of the entry it goes before, or at
    // the right edge of the last entry.
    QRect rect;
    int x = 0;
    if (m_indicator.index < count) {
        rect = visualRect(model()->index(m_indicator.index, 0, rootIndex()));
        x = rect.left();
    } else if (count > 0) {
        rect = visualRect(model()->index(count - 1, 0, rootIndex()));
        x = rect.right();
    } else {
        return;
    }
    painter.fillRect(QRect(x - 1, rect.top(), 3, rect.height()), colour);
}
