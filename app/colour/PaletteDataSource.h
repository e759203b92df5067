#pragma once
#include "colour/Colour.h"
#include "colour/ColourTool.h"
#include "colour/PaletteEntryCollectionViewItem.h"

#include <QAbstractListModel>
#include <QList>

// The palette model behind the grid: paletteEntries (entry i is colour
// register i of the palette) and one cell per entry, which carries the entry's
// rainbow height. Replacing the palette keeps each index's rainbow height.
class PaletteDataSource : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { ColourRole = Qt::UserRole + 1, RainbowHeightRole };

    // The private type of an entry dragged within the grid: its row as text.
    static const QString entryMimeType;

    explicit PaletteDataSource(QObject *parent = nullptr);

    // The palette as it stands, with every entry's rainbow height: what undo puts back.
    using Snapshot = ColourPalette;
    Snapshot snapshot() const;
    void restore(const Snapshot &snapshot);

    const QList<Colour> &paletteEntries() const { return m_paletteEntries; }
    // Replaces the whole palette and reloads the grid.
    void setPaletteEntries(const QList<Colour> &entries);

    // The cell for an index, or null when there is none.
    const PaletteEntryCollectionViewItem *itemAtIndex(qint64 index) const;

    // Gives the entry at index a new colour, in the palette and in its cell.
    void updatePaletteEntryForCollectionView(qint64 index, const Colour &colour);
    // Sets the rainbow height kept by the cell at index; no cell, nothing stored.
    void storeRainbowHeight(qint64 height, qint64 index);
    // Moves one entry (colour and rainbow height) so that it ends at index to.
    bool moveEntry(qint64 from, qint64 to);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

private:
    void refreshCell(qint64 index);

    QList<Colour> m_paletteEntries;
    QList<PaletteEntryCollectionViewItem> m_items;
};
