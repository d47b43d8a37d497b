#include "platform/DesktopShell.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace fareboard;

// Only the refusals are tried: an existing folder would really open a file manager.
TEST(DesktopShell, RefusesEmptyAndMissingFoldersWithoutAskingTheDesktop)
{
    DesktopShell shell;
    EXPECT_FALSE(shell.openFolder(QString()));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(shell.openFolder(dir.filePath(QStringLiteral("missing"))));
    // A file is not a folder.
    QFile file(dir.filePath(QStringLiteral("a.hy3")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(shell.openFolder(file.fileName()));
}
