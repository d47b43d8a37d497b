#include "mdlIniIo.h"

#include "board/SettingsFile.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"

#include <QFileInfo>

#include <algorithm>

namespace fareboard::mdlIniIo {

QString settingsFilePath(const QString& folder, const QString& baseName)
{
    return withTrailingSeparator(folder) + baseName + QStringLiteral(".in4");
}

void ReadSettingsFile(const QString& path, SettingsStore& store, QByteArray* damaged)
{
    const QByteArray bytes = readFileBytes(path, SettingsFile::kMaxBytes);
    // Decode into a scratch store first: only a completely read file replaces the settings.
    SettingsStore read;
    if (!SettingsFile::decodeOver(bytes, read)) {
        if (damaged)
            *damaged = bytes;
        throw AppError(ErrorNumber::InputPastEndOfFile);
    }
    store = std::move(read);
}

QString damagedCopyPath(const QString& path)
{
    return path + QStringLiteral(".damaged");
}

void KeepDamagedFile(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return;
    writeFileWhole(damagedCopyPath(path), readFileBytes(path, std::max<qint64>(file.size(), 1)));
}

void WriteSettingsFile(const QString& path, const SettingsStore& store)
{
    writeFileWhole(path, SettingsFile::encode(store));
}

}  // namespace fareboard::mdlIniIo
