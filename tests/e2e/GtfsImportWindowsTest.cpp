// A new user's way from a downloaded feed to driving it, on the real program under a window
// manager: a first start, "GTFS-JPから取り込む..." on the options dialog, the sample feed read
// and imported through the dialog, 川57 run from the route list, the board showing the first
// stop's fares and the tape speaking the first announcement (heard through SDL's disk driver).
#include "BoardCells.h"
#include "DesktopHarness.h"
#include "app/DemoData.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <optional>
#include <set>

using namespace fareboard;
using namespace fareboard::e2e;

namespace {

constexpr int kAudioRate = 44100;  // the mixer's: 16-bit stereo
constexpr int kFrameBytes = 4;

class GtfsImportWindows : public ::testing::Test {
protected:
    QString xdotool, import, display;
    Child xvfb, wm, program;
    QTemporaryDir scratch;
    QString shots;  // FAREBOARD_SHOTS_DIR keeps the screenshots for a person to look at
    int shotCount = 0;

    QString x(const QStringList& args) { return run(xdotool, args, display).trimmed(); }

    std::optional<QRect> waitForWindow(const QString& name, int timeoutMs)
    {
        std::optional<QRect> found;
        waitFor([&] { return (found = clientArea(xdotool, display, name)).has_value(); }, timeoutMs);
        return found;
    }
    void activate(const QString& name) { x({"windowactivate", "--sync", visibleWindow(xdotool, display, name)}); }
    void click(QPoint p)
    {
        x({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"});
        QThread::msleep(200);
    }
    void key(const QString& k)
    {
        x({"key", k});
        QThread::msleep(150);
    }

    QImage screenshot(const QString& what)
    {
        const QString file = scratch.filePath(QStringLiteral("shot%1-%2.png").arg(++shotCount).arg(what));
        run(import, {"-display", display, "-window", "root", file}, display);
        if (!shots.isEmpty())
            QFile::copy(file, QDir(shots).filePath(QFileInfo(file).fileName()));
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }
};

// Seconds of sound louder than a whisper in 16-bit stereo samples, by tenths of a second.
double audibleSeconds(const QByteArray& pcm)
{
    const qsizetype window = kAudioRate / 10 * kFrameBytes;
    int loud = 0;
    for (qsizetype at = 0; at + window <= pcm.size(); at += window) {
        double sum = 0;
        const auto* s = reinterpret_cast<const int16_t*>(pcm.constData() + at);
        for (qsizetype i = 0; i < window / 2; ++i)
            sum += double(s[i]) * s[i];
        loud += std::sqrt(sum / double(window / 2)) > 300;
    }
    return loud / 10.0;
}

TEST_F(GtfsImportWindows, AFirstStartImportsTheSampleAndRunsKawa57FromTheRouteList)
{
    const DesktopTools tools = findDesktopTools();
    if (tools.xvfb.isEmpty() || tools.openbox.isEmpty())
        GTEST_SKIP() << "Xvfb or openbox is not installed (scripts/setup installs both)";
    xdotool = tools.xdotool;
    import = tools.import;
    ASSERT_FALSE(xdotool.isEmpty() || import.isEmpty()) << "xdotool and ImageMagick come with scripts/setup";
    shots = qEnvironmentVariable("FAREBOARD_SHOTS_DIR");
    xvfb.askToEnd = true;
    display = startXvfb(xvfb.process, tools.xvfb, displayRange(181, 200));
    if (display.isEmpty())
        GTEST_SKIP() << "no free display for Xvfb";
    ASSERT_TRUE(startOpenbox(wm, tools.openbox, display)) << "openbox did not take the display";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);

    // A first start of a copy with its demo beside it; the user's data and settings homes are
    // the scratch folder's.
    QDir root(scratch.path());
    ASSERT_TRUE(root.mkpath("app/demo") && root.mkpath("work") && root.mkpath("data") && root.mkpath("config"));
    ASSERT_TRUE(copyProgram(root.filePath("app")));
    QFile::copy(QStringLiteral(FAREBOARD_BUS_DICTIONARY), root.filePath("app/fareboard-bus.dic"));
    ASSERT_TRUE(copyFiles(QStringLiteral(FAREBOARD_DEMO_DIR), root.filePath("app/demo")));
    const QString audio = root.filePath("audio.raw");
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILE", audio);
    env.insert("XDG_DATA_HOME", root.filePath("data"));
    env.insert("XDG_CONFIG_HOME", root.filePath("config"));
    ASSERT_TRUE(startProgram(program, env, root.filePath("app/fareboard"), root.filePath("work")));
    const auto console = waitForWindow("^集中操作盤$", 15000);
    ASSERT_TRUE(console) << "no console";
    const auto board = waitForWindow("^運賃表示器アプリケーション", 5000);
    ASSERT_TRUE(board) << "no board";
    QThread::msleep(500);

    // 設定... and the button on the data folder page, shown first.
    click(console->topLeft() + QPoint(230 + 28, 150 + 10));
    const auto options = waitForWindow("^オプション$", 5000);
    ASSERT_TRUE(options) << "the options dialog did not open";
    click(options->topLeft() + QPoint(4 + 12 + 150, 46 + 236 + 13));
    ASSERT_TRUE(waitForWindow("^GTFS-JPから取り込む$", 5000)) << "the import dialog did not open";

    // The feed's folder typed where the dialog asks for it; the title names the operator once read.
    activate("^GTFS-JPから取り込む$");
    x({"type", "--delay", "5", QStringLiteral(FAREBOARD_GTFS_SAMPLE_SOURCE)});
    key("Return");
    const auto dialog = waitForWindow("^GTFS-JPから取り込む - 臨港バス$", 10000);
    ASSERT_TRUE(dialog) << "the feed was not read";
    screenshot("feed-read");
    key("Return");  // 取り込む, every pattern chosen

    const auto list = waitForWindow("^系統一覧$", 15000);
    ASSERT_TRUE(list) << "no route list after the import";
    const QString folder = root.filePath("data/fareboard/routes/臨港バス");
    QFile routes(folder + "/routes.csv");
    ASSERT_TRUE(routes.open(QIODevice::ReadOnly)) << "nothing imported into the data home";
    // The list is sorted by 系統: 川57's place in it is its place among the numbers.
    std::vector<std::pair<int, QString>> numbers;
    for (const QByteArray& line : routes.readAll().split('\n').mid(1))
        if (!line.isEmpty())
            numbers.emplace_back(line.split(',')[0].toInt(), QString::fromUtf8(line.split(',')[2]));
    std::sort(numbers.begin(), numbers.end());
    const auto kawa57 = std::find_if(numbers.begin(), numbers.end(), [](const auto& n) { return n.second == QStringLiteral("川57"); });
    ASSERT_NE(kawa57, numbers.end());
    screenshot("route-list");
    activate("^系統一覧$");
    for (auto n = numbers.begin(); n != kawa57; ++n)
        key("Down");
    key("Return");  // この系統で走る
    // The folders point at the demo: the program asks before it changes them; はい is the default.
    ASSERT_TRUE(waitForWindow("^fareboard$", 5000)) << "no question before the folders change";
    screenshot("asked");
    activate("^fareboard$");
    key("Return");

    const auto rows = fareRows(folder + QStringLiteral("/%1.hy3").arg(kawa57->first));
    ASSERT_FALSE(rows.empty());
    // After the lamp test the board shows the first stop.
    QImage shot;
    EXPECT_TRUE(waitFor([&] {
        shot = screenshot("board");
        return litCells(shot, board->topLeft(), DemoData::LitSegments) == owing(rows[0]);
    }, 15000, 300)) << "the board never showed the first stop's fares";
    EXPECT_FALSE(visibleWindow(xdotool, display, "^オプション$").size()) << "the options dialog stayed open";

    // 送り: the tape's first entry, its chime and its announcement.
    const qint64 before = QFileInfo(audio).size();
    click(console->topLeft() + QPoint(139 + 44 + 19, 84 + 15 + 23));
    QThread::msleep(8000);
    QFile heard(audio);
    ASSERT_TRUE(heard.open(QIODevice::ReadOnly));
    heard.seek(before - before % kFrameBytes);
    const QByteArray pcm = heard.readAll();
    if (!shots.isEmpty()) {
        QFile keep(QDir(shots).filePath("first-announcement.raw"));
        if (keep.open(QIODevice::WriteOnly))
            keep.write(pcm);
    }
    // The demo's opening chime lasts under three seconds; the announcement after it is longer
    // than a second.
    EXPECT_GE(audibleSeconds(pcm), 4.0) << "the tape did not speak";
    screenshot("after-announcement");
    EXPECT_EQ(program.process.state(), QProcess::Running);
}

}  // namespace
