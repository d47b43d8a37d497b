// The operation panel and the bell inside the program: the run on the demo route, the lamps,
// the console's background menu and the settings of their own.
#include "announce/mdlM_Tape.h"
#include "app/Application.h"
#include "board/Form1.h"
#include "board/mdlIniIo.h"
#include "console/ConsoleMenu.h"
#include "console/DataIo.h"
#include "console/frmCtl.h"
#include "controls/digit/DegitValue.h"
#include "controls/digit/M_Degit.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "operation/BoardStopLamp.h"
#include "operation/Operation.h"
#include "operation/OperationPanel.h"
#include "operation/OperationRun.h"
#include "operation/StopRequest.h"
#include "operation/Timetable.h"
#include "options/frmOption.h"
#include "platform/OleColor.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

struct App {
    QTemporaryDir dir;
    FakeServices fakes;
    std::unique_ptr<Application> app;
    qint64 ms = 0;

    App() { start(); }
    void start()
    {
        ApplicationConfig config{QStringLiteral("fareboard"), dir.filePath(QStringLiteral("fareboard.in4")),
                                 QStringLiteral(FAREBOARD_DEMO_DIR)};
        config.operationSettingsPath = dir.filePath(QStringLiteral("config/fareboard/operation.conf"));
        app.reset();
        app = std::make_unique<Application>(fakes.services(), config);
        app->start();
        run().setTimeSource([this] { return ms; });
    }
    Operation& op() { return *app->operation(); }
    OperationRun& run() { return op().run(); }
    int clock(int digit) { return std::get<int16_t>(app->board().TimeDegit(digit)->Value()); }
    int row() { return app->dataIo().Route.StopIndex + 1; }
    QString lastSpoken() { return fakes.speech->spoken().value(fakes.speech->spoken().size() - 1); }
    void after(qint64 realMs)
    {
        ms += realMs;
        run().tick();
    }
};

int hms(int h, int m) { return h * 3600 + m * 60; }

}  // namespace

TEST(OperationRun, TheBoardShowsTheTripsTimeAndStepsAtEachDeparture)
{
    App a;
    // The demo's fifteen stops, a minute apart, on a trip after midnight.
    TimetableTrip trip;
    for (int i = 0; i < 15; ++i)
        trip.departures.push_back(hms(25, 10 + i));
    ASSERT_TRUE(a.run().start(QStringLiteral("1"), &trip, 60, false));
    EXPECT_EQ(a.row(), 1);
    // The bus waits at its first stop a minute before 25:10, which the board reads as 1:09.
    EXPECT_EQ(a.clock(0), 1);
    EXPECT_EQ(a.clock(1), 9);
    EXPECT_EQ(a.lastSpoken(), a.app->tape().spokenAt(1)) << "no greeting";

    a.after(1000);  // 25:10 at sixty times
    EXPECT_EQ(a.row(), 2);
    EXPECT_EQ(a.clock(1), 10);
    EXPECT_EQ(a.lastSpoken(), a.app->tape().spokenAt(2));  // 次は、青凪市役所前です。
    a.after(500);
    EXPECT_EQ(a.row(), 2);

    // The driver steps on ahead of the timetable: that stop is not stepped to again.
    a.app->console().Command2(1)->click();
    EXPECT_EQ(a.row(), 3);
    a.after(500);
    EXPECT_EQ(a.row(), 3);
    a.after(1000);
    EXPECT_EQ(a.row(), 4);

    // Back on the host's time (09:05 here) once the run ends.
    a.run().end();
    EXPECT_EQ(a.clock(0), 9);
    EXPECT_EQ(a.clock(1), 5);
    a.after(5000);
    EXPECT_EQ(a.row(), 4);
}

TEST(OperationRun, ARouteWithoutTimetableRunsAMinuteAStopFromNow)
{
    App a;
    ASSERT_TRUE(a.run().start(QStringLiteral("1"), nullptr, 10, false));
    EXPECT_EQ(a.clock(0), 9);
    EXPECT_EQ(a.clock(1), 5);
    a.after(5900);
    EXPECT_EQ(a.row(), 1);
    a.after(100);
    EXPECT_EQ(a.row(), 2);
    EXPECT_EQ(a.clock(1), 6);
    // A route that cannot be set starts nothing.
    a.run().end();
    EXPECT_FALSE(a.run().start(QStringLiteral("77"), nullptr, 60, false));
    EXPECT_EQ(a.run().state(), OperationRun::State::Stopped);
}

