#include "platform/AppError.h"
#include "platform/FileAccess.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

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
