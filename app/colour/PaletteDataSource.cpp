#include "colour/PaletteDataSource.h"

#include <QColor>
#include <QMimeData>

const QString PaletteDataSource::entryMimeType =
    QStringLiteral("application/x-quillfen-palette-entry");

PaletteDataSource::PaletteDataSource(QObject *parent) : QAbstractListModel(parent) {}

void PaletteDataSource::setPaletteEntries(const QList<Colour> &entries) {
    beginResetModel();
    m_paletteEntries = entries;
    // Cells beyond the old size are new (rainbow height 0); the others keep theirs.
    m_items.resize(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        refreshCell(i);
    endResetModel();
}

PaletteDataSource::Snapshot PaletteDataSource::snapshot() const {
    Snapshot state{m_paletteEntries, {}};
    state.rainbowHeights.reserve(m_items.size());
    for (const PaletteEntryCollectionViewItem &item : m_items)
        state.rainbowHeights.append(item.rainbowHeight());
    return state;
}

void PaletteDataSource::restore(const Snapshot &snapshot) {
    beginResetModel();
    m_paletteEntries = snapshot.entries;
    m_items.resize(snapshot.entries.size());
    for (qsizetype i = 0; i < snapshot.entries.size(); ++i) {
        refreshCell(i);
        m_items[i].setRainbowHeight(i < snapshot.rainbowHeights.size() ? snapshot.rainbowHeights[i]
                                                                       : 0);
    }
    endResetModel();
}

void PaletteDataSource::refreshCell(qint64 index) {
    const Colour &c = m_paletteEntries[index];
    m_items[index].setPaletteValuesForIndex(index, c.redComponent(), c.greenComponent(),
                                            c.blueComponent());
}

const PaletteEntryCollectionViewItem *PaletteDataSource::itemAtIndex(qint64 index) const {
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return &m_items[index];
}

void PaletteDataSource::updatePaletteEntryForCollectionView(qint64 index, const Colour &colour) {
    if (index < 0 || index >= m_paletteEntries.size())
        return;
    m_paletteEntries[index] = colour;
    refreshCell(index);
    const QModelIndex changed = createIndex(static_cast<int>(index), 0);
    emit dataChanged(changed, changed);
}

void PaletteDataSource::storeRainbowHeight(qint64 height, qint64 index) {
    if (index < 0 || index >= m_items.size())
        return;
    m_items[index].setRainbowHeight(height);
    const QModelIndex changed = createIndex(static_cast<int>(index), 0);
    emit dataChanged(changed, changed, {RainbowHeightRole, Qt::ToolTipRole});
}

bool PaletteDataSource::moveEntry(qint64 from, qint64 to) {
    const qint64 n = m_paletteEntries.size();
    if (from < 0 || from >= n || to < 0 || to >= n)
        return false;
    if (from == to)
        return true;
    // beginMoveRows takes the row the entry is put in front of, in the old numbering.
    const int destination = static_cast<int>(to > from ? to + 1 : to);
    if (!beginMoveRows(QModelIndex(), static_cast<int>(from), static_cast<int>(from), QModelIndex(),
                       destination))
        return false;
    m_paletteEntries.move(from, to);
    m_items.move(from, to);
    for (qint64 i = std::min(from, to); i <= std::max(from, to); ++i)
        refreshCell(i);
    endMoveRows();
    // The index labels of the rows in between changed as well.
    emit dataChanged(createIndex(static_cast<int>(std::min(from, to)), 0),
                     createIndex(static_cast<int>(std::max(from, to)), 0));
    return true;
}

int PaletteDataSource::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_paletteEntries.size());
}

QVariant PaletteDataSource::data(const QModelIndex &index, int role) const {
    const PaletteEntryCollectionViewItem *item = itemAtIndex(index.row());
    if (!index.isValid() || !item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return item->indexLabel();
    case Qt::DecorationRole:
        return item->colour().toQColor();
    case ColourRole:
        return QVariant::fromValue(item->colour());
    case RainbowHeightRole:
        return item->rainbowHeight();
    case Qt::ToolTipRole: {
        const Colour c = item->colour();
        const qint64 i = item->index();
        QString tip =
            tr("Entry %1 (bank %2, register %3): %4").arg(i).arg(i / 32).arg(i % 32).arg(c.name());
        if (item->rainbowHeight() != 0)
            tip += tr(", rainbow height %1").arg(item->rainbowHeight());
        return tip;
    }
    default:
        return {};
    }
}

Qt::ItemFlags PaletteDataSource::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled | Qt::ItemNeverHasChildren;
}

QStringList PaletteDataSource::mimeTypes() const {
    return {QStringLiteral("application/x-color"), entryMimeType, QStringLiteral("text/plain")};
}

QMimeData *PaletteDataSource::mimeData(const QModelIndexList &indexes) const {
    QList<int> rows;
    for (const QModelIndex &index : indexes) {
        if (index.isValid() && !rows.contains(index.row()))
            rows.append(index.row());
    }
    if (rows.isEmpty())
        return nullptr;
    std::sort(rows.begin(), rows.end());
    auto *mime = new QMimeData;
    // The first entry's colour travels as a colour and as text, so that it can be
    // dropped into a colour dialog or another program as well.
    const Colour first = m_items[rows.first()].colour();
    mime->setColorData(first.toQColor());
    mime->setText(first.name());
    QStringList rowTexts;
    for (int row : rows)
        rowTexts.append(QString::number(row));
    mime->setData(entryMimeType, rowTexts.join(QLatin1Char(',')).toLatin1());
    return mime;
}

Qt::DropActions PaletteDataSource::supportedDragActions() const {
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

Qt::DropActions PaletteDataSource::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}