TEST(StopRequest, BothLampsLightUntilTheNextStepAndTheBoardsFollowsItsOption)
{
    App a;
    Operation& op = a.op();
    ASSERT_TRUE(a.run().start(QStringLiteral("1"), nullptr, 60, false));
    a.run().end();
    QLabel* panelLamp = op.panel().lblStopLamp();
    const QColor dark = panelLamp->palette().color(QPalette::Window);

    ASSERT_TRUE(op.bell().press());
    EXPECT_NE(panelLamp->palette().color(QPalette::Window), dark);
    BoardStopLamp& lamp = op.boardLamp();
    EXPECT_TRUE(lamp.isVisible());
    // Lit in the stop-name column's dots, below the column and clear of everything on the board.
    const QRgb dots = oleColorToQColor(a.app->board().ChimeiCtl()->ForeColor()).rgb();
    int lit = 0;
    for (int y = 0; y < lamp.surface().height(); ++y)
        for (int x = 0; x < lamp.surface().width(); ++x)
            lit += lamp.surface().pixel(x, y) == dots;
    EXPECT_GT(lit, 100);
    for (QWidget* w : a.app->board().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != &lamp) {
            EXPECT_FALSE(w->geometry().intersects(lamp.geometry())) << w->objectName().toStdString();
        }

    // Off on the options' board page: at OK the board's lamp goes out, the panel's stays.
    op.chkStopLamp()->setChecked(false);
    a.app->options().Command4()->click();
    EXPECT_FALSE(lamp.isVisible());
    EXPECT_TRUE(op.bell().pending());

    a.app->console().Command2(1)->click();  // データ送り
    EXPECT_FALSE(op.bell().pending());
    EXPECT_EQ(panelLamp->palette().color(QPalette::Window), dark);
}

TEST(Operation, TheConsolesBackgroundMenuOpensThePanel)
{
    App a;
    ConsoleMenu& menu = a.app->consoleMenu();
    frmCtl& console = a.app->console();
    EXPECT_TRUE(menu.onBackground(QPoint(137, 100)));
    EXPECT_FALSE(menu.onBackground(console.CommandButton1(7)->mapTo(&console, QPoint(10, 10))));
    console.Check4()->click();  // the ticket preview, which has a menu of its own
    EXPECT_FALSE(menu.onBackground(console.picSeirikenPrev()->mapTo(&console, QPoint(5, 5))));
    const QList<QAction*> entries = menu.menu()->actions();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0]->text().startsWith(QStringLiteral("運行パネル")));
    entries[0]->trigger();
    EXPECT_TRUE(a.op().panel().isVisible());
    EXPECT_EQ(a.op().panel().windowTitle(), QStringLiteral("運行パネル"));
}

TEST(Operation, ItsSettingsKeepToAFileOfTheirOwnAndTheOptionsPagesKeepTheirControls)
{
    App a;
    Operation& op = a.op();
    EXPECT_EQ(op.txtStopRequestSound()->text(), QStringLiteral(FAREBOARD_DEMO_DIR "bell.wav"));
    EXPECT_TRUE(op.chkStopLamp()->isChecked());
    // The new controls sit where no control of their page is.
    for (QWidget* added : {static_cast<QWidget*>(op.chkStopLamp()), static_cast<QWidget*>(op.txtStopRequestSound()),
                           static_cast<QWidget*>(op.cmdStopRequestSound())}) {
        QWidget* page = added->parentWidget();
        EXPECT_TRUE(page->rect().contains(added->geometry())) << added->objectName().toStdString();
        for (QWidget* other : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other != added && other->objectName() != QStringLiteral("lblStopRequestSound") &&
                other->objectName() != QStringLiteral("txtStopRequestSound") &&
                other->objectName() != QStringLiteral("cmdStopRequestSound")) {
                EXPECT_FALSE(other->geometry().intersects(added->geometry()))
                    << added->objectName().toStdString() << " on " << other->objectName().toStdString();
            }
    }

    op.txtStopRequestSound()->setText(QStringLiteral("/s/ding.wav"));
    op.chkStopLamp()->setChecked(false);
    op.panel().setSpeed(10);
    a.app->console().close();  // はい: everything is saved
    const QByteArray in4 = [&] {
        QFile f(a.dir.filePath(QStringLiteral("fareboard.in4")));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    ASSERT_FALSE(in4.isEmpty());
    EXPECT_FALSE(in4.contains("ding")) << "the bell went into the boards' settings file";
    SettingsStore store;
    EXPECT_NO_THROW(mdlIniIo::ReadSettingsFile(a.dir.filePath(QStringLiteral("fareboard.in4")), store));

    a.start();
    EXPECT_EQ(a.op().txtStopRequestSound()->text(), QStringLiteral("/s/ding.wav"));
    EXPECT_FALSE(a.op().chkStopLamp()->isChecked());
    EXPECT_EQ(a.op().panel().speed(), 10);
}
