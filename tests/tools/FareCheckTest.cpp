#include "ToolRun.h"
#include "support/Bytes.h"
#include "support/SampleFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

class FareCheck : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("12.HY3")); }
    ToolRun check(const QByteArray& bytes)
    {
        writeFile(file(), bytes);
        return runTool({"check", file()});
    }
};

TEST_F(FareCheck, SaysWhatTheResetWillAccept)
{
    ToolRun run = check(fareFileBytes(5, numberedRows(5)));
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("fare data, 5 stops")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("sections a reset accepts: 1 to 4")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("data columns in use: 1 to 150")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("  5       5  S5\n"))) << run.out.toStdString();

    run = check(fareFileBytes(1, numberedRows(1)));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("only one stop")));
}

TEST_F(FareCheck, RefusesWhatTheProgramRefuses)
{
    const struct {
        const char* fault;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"too short for the count", QByteArray("\x01", 1), "the file is too short to hold the row count"},
        {"a count of 0", fareFileBytes(0, {}), "the row count is 0"},
        {"a negative count", fareFileBytes(-3, {}), "the row count is -3"},
        {"302 rows", fareFileBytes(302, numberedRows(302)), "the row count is 302"},
        {"a row short", fareFileBytes(4, numberedRows(3)), "row 4: the file ends before this row"},
        {"a row cut", fareFileBytes(3, numberedRows(3)).chopped(2), "row 3: the file ends inside this row"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const ToolRun run = check(c.bytes);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(file() + QStringLiteral(": ") + QString::fromUtf8(c.says))) << run.err.toStdString();
    }
}

TEST_F(FareCheck, PointsOutNamesTheBoardShowsBadly)
{
    const QByteArray longName = QByteArray("\x82\xA0").repeated(21);  // 21 × "あ"
    const ToolRun run = check(fareFileBytes(5, {{"", 1, {}},
                                                {longName, 2, {}},
                                                {QByteArray("\x96\x7B\x92\xAC" "1", 5), 3, {}},  // "本町1"
                                                {QByteArray("\x81", 1), 4, {}},
                                                {"\x8D\x60", 5, {}}})
                              + QByteArray(7, '\0'));
    EXPECT_EQ(run.status, 1);  // only the broken Shift-JIS is an error
    EXPECT_TRUE(run.out.contains(QStringLiteral("row 1: the stop name is empty")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("row 2: the stop name \"%1\" has 21 characters").arg(QString(21, QChar(0x3042)))));
    EXPECT_TRUE(run.out.contains(QStringLiteral("row 3: the stop name \"本町1\" has half-width characters")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("row 4: the stop name is not valid Shift-JIS")));
    EXPECT_FALSE(run.out.contains(QStringLiteral("row 5:")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("7 bytes after the last row are ignored")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("1 error(s), 4 warning(s)")));
}

}  // namespace

TEST_F(FareCheck, ATimetableIsCheckedAgainstTheFareTableBesideIt)
{
    const QString timetable = dir.filePath(QStringLiteral("12times.csv"));
    writeFile(timetable, "T1,平日,駅前行き,6:00:00,6:05:00,6:09:00\nT2,平日,,,,\nT3,土休日,,7:00:00,7:04:00\n");
    ToolRun run = runTool({"check", timetable});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("3 trip(s), leaving from 06:00:00 to 07:00:00, 2 service(s)")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("1 trip(s) without any time")));

    // Beside a fare table of four stops (named as Windows writes it): every trip is short.
    writeFile(file(), fareFileBytes(4, numberedRows(4)));
    run = runTool({"check", timetable});
    EXPECT_TRUE(run.out.contains(QStringLiteral("3 trip(s) give fewer times than the fare table's 4 stops (the first: T1, 3)")))
        << run.out.toStdString();

    // A time running back refuses the file, as the operation panel does, naming the line.
    writeFile(timetable, "T1,平日,,6:00:00,6:05:00,6:09:00,6:12:00\nT2,平日,,7:00:00,6:59:00,,\n");
    run = runTool({"check", timetable});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("12times.csv:2: stop 2: 6:59:00 is before the time at an earlier stop")))
        << run.err.toStdString();
}
