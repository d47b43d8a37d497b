#pragma once

#include "board/SettingsStore.h"

#include <QByteArray>
#include <QString>

namespace fareboard::SettingsFile {

// The settings file's bytes: the eleven records back to back, little-endian, no header and no
// padding; a string is a 16-bit Shift-JIS byte length followed by the bytes.
QByteArray encode(const SettingsStore& store);

// The inverse of encode. The stored digit count is read and ignored: there are always 24
// digit entries. AppError 62 when the bytes end before the last record; then nothing is
// returned, so a truncated file can never half-overwrite the settings.
SettingsStore decode(const QByteArray& bytes);

// What a file that ends early still holds: every field read before the end replaces its value
// in `store`, in file order; the fields after it keep the values `store` had. True when the
// whole layout was there.
bool decodeOver(const QByteArray& bytes, SettingsStore& store);

// Every string can be at most 65535 bytes and there are 21 of them; nothing past this is read.
constexpr qint64 kMaxBytes = 21 * (2 + 65535) + 512;

}  // namespace fareboard::SettingsFile
