#include "copper/CopperSequenceModel.h"

#include <QMimeData>

const QString CopperSequenceModel::commandMimeType = QStringLiteral("copper.command");

CopperSequenceModel::CopperSequenceModel(QObject *parent) : QAbstractListModel(parent) {}

CopperSequenceModel::~CopperSequenceModel() = default;

CopperObject *CopperSequenceModel::objectAt(int row) const {
    if (row < 0 || row >= static_cast<int>(m_sequence.size()))
        return nullptr;
    return m_sequence[static_cast<std::size_t>(row)].get();
}

int CopperSequenceModel::rowOfUuid(const QUuid &uuid) const {
    if (uuid.isNull())
        return -1;
    for (std::size_t i = 0; i < m_sequence.size(); ++i) {
        if (m_sequence[i]->uuid() == uuid)
            return static_cast<int>(i);
    }
    return -1;
}

void CopperSequenceModel::append(std::unique_ptr<CopperObject> object) {
    if (!object)
        return;
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_sequence.push_back(std::move(object));
    endInsertRows();
}

void CopperSequenceModel::removeAt(int row) {
    if (!objectAt(row))
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_sequence.erase(m_sequence.begin() + row);
    endRemoveRows();
}

namespace {

CopperSequenceModel::Sequence copies(const CopperSequenceModel::Sequence &from) {
    CopperSequenceModel::Sequence to;
    to.reserve(from.size());
    for (const auto &object : from) {
        std::unique_ptr<CopperObject> copy = object->copy();
        copy->setUuid(object->uuid());
        to.push_back(std::move(copy));
    }
    return to;
}

} // namespace

std::shared_ptr<const CopperSequenceModel::Sequence> CopperSequenceModel::snapshot() const {
    return std::make_shared<const Sequence>(copies(m_sequence));
}

void CopperSequenceModel::restore(const Sequence &snapshot) {
    beginResetModel();
    m_sequence = copies(snapshot);
    endResetModel();
}

bool CopperSequenceModel::matches(const Sequence &snapshot) const {
    if (snapshot.size() != m_sequence.size())
        return false;
    for (std::size_t i = 0; i < snapshot.size(); ++i)
        if (snapshot[i]->uuid() != m_sequence[i]->uuid() ||
            snapshot[i]->commandDescription() != m_sequence[i]->commandDescription())
            return false;
    return true;
}

void CopperSequenceModel::clear() {
    if (m_sequence.empty())
        return;
    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
    m_sequence.clear();
    endRemoveRows();
}

void CopperSequenceModel::moveToGap(int row, int gap) {
    if (!objectAt(row) || gap < 0 || gap > rowCount())
        return;
    // The gaps on either side of a row leave it where it is.
    if (gap == row || gap == row + 1)
        return;
    beginMoveRows(QModelIndex(), row, row, QModelIndex(), gap);
    auto moved = std::move(m_sequence[static_cast<std::size_t>(row)]);
    m_sequence.erase(m_sequence.begin() + row);
    const int to = gap > row ? gap - 1 : gap;
    m_sequence.insert(m_sequence.begin() + to, std::move(moved));
    endMoveRows();
}

int CopperSequenceModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_sequence.size());
}

QVariant CopperSequenceModel::data(const QModelIndex &index, int role) const {
    const CopperObject *object = objectAt(index.isValid() ? index.row() : -1);
    if (!object || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return object->commandDescription();
}

Qt::ItemFlags CopperSequenceModel::flags(const QModelIndex &index) const {
    // Only the list itself takes drops, so every drop lands between rows.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList CopperSequenceModel::mimeTypes() const {
    return {commandMimeType};
}

QMimeData *CopperSequenceModel::mimeData(const QModelIndexList &indexes) const {
    const CopperObject *object = indexes.isEmpty() ? nullptr : objectAt(indexes.first().row());
    if (!object)
        return nullptr;
    auto *data = new QMimeData;
    data->setData(commandMimeType,
                  object->uuid().toString(QUuid::WithoutBraces).toUpper().toUtf8());
    return data;
}

Qt::DropActions CopperSequenceModel::supportedDragActions() const {
    return Qt::MoveAction;
}

Qt::DropActions CopperSequenceModel::supportedDropActions() const {
    return Qt::MoveAction;
}

bool CopperSequenceModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                          const QModelIndex &parent) const {
    return data && data->hasFormat(commandMimeType) && action == Qt::MoveAction &&
           !parent.isValid();
}

bool CopperSequenceModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                       int column, const QModelIndex &parent) {
    if (!canDropMimeData(data, action, row, column, parent) || !m_dropHandler)
        return false;
    // A drop below the last row arrives without a row: it goes at the end.
    const int gap = row < 0 || row > rowCount() ? rowCount() : row;
    return m_dropHandler(QString::fromUtf8(data->data(commandMimeType)), gap);
}
