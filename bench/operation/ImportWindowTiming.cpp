// The feed import as the program runs it, on its worker thread behind the import dialog,
// against fareboard-data gtfs in the same run, on a generated feed of a city operator's size
// (500 routes, about 57 MB). Meanwhile a keypad key of the real console is clicked every 20 ms
// and the time from the click's arrival in the event queue to its handler is taken; and the
// progress bar's moves are timed.
//
// Usage: import_window_timing [runs, default 3] [routes, default 500]. Exit status 1 when a
// budget is missed: the program more than 10 % slower than the tool, a click answered later
// than 100 ms, or the bar still for more than half a second.
#include "app/Application.h"
#include "console/frmCtl.h"
#include "operation/GtfsImportDialog.h"
#include "operation/RouteImport.h"
#include "data/FeedGenerator.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace fareboard;

namespace {

struct ProgramRun {
    double seconds = 0;
    double listSeconds = 0;  // of it, reading the feed until its patterns show
    std::vector<double> clickMs;
    double longestStillMs = 0;
    bool ok = false;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double cliSeconds(const QString& feed, const QString& out)
{
    QDir(out).removeRecursively();
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral(FAREBOARD_DATA_TOOL), {QStringLiteral("gtfs"), feed, out});
    p.waitForFinished(600000);
    const double s = t.nsecsElapsed() / 1e9;
    return p.exitCode() == 0 ? s : -1;
}

ProgramRun programRun(const QString& feed, const QString& home)
{
    QDir(home).removeRecursively();
    test::FakeServices fakes;
    ApplicationConfig config{QStringLiteral("fareboard"), QDir(home).filePath(QStringLiteral("fareboard.in4"))};
    config.routesHome = QDir(home).filePath(QStringLiteral("routes"));
    Application app(fakes.services(), config);
    app.start();
    app.routeImport()->openImport(&app.console());
    GtfsImportDialog& dialog = *app.routeImport()->importDialog();

    ProgramRun run;
    QElapsedTimer clock;
    QPushButton* key = app.console().CommandButton1(1);
    qint64 postedAt = -1;
    QObject::connect(key, &QPushButton::clicked, [&] {
        if (postedAt >= 0)
            run.clickMs.push_back((clock.nsecsElapsed() - postedAt) / 1e6);
        postedAt = -1;
    });
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (postedAt >= 0)
            return;
        const QPointF at(key->width() / 2.0, key->height() / 2.0);
        postedAt = clock.nsecsElapsed();
        QCoreApplication::postEvent(key, new QMouseEvent(QEvent::MouseButtonPress, at, key->mapToGlobal(at), Qt::LeftButton,
                                                         Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(key, new QMouseEvent(QEvent::MouseButtonRelease, at, key->mapToGlobal(at), Qt::LeftButton,
                                                         Qt::NoButton, Qt::NoModifier));
    });
    qint64 lastMove = 0;
    QObject::connect(dialog.progressBar(), &QProgressBar::valueChanged, [&] {
        const qint64 now = clock.nsecsElapsed();
        run.longestStillMs = std::max(run.longestStillMs, (now - lastMove) / 1e6);
        lastMove = now;
    });
    // Waits as the program's own event loop does, asleep between events.
    auto waitIdle = [&] {
        QEventLoop loop;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (!dialog.busy())
                loop.quit();
        });
        look.start(10);
        loop.exec();
    };

    clock.start();
    clicker.start(20);
    lastMove = clock.nsecsElapsed();
    dialog.openFeed(feed);
    waitIdle();
    run.listSeconds = clock.nsecsElapsed() / 1e9;
    lastMove = clock.nsecsElapsed();  // the user's own pause between the two steps is not the bar's
    dialog.importChecked();
    waitIdle();
    run.seconds = clock.nsecsElapsed() / 1e9;
    clicker.stop();
    const QStringList operators = QDir(config.routesHome).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    run.ok = operators.size() == 1 &&
             QFileInfo::exists(QDir(config.routesHome).filePath(operators[0] + QStringLiteral("/routes.csv")));
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int routes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 500;

    QTemporaryDir scratch;
    const QString feed = scratch.filePath(QStringLiteral("feed"));
    if (!bench::writeGeneratedFeed(feed, routes)) {
        std::fprintf(stderr, "cannot write the feed\n");
        return 2;
    }
    qint64 bytes = 0;
    for (const QFileInfo& f : QDir(feed).entryInfoList(QDir::Files))
        bytes += f.size();
    std::printf("feed: %d routes, %.1f MB\n", routes, bytes / 1e6);

    std::vector<double> tool, program, clicks;
    double still = 0;
    for (int i = 0; i < runs; ++i) {
        const double t = cliSeconds(feed, scratch.filePath(QStringLiteral("cli")));
        const ProgramRun p = programRun(feed, scratch.filePath(QStringLiteral("program")));
        if (t < 0 || !p.ok) {
            std::fprintf(stderr, "run %d: the import failed\n", i + 1);
            return 2;
        }
        tool.push_back(t);
        program.push_back(p.seconds);
        clicks.insert(clicks.end(), p.clickMs.begin(), p.clickMs.end());
        still = std::max(still, p.longestStillMs);
        std::printf("run %d: fareboard-data gtfs %.2f s, in the program %.2f s (%.2f s to the list), %zu clicks (longest %.1f ms), "
                    "bar still at most %.0f ms\n",
                    i + 1, t, p.seconds, p.listSeconds, p.clickMs.size(),
                    p.clickMs.empty() ? 0.0 : *std::max_element(p.clickMs.begin(), p.clickMs.end()), p.longestStillMs);
    }
    std::sort(clicks.begin(), clicks.end());
    const double ratio = median(program) / median(tool);
    const double worst = clicks.empty() ? 0 : clicks.back();
    const double p99 = clicks.empty() ? 0 : clicks[std::size_t(double(clicks.size() - 1) * 0.99)];
    std::printf("median: tool %.2f s, program %.2f s (%.1f %% of the tool's)\n", median(tool), median(program), ratio * 100);
    std::printf("clicks: %zu, median %.2f ms, 99th percentile %.2f ms, longest %.2f ms\n", clicks.size(), median(clicks), p99,
                worst);
    std::printf("progress bar: still at most %.0f ms\n", still);
    return ratio <= 1.10 && worst <= 100 && still <= 500 ? 0 : 1;
}
