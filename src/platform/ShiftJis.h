#pragma once

#include <QByteArray>
#include <QString>

namespace fareboard {

// Text inside the program is Unicode; files, byte lengths and the plug-in interface use the
// Windows variant of Shift-JIS (code page 932). These are the only crossings between the two.

// Characters that code page 932 cannot hold become "?" (one byte), never dropped, so byte
// lengths stay predictable.
QByteArray toShiftJis(const QString& text);

// Bytes that are not valid code page 932 become "?" each; the rest of the text is kept.
QString fromShiftJis(const QByteArray& bytes);

// Length of the text's Shift-JIS form in bytes.
int shiftJisLength(const QString& text);

}  // namespace fareboard
