// The sample feed's distance-fare route, imported by the build, driven on the real program: the
// route set on the keypad, the reset, the tape's "送り" stepping the board along the route, and
// the fares on the board read back from screenshots against the imported fare table.
#include "BoardCells.h"
#include "DesktopHarness.h"
#include "board/BoardLayout.h"
#include "console/FareDataFile.h"
#include "controls/digit/M_Degit.h"
#include "platform/OleColor.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cerrno>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include <signal.h>

using namespace fareboard;
using namespace fareboard::e2e;

namespace {


class GtfsDrive : public ::testing::Test {
protected:
    QString xdotool, import, display;
    Child xvfb, program;
    QTemporaryDir scratch;
    QPoint console, board;
    int shots = 0;

    bool startXvfb(const QString& xvfbPath)
    {
        std::vector<int> candidates;
        if (qEnvironmentVariableIsSet("FAREBOARD_TEST_DISPLAY"))
            candidates.push_back(qEnvironmentVariableIntValue("FAREBOARD_TEST_DISPLAY"));
        else
            for (int n = 141; n <= 160; ++n)
                candidates.push_back(n);
        display = e2e::startXvfb(xvfb.process, xvfbPath, candidates);
        return !display.isEmpty();
    }

    std::optional<QPoint> windowAt(const QString& name)
    {
        const QString id = visibleWindow(xdotool, display, name);
        if (id.isEmpty())
            return std::nullopt;
        QPoint p;
        for (const QString& line : run(xdotool, {"getwindowgeometry", "--shell", id}, display).split('\n')) {
            if (line.startsWith(QLatin1String("X=")))
                p.setX(line.mid(2).toInt());
            else if (line.startsWith(QLatin1String("Y=")))
                p.setY(line.mid(2).toInt());
        }
        return p;
    }

    void clickConsole(int x, int y)
    {
        run(xdotool, {"mousemove", QString::number(console.x() + x), QString::number(console.y() + y), "click", "1"}, display);
        QThread::msleep(150);
    }
    void key(int digitOrKey)  // the keypad's 30 x 26 keys inside its panel at (2, -4)
    {
        static const std::map<int, QPoint> places = {{1, {22, 93}}, {2, {54, 93}}, {10, {54, 121}}, {11, {86, 121}}};
        const QPoint p = places.at(digitOrKey);
        clickConsole(2 + p.x() + 15, -4 + p.y() + 13);
    }
    void keypadReset() { clickConsole(2 + 22 + 46, -4 + 150 + 10); }
    void tapeNext() { clickConsole(139 + 44 + 19, 84 + 15 + 23); }  // "送り" in grpM_Tape

    QImage screenshot()
    {
        const QString file = scratch.filePath(QStringLiteral("shot%1.png").arg(++shots));
        run(import, {"-display", display, "-window", "root", file}, display);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }
    QImage cell(const QImage& shot, int i) const { return fareCell(shot, board, i); }
    QImage stopColumn(const QImage& shot) const { return shot.copy(BoardLayout::kChimeiRect.translated(board)); }
    std::set<int> litCells(const QImage& shot) const { return e2e::litCells(shot, board); }
    QImage waitForLit(const std::set<int>& expected, int timeoutMs)
    {
        QImage shot;
        waitFor([&] {
            shot = screenshot();
            return litCells(shot) == expected;
        }, timeoutMs, 50);
        return shot;
    }
};

TEST_F(GtfsDrive, TheImportedRouteIsDrivenByTheTape)
{
    const QString xvfbPath = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfbPath.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    import = QStandardPaths::findExecutable(QStringLiteral("import"));
    ASSERT_FALSE(xdotool.isEmpty() || import.isEmpty()) << "xdotool and ImageMagick come with scripts/setup";
    xvfb.askToEnd = true;
    if (!startXvfb(xvfbPath))
        GTEST_SKIP() << "no free display for Xvfb";

    // The import's output folder serves as both data folders, which empty folders mean when
    // the program runs in it.
    QDir root(scratch.path());
    ASSERT_TRUE(root.mkpath("app") && root.mkpath("work"));
    const QString exe = root.filePath("app/fareboard");
    ASSERT_TRUE(copyProgram(root.filePath("app")));
    QFile::copy(QStringLiteral(FAREBOARD_BUS_DICTIONARY), root.filePath("app/fareboard-bus.dic"));
    const QDir sample(QStringLiteral(FAREBOARD_GTFS_SAMPLE_DIR));
    ASSERT_TRUE(copyFiles(sample.path(), root.filePath("work")));
    const auto rows = fareRows(sample.filePath("2.hy3"));
    ASSERT_GE(rows.size(), 4u);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("SDL_AUDIODRIVER", "dummy");
    program.process.setProcessEnvironment(env);
    program.process.setWorkingDirectory(root.filePath("work"));
    program.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.process.start(exe, {});
    ASSERT_TRUE(program.process.waitForStarted(5000));
    std::optional<QPoint> found;
    ASSERT_TRUE(waitFor([&] { return (found = windowAt("^集中操作盤$")).has_value(); }, 15000)) << "no console";
    console = *found;
    ASSERT_TRUE(waitFor([&] { return (found = windowAt("^運賃表示器アプリケーション")).has_value(); }, 5000)) << "no board";
    board = *found;

    // 系統 2 区間 1, reset: after the lamp test the board shows the first stop.
    for (int k : {10, 2, 11, 1})
        key(k);
    keypadReset();
    QImage shot = waitForLit(owing(rows[0]), 10000);
    ASSERT_EQ(litCells(shot), owing(rows[0])) << "the board never showed the first stop";
    QImage column = stopColumn(shot);

    // The greeting does not move the board; every "次は" moves it one stop on.
    tapeNext();
    QThread::msleep(600);
    shot = screenshot();
    EXPECT_EQ(litCells(shot), owing(rows[0])) << "the greeting moved the board";
    for (std::size_t r = 1; r <= 3; ++r) {
        SCOPED_TRACE(r + 1);
        tapeNext();
        // Neighbouring stops often owe on the same tickets, so the step shows in the name.
        waitFor([&] {
            shot = screenshot();
            return stopColumn(shot) != column && litCells(shot) == owing(rows[r]);
        }, 5000, 50);
        ASSERT_EQ(litCells(shot), owing(rows[r]));
        const QImage next = stopColumn(shot);
        ASSERT_NE(next, column) << "the stop name did not change";
        column = next;
        // Equal fares look alike on the board and different ones do not.
        for (int a : owing(rows[r]))
            for (int b : owing(rows[r]))
                if (a < b) {
                    EXPECT_EQ(cell(shot, a) == cell(shot, b), rows[r].values[std::size_t(a - 1)] == rows[r].values[std::size_t(b - 1)])
                        << "tickets " << a << " and " << b;
                }
    }
    EXPECT_EQ(program.process.state(), QProcess::Running);
}

}  // namespace
