#include "operation/RouteTableView.h"

#include "operation/RouteTableModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace fareboard {

RouteTableView::RouteTableView(bool checkable, const QString& tableName, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("txtFilter"));
    filter_->setPlaceholderText(QStringLiteral("絞り込み（系統・路線名・行先・停留所名）"));
    filter_->setClearButtonEnabled(true);
    layout->addWidget(filter_);

    model_ = new RouteTableModel(checkable, this);
    shown_ = new RouteFilterModel(this);
    shown_->setSourceModel(model_);
    connect(filter_, &QLineEdit::textChanged, shown_, &RouteFilterModel::setFilterText);
    table_ = new QTableView(this);
    table_->setObjectName(tableName);
    table_->setModel(shown_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(RouteTableModel::Run, QHeaderView::Stretch);
    // A feed of a whole city has thousands of patterns; the widths come from the first rows.
    table_->horizontalHeader()->setResizeContentsPrecision(200);
    table_->setMinimumSize(700, 240);
    layout->addWidget(table_, 1);
}

void RouteTableView::setRows(std::vector<RouteRow> rows)
{
    sortByNumber(rows);
    model_->setRows(std::move(rows));
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(RouteTableModel::Run, QHeaderView::Stretch);
}

std::vector<int> RouteTableView::shownRows() const
{
    std::vector<int> rows;
    for (int r = 0; r < shown_->rowCount(); ++r)
        rows.push_back(shown_->mapToSource(shown_->index(r, 0)).row());
    return rows;
}

}  // namespace fareboard
