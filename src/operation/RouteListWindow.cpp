#include "operation/RouteListWindow.h"

#include "operation/RouteTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
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

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("txtFilter"));
    filter_->setPlaceholderText(QStringLiteral("絞り込み（系統・路線名・行先・停留所名）"));
    filter_->setClearButtonEnabled(true);
    layout->addWidget(filter_);

    model_ = new RouteTableModel(false, this);
    shown_ = new RouteFilterModel(this);
    shown_->setSourceModel(model_);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblRoutes"));
    table_->setModel(shown_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->setMinimumSize(680, 260);
    layout->addWidget(table_, 1);
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const std::optional<int> kept = selectedNumber();
        shown_->setFilterText(text);
        selectNumber(kept);
    });
    // Enter reaches the default button below; a double-click runs the row it is on.
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        table_->selectRow(index.row());
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
    sortByNumber(rows);
    model_->setRows(std::move(rows));
    table_->horizontalHeader()->setResizeContentsPrecision(200);
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(RouteTableModel::Run, QHeaderView::Stretch);
    selectNumber(chosen);
    drive_->setEnabled(!model_->rows().empty());
    table_->setFocus();
}

void RouteListWindow::selectNumber(std::optional<int> number)
{
    int row = shown_->rowCount() > 0 ? 0 : -1;
    for (int r = 0; number && r < shown_->rowCount(); ++r)
        if (shown_->index(r, 0).data(Qt::UserRole).toInt() == *number) {
            row = r;
            break;
        }
    if (row < 0) {
        table_->clearSelection();
        return;
    }
    table_->selectRow(row);
    table_->setCurrentIndex(shown_->index(row, 0));
    table_->scrollTo(shown_->index(row, 0));
}

std::optional<int> RouteListWindow::selectedNumber() const
{
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
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
