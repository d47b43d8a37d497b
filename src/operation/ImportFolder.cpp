#include "operation/ImportFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>

namespace fareboard {
namespace {

QString clean(const QString& folder)
{
    return folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}

QString uniqueSibling(const QString& target, const char* kind)
{
    const QFileInfo info(QDir::cleanPath(target));
    const QString name = QStringLiteral(".%1.%2-%3")
                             .arg(info.fileName(), QString::fromLatin1(kind),
                                  QUuid::createUuid().toString(QUuid::Id128).left(8));
    return info.dir().filePath(name);
}

bool renameExchange(const QByteArray& a, const QByteArray& b)
{
#ifdef RENAME_EXCHANGE
    return ::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0;
#else
    errno = EINVAL;
    return false;
#endif
}

}  // namespace

QString operatorFolderName(const QString& agencyName)
{
    QString name;
    for (const QChar c : agencyName.trimmed())
        name += (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control) ? QLatin1Char('_') : c;
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    // Long names are cut where a file system's 255 bytes end, between characters.
    while (name.toUtf8().size() > 200)
        name.chop(1);
    return name.trimmed().isEmpty() ? QStringLiteral("feed") : name.trimmed();
}

QString importFolderFor(const QString& routesHome, const QString& agencyName)
{
    return QDir(routesHome).filePath(operatorFolderName(agencyName)) + QLatin1Char('/');
}

bool foldersPointElsewhere(const QString& fareFolder, const QString& tapeFolder, const QString& folder)
{
    const QString target = clean(folder);
    return clean(fareFolder) != target || clean(tapeFolder) != target;
}

QString makeStagingFolder(const QString& target)
{
    const QString staging = uniqueSibling(target, "importing");
    return QDir().mkpath(staging) ? staging : QString();
}

QString replaceFolder(const QString& staging, const QString& target)
{
    const QString to = QDir::cleanPath(target);
    const QByteArray from = QFile::encodeName(staging), onto = QFile::encodeName(to);
    if (!QFileInfo::exists(to)) {
        if (std::rename(from.constData(), onto.constData()) != 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    if (renameExchange(from, onto)) {
        // `staging` now holds the old import.
        QDir(staging).removeRecursively();
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return QString::fromLocal8Bit(std::strerror(errno));
    // A file system without the exchange: the old folder steps aside first and comes back
    // when the new one cannot take its place.
    const QString old = uniqueSibling(to, "replaced");
    const QByteArray aside = QFile::encodeName(old);
    if (std::rename(onto.constData(), aside.constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (std::rename(from.constData(), onto.constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        std::rename(aside.constData(), onto.constData());
        return why;
    }
    QDir(old).removeRecursively();
    return {};
}

void removeStagingFolder(const QString& staging)
{
    if (!staging.isEmpty())
        QDir(staging).removeRecursively();
}

}  // namespace fareboard
