// The real program on a display of its own: a route typed on the console's keypad with the
// mouse, the reset, the lamp test, stepping both ways, and the board read back from screenshots.
#include "BoardCells.h"
#include "DesktopHarness.h"
#include "board/BoardLayout.h"
#include "board/SettingsFile.h"
#include "controls/digit/M_Degit.h"
#include "platform/OleColor.h"
#include "platform/ShiftJis.h"
#include "support/SampleFiles.h"

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
#include <optional>
#include <set>
#include <tuple>

#include <signal.h>

using namespace fareboard;
using namespace fareboard::e2e;

namespace {


// Route 12: six stops. The fare of ticket k at stop r grows every second stop after boarding,
// so neighbouring tickets often owe the same; tickets not yet issued owe 0, which shows dark.
QByteArray route12()
{
    const char* names[6] = {"駅前", "市役所前", "中央公園", "県立病院", "北町三丁目", "大学正門前"};
    std::vector<test::SampleRow> rows;
    for (int r = 1; r <= 6; ++r) {
        test::SampleRow row;
        row.nameSjis = toShiftJis(QString::fromUtf8(names[r - 1]));
        row.ticketNo = r;
        for (int k = 1; k <= 24; ++k)
            row.values.push_back(k <= r ? 160 + 20 * ((r - k) / 2) : 0);
        rows.push_back(row);
    }
    return test::fareFileBytes(6, rows);
}

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

class EndToEnd : public ::testing::Test {
protected:
    QString xdotool, import;
    QString display;
    Child xvfb, program;
    QTemporaryDir scratch;
    Geometry console, board;
    int shots = 0;

    // Starts Xvfb on the first free display from :120; false when none would start.
    bool startXvfb(const QString& xvfbPath)
    {
        std::vector<int> candidates;
        for (int n = 120; n <= 140; ++n)
            candidates.push_back(n);
        display = e2e::startXvfb(xvfb.process, xvfbPath, candidates);
        return !display.isEmpty();
    }

    std::optional<Geometry> windowNamed(const QString& name)
    {
        const QString id = visibleWindow(xdotool, display, name);
        if (id.isEmpty())
            return std::nullopt;
        Geometry g;
        for (const QString& line :
             run(xdotool, {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id}, display).split(QLatin1Char('\n'))) {
            const QString value = line.section(QLatin1Char('='), 1);
            if (line.startsWith(QStringLiteral("X=")))
                g.x = value.toInt();
            else if (line.startsWith(QStringLiteral("Y=")))
                g.y = value.toInt();
            else if (line.startsWith(QStringLiteral("WIDTH=")))
                g.width = value.toInt();
            else if (line.startsWith(QStringLiteral("HEIGHT=")))
                g.height = value.toInt();
        }
        return g;
    }

    // A click at console client pixel (x, y). (No --sync: it waits for ever when the pointer
    // is already there, as on a second click of the same button.)
    void clickConsole(int x, int y)
    {
        run(xdotool, {QStringLiteral("mousemove"), QString::number(console.x + x),
                      QString::number(console.y + y), QStringLiteral("click"), QStringLiteral("1")},
            display);
        QThread::msleep(120);
    }
    // Keypad keys sit in a 30 x 26 grid inside the keypad panel, which lies at (2, -4).
    void key(int digitOrKey)
    {
        static const std::map<int, QPoint> places = {
            {7, {22, 38}}, {8, {54, 38}}, {9, {86, 38}}, {4, {22, 65}}, {5, {54, 65}},   {6, {86, 65}},
            {1, {22, 93}}, {2, {54, 93}}, {3, {86, 93}}, {0, {22, 121}}, {10, {54, 121}}, {11, {86, 121}}};
        const QPoint p = places.at(digitOrKey);
        clickConsole(2 + p.x() + 15, -4 + p.y() + 13);
    }
    void keypadReset() { clickConsole(2 + 22 + 46, -4 + 150 + 10); }
    void stepBack() { clickConsole(138 + 21, 33 + 25); }
    void stepForward() { clickConsole(182 + 23, 33 + 25); }

