#include "operation/RouteImport.h"

#include "console/ConsoleMenu.h"
#include "console/frmCtl.h"
#include "operation/FeedImporter.h"
#include "operation/GtfsImportDialog.h"
#include "operation/ImportFolder.h"
#include "operation/RouteChoices.h"
#include "operation/RouteKeying.h"
#include "operation/RouteListWindow.h"
#include "operation/RouteTable.h"
#include "options/frmOption.h"
#include "platform/FileAccess.h"
#include "platform/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace fareboard {
namespace {

constexpr int kConsoleWaitStepMs = 50;
constexpr int kConsoleWaitTries = 600;  // half a minute: the options dialog closing, a reset's lamp test

QString routesFileOf(const QString& folder)
{
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).filePath(QStringLiteral("routes.csv"));
}

}  // namespace

RouteImport::RouteImport(Parts parts) : QObject(&parts.console), parts_(std::move(parts))
{
    choices_ = std::make_unique<RouteChoices>(parts_.choicesPath);
    importEntry_ = parts_.menu.addEntry(QStringLiteral("GTFS-JPから取り込む..."), [this] { openImport(&parts_.console); });
    importEntry_->setObjectName(QStringLiteral("mnuGtfsImport"));
    routeListEntry_ = parts_.menu.addEntry(QStringLiteral("系統一覧..."), [this] {
        openRouteList(parts_.options.Text2(0)->text(), &parts_.console);
    });
    routeListEntry_->setObjectName(QStringLiteral("mnuRouteList"));
    // The list is of the fare data folder as it is set at the moment the menu opens.
    auto refresh = [this] { routeListEntry_->setEnabled(QFileInfo::exists(routesFileOf(parts_.options.Text2(0)->text()))); };
    refresh();
    connect(parts_.menu.menu(), &QMenu::aboutToShow, this, refresh);
    parts_.options.setImportHandler([this] { openImport(&parts_.options); });
}

RouteImport::~RouteImport()
{
    delete importDialog_;
    delete routeList_;
}

GtfsImportDialog* RouteImport::importDialog() const
{
    return importDialog_;
}

RouteListWindow* RouteImport::routeList() const
{
    return routeList_;
}

void RouteImport::adopt(QWidget* window, QWidget* owner)
{
    // A window over the modal options dialog must be its child to take input (a modal dialog
    // blocks every window but its own); over the console it is the console's, which stays
    // usable beside it.
    if (window->parentWidget() != owner) {
        const Qt::WindowFlags flags = window->windowFlags();
        window->setParent(owner, flags);
    }
}

void RouteImport::openImport(QWidget* owner)
{
    if (!importDialog_) {
        importDialog_ = new GtfsImportDialog(
            {*parts_.importer, parts_.library, parts_.messageBox, parts_.title, parts_.routesHome, {}}, owner);
        connect(importDialog_, &GtfsImportDialog::imported, this,
                [this](const QString& folder) { openRouteList(folder, importOwner_); });
    }
    // While it works it stays where it is; moving it would hide it from the window it belongs to.
    if (!importDialog_->busy()) {
        adopt(importDialog_, owner);
        importOwner_ = owner;
    }
    importDialog_->show();
    importDialog_->raise();
    importDialog_->activateWindow();
}

void RouteImport::openRouteList(const QString& folder, QWidget* owner)
{
    const RouteTableRead read = readRouteTable(routesFileOf(folder));
    if (!read.fault.isEmpty()) {
        parts_.messageBox.show(QStringLiteral("系統一覧を読めませんでした。\r\n\r\n") + QDir(folder).filePath(read.fault),
                               parts_.title, MessageBox::Icon::Critical, MessageBox::Buttons::Ok);
        return;
    }
    if (!routeList_) {
        routeList_ = new RouteListWindow(owner);
        connect(routeList_, &RouteListWindow::driveRequested, this, &RouteImport::drive);
    }
    adopt(routeList_, owner ? owner : &parts_.console);
    routeList_->setRoutes(folder, read.rows, choices_->lastFor(folder));
    routeList_->show();
    routeList_->raise();
    routeList_->activateWindow();
}

void RouteImport::drive(const QString& folder, int number)
{
    QLineEdit* fare = parts_.options.Text2(0);
    QLineEdit* tape = parts_.options.Text2(1);
    const QString target = withTrailingSeparator(folder);
    if (foldersPointElsewhere(fare->text(), tape->text(), target)) {
        const auto answer = parts_.messageBox.show(
            QStringLiteral("運賃データと放送用データのフォルダーを、この系統のフォルダーに切り替えます。\r\n\r\n") + target +
                QStringLiteral("\r\n\r\nよろしいですか？"),
            parts_.title, MessageBox::Icon::Question, MessageBox::Buttons::YesNo);
        if (answer != MessageBox::Answer::Yes)
            return;
        fare->setText(target);
        tape->setText(target);
    }
    choices_->remember(folder, number);
    // The import that led here is done with; the board is what the user looks at now.
    if (importDialog_ && !importDialog_->busy())
        importDialog_->hide();
    // Over the options dialog: its OK, as the user would press it, so the console is usable again.
    if (parts_.options.isVisible())
        parts_.options.Command4()->click();
    whenConsoleFree([this, number] { keyRouteOnConsole(parts_.console, number); }, kConsoleWaitTries);
}

void RouteImport::whenConsoleFree(std::function<void()> work, int triesLeft)
{
    // The keys are pressed where the driver would press them, which a disabled console (the
    // options dialog up) or another modal window would not let through.
    if (parts_.console.isEnabled() && !QApplication::activeModalWidget()) {
        work();
        return;
    }
    if (triesLeft <= 0)
        return;
    QTimer::singleShot(kConsoleWaitStepMs, this,
                       [this, work = std::move(work), triesLeft] { whenConsoleFree(work, triesLeft - 1); });
}

}  // namespace fareboard
