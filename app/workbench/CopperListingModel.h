#pragma once
#include <QAbstractListModel>
#include <functional>

class WorkbenchTool;

// The Workbench tool's listing as rows of a list view, one instruction a row: its text, in red
// with its problems as its tool tip when it has any, and the colour a colour register gets as
// its decoration. Rows are made when the view asks for them, so a list of tens of thousands of
// instructions costs nothing until it is scrolled to.
class CopperListingModel : public QAbstractListModel {
    Q_OBJECT
public:
    CopperListingModel(const WorkbenchTool &tool, QObject *parent = nullptr);

    // Makes a change to the tool's listing, the views told before and after.
    void change(const std::function<void()> &apply);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    const WorkbenchTool &m_tool;
};