    QImage screenshot()
    {
        const QString file = scratch.filePath(QStringLiteral("shot%1.png").arg(++shots));
        run(import, {QStringLiteral("-display"), display, QStringLiteral("-window"), QStringLiteral("root"), file}, display);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    QImage boardPart(const QImage& shot, const QRect& r) const { return shot.copy(r.translated(board.x, board.y)); }
    QImage cell(const QImage& shot, int i) const { return boardPart(shot, BoardLayout::degitRect(i)); }

    // Tickets whose fare cell has lit segments.
    std::set<int> litCells(const QImage& shot) const { return e2e::litCells(shot, QPoint(board.x, board.y)); }

    // Screenshots until the lit cells are `expected`; the last one taken.
    QImage waitForLit(const std::set<int>& expected, int timeoutMs)
    {
        QImage shot;
        waitFor([&] {
            shot = screenshot();
            return litCells(shot) == expected;
        }, timeoutMs, 50);
        return shot;
    }

    // Xvfb with openbox framing its windows, and a scratch copy of the program in app/ with
    // `env` set to run it there. Why the test cannot run here, or empty; a fault on the way
    // fails the test.
    QProcessEnvironment env;
    Child wm;
    QString startUnderOpenbox()
    {
        const QString xvfbPath = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (xvfbPath.isEmpty() || openbox.isEmpty())
            return QStringLiteral("Xvfb or openbox is not installed (scripts/setup installs both); no window manager to test under");
        xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        EXPECT_FALSE(xdotool.isEmpty()) << "xdotool is missing; scripts/setup installs it";
        EXPECT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()) << "x11-utils is missing";
        EXPECT_TRUE(scratch.isValid());
        if (xdotool.isEmpty() || !scratch.isValid())
            return {};
        xvfb.askToEnd = true;
        if (!startXvfb(xvfbPath))
            return QStringLiteral("Xvfb could not start on any display from :120 to :140");
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        wm.askToEnd = true;
        wm.process.setProcessEnvironment(env);
        wm.process.start(openbox, {QStringLiteral("--sm-disable")});
        EXPECT_TRUE(wm.process.waitForStarted(5000));
        const bool framing = waitFor([&] { return run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, display).contains(QStringLiteral("window id")); }, 5000);
        EXPECT_TRUE(framing) << "openbox did not take the display";
        if (!framing)
            return {};
        QDir root(scratch.path());
        const bool copied = root.mkpath(QStringLiteral("app")) && copyProgram(root.filePath(QStringLiteral("app")));
        EXPECT_TRUE(copied);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        return {};
    }

    // The scratch copy of the program, started in the scratch folder under openbox.
    bool startProgram(QProcess& program)
    {
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(scratch.path());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QDir(scratch.path()).filePath(QStringLiteral("app/fareboard")), {});
        return program.waitForStarted(5000);
    }

    // The window named `name` once it is on screen, or an empty id.
    QString waitForWindow(const QString& name, int timeoutMs)
    {
        QString id;
        waitFor([&] {
            id = run(xdotool, {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), name},
                     display).trimmed();
            return !id.isEmpty();
        }, timeoutMs);
        return id;
    }
    void pressIn(const QString& window, const QString& key)
    {
        run(xdotool, {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}, display);
        run(xdotool, {QStringLiteral("key"), key}, display);
    }

    // Alt+F4 on the console asks; はい, the default button, ends the program.
    bool closeWithYes(QProcess& program)
    {
        pressIn(waitForWindow(QStringLiteral("^集中操作盤$"), 5000), QStringLiteral("alt+F4"));
        const QString box = waitForWindow(QStringLiteral("^運賃表示器アプリの終了確認$"), 5000);
        EXPECT_FALSE(box.isEmpty()) << "no close confirmation";
        if (box.isEmpty())
            return false;
        pressIn(box, QStringLiteral("Return"));
        const bool ended = program.waitForFinished(10000);
        EXPECT_TRUE(ended) << "はい did not end the program";
        EXPECT_EQ(program.exitCode(), 0);
        return ended;
    }

    static std::set<int> range(int from, int to)
    {
        std::set<int> s;
        for (int i = from; i <= to; ++i)
            s.insert(i);
        return s;
    }
};

