#include "platform/AppError.h"
#include "platform/FileAccess.h"
#include "support/Bytes.h"
#include "support/FullDisk.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

TEST(FileAccess, FolderSettingsGetOneTrailingSeparator)
{
    EXPECT_EQ(withTrailingSeparator(QString()), QString());
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/data")), QStringLiteral("/data/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/data/")), QStringLiteral("/data/"));
}

TEST(FileAccess, NamesFromWindowsAreFoundIgnoringCaseButNeverGuessed)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("12TP.CSV")), "x");
    writeFile(dir.filePath(QStringLiteral("5.hy3")), "x");
    EXPECT_EQ(resolveIgnoringCase(dir.filePath(QStringLiteral("12tp.csv"))), dir.filePath(QStringLiteral("12TP.CSV")));
    EXPECT_EQ(resolveIgnoringCase(dir.filePath(QStringLiteral("5.hy3"))), dir.filePath(QStringLiteral("5.hy3")));
    EXPECT_EQ(resolveIgnoringCase(dir.filePath(QStringLiteral("6.hy3"))), dir.filePath(QStringLiteral("6.hy3")));

    // Two candidates that differ only in case: neither is picked.
    writeFile(dir.filePath(QStringLiteral("7.HY3")), "a");
    writeFile(dir.filePath(QStringLiteral("7.Hy3")), "b");
    EXPECT_EQ(resolveIgnoringCase(dir.filePath(QStringLiteral("7.hy3"))), dir.filePath(QStringLiteral("7.hy3")));
}

TEST(FileAccess, ReadingStopsAtTheLimit)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("big")), QByteArray(5000, 'z'));
    EXPECT_EQ(readFileBytes(dir.filePath(QStringLiteral("big")), 100).size(), 100);
    try {
        readFileBytes(dir.path(), 10);
        FAIL() << "a folder is not a file";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::PathFileAccess);
        EXPECT_FALSE(e.description().isEmpty());
    }
}

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

int writeError(const QString& path, const QByteArray& bytes)
{
    try {
        writeFileWhole(path, bytes);
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(FileAccess, AWriteThatRunsOutPartWayKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("fareboard.in4"));
    writeFileWhole(target, "old settings");
    {
        FileSizeLimit limit(100);
        // Small enough for a write buffer, so the failure only shows when the data reach the
        // disk; and larger than any buffer.
        for (qsizetype size : {qsizetype(400), qsizetype(200000)}) {
            EXPECT_NE(writeError(target, QByteArray(size, 'x')), 0) << size;
            EXPECT_EQ(contentsOf(target), QByteArray("old settings")) << size;
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fareboard.in4")})
        << "the temporary file stays behind";
}

TEST(FileAccess, AFullDiskReportsDiskFullAndKeepsThePreviousFile)
{
    SmallDisk disk(64);
    if (disk.path().isEmpty())
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    const QString target = QDir(disk.path()).filePath(QStringLiteral("fareboard.in4"));
    writeFileWhole(target, "old settings");
    {
        QFile filler(QDir(disk.path()).filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
    EXPECT_EQ(writeError(target, "new settings"), ErrorNumber::DiskFull);
    EXPECT_EQ(contentsOf(target), QByteArray("old settings"));
}
