#pragma once

#include "operation/RouteTable.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

namespace fareboard {

// The route patterns as a table: 系統, the route's short and long names, the headsign, the run
// from first to last stop, the number of stops and of ticket numbers. With `checkable`, the
// first column carries a box per pattern, the import's choice of some of them; a pattern that
// cannot be imported has none.
class RouteTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, ShortName, LongName, Headsign, Run, Stops, Tickets, ColumnCount };

    explicit RouteTableModel(bool checkable, QObject* parent = nullptr);

    void setRows(std::vector<RouteRow> rows);
    const std::vector<RouteRow>& rows() const { return rows_; }

    // The chosen patterns' 系統 numbers, in the table's order.
    std::vector<int> checkedNumbers() const;
    // Ticks (or clears) every importable pattern whose row index is in `rows`.
    void setChecked(const std::vector<int>& rows, bool checked);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void checkedChanged();

private:
    bool checkable_;
    std::vector<RouteRow> rows_;
    std::vector<bool> checked_;
};

// The rows routeMatches lets through.
class RouteFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setFilterText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
};

}  // namespace fareboard
