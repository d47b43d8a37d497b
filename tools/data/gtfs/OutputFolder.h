#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace fareboard::datatool::gtfs {

// Puts `files` (name, bytes) into `folder` and removes the files named in `removed`, all of it
// or none: every file is written beside its place first, the files it replaces are kept aside
// until all are in place, and on any failure they are put back, so the folder is then exactly
// as it was (a folder made for the run is removed again). Throws InputError naming the file
// and the host's reason.
void replaceFiles(const QString& folder, const std::vector<std::pair<QString, QByteArray>>& files,
                  const QStringList& removed);

// Writes `bytes` to `path`, creating or truncating it. Returns the host's reason for a failure
// ("No space left on device"), or an empty text when every byte was written.
QString writeFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace fareboard::datatool::gtfs
