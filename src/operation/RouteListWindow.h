#pragma once

#include "operation/RouteTable.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace fareboard {

class RouteTableModel;
class RouteTableView;

// "系統一覧": the routes of an import, sorted by 系統, with the same filter as the import. The
// chosen row runs with "この系統で走る", a double-click or Enter; what running means is the
// owner's (driveRequested).
class RouteListWindow : public QDialog {
    Q_OBJECT
public:
    explicit RouteListWindow(QWidget* parent = nullptr);

    // Shows the routes of `folder`; the row of `chosen` selected when there is one, else the first.
    void setRoutes(const QString& folder, std::vector<RouteRow> rows, std::optional<int> chosen);
    // The 系統 of the selected row, if a row is selected.
    std::optional<int> selectedNumber() const;
    // Runs the selected row.
    void driveSelected();

    const QString& folder() const { return folder_; }
    QTableView* table() const;
    QLineEdit* filter() const;
    QPushButton* driveButton() const { return drive_; }
    RouteTableModel* model() const;

signals:
    void driveRequested(const QString& folder, int number);

private:
    void selectNumber(std::optional<int> number);

    QString folder_;
    QLabel* where_ = nullptr;
    RouteTableView* routes_ = nullptr;
    QPushButton* drive_ = nullptr;
};

}  // namespace fareboard
