#include "ToolRun.h"
#include "console/FareDataFile.h"
#include "support/Bytes.h"
#include "support/SampleFiles.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

QByteArray header(int columns)
{
    QByteArray h = "停留所名,整理券番号";
    for (int k = 1; k <= columns; ++k)
        h += ',' + QByteArray::number(k);
    return h + '\n';
}

class FareTableTool : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

struct BadTable {
    const char* fault;
    QByteArray csv;
    int line;
    const char* says;
};

TEST_F(FareTableTool, BadTableNamesTheLineAndWritesNothing)
{
    QByteArray tooMany = header(1);
    for (int r = 1; r <= 302; ++r)
        tooMany += "S" + QByteArray::number(r) + ',' + QByteArray::number(r) + ",180\n";

    const BadTable cases[] = {
        {"an empty value", header(3) + "青凪駅,1,180,0,0\n本町,2,190,,0\n", 3, "data column 2 is missing"},
        {"a short row", header(3) + "青凪駅,1,180,0,0\n本町,2,190\n", 3, "data column 2 is missing"},
        {"no ticket number", header(0) + "青凪駅,1\n本町\n", 3, "the ticket number is missing"},
        {"a long row", header(1) + "青凪駅,1,180,0\n", 2, "the header has only 3"},
        {"a non-number", header(2) + "青凪駅,1,180,0\n本町,2,1８0,0\n", 3, "\"1８0\" is not a whole number"},
        {"a number past 16 bits", header(1) + "青凪駅,1,40000\n", 2, "40000 is outside -32768..32767"},
        {"a name Shift-JIS cannot hold", header(1) + "青凪駅,1,180\n바다,2,190\n", 3, "\"바\" (U+BC14)"},
        {"a name beyond the basic plane", header(1) + "青凪駅,1,180\n\xF0\x9F\x9A\x8C停,2,190\n", 3, "(U+1F68C)"},
        {"302 rows", tooMany, 303, "at most 301"},
        {"a missing header", "青凪駅,1,180,0\n本町,2,190,0\n", 1, "is the header row missing?"},
        {"a quote left open", header(1) + "青凪駅,1,180\n\"本町,2,190\n\n", 3, "never closed"},
        {"Shift-JIS instead of UTF-8", header(1) + "\x90\xC2,1,180\n", 2, "not UTF-8"},
        {"a NUL inside a name", header(1) + "青凪駅,1,180\n本" + QByteArray(1, '\0') + "町,2,190\n", 3, "control character U+0000"},
        {"one stop, which no reset accepts", header(1) + "青凪駅,1,180\n", 2, "only one stop"},
        {"a line end inside a quoted name", header(1) + "\"青凪\n駅\",1,180\n本町,2,190\n", 2, "control character U+000A"},
    };
    for (const BadTable& bad : cases) {
        SCOPED_TRACE(bad.fault);
        const QString csv = path("fares.csv");
        writeFile(csv, bad.csv);
        // An existing file stays as it was, and a new one is never begun.
        const QString kept = path("kept.hy3");
        writeFile(kept, "previous");
        const QString fresh = path("fresh.hy3");

        for (const QString& out : {kept, fresh}) {
            const ToolRun run = runTool({"import", csv, out});
            EXPECT_EQ(run.status, 1);
            EXPECT_TRUE(run.err.contains(QStringLiteral("%1:%2: ").arg(csv).arg(bad.line))) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(QString::fromUtf8(bad.says))) << run.err.toStdString();
        }
        EXPECT_EQ(readFile(kept), QByteArray("previous"));
        EXPECT_FALSE(QFileInfo::exists(fresh));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary file left behind
    }
}

