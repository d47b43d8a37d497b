#include "FileAccess.h"

#include "AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace fareboard {
namespace {

void checkName(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty() || path.contains(QChar(0)))
        throw AppError(ErrorNumber::BadFileName);
}

}  // namespace

QString withTrailingSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString resolveIgnoringCase(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.exists())
        return path;
    const QDir dir = info.dir();
    if (!dir.exists())
        return path;
    const QString wanted = info.fileName();
    QString found;
    const auto entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : entries) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) {
            if (!found.isEmpty())
                return path;  // ambiguous: "12.hy3" and "12.HY3" both there
            found = name;
        }
    }
    return found.isEmpty() ? path : dir.filePath(found);
}

QByteArray readFileBytes(const QString& path, qint64 maxBytes)
{
    checkName(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!info.dir().exists())
            throw AppError(ErrorNumber::PathNotFound);
        throw AppError(ErrorNumber::FileNotFound);
    }
    if (info.isDir())
        throw AppError(ErrorNumber::PathFileAccess);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError || !info.isReadable())
            throw AppError(ErrorNumber::PermissionDenied);
        throw AppError(ErrorNumber::DeviceIo);
    }
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        throw AppError(ErrorNumber::DeviceIo);
    return bytes;
}

void writeFileWhole(const QString& path, const QByteArray& bytes)
{
    checkName(path);
    const QFileInfo info(path);
    if (!info.dir().exists())
        throw AppError(ErrorNumber::PathNotFound);
    if (info.isDir())
        throw AppError(ErrorNumber::PathFileAccess);
    QSaveFile file(path);
    // The host's reason for a failed write, taken at once before anything else can touch errno.
    auto fail = [&file](int hostError) -> AppError {
        if (hostError == ENOSPC || hostError == EDQUOT || file.error() == QFileDevice::ResourceError)
            return AppError(ErrorNumber::DiskFull);
        if (hostError == EACCES || file.error() == QFileDevice::PermissionsError)
            return AppError(ErrorNumber::PermissionDenied);
        return AppError(ErrorNumber::DeviceIo);
    };
    // Unbuffered: a buffered write only fills memory and "succeeds", and the flush that fails
    // later inside commit() does not stop QSaveFile from renaming its short temporary file
    // over the target (Qt 6.4), which left an empty settings file on a full disk.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // QSaveFile reports a read-only folder as a plain open error.
        if (!QFileInfo(info.absolutePath()).isWritable())
            throw AppError(ErrorNumber::PermissionDenied);
        throw fail(errno);
    }
    errno = 0;
    const qint64 written = file.write(bytes);
    const int writeError = errno;
    if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        AppError error = fail(writeError);
        file.cancelWriting();
        throw error;
    }
    errno = 0;
    if (!file.commit())
        throw fail(errno);
}

}  // namespace fareboard
