#pragma once

#include "operation/RouteTable.h"

#include <QWidget>

#include <vector>

class QLineEdit;
class QTableView;

namespace fareboard {

class RouteFilterModel;
class RouteTableModel;

// The route patterns as the import dialog and the route list both show them: a filter box
// over the table, the rows sorted by 系統.
class RouteTableView : public QWidget {
    Q_OBJECT
public:
    // `checkable`: a box per pattern to choose it by; `tableName` names the table for tests.
    RouteTableView(bool checkable, const QString& tableName, QWidget* parent = nullptr);

    // Shows `rows` sorted by 系統, the columns sized to them.
    void setRows(std::vector<RouteRow> rows);
    // The rows of the model the filter lets through, in the order shown.
    std::vector<int> shownRows() const;

    RouteTableModel* model() const { return model_; }
    RouteFilterModel* shown() const { return shown_; }
    QLineEdit* filter() const { return filter_; }
    QTableView* table() const { return table_; }

private:
    QLineEdit* filter_ = nullptr;
    QTableView* table_ = nullptr;
    RouteTableModel* model_ = nullptr;
    RouteFilterModel* shown_ = nullptr;
};

}  // namespace fareboard
