#include "operation/RouteListWindow.h"

#include "operation/RouteTableModel.h"
#include "operation/RouteTableView.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fareboard {

RouteListWindow::RouteListWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRouteList"));
    setWindowTitle(QStringLiteral("系統一覧"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    where_ = new QLabel(this);
    where_->setObjectName(QStringLiteral("lblFolder"));
    where_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(where_);

    routes_ = new RouteTableView(false, QStringLiteral("tblRoutes"), this);
    table()->setSelectionMode(QAbstractItemView::SingleSelection);
    table()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(routes_, 1);
    // A row the filter hides is no longer the choice; the first one shown is.
    connect(filter(), &QLineEdit::textChanged, this, [this] {
        if (!selectedNumber())
            selectNumber(std::nullopt);
    });
    // Enter reaches the default button below; a double-click runs the row it is on.
    connect(table(), &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        table()->selectRow(index.row());
        driveSelected();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    drive_ = new QPushButton(QStringLiteral("この系統で走る"), this);
    drive_->setObjectName(QStringLiteral("cmdDrive"));
    drive_->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setAutoDefault(false);
    connect(drive_, &QPushButton::clicked, this, &RouteListWindow::driveSelected);
    connect(close, &QPushButton::clicked, this, &RouteListWindow::close);
    buttons->addWidget(drive_);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void RouteListWindow::setRoutes(const QString& folder, std::vector<RouteRow> rows, std::optional<int> chosen)
{
    folder_ = folder;
    where_->setText(QStringLiteral("フォルダー：") + folder);
    routes_->setRows(std::move(rows));
    selectNumber(chosen);
    drive_->setEnabled(!model()->rows().empty());
    table()->setFocus();
}

void RouteListWindow::selectNumber(std::optional<int> number)
{
    int row = routes_->shown()->rowCount() > 0 ? 0 : -1;
    for (int r = 0; number && r < routes_->shown()->rowCount(); ++r)
        if (routes_->shown()->index(r, 0).data(Qt::UserRole).toInt() == *number) {
            row = r;
            break;
        }
    if (row < 0) {
        table()->clearSelection();
        return;
    }
    table()->selectRow(row);
    table()->setCurrentIndex(routes_->shown()->index(row, 0));
    table()->scrollTo(routes_->shown()->index(row, 0));
}

QTableView* RouteListWindow::table() const
{
    return routes_->table();
}

QLineEdit* RouteListWindow::filter() const
{
    return routes_->filter();
}

RouteTableModel* RouteListWindow::model() const
{
    return routes_->model();
}

std::optional<int> RouteListWindow::selectedNumber() const
{
    const QModelIndexList rows = table()->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.front().data(Qt::UserRole).toInt();
}

void RouteListWindow::driveSelected()
{
    const std::optional<int> number = selectedNumber();
    if (!number)
        return;
    hide();
    emit driveRequested(folder_, *number);
}

}  // namespace fareboard
