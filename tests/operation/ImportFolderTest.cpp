#include "operation/ImportFolder.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

TEST(ImportFolder, AnOperatorGetsOneFolderItsNameCanCarry)
{
    EXPECT_EQ(importFolderFor(QStringLiteral("/d/routes"), QStringLiteral("臨港バス")), QStringLiteral("/d/routes/臨港バス/"));
    // A name never reaches outside the routes folder, hides itself or names a control character.
    EXPECT_EQ(operatorFolderName(QStringLiteral("../../etc")), QStringLiteral("_.._etc"));
    EXPECT_EQ(operatorFolderName(QStringLiteral("..")), QStringLiteral("feed"));
    EXPECT_EQ(operatorFolderName(QStringLiteral(" .hidden")), QStringLiteral("hidden"));
    EXPECT_EQ(operatorFolderName(QStringLiteral("A/B\nC")), QStringLiteral("A_B_C"));
    EXPECT_EQ(operatorFolderName(QString()), QStringLiteral("feed"));
    EXPECT_LE(operatorFolderName(QString(300, QChar(0x30D0))).toUtf8().size(), 255);
}

TEST(ImportFolder, FoldersPointElsewhereUnlessBothNameTheImport)
{
    const QString import = QStringLiteral("/d/routes/臨港バス/");
    EXPECT_FALSE(foldersPointElsewhere(QStringLiteral("/d/routes/臨港バス"), QStringLiteral("/d/routes/./臨港バス/"), import));
    EXPECT_TRUE(foldersPointElsewhere(QStringLiteral("/d/routes/臨港バス/"), QStringLiteral("/opt/demo/"), import));
    EXPECT_TRUE(foldersPointElsewhere(QString(), QString(), import));
}

TEST(ImportFolder, ASecondImportReplacesTheFirstWhole)
{
    QTemporaryDir home;
    const QString target = home.filePath(QStringLiteral("routes/臨港バス"));

    // The first: the folder does not exist yet, its parents neither.
    QString staging = makeStagingFolder(target);
    ASSERT_FALSE(staging.isEmpty());
    writeFile(staging + QStringLiteral("/1.hy3"), "one");
    writeFile(staging + QStringLiteral("/2.hy3"), "two");
    ASSERT_EQ(replaceFolder(staging, target), QString());
    EXPECT_EQ(readFile(target + QStringLiteral("/2.hy3")), QByteArray("two"));

    // The second has fewer routes: none of the first's is left over.
    staging = makeStagingFolder(target);
    writeFile(staging + QStringLiteral("/1.hy3"), "new");
    ASSERT_EQ(replaceFolder(staging, target), QString());
    EXPECT_EQ(readFile(target + QStringLiteral("/1.hy3")), QByteArray("new"));
    EXPECT_FALSE(QFile::exists(target + QStringLiteral("/2.hy3")));
    // Nothing but the operator's folder is left beside it.
    EXPECT_EQ(QDir(home.filePath(QStringLiteral("routes"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("臨港バス")});

    // A staging folder that cannot be put in place leaves the import as it was.
    EXPECT_FALSE(replaceFolder(home.filePath(QStringLiteral("routes/.gone")), target).isEmpty());
    EXPECT_EQ(readFile(target + QStringLiteral("/1.hy3")), QByteArray("new"));

    staging = makeStagingFolder(target);
    writeFile(staging + QStringLiteral("/x"), "x");
    removeStagingFolder(staging);
    EXPECT_FALSE(QFile::exists(staging));
}