TEST_F(FareTableTool, ImportWritesTheBytesTheProgramReads)
{
    writeFile(path("fares.csv"), header(3) + "青凪駅,1,180,-1,0\n\"港,桟橋\"\"前\"\"\",2,  190 ,+200,-32768\n,3,0,0,32767\n");
    const ToolRun run = runTool({"import", path("fares.csv"), path("1.hy3")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    SampleRow station{QByteArray("\x90\xC2\x93\xE2\x89\x77", 6), 1, {180, -1, 0}};
    SampleRow pier{QByteArray("\x8D\x60,\x8E\x56\x8B\xB4\"\x91\x4F\"", 11), 2, {190, 200, -32768}};
    SampleRow unnamed{QByteArray(), 3, {0, 0, 32767}};
    EXPECT_EQ(readFile(path("1.hy3")), fareFileBytes(3, {station, pier, unnamed}));
    // The name with no text is allowed (the program accepts it) but pointed out.
    EXPECT_TRUE(run.err.contains(QStringLiteral("row 3: the stop name is empty")));
}

TEST_F(FareTableTool, RoundTripThroughFareDataIsIdentical)
{
    // The fullest table there is: 301 stops, all 150 columns, names that need quoting.
    QByteArray csv = header(150);
    for (int r = 1; r <= 301; ++r) {
        csv += r == 7 ? QByteArray("\"東町（旧道）, \"\"臨時\"\"\"") : "停留所" + QByteArray::number(r);
        csv += ',' + QByteArray::number(r);
        for (int k = 1; k <= 150; ++k)
            csv += ',' + QByteArray::number(k == 150 ? -1 : (r * 37 + k * 11) % 2000 - 100);
        csv += '\n';
    }
    writeFile(path("in.csv"), csv);
    ASSERT_EQ(runTool({"import", path("in.csv"), path("r.hy3")}).status, 0);
    ASSERT_EQ(runTool({"export", path("r.hy3"), path("out.csv")}).status, 0);
    EXPECT_EQ(readFile(path("out.csv")), csv);

    // The program's own reader sees what the table says.
    const QByteArray bytes = readFile(path("r.hy3"));
    ASSERT_EQ(FareDataFile::readCount(bytes), 301);
    const auto rows = FareDataFile::readRecords(bytes, 301);
    EXPECT_EQ(rows[6].stopName, QStringLiteral("東町（旧道）, \"臨時\""));
    EXPECT_EQ(rows[300].values[149], -1);
}

TEST_F(FareTableTool, ExportKeepsColumnsUpToTheLastValueAndRefusesBrokenFiles)
{
    writeFile(path("1.hy3"), fareFileBytes(2, {{"A", 1, {180, 0, 0, 5}}, {"B", 2, {190}}}) + QByteArray("tail"));
    ASSERT_EQ(runTool({"export", path("1.hy3"), path("1.csv")}).status, 0);
    EXPECT_EQ(readFile(path("1.csv")), header(4) + "A,1,180,0,0,5\nB,2,190,0,0,0\n");

    struct Broken {
        const char* fault;
        QByteArray bytes;
        const char* says;
    } broken[] = {
        {"a count of 0", fareFileBytes(0, {}), "the row count is 0"},
        {"a count of 302", fareFileBytes(302, numberedRows(302)), "the row count is 302"},
        {"a missing row", fareFileBytes(3, numberedRows(2)), "row 3 of 3: the file ends inside it"},
        {"a cut row", fareFileBytes(2, numberedRows(2)).chopped(1), "row 2 of 2"},
        {"a name not Shift-JIS", fareFileBytes(1, {{QByteArray("\x81", 1), 1, {}}}), "row 1: the stop name is not valid"},
    };
    for (const Broken& b : broken) {
        SCOPED_TRACE(b.fault);
        writeFile(path("bad.hy3"), b.bytes);
        const ToolRun run = runTool({"export", path("bad.hy3"), path("bad.csv")});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(b.says))) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path("bad.csv")));
    }
}

TEST_F(FareTableTool, CommandLineMistakesAreUsageErrors)
{
    EXPECT_EQ(runTool({}).status, 2);
    EXPECT_EQ(runTool({"convert", "a", "b"}).status, 2);
    EXPECT_EQ(runTool({"import", "only-one.csv"}).status, 2);
    // The arguments swapped: the fare file is not overwritten with an error.
    writeFile(path("1.hy3"), fareFileBytes(1, numberedRows(1)));
    writeFile(path("1.csv"), header(0) + "A,1\n");
    EXPECT_EQ(runTool({"import", path("1.hy3"), path("1.csv")}).status, 2);
    EXPECT_EQ(readFile(path("1.csv")), header(0) + "A,1\n");

    for (const char* command : {"import", "export", "check", "sjis", "utf8"}) {
        SCOPED_TRACE(command);
        const ToolRun run = runTool({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: fareboard-data %1 ").arg(QLatin1String(command))));
    }
    const ToolRun missing = runTool({"export", path("none.hy3"), path("x.csv")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.hy3: cannot read: no such file")));
}

}  // namespace
