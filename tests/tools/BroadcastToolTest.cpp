#include "ToolRun.h"
#include "support/Bytes.h"
#include "support/FullDisk.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

class BroadcastTool : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    ToolRun check(const QByteArray& shiftJis)
    {
        writeFile(path("7tp.csv"), shiftJis);
        return runTool({"check", path("7tp.csv")});
    }
    QString at(int line) const { return QStringLiteral("%1:%2: ").arg(path("7tp.csv")).arg(line); }
};

// "次は、" in code page 932, byte by byte.
const QByteArray kNextSjis("\x8E\x9F\x82\xCD\x81\x41", 6);

TEST_F(BroadcastTool, ConversionsEndLinesAsEachSideExpectsAndGoBothWays)
{
    writeFile(path("in.txt"), "\xEF\xBB\xBF\"次は、\",1,2\n\"～①\",0,0\n");
    ASSERT_EQ(runTool({"sjis", path("in.txt"), path("1tp.csv")}).status, 0);
    EXPECT_EQ(readFile(path("1tp.csv")), '"' + kNextSjis + "\",1,2\r\n\"\x81\x60\x87\x40\",0,0\r\n");

    ASSERT_EQ(runTool({"utf8", path("1tp.csv"), path("back.txt")}).status, 0);
    EXPECT_EQ(readFile(path("back.txt")), QByteArray("\"次は、\",1,2\n\"～①\",0,0\n"));
}

TEST_F(BroadcastTool, ConversionFaultsNameTheLineAndWriteNothing)
{
    writeFile(path("kept"), "previous");

    writeFile(path("korean.txt"), "\"次は、\",1,2\r\n\"바다\",1,2\r\n");
    ToolRun run = runTool({"sjis", path("korean.txt"), path("kept")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(path("korean.txt") + QStringLiteral(":2: \"바\" (U+BC14) cannot be written"))) << run.err.toStdString();

    // Converting the wrong way round is the likely mistake with either command.
    writeFile(path("sjis.txt"), "a,0,0\n" + kNextSjis + ",1,2\n");
    run = runTool({"sjis", path("sjis.txt"), path("kept")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(path("sjis.txt") + QStringLiteral(":2: not valid UTF-8"))) << run.err.toStdString();

    writeFile(path("utf8.txt"), "\"次は、\",1,2\n");
    run = runTool({"utf8", path("utf8.txt"), path("kept")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("UTF-8 already")));

    writeFile(path("broken.csv"), "a,0,0\n\x81\x20,1,2\n");
    run = runTool({"utf8", path("broken.csv"), path("kept")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(path("broken.csv") + QStringLiteral(":2: not valid Shift-JIS")));

    // An output that runs out of room part-way is an error, and the old file stays.
    QByteArray many;
    for (int i = 0; i < 100; ++i)
        many += "\"次は、\",1,2\n";
    writeFile(path("many.txt"), many);
    {
        FileSizeLimit limit(200);
        run = runTool({"sjis", path("many.txt"), path("kept")});
    }
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(run.err.contains(path("kept") + QStringLiteral(": cannot write"))) << run.err.toStdString();

    EXPECT_EQ(readFile(path("kept")), QByteArray("previous"));
}

TEST_F(BroadcastTool, CheckFindsLinesThatBorrowOrLendFields)
{
    // Line 2 lacks its chime flag: the program would take line 3's text as that flag and every
    // later entry would shift.
    ToolRun run = check("\"start\",0,1\r\n" + kNextSjis + ",1\r\n\"b\",1,2\r\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(at(2) + QStringLiteral("2 of the 3 fields"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("from line 3")));

    run = check("a,0,1\r\nthe next stop, please,1,2\r\nc,1,2\r\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(at(2) + QStringLiteral("4 fields where 3 belong"))) << run.err.toStdString();

    run = check("a,0,1\r\n\"open text,1,2\r\nc\",1,2\r\n");
    EXPECT_TRUE(run.err.contains(at(2) + QStringLiteral("the quote is not closed"))) << run.err.toStdString();

    run = check("a,0,1\r\n\r\nc,1,2\r\n");
    EXPECT_TRUE(run.err.contains(at(2) + QStringLiteral("an empty line"))) << run.err.toStdString();

    run = check("a,one,1\r\nb,1,x\r\n");
    EXPECT_TRUE(run.err.contains(at(1) + QStringLiteral("the step flag \"one\" is not a number"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(at(2) + QStringLiteral("the chime flag \"x\" is not a number")));

    // A tape whose last entry runs past the end does not load at all.
    run = check("a,0,1\r\nb,1\r\n");
    EXPECT_TRUE(run.err.contains(QStringLiteral("the program does not load this tape"))) << run.err.toStdString();
}

TEST_F(BroadcastTool, CheckOfHugeFilesEndsQuicklyWithTheFault)
{
    // Larger than the tape reads: said at once, nothing else is read.
    ToolRun run = check(QByteArray(10 << 20, ','));
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("larger than 1024 KB"))) << run.err.left(500).toStdString();

    // A line of commas: one finding for the line, and the tape's reading stops at its first
    // entry too many.
    run = check(QByteArray(1 << 20, ','));
    EXPECT_TRUE(run.err.contains(at(1) + QStringLiteral("1048577 fields where 3 belong"))) << run.err.left(500).toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("more entries than lines")));

    // A long run of empty lines is reported up to a limit, not line by line to the end.
    run = check(QByteArray(400000, '\n') + "x,0,0\n");
    EXPECT_TRUE(run.out.contains(QStringLiteral("are not checked one by one"))) << run.err.left(500).toStdString();
    EXPECT_LT(run.err.count('\n'), 1000);
}

TEST_F(BroadcastTool, CheckPassesSoundDataAndListsItAsTheTapeReadsIt)
{
    const ToolRun run = check("\"a, with comma\",0,1\r\n" + kNextSjis + ",1,2\r\n  c  ,2,7\r\n\r\n");
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("broadcast data, 4 entries; 1 step the fares; chimes 1: 1, 2: 1, 3: 0")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("    1     0      1  a, with comma")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("    2     1      2  次は、")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("    3     2      7  c\n")));
    // Legal but probably not meant: said, without failing the check.
    EXPECT_TRUE(run.out.contains(at(3) + QStringLiteral("step flag 2: only 1 steps")));
    EXPECT_TRUE(run.out.contains(at(3) + QStringLiteral("chime flag 7 plays no chime")));
    EXPECT_TRUE(run.out.contains(at(4) + QStringLiteral("an empty line at the end")));
}

TEST_F(BroadcastTool, CheckRefusesUtf8BroadcastData)
{
    const ToolRun run = check("\"次は、本町です。\",1,2\r\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("fareboard-data sjis"))) << run.err.toStdString();
}

}  // namespace
