#pragma once

#include <QByteArray>
#include <QString>

namespace fareboard {

// Folder names typed by users or stored in settings may lack the final separator; the
// readers append file names directly, so every folder setting passes through here first.
QString withTrailingSeparator(const QString& folder);

// Files made on Windows arrive with any letter case ("12.HY3", "12TP.CSV"). When `path` does
// not exist, the one entry of its folder whose name matches it ignoring case is returned;
// when there is none, or more than one, `path` itself.
QString resolveIgnoringCase(const QString& path);

// Reads at most `maxBytes` from the start of the file. Throws AppError with the host's number:
// 52 bad name, 53 missing file, 76 missing folder, 70 no permission, 75 a folder, 57 I/O.
QByteArray readFileBytes(const QString& path, qint64 maxBytes);

// Writes the file whole or not at all: a temporary file beside the target is filled, flushed
// and renamed over it, so a crash or a full disk leaves the previous file as it was.
// Throws AppError (76 missing folder, 70 no permission, 61 disk full, 57 other I/O).
void writeFileWhole(const QString& path, const QByteArray& bytes);

}  // namespace fareboard
