#include "SettingsLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace fareboard {
namespace {

// Permission bits do not tell whether a file can be made (root ignores them, a read-only mount
// does not show in them), so try it.
bool canCreateFilesIn(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".fareboard-probe-XXXXXX")));
    return probe.open();
}

// An XDG base folder: the variable when it holds an absolute path, else the home's fallback.
QString xdgHome(const char* variable, const char* underHome)
{
    const QString xdg = qEnvironmentVariable(variable);
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    const QString home = QDir::homePath();
    return home.isEmpty() ? QString() : QDir(home).filePath(QString::fromLatin1(underHome));
}

}  // namespace

QString settingsFileLocation(const QString& exeDir, const QString& baseName)
{
    return settingsFileLocation(exeDir, baseName, userConfigHome());
}

QString settingsFileLocation(const QString& exeDir, const QString& baseName, const QString& configHome)
{
    const QString fileName = baseName + QStringLiteral(".in4");
    const QString beside = QDir(exeDir).filePath(fileName);
    if (QFileInfo::exists(beside) || canCreateFilesIn(exeDir) || configHome.isEmpty())
        return beside;
    const QString folder = QDir(configHome).filePath(baseName);
    QDir().mkpath(folder);
    return QDir(folder).filePath(fileName);
}

QString userConfigHome()
{
    return xdgHome("XDG_CONFIG_HOME", ".config");
}

QString userDataHome()
{
    return xdgHome("XDG_DATA_HOME", ".local/share");
}

}  // namespace fareboard
