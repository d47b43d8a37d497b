#pragma once

#include "GtfsFeed.h"
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

// A readings file: UTF-8, a comment saying where it comes from, then one "表記,読み" a line,
// each reading as the tape takes it (takeReading). A pair the format cannot carry (a comma or
// line end in the text, a text starting with #) or the tape would refuse (a reading not in
// kana, a text read twice) is left out with a warning naming its line of `translations`.
QByteArray readingsFileBytes(const QString& source, const QString& translations,
                             const std::vector<FeedReading>& readings, QStringList& warnings);

// RFC 4180 CSV in UTF-8 with LF line ends, fields quoted where they need it.
QByteArray csvBytes(const std::vector<QStringList>& rows);
// One field of such a file, added to the end of `out`.
void appendCsvField(QByteArray& out, QStringView field);

}  // namespace fareboard::datatool::gtfs
