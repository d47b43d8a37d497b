#include "platform/InstallPaths.h"
#include "platform/SettingsLocation.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

// An install prefix laid out as `cmake --install` lays it out.
class InstalledTree : public ::testing::Test {
protected:
    QTemporaryDir prefix;
    QString bin() const { return prefix.filePath(QStringLiteral("bin")); }
    QString data(const QString& name) const
    {
        return QDir::cleanPath(QDir(bin()).filePath(QStringLiteral(FAREBOARD_DATA_FROM_BIN "/") + name));
    }
    QString plugins(const QString& name) const
    {
        return QDir::cleanPath(QDir(bin()).filePath(QStringLiteral(FAREBOARD_PLUGINS_FROM_BIN "/") + name));
    }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(bin())); }
};

TEST_F(InstalledTree, ShippedFilesAreFoundBesideTheProgramFirstThenUnderThePrefix)
{
    const QString dictionary = QStringLiteral("fareboard-bus.dic");
    EXPECT_EQ(shippedFile(bin(), dictionary), QDir(bin()).filePath(dictionary));  // nowhere: the build-tree name

    writeFile(data(dictionary), "dic");
    writeFile(plugins(QStringLiteral("sample.4SP")), "so");
    EXPECT_EQ(shippedFile(bin(), dictionary), data(dictionary));
    EXPECT_EQ(shippedFile(bin(), QStringLiteral("sample.4SP")), plugins(QStringLiteral("sample.4SP")));
    EXPECT_TRUE(data(dictionary).endsWith(QStringLiteral("/share/fareboard/fareboard-bus.dic")));

    writeFile(QDir(bin()).filePath(dictionary), "dic");
    EXPECT_EQ(shippedFile(bin(), dictionary), QDir(bin()).filePath(dictionary));
}

TEST_F(InstalledTree, DemoFolderIsTheBuildTreesOrTheInstalledOne)
{
    EXPECT_EQ(demoFolder(bin()), QString());
    ASSERT_TRUE(QDir().mkpath(data(QStringLiteral("demo"))));
    EXPECT_EQ(demoFolder(bin()), data(QStringLiteral("demo")) + QLatin1Char('/'));
    ASSERT_TRUE(QDir().mkpath(QDir(bin()).filePath(QStringLiteral("demo"))));
    EXPECT_EQ(demoFolder(bin()), QDir(bin()).filePath(QStringLiteral("demo/")));
}

class SettingsPlace : public ::testing::Test {
protected:
    QTemporaryDir exe;
    QTemporaryDir config;
    QString inConfig() const { return config.filePath(QStringLiteral("fareboard/fareboard.in4")); }
};

TEST_F(SettingsPlace, AWritableProgramFolderKeepsTheFileBesideTheProgram)
{
    EXPECT_EQ(settingsFileLocation(exe.path(), QStringLiteral("fareboard"), config.path()),
              exe.filePath(QStringLiteral("fareboard.in4")));
    // Even when an earlier installed run left a file in the configuration folder.
    writeFile(inConfig(), "old");
    EXPECT_EQ(settingsFileLocation(exe.path(), QStringLiteral("fareboard"), config.path()),
              exe.filePath(QStringLiteral("fareboard.in4")));
    EXPECT_TRUE(QDir(exe.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());  // the probe cleans up
}

TEST_F(SettingsPlace, AFolderNobodyCanWriteSendsTheFileToTheConfigurationFolder)
{
    // Not even root can make files in /proc, so this holds for every user running the tests.
    const QString place = settingsFileLocation(QStringLiteral("/proc"), QStringLiteral("fareboard"), config.path());
    EXPECT_EQ(place, inConfig());
    EXPECT_TRUE(QFileInfo(QFileInfo(place).path()).isDir()) << "made, so that the save at exit can write it";
    // The name follows the program's name.
    EXPECT_EQ(settingsFileLocation(QStringLiteral("/proc"), QStringLiteral("bus2"), config.path()),
              config.filePath(QStringLiteral("bus2/bus2.in4")));
}

TEST_F(SettingsPlace, AFileBesideAReadOnlyProgramStillWins)
{
    writeFile(exe.filePath(QStringLiteral("fareboard.in4")), "settings");
    QFile::setPermissions(exe.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QFile probe(exe.filePath(QStringLiteral("probe")));
    const bool stillWritable = probe.open(QIODevice::WriteOnly);
    probe.remove();
    if (stillWritable) {
        QFile::setPermissions(exe.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not bind this user (root)";
    }
    EXPECT_EQ(settingsFileLocation(exe.path(), QStringLiteral("fareboard"), config.path()),
              exe.filePath(QStringLiteral("fareboard.in4")));
    QFile::setPermissions(exe.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(SettingsConfigHome, IsXdgConfigHomeWhenAbsoluteElseDotConfig)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QString dotConfig = QDir(QDir::homePath()).filePath(QStringLiteral(".config"));

    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test/");
    EXPECT_EQ(userConfigHome(), QStringLiteral("/tmp/xdg-test"));
    qputenv("XDG_CONFIG_HOME", "relative/conf");  // the rules say to ignore a relative one
    EXPECT_EQ(userConfigHome(), dotConfig);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userConfigHome(), dotConfig);

    if (wasSet)
        qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