TEST_F(EndToEnd, DriveARouteOnTheRealConsole)
{
    const QString xvfbPath = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfbPath.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it); the program cannot be shown";
    xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    import = QStandardPaths::findExecutable(QStringLiteral("import"));
    ASSERT_FALSE(xdotool.isEmpty()) << "xdotool is missing; scripts/setup installs it";
    ASSERT_FALSE(import.isEmpty()) << "ImageMagick's import is missing; scripts/setup installs it";
    ASSERT_TRUE(scratch.isValid());
    xvfb.askToEnd = true;
    if (!startXvfb(xvfbPath))
        GTEST_SKIP() << "Xvfb could not start on any display from :120 to :140";

    // A copy of the program, so its settings file lands in the scratch folder; the route files
    // in the folder it runs in, which empty data folders mean.
    QDir root(scratch.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("app")) && root.mkpath(QStringLiteral("work")));
    const QString exe = root.filePath(QStringLiteral("app/fareboard"));
    ASSERT_TRUE(copyProgram(root.filePath(QStringLiteral("app"))));
    QFile::copy(QStringLiteral(FAREBOARD_SAMPLE_PLUGIN), root.filePath(QStringLiteral("app/sample.4SP")));
    QFile::copy(QStringLiteral(FAREBOARD_BUS_DICTIONARY), root.filePath(QStringLiteral("app/fareboard-bus.dic")));
    {
        QFile fares(root.filePath(QStringLiteral("work/12.hy3")));
        ASSERT_TRUE(fares.open(QIODevice::WriteOnly));
        fares.write(route12());
        QFile tape(root.filePath(QStringLiteral("work/12tp.csv")));
        ASSERT_TRUE(tape.open(QIODevice::WriteOnly));
        tape.write(toShiftJis(QStringLiteral("ご乗車ありがとうございます,0,0\r\n次は、市役所前です,1,1\r\n")));
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    program.process.setProcessEnvironment(env);
    program.process.setWorkingDirectory(root.filePath(QStringLiteral("work")));
    program.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.process.start(exe, {});
    ASSERT_TRUE(program.process.waitForStarted(5000));

    std::optional<Geometry> found;
    ASSERT_TRUE(waitFor([&] { return (found = windowNamed(QStringLiteral("^集中操作盤$"))).has_value(); }, 15000))
        << "the console never showed";
    console = *found;
    EXPECT_EQ(console.width, 353);
    EXPECT_EQ(console.height, 173);
    ASSERT_TRUE(waitFor([&] { return (found = windowNamed(QStringLiteral("^運賃表示器アプリケーション"))).has_value(); },
                        5000));
    board = *found;
    EXPECT_EQ(board.width, BoardLayout::kClientWidth);
    EXPECT_EQ(board.height, BoardLayout::kClientHeight);

    // Nothing lit before a route is set.
    QImage shot = screenshot();
    EXPECT_EQ(litCells(shot), std::set<int>{});

    // 系統 1 2 区間 2, then the keypad's reset.
    for (int k : {10, 1, 2, 11, 2})
        key(k);
    keypadReset();

    // The lamp test lights every segment of every cell alike.
    shot = waitForLit(range(1, 24), 2500);
    ASSERT_EQ(litCells(shot), range(1, 24)) << "no lamp test seen";
    for (int i = 2; i <= 24; ++i)
        EXPECT_EQ(cell(shot, i), cell(shot, 1)) << "lamp test cell " << i;

    // Section 2 at stop 2: only ticket 2 owes a fare.
    shot = waitForLit({2}, 8000);
    ASSERT_EQ(litCells(shot), std::set<int>{2}) << "the board did not show section 2 after the lamp test";
    const QImage column2 = boardPart(shot, BoardLayout::kChimeiRect);

    stepForward();  // stop 3: tickets 2 and 3 owe the same 160
    shot = waitForLit({2, 3}, 5000);
    ASSERT_EQ(litCells(shot), (std::set<int>{2, 3}));
    EXPECT_EQ(cell(shot, 2), cell(shot, 3)) << "the same fare must look the same";
    const QImage column3 = boardPart(shot, BoardLayout::kChimeiRect);
    EXPECT_NE(column3, column2) << "the stop name did not change";
    std::vector<QImage> stop3;
    for (int i = 1; i <= 24; ++i)
        stop3.push_back(cell(shot, i));

    stepForward();  // stop 4: 180, 160, 160
    shot = waitForLit({2, 3, 4}, 5000);
    ASSERT_EQ(litCells(shot), (std::set<int>{2, 3, 4}));
    EXPECT_EQ(cell(shot, 3), cell(shot, 4));
    EXPECT_NE(cell(shot, 2), cell(shot, 3)) << "180 and 160 look alike";
    EXPECT_NE(boardPart(shot, BoardLayout::kChimeiRect), column3);

    stepBack();  // stop 3 again, exactly as before
    shot = waitForLit({2, 3}, 5000);
    ASSERT_EQ(litCells(shot), (std::set<int>{2, 3}));
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(cell(shot, i), stop3[size_t(i - 1)]) << "cell " << i;
    EXPECT_EQ(boardPart(shot, BoardLayout::kChimeiRect), column3);

    EXPECT_EQ(program.process.state(), QProcess::Running) << "the program ended on its own";
}


