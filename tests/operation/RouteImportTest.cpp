#include "announce/mdlM_Tape.h"
#include "app/Application.h"
#include "console/ConsoleMenu.h"
#include "console/frmCtl.h"
#include "operation/GtfsImportDialog.h"
#include "operation/RouteImport.h"
#include "operation/RouteListWindow.h"
#include "operation/RouteTableModel.h"
#include "options/frmOption.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace fareboard;
using namespace fareboard::test;

namespace {

// A run whose routes home holds the sample feed's import, as the build makes it.
struct ImportRun {
    QTemporaryDir dir;
    FakeServices fakes;
    std::unique_ptr<Application> app;
    QString folder;

    ImportRun()
    {
        folder = dir.filePath(QStringLiteral("routes/臨港バス"));
        QDir().mkpath(folder);
        const QDir sample(QStringLiteral(FAREBOARD_GTFS_SAMPLE_DIR));
        for (const QString& name : sample.entryList(QDir::Files))
            QFile::copy(sample.filePath(name), QDir(folder).filePath(name));
    }
    void start()
    {
        ApplicationConfig config{QStringLiteral("fareboard"), dir.filePath(QStringLiteral("fareboard.in4"))};
        config.routesHome = dir.filePath(QStringLiteral("routes"));
        app = std::make_unique<Application>(fakes.services(), config);
        app->start();
    }
    RouteImport& routes() { return *app->routeImport(); }
    frmOption& options() { return app->options(); }
    // The keys have been pressed and the reset has run.
    bool reset() { return QTest::qWaitFor([&] { return app->console().Command2(1)->isEnabled(); }, 3000); }
};

}  // namespace

TEST(RouteImport, RunningARoutePointsBothFoldersAtItsImportOnlyWhenTheUserAgrees)
{
    ImportRun run;
    run.start();
    run.options().Text2(0)->setText(QStringLiteral("/srv/fares/"));
    run.options().Text2(1)->setText(QStringLiteral("/srv/tapes/"));
    // The route list is offered only for a fare folder with a routes.csv.
    emit run.app->consoleMenu().menu()->aboutToShow();
    EXPECT_FALSE(run.routes().routeListEntry()->isEnabled());

    run.fakes.messageBox.answers = {MessageBox::Answer::No};
    run.routes().drive(run.folder, 2);
    ASSERT_EQ(run.fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(run.fakes.messageBox.shown[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_TRUE(run.fakes.messageBox.shown[0].text.contains(run.folder));
    EXPECT_FALSE(run.app->console().Command2(1)->isEnabled());
    EXPECT_EQ(run.options().Text2(0)->text(), QStringLiteral("/srv/fares/"));
    EXPECT_EQ(run.options().Text2(1)->text(), QStringLiteral("/srv/tapes/"));

    // Yes: both folders, then 系統 2 区間 1 リセット on the keypad, as the driver keys it.
    run.routes().drive(run.folder, 2);
    ASSERT_TRUE(run.reset());
    EXPECT_EQ(run.options().Text2(0)->text(), run.folder + QLatin1Char('/'));
    EXPECT_EQ(run.options().Text2(1)->text(), run.folder + QLatin1Char('/'));
    EXPECT_EQ(run.app->console().Label2(0)->text(), QStringLiteral("2"));
    EXPECT_EQ(run.app->console().Label2(2)->text(), QStringLiteral("1"));
    EXPECT_EQ(run.app->dataIo().Route.StopIndex, 0);
    EXPECT_FALSE(run.app->dataIo().Table.row(1).StopName.isEmpty());
    EXPECT_GT(run.app->tape().TapeCount(), 0);

    // Already pointing there: no question. Over the options dialog: its OK closes it first,
    // and the keys wait for the console to take them.
    emit run.app->consoleMenu().menu()->aboutToShow();
    EXPECT_TRUE(run.routes().routeListEntry()->isEnabled());
    // The import dialog, opened over it, goes too.
    run.options().setWindowModality(Qt::ApplicationModal);
    run.options().show();
    run.routes().openImport(&run.options());
    run.routes().drive(run.folder, 1);
    EXPECT_FALSE(run.options().isVisible());
    EXPECT_FALSE(run.routes().importDialog()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return run.app->console().Label2(0)->text() == QStringLiteral("1"); }, 3000));
    EXPECT_EQ(run.fakes.messageBox.shown.size(), 2u);
}

TEST(RouteImport, TheRouteListIsSortedAndOpensOnTheLastChoice)
{
    ImportRun run;
    run.start();
    run.routes().openRouteList(run.folder, &run.app->console());
    RouteListWindow* list = run.routes().routeList();
    ASSERT_TRUE(list && list->isVisible());
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->selectedNumber(), 1);
    QTest::keyClick(list->table(), Qt::Key_Down);
    QTest::keyClick(list->table(), Qt::Key_Return);  // Enter runs the row, as この系統で走る does
    EXPECT_FALSE(list->isVisible());
    ASSERT_TRUE(run.reset());
    EXPECT_EQ(run.app->console().Label2(0)->text(), QStringLiteral("2"));

    // The next run of the program opens the list on the route run last.
    run.app.reset();
    run.start();
    run.routes().openRouteList(run.folder, &run.app->console());
    EXPECT_EQ(run.routes().routeList()->selectedNumber(), 2);

    // A routes.csv the list cannot read is said, with its file and line.
    QFile::remove(QDir(run.folder).filePath(QStringLiteral("routes.csv")));
    QFile bad(QDir(run.folder).filePath(QStringLiteral("routes.csv")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("系統,route_id,first_stop,last_stop\nx,a,b,c\n");
    bad.close();
    run.routes().openRouteList(run.folder, &run.app->console());
    ASSERT_FALSE(run.fakes.messageBox.shown.empty());
    EXPECT_TRUE(run.fakes.messageBox.shown.back().text.contains(QStringLiteral("routes.csv:2:")));
}
