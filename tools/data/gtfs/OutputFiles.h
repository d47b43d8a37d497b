#pragma once

#include "announce/BroadcastData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace fareboard::datatool::gtfs {

// Broadcast data as the tape reads it: Shift-JIS, CR LF, each text in quotes. The texts are
// the import's own with names in the board's form, so every character has a Shift-JIS form
// and none is a quote.
QByteArray tapeFileBytes(const std::vector<TapeEntry>& tape);

// A readings file: UTF-8, a comment saying where it comes from, then one "表記,読み" a line.
// A pair the format cannot carry (a comma or line end in either, a text starting with #, a
// reading not in kana) is left out with a warning.
QByteArray readingsFileBytes(const QString& source, const std::vector<std::pair<QString, QString>>& readings,
                             QStringList& warnings);

// RFC 4180 CSV in UTF-8 with LF line ends, fields quoted where they need it.
QByteArray csvBytes(const std::vector<QStringList>& rows);

}  // namespace fareboard::datatool::gtfs
