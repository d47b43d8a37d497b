#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace fareboard::datatool {

// The program's own conversions turn what they cannot convert into "?", which suits showing
// text but not making files: the tool must refuse a character instead of quietly losing it.

// Shift-JIS (code page 932) bytes of `text`, or nothing when a character has no Shift-JIS form.
std::optional<QByteArray> encodeShiftJis(const QString& text);
// The text of `bytes`, or nothing when they are not valid code page 932.
std::optional<QString> decodeShiftJis(const QByteArray& bytes);
// The text of `bytes`, or nothing when they are not valid UTF-8.
std::optional<QString> decodeUtf8(const QByteArray& bytes);
// True when `bytes` are valid UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF,
// no sequence cut off.
bool isUtf8(QByteArrayView bytes);

// The first character (a whole code point) of `text` that Shift-JIS cannot hold, described for
// a person: "髙" (U+9AD9). Empty when every character has a form.
QString firstCharacterWithoutShiftJis(const QString& text);

// True when `bytes` hold non-ASCII text that is valid UTF-8: Japanese text in Shift-JIS is
// practically never valid UTF-8, so this tells the two apart.
bool looksLikeUtf8(const QByteArray& bytes);

// Strips a UTF-8 byte order mark, which spreadsheet programs put at the start of CSV files.
QByteArray withoutByteOrderMark(const QByteArray& bytes);

// A text file cut into lines: CR LF, CR or LF ends a line; `endsWithBreak` tells whether the
// last line had an ending (an empty last piece is then not a line).
struct TextLines {
    QList<QByteArray> lines;
    bool endsWithBreak = false;
};
TextLines splitLines(const QByteArray& bytes);

}  // namespace fareboard::datatool
