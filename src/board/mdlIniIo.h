#pragma once

#include "board/SettingsStore.h"

#include <QString>

namespace fareboard::mdlIniIo {

// <folder>/<base name>.in4: the settings file follows the executable's own name.
QString settingsFilePath(const QString& folder, const QString& baseName);

// Reads the whole file into `store`. A missing file (53), a bad name (52), a file that ends
// early (62) or any other file error is thrown as AppError and leaves `store` untouched. A file
// that ends early still holds the fields before its end: `damaged`, when given, gets its bytes.
void ReadSettingsFile(const QString& path, SettingsStore& store, QByteArray* damaged = nullptr);

// Where the settings file that failed to load is kept before the first save over it.
QString damagedCopyPath(const QString& path);

// Copies the settings file to damagedCopyPath, whole or not at all, replacing an older copy;
// nothing when there is no file. Errors thrown as AppError.
void KeepDamagedFile(const QString& path);

// Writes `store` whole or not at all (the old file stays on failure); errors thrown as AppError.
void WriteSettingsFile(const QString& path, const SettingsStore& store);

}  // namespace fareboard::mdlIniIo