// The outer frame of the one visible window whose name matches, as the window manager drew
// it: the client's place on the screen widened by the frame's extents.
std::optional<QRect> outerFrame(const QString& xdotool, const QString& display, const QString& name)
{
    const QString id = visibleWindow(xdotool, display, name);
    const std::optional<QRect> client = clientArea(xdotool, display, name);
    if (id.isEmpty() || !client)
        return std::nullopt;
    const int x = client->x(), y = client->y(), width = client->width(), height = client->height();
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"; not framed yet without it.
    const QString extents = run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")}, display);
    const QStringList e = extents.section(QLatin1Char('='), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (e.size() != 4 || width == 0)
        return std::nullopt;
    const int left = e[0].trimmed().toInt(), right = e[1].trimmed().toInt();
    const int top = e[2].trimmed().toInt(), bottom = e[3].trimmed().toInt();
    return QRect(x - left, y - top, width + left + right, height + top + bottom);
}

TEST_F(EndToEnd, WindowsStayPutAcrossRestartsUnderAWindowManager)
{
    if (const QString why = startUnderOpenbox(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ASSERT_FALSE(HasFailure());
    QDir root(scratch.path());

    const QString consoleName = QStringLiteral("^集中操作盤$");
    const QString boardName = QStringLiteral("^運賃表示器アプリケーション");
    // Both frames once they have been the same for half a second: the program may still be
    // putting a window in place just after the window manager framed it.
    auto settledFrames = [&](QRect& console, QRect& board) {
        QRect lastConsole, lastBoard;
        int same = 0;
        return waitFor([&] {
            const auto c = outerFrame(xdotool, display, consoleName);
            const auto b = outerFrame(xdotool, display, boardName);
            if (!c || !b)
                return false;
            same = (*c == lastConsole && *b == lastBoard) ? same + 1 : 0;
            lastConsole = *c;
            lastBoard = *b;
            console = *c;
            board = *b;
            return same >= 5;
        }, 15000, 100);
    };

    std::optional<QRect> firstConsole, firstBoard;
    for (int start = 0; start < 6; ++start) {
        Child fareboard;
        ASSERT_TRUE(startProgram(fareboard.process));
        QRect console, board;
        ASSERT_TRUE(settledFrames(console, board)) << "start " << start << ": the windows never settled";
        if (!firstConsole) {
            // First start: the console's frame in the bottom right corner, the board top left.
            EXPECT_EQ(console.right(), 1023) << "the console's frame does not touch the right edge";
            EXPECT_EQ(console.bottom(), 767) << "the console's frame does not touch the bottom edge";
            EXPECT_GT(console.height(), 173) << "the window manager drew no frame";
            EXPECT_EQ(board.topLeft(), QPoint(0, 0));
            const QRect corner = console;
            // Somewhere else, as a user would put them, so the next starts restore a place of
            // their own rather than repeat the first-start corner.
            for (const auto& [name, x, y] : {std::tuple{consoleName, 300, 200}, std::tuple{boardName, 40, 30}}) {
                const QString id = run(xdotool, {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--name"), name}, display).trimmed();
                run(xdotool, {QStringLiteral("windowmove"), id, QString::number(x), QString::number(y)}, display);
            }
            ASSERT_TRUE(settledFrames(console, board));
            ASSERT_NE(console.topLeft(), corner.topLeft()) << "the console could not be moved";
            firstConsole = console;
            firstBoard = board;
        } else {
            EXPECT_EQ(console, *firstConsole) << "start " << start << ": the console moved";
            EXPECT_EQ(board, *firstBoard) << "start " << start << ": the board moved";
        }

        ASSERT_TRUE(closeWithYes(fareboard.process)) << "start " << start;
        ASSERT_TRUE(QFile::exists(root.filePath(QStringLiteral("app/fareboard.in4"))));
    }
}

TEST_F(EndToEnd, ASettingsFileCutShortKeepsTheUsersSettingsAndIsKeptAside)
{
    if (const QString why = startUnderOpenbox(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ASSERT_FALSE(HasFailure());
    QDir root(scratch.path());
    const QString file = root.filePath(QStringLiteral("app/fareboard.in4"));
    SettingsStore settings;
    settings.DataDir.FareDataDir = QStringLiteral("/srv/運賃/");
    settings.DataDir.TapeDataDir = QStringLiteral("/srv/放送/");
    settings.Sound.SoundFile0 = QStringLiteral("/srv/音/route.wav");
    settings.SeiriPrev.SeiriPlgDir = QStringLiteral("/srv/plug/ticket.4SP");
    settings.Ctl.CtlLeft = 400 * 15;
    settings.Ctl.CtlTop = 300 * 15;
    // The last two bytes lost, as a full disk or a crash leaves it.
    const QByteArray damaged = SettingsFile::encode(settings).chopped(2);
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(damaged);
    out.close();

    Child fareboard;
    ASSERT_TRUE(startProgram(fareboard.process));
    // The start says what is wrong and that the file will be kept; OK goes on.
    const QString box = waitForWindow(QStringLiteral("^fareboard$"), 15000);
    ASSERT_FALSE(box.isEmpty()) << "no message about the damaged file";
    pressIn(box, QStringLiteral("Return"));
    ASSERT_TRUE(closeWithYes(fareboard.process));

    QFile kept(file + QStringLiteral(".damaged"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << "the damaged file was not kept";
    EXPECT_EQ(kept.readAll(), damaged);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const SettingsStore back = SettingsFile::decode(saved.readAll());
    EXPECT_EQ(back.DataDir.FareDataDir, settings.DataDir.FareDataDir);
    EXPECT_EQ(back.DataDir.TapeDataDir, settings.DataDir.TapeDataDir);
    EXPECT_EQ(back.Sound.SoundFile0, settings.Sound.SoundFile0);
    EXPECT_EQ(back.SeiriPrev.SeiriPlgDir, settings.SeiriPrev.SeiriPlgDir);
}

TEST_F(EndToEnd, ATapOnTheBoardLeavesItWhereItIsAndADragEndsAtTheRelease)
{
    if (const QString why = startUnderOpenbox(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ASSERT_FALSE(HasFailure());
    Child fareboard;
    ASSERT_TRUE(startProgram(fareboard.process));
    const QString boardName = QStringLiteral("^運賃表示器アプリケーション");
    ASSERT_FALSE(waitForWindow(boardName, 15000).isEmpty());
    auto place = [&] {
        const auto g = windowNamed(boardName);
        return g ? QPoint(g->x, g->y) : QPoint(-9999, -9999);
    };
    auto pointer = [&](const QStringList& steps) { run(xdotool, steps, display); };
    QPoint at;
    ASSERT_TRUE(waitFor([&] { at = place(); return at == QPoint(0, 0); }, 10000)) << "the board is not at the top left";

    // A tap on the panel, the shortest click there is, then the pointer goes elsewhere.
    for (int tap = 0; tap < 3; ++tap) {
        pointer({QStringLiteral("mousemove"), QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("click"), QStringLiteral("1")});
        QThread::msleep(300);
        pointer({QStringLiteral("mousemove"), QStringLiteral("400"), QStringLiteral("500")});
        QThread::msleep(500);
        EXPECT_EQ(place(), QPoint(0, 0)) << "tap " << tap << ": the board follows the pointer";
        // The click that would have put a stuck board down, away from it.
        pointer({QStringLiteral("click"), QStringLiteral("1")});
        QThread::msleep(200);
    }

    // A drag moves it, and it stays where the button came up.
    pointer({QStringLiteral("mousemove"), QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("mousedown"), QStringLiteral("1")});
    QThread::msleep(200);
    for (int step = 20; step <= 100; step += 40) {
        pointer({QStringLiteral("mousemove"), QString::number(step), QString::number(step)});
        QThread::msleep(100);
    }
    pointer({QStringLiteral("mouseup"), QStringLiteral("1")});
    QThread::msleep(500);
    const QPoint dropped = place();
    EXPECT_GT(dropped.x(), 50) << "the drag did not move the board";
    pointer({QStringLiteral("mousemove"), QStringLiteral("600"), QStringLiteral("700")});
    QThread::msleep(500);
    EXPECT_EQ(place(), dropped) << "the board went on moving after the release";
}

TEST(CommandLine, HelpAndVersionAnswerWithoutOpeningAWindow)
{
    for (const char* option : {"--help", "--version"}) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // No display to open: a program that tried would fail, not answer.
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(FAREBOARD_EXE), {QString::fromLatin1(option)});
        ASSERT_TRUE(program.waitForFinished(10000)) << option;
        EXPECT_EQ(program.exitCode(), 0) << option;
        const QString said = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_TRUE(said.startsWith(QString::fromLatin1(option) == QLatin1String("--help") ? QStringLiteral("Usage: fareboard")
                                                                                        : QStringLiteral("fareboard ")))
            << option << ": " << said.toStdString();
    }
}

}  // namespace
