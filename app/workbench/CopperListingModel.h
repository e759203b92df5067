#pragma once
#include <amiga/copperlist.h>

#include <QAbstractListModel>

// A disassembled copper list as rows of a list view, one instruction a row: its dc.w line and
// its explanation, in red with the problems as its tool tip when it has any, and the colour a
// colour register gets as its decoration. Rows are made when the view asks for them, so a list
// of tens of thousands of instructions costs nothing until it is scrolled to.
class CopperListingModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setListing(amiga::CopperListing listing);
    const amiga::CopperListing &listing() const { return m_listing; }
    const amiga::CopperListEntry *entryAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    amiga::CopperListing m_listing;
};
