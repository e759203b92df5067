#pragma once
#include <QSize>
#include <QStyledItemDelegate>

class PaletteDataSource;

// Paints each entry of the palette grid with its PaletteEntryCollectionViewItem.
class PaletteEntryItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int cellSize = 34;

    explicit PaletteEntryItemDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
