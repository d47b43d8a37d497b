#include "InstallPaths.h"

#include <QDir>
#include <QFileInfo>

namespace fareboard {
namespace {

QStringList installedFolders(const QString& exeDir)
{
    const QDir bin(exeDir);
    return {QDir::cleanPath(bin.filePath(QStringLiteral(FAREBOARD_DATA_FROM_BIN))),
            QDir::cleanPath(bin.filePath(QStringLiteral(FAREBOARD_PLUGINS_FROM_BIN)))};
}

}  // namespace

QString shippedFile(const QString& exeDir, const QString& name)
{
    const QString beside = QDir(exeDir).filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    for (const QString& folder : installedFolders(exeDir)) {
        const QString installed = QDir(folder).filePath(name);
        if (QFileInfo::exists(installed))
            return installed;
    }
    return beside;
}

QString demoFolder(const QString& exeDir)
{
    const QString candidates[] = {QDir(exeDir).filePath(QStringLiteral("demo")),
                                  QDir(installedFolders(exeDir).front()).filePath(QStringLiteral("demo"))};
    for (const QString& folder : candidates) {
        if (QFileInfo(folder).isDir())
            return QDir::cleanPath(folder) + QLatin1Char('/');
    }
    return QString();
}

}  // namespace fareboard
