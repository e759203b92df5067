#include "workbench/CopperListingModel.h"

#include <QBrush>
#include <QColor>
#include <QPalette>
#include <QStringList>

void CopperListingModel::setListing(amiga::CopperListing listing) {
    beginResetModel();
    m_listing = std::move(listing);
    endResetModel();
}

const amiga::CopperListEntry *CopperListingModel::entryAt(int row) const {
    if (row < 0 || row >= rowCount())
        return nullptr;
    return &m_listing.entries[static_cast<std::size_t>(row)];
}

int CopperListingModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_listing.entries.size());
}

QVariant CopperListingModel::data(const QModelIndex &index, int role) const {
    const amiga::CopperListEntry *entry = entryAt(index.row());
    if (!entry)
        return {};
    const bool troubled = !entry->problems.empty() || !entry->notes.empty() || entry->loneWord;
    switch (role) {
    case Qt::DisplayRole: {
        // The line as the listing prints it, its tabs as blanks.
        QString text = QString::fromStdString(amiga::copperInstructionText(*entry)).trimmed();
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        text = QStringLiteral("%1  %2").arg(entry->word * 2, 5, 16, QLatin1Char('0')).arg(text);
        if (!entry->explanation.empty())
            text += QStringLiteral("  ; ") + QString::fromStdString(entry->explanation);
        return text;
    }
    case Qt::ToolTipRole: {
        QStringList lines;
        for (const amiga::CopperProblem problem : entry->problems)
            lines.append(
                QString::fromUtf8(amiga::describe(problem).data(),
                                  static_cast<qsizetype>(amiga::describe(problem).size())));
        for (const std::string &note : entry->notes)
            lines.append(QString::fromStdString(note));
        return lines.isEmpty() ? QVariant() : QVariant(lines.join(QLatin1Char('\n')));
    }
    case Qt::ForegroundRole:
        return troubled ? QVariant(QBrush(QColor(0xc0, 0x10, 0x10))) : QVariant();
    case Qt::DecorationRole:
        // Every row has a swatch, clear when it sets no colour, so that the lines align.
        if (entry->colourIndex >= 0)
            return QColor(entry->colour.red, entry->colour.green, entry->colour.blue);
        return QColor(Qt::transparent);
    default:
        return {};
    }
}
