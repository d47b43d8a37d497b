#include "mdlIniIo.h"

#include "board/SettingsFile.h"
#include "platform/FileAccess.h"

namespace fareboard::mdlIniIo {

QString settingsFilePath(const QString& folder, const QString& baseName)
{
    return withTrailingSeparator(folder) + baseName + QStringLiteral(".in4");
}

void ReadSettingsFile(const QString& path, SettingsStore& store)
{
    // Decode into a scratch store first: only a completely read file replaces the settings.
    SettingsStore read = SettingsFile::decode(readFileBytes(path, SettingsFile::kMaxBytes));
    store = std::move(read);
}

void WriteSettingsFile(const QString& path, const SettingsStore& store)
{
    writeFileWhole(path, SettingsFile::encode(store));
}

}  // namespace fareboard::mdlIniIo
