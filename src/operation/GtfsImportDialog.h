#pragma once

#include "operation/FeedImporter.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace fareboard {

class ImportTask;
class KobuRes;
class MessageBox;
class RouteTableModel;
class RouteTableView;

// "GTFS-JPから取り込む": the user chooses a feed (.zip or folder), sees its operator, its
// validity and its route patterns, chooses all or some and imports them into the operator's
// folder of the program's routes. Reading and importing run on a worker thread with a
// progress bar and 中止; the console stays usable meanwhile. A fault comes in a message box
// naming file and line, and leaves the operator's folder as it was.
class GtfsImportDialog : public QDialog {
    Q_OBJECT
public:
    struct Services {
        FeedImporter& importer;
        KobuRes& library;        // the file and folder choosers
        MessageBox& messageBox;  // faults
        QString title;           // of the message boxes
        QString routesHome;      // where the operators' folders are made
        std::function<QDate()> today;
    };

    explicit GtfsImportDialog(Services services, QWidget* parent = nullptr);
    ~GtfsImportDialog() override;

    // Reads the feed at `path` on the worker and shows it once read.
    void openFeed(const QString& path);
    // Imports the ticked patterns.
    void importChecked();
    bool busy() const;

    // The validity line: "有効期間：2024年04月01日～2025年03月31日", with a plain word when the
    // feed has ended (still importable) or not yet begun, or that the feed says nothing.
    static QString validityText(const QDate& from, const QDate& to, const QDate& today, bool fromCalendar = false);
    static bool expired(const QDate& to, const QDate& today) { return to.isValid() && to < today; }

    // The controls, for tests.
    QLineEdit* feedPath() const { return path_; }
    QLineEdit* filter() const;
    QTableView* table() const;
    RouteTableModel* model() const;
    QLabel* operatorLabel() const { return operator_; }
    QLabel* validityLabel() const { return validity_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* cancelButton() const { return cancel_; }
    QListWidget* warnings() const { return warnings_; }

signals:
    // An import is in place in `folder`.
    void imported(const QString& folder);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void build();
    void chooseFile();
    void chooseFolder();
    void checkShown(bool checked);
    void listed(int outcome, const ImportFault& fault);
    void importDone(int outcome, const ImportFault& fault, const QString& target);
    void showProgress();
    void setBusy(bool busy, const QString& what);
    void showFault(const ImportFault& fault);
    void updateButtons();

    Services services_;
    ImportTask* task_ = nullptr;
    QTimer* ticker_ = nullptr;
    std::unique_ptr<FeedListing> listing_;
    std::unique_ptr<FeedListing> reading_;  // written by the worker while it reads
    std::shared_ptr<ImportReport> report_;
    QString busyWhat_;

    QLineEdit* path_ = nullptr;
    QPushButton* chooseFile_ = nullptr;
    QPushButton* chooseFolder_ = nullptr;
    QLabel* operator_ = nullptr;
    QLabel* validity_ = nullptr;
    RouteTableView* patterns_ = nullptr;
    QPushButton* all_ = nullptr;
    QPushButton* none_ = nullptr;
    QLabel* chosen_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* close_ = nullptr;
    QListWidget* warnings_ = nullptr;
};

}  // namespace fareboard
