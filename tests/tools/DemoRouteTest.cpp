#include "ToolRun.h"
#include "announce/BroadcastData.h"
#include "app/DemoData.h"
#include "console/FareDataFile.h"
#include "platform/InstallPaths.h"
#include "platform/audio/SdlMixer.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>

using namespace fareboard;
using namespace fareboard::test;

namespace {

// The demo route as the build made it, found the way the program finds it.
class DemoRoute : public ::testing::Test {
protected:
    QString folder = demoFolder(QCoreApplication::applicationDirPath());
    QString file(const QString& name) const { return folder + name; }
    QString fareFile() const { return file(QString::number(DemoData::Route) + QStringLiteral(".hy3")); }
    QString tapeFile() const { return file(QString::number(DemoData::Route) + QStringLiteral("tp.csv")); }

    void SetUp() override { ASSERT_FALSE(folder.isEmpty()) << "the build makes the demo folder beside the programs"; }
};

TEST_F(DemoRoute, PassesItsOwnCheckWithoutWarnings)
{
    for (const QString& path : {fareFile(), tapeFile()}) {
        SCOPED_TRACE(path.toStdString());
        const ToolRun run = runTool({"check", path});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith(QStringLiteral("OK\n"))) << run.out.toStdString();
    }
}

TEST_F(DemoRoute, FaresGrowWithDistanceInTenYenSteps)
{
    const QByteArray bytes = readFile(fareFile());
    ASSERT_EQ(FareDataFile::readCount(bytes), DemoData::StopCount);
    const auto rows = FareDataFile::readRecords(bytes, DemoData::StopCount);

    bool scrolls = false, longVowel = false, brackets = false;
    std::set<int> chimes;
    for (int r = 1; r <= DemoData::StopCount; ++r) {
        SCOPED_TRACE(r);
        const auto& row = rows[std::size_t(r - 1)];
        scrolls |= row.stopName.size() >= 7;
        longVowel |= row.stopName.contains(QChar(0x30FC));
        brackets |= row.stopName.contains(QChar(0xFF08)) && row.stopName.contains(QChar(0xFF09));
        EXPECT_EQ(row.ticketNo, r);
        for (int k = 1; k <= 24; ++k) {
            const int fare = row.values[std::size_t(k - 1)];
            if (k > r) {
                EXPECT_EQ(fare, 0) << "ticket " << k << " is not issued before stop " << k;
                continue;
            }
            EXPECT_GT(fare, 0);
            EXPECT_EQ(fare % 10, 0);
            // Boarding earlier never costs less, and riding one stop further never costs less.
            if (k > 1) {
                EXPECT_GE(row.values[std::size_t(k - 2)], fare);
            }
            if (r > k) {
                EXPECT_GE(fare, rows[std::size_t(r - 2)].values[std::size_t(k - 1)]);
            }
        }
        chimes.insert(row.values[std::size_t(DemoData::ChimeColumn - 1)]);
    }
    EXPECT_TRUE(scrolls && longVowel && brackets);
    EXPECT_EQ(chimes, (std::set<int>{1, 2, 3}));
    EXPECT_GT(rows.back().values[0], rows.front().values[0]);
}

TEST_F(DemoRoute, TheTapeStepsTheBoardFromFirstToLastStop)
{
    const QByteArray bytes = readFile(tapeFile());
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));  // CR LF throughout
    BroadcastFieldReader reader(bytes);
    std::vector<TapeEntry> tape;
    while (!reader.onlyBlankLeft())
        tape.push_back({reader.nextText(), reader.nextNumber(), reader.nextNumber()});
    ASSERT_EQ(int(tape.size()), broadcastLineCount(bytes));

    const auto stops = FareDataFile::readRecords(readFile(fareFile()), DemoData::StopCount);
    const QString terminus = stops.back().stopName;
    EXPECT_EQ(tape.front().Text, QStringLiteral("ご乗車ありがとうございます。このバスは%1行きです。").arg(terminus));
    EXPECT_NE(tape.front().StepFlag, 1);

    // From section 1 each step flag moves the board one stop on, and each such entry names the
    // stop the board moves to.
    int row = 1;
    for (const TapeEntry& entry : tape) {
        if (entry.StepFlag != 1)
            continue;
        ++row;
        ASSERT_LE(row, DemoData::StopCount);
        EXPECT_TRUE(entry.Text.startsWith(QStringLiteral("次は、")) && entry.Text.endsWith(stops[std::size_t(row - 1)].stopName + QStringLiteral("です。")))
            << entry.Text.toStdString();
    }
    EXPECT_EQ(row, DemoData::StopCount);
    for (const TapeEntry& entry : tape) {
        if (entry.ChimeFlag >= 1 && entry.ChimeFlag <= 3) {
            EXPECT_FALSE(DemoData::soundFile(3 + entry.ChimeFlag).isEmpty());
        }
    }
}

TEST_F(DemoRoute, EverySoundItNamesIsThereAndPlayable)
{
    SdlMixer mixer;  // decodes WAV and, through its synthesiser, MIDI as the program does
    int named = 0;
    for (int index = 0; index <= 10; ++index) {
        const QString name = DemoData::soundFile(index);
        if (name.isEmpty())
            continue;
        ++named;
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = readFile(file(name));
        if (name.endsWith(QStringLiteral(".mid"))) {
            EXPECT_TRUE(bytes.startsWith("MThd") && bytes.contains("MTrk"));
        } else {
            ASSERT_TRUE(bytes.startsWith("RIFF") && bytes.mid(8, 8) == "WAVEfmt ");
            // Small, and no longer than a chime should be (22050 samples a second, 16 bits).
            EXPECT_LT(bytes.size(), 100 * 1024);
            EXPECT_GT(bytes.size(), 1000);
        }
        EXPECT_TRUE(mixer.loadFile(QStringLiteral("S3"), file(name), true));
    }
    EXPECT_EQ(named, 10);  // every sound of the dialog except the unused index 2
}

}  // namespace
