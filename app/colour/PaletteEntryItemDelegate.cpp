#include "colour/PaletteEntryItemDelegate.h"
#include "colour/PaletteDataSource.h"

#include <QPainter>

PaletteEntryItemDelegate::PaletteEntryItemDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void PaletteEntryItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const {
    const auto *source = qobject_cast<const PaletteDataSource *>(index.model());
    const PaletteEntryCollectionViewItem *item =
        source ? source->itemAtIndex(index.row()) : nullptr;
    if (!item) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The stored cell is shared by every paint; its selection look is the view's.
    PaletteEntryCollectionViewItem cell = *item;
    cell.setSelected(option.state & QStyle::State_Selected);
    cell.draw(painter, option.rect, option.palette, option.state & QStyle::State_HasFocus);
}

QSize PaletteEntryItemDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const {
    return {cellSize, cellSize};
}
