#include "workbench/CopperListingModel.h"
#include "workbench/WorkbenchTool.h"

#include <QBrush>
#include <QColor>

CopperListingModel::CopperListingModel(const WorkbenchTool &tool, QObject *parent)
    : QAbstractListModel(parent), m_tool(tool) {}

void CopperListingModel::change(const std::function<void()> &apply) {
    beginResetModel();
    apply();
    endResetModel();
}

int CopperListingModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_tool.listing().entries.size());
}

QVariant CopperListingModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const amiga::CopperListEntry &entry =
        m_tool.listing().entries[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return WorkbenchTool::rowText(entry);
    case Qt::ToolTipRole: {
        const QString notes = WorkbenchTool::rowNotes(entry);
        return notes.isEmpty() ? QVariant() : QVariant(notes);
    }
    case Qt::ForegroundRole:
        return !WorkbenchTool::rowNotes(entry).isEmpty() || entry.loneWord
                   ? QVariant(QBrush(QColor(0xc0, 0x10, 0x10)))
                   : QVariant();
    case Qt::DecorationRole:
        // Every row has a swatch, clear when it sets no colour, so that the lines align.
        if (entry.colourIndex >= 0)
            return QColor(entry.colour.red, entry.colour.green, entry.colour.blue);
        return QColor(Qt::transparent);
    default:
        return {};
    }
}
