#pragma once

#include <QString>

namespace fareboard {

// Byte-wise text functions on the Shift-JIS form of a text, where a kanji or kana counts two
// bytes and an ASCII or half-width kana character one.

// Length of the text's Shift-JIS form in bytes.
int LenB_ASCII(const QString& text);

// The `length` bytes from 1-based byte position `start` of the text's Shift-JIS form, turned
// back into text; shorter or empty where the text ends. A double-byte character cut in half
// becomes "?", as the host's conversion does.
QString MidB_ASCII(const QString& text, int start, int length);

}  // namespace fareboard
