#pragma once

#include <QByteArray>
#include <QString>

namespace fareboard::datatool {

// Broadcast data is edited as UTF-8 and read by the program as Shift-JIS with CR LF line ends.
// Both conversions keep every line, end every line as the target expects and refuse (with an
// InputError naming the line) anything they cannot convert exactly.

// UTF-8 (an optional byte order mark; any line ends) to Shift-JIS with CR LF.
QByteArray broadcastToShiftJis(const QByteArray& utf8, const QString& fileName);

// Shift-JIS (any line ends) to UTF-8 with LF.
QByteArray broadcastToUtf8(const QByteArray& shiftJis, const QString& fileName);

}  // namespace fareboard::datatool
