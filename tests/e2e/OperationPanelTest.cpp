// The operation panel on the real program under a window manager: F2 on the console opens it,
// a run of the sample feed's 川57 at sixty times steps the board on its own, and B lights the
// stop lamp on the board.
#include "BoardCells.h"
#include "DesktopHarness.h"
#include "board/BoardLayout.h"
#include "console/FareDataFile.h"
#include "controls/digit/M_Degit.h"
#include "operation/BoardStopLamp.h"
#include "platform/OleColor.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <set>

using namespace fareboard;
using namespace fareboard::e2e;

namespace {

class OperationPanel : public ::testing::Test {
protected:
    QString xdotool, import, display;
    Child xvfb, wm, program;
    QTemporaryDir scratch;
    QRect console, board, panel;
    int shots = 0;

    void click(const QRect& window, int x, int y)
    {
        run(xdotool, {"mousemove", QString::number(window.x() + x), QString::number(window.y() + y), "click", "1"}, display);
        QThread::msleep(200);
    }
    void key(const QString& window, const QString& keys)
    {
        const QString id = visibleWindow(xdotool, display, window);
        run(xdotool, {"windowactivate", "--sync", id}, display);
        run(xdotool, {"key", keys}, display);
    }
    QImage screenshot()
    {
        const QString file = scratch.filePath(QStringLiteral("shot%1.png").arg(++shots));
        run(import, {"-display", display, "-window", "root", file}, display);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }
    QImage cell(const QImage& shot, int i) const { return fareCell(shot, board.topLeft(), i); }
    static int count(const QImage& image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    }
    std::set<int> litCells(const QImage& shot) const { return e2e::litCells(shot, board.topLeft()); }
    // Screenshots until `done` holds of one; that one, or the last taken.
    QImage shotWhen(const std::function<bool(const QImage&)>& done, int timeoutMs)
    {
        QImage shot;
        waitFor([&] { return done(shot = screenshot()); }, timeoutMs, 30);
        return shot;
    }
};

TEST_F(OperationPanel, F2OpensItAndASixtyTimesRunStepsTheBoardWhileBLightsTheLamp)
{
    const QString xvfbPath = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfbPath.isEmpty() || openbox.isEmpty())
        GTEST_SKIP() << "Xvfb or openbox is not installed (scripts/setup installs both)";
    xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    import = QStandardPaths::findExecutable(QStringLiteral("import"));
    ASSERT_FALSE(xdotool.isEmpty() || import.isEmpty()) << "xdotool and ImageMagick come with scripts/setup";
    xvfb.askToEnd = true;
    std::vector<int> candidates;
    for (int n = 161; n <= 180; ++n)
        candidates.push_back(n);
    display = startXvfb(xvfb.process, xvfbPath, candidates);
    if (display.isEmpty())
        GTEST_SKIP() << "no free display for Xvfb";
    ASSERT_TRUE(startOpenbox(wm, openbox, display)) << "openbox did not take the display";

    // The imported feed is both data folders, which empty folders are when the program runs in it.
    QDir root(scratch.path());
    ASSERT_TRUE(root.mkpath("app") && root.mkpath("work") && root.mkpath("config"));
    ASSERT_TRUE(copyProgram(root.filePath("app")));
    const QDir sample(QStringLiteral(FAREBOARD_GTFS_SAMPLE_DIR));
    ASSERT_TRUE(sample.exists("2times.csv")) << "the import wrote no timetable";
    ASSERT_TRUE(copyFiles(sample.path(), root.filePath("work")));
    const auto rows = fareRows(sample.filePath("2.hy3"));
    ASSERT_GE(rows.size(), 3u);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("XDG_CONFIG_HOME", root.filePath("config"));
    program.process.setProcessEnvironment(env);
    program.process.setWorkingDirectory(root.filePath("work"));
    program.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.process.start(root.filePath("app/fareboard"), {});
    ASSERT_TRUE(program.process.waitForStarted(5000));
    std::optional<QRect> found;
    ASSERT_TRUE(waitFor([&] { return (found = clientArea(xdotool, display, "^集中操作盤$")).has_value(); }, 15000));
    console = *found;
    ASSERT_TRUE(waitFor([&] { return (found = clientArea(xdotool, display, "^運賃表示器アプリケーション")).has_value(); }, 5000));
    board = *found;
    // The window manager may still be putting the console in place.
    QThread::msleep(500);
    console = clientArea(xdotool, display, "^集中操作盤$").value_or(console);

    // 系統 2 on the keypad (its keys inside the panel at (2, -4)), then F2 on the console.
    click(console, 2 + 54 + 15, -4 + 121 + 13);
    click(console, 2 + 54 + 15, -4 + 93 + 13);
    key("^集中操作盤$", "F2");
    ASSERT_TRUE(waitFor([&] { return (found = clientArea(xdotool, display, "^運行パネル$")).has_value(); }, 5000))
        << "F2 opened no panel";
    QThread::msleep(500);
    panel = clientArea(xdotool, display, "^運行パネル$").value_or(*found);

    // ×60, the first trip of the list (06:27), 運行開始: the route is set, its lamp test runs,
    // and from its first stop the board moves on by itself.
    click(panel, 56 + 2 * 62 + 29, 144 + 12);
    click(panel, 10 + 48, 200 + 14);
    QImage shot = shotWhen([&](const QImage& s) { return litCells(s) == owing(rows[0]); }, 15000);
    ASSERT_EQ(litCells(shot), owing(rows[0])) << "the run never showed its first stop";
    shot = shotWhen([&](const QImage& s) { return litCells(s) == owing(rows[1]); }, 5000);
    ASSERT_EQ(litCells(shot), owing(rows[1])) << "the board did not step to the second stop";
    // The third stop owes on the same tickets; its fares differ.
    const QImage second = cell(shot, 1);
    shot = shotWhen([&](const QImage& s) { return cell(s, 1) != second; }, 5000);
    ASSERT_NE(cell(shot, 1), second) << "the board did not step again";
    EXPECT_EQ(litCells(shot).count(1), 1u);

    // B on the panel: the stop lamp lights below the stop-name column, in its dots.
    const QRect lamp = BoardStopLamp::kPlace.translated(board.topLeft());
    const QRgb dots = oleColorToQColor(0x00FFFF).rgb();  // the column's colour before any settings
    EXPECT_EQ(count(screenshot().copy(lamp), dots), 0) << "lit before any request";
    key("^運行パネル$", "b");
    shot = shotWhen([&](const QImage& s) { return count(s.copy(lamp), dots) > 100; }, 5000);
    EXPECT_GT(count(shot.copy(lamp), dots), 100) << "B lit no lamp on the board";
    EXPECT_EQ(program.process.state(), QProcess::Running);
}

}  // namespace
