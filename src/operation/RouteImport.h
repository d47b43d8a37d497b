#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QWidget;

namespace fareboard {

class ConsoleMenu;
class FeedImporter;
class GtfsImportDialog;
class KobuRes;
class MessageBox;
class RouteChoices;
class RouteListWindow;
class frmCtl;
class frmOption;

// From a downloaded feed to driving it: the import dialog, reached from the console's menu and
// the options dialog's data folder page, and the route list, shown after an import and from
// the menu whenever the fare data folder has a routes.csv. Running a route from the list points
// both data folders at its import and keys it on the console.
class RouteImport : public QObject {
    Q_OBJECT
public:
    struct Parts {
        frmCtl& console;
        frmOption& options;
        ConsoleMenu& menu;
        MessageBox& messageBox;
        KobuRes& library;
        std::shared_ptr<FeedImporter> importer;
        QString title;        // of the message boxes
        QString routesHome;   // <data home>/fareboard/routes
        QString choicesPath;  // where the route list's last choices are kept
    };

    explicit RouteImport(Parts parts);
    ~RouteImport() override;

    // Opens the import dialog over `owner` (the console or the options dialog).
    void openImport(QWidget* owner);
    // Opens the route list of `folder`; says so in a message box when its routes.csv cannot
    // be read.
    void openRouteList(const QString& folder, QWidget* owner);
    // Runs route `number` of the import in `folder`: both data folders pointed at it (asking
    // first when they point elsewhere), then 系統 number 区間 1 リセット on the keypad.
    void drive(const QString& folder, int number);

    QAction* importEntry() const { return importEntry_; }
    QAction* routeListEntry() const { return routeListEntry_; }
    GtfsImportDialog* importDialog() const;
    RouteListWindow* routeList() const;

private:
    void adopt(QWidget* window, QWidget* owner);
    void whenConsoleFree(std::function<void()> work, int triesLeft);

    Parts parts_;
    std::unique_ptr<RouteChoices> choices_;
    QAction* importEntry_ = nullptr;
    QAction* routeListEntry_ = nullptr;
    // Children of whichever window they were last opened over; they go with this object, since
    // they use the importer it holds.
    QPointer<GtfsImportDialog> importDialog_;
    QPointer<RouteListWindow> routeList_;
    QWidget* importOwner_ = nullptr;
};

}  // namespace fareboard
