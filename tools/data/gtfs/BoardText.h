#pragma once

#include <QString>

namespace fareboard::datatool::gtfs {

// A name as the board can show it. The dot column draws two bytes a character, so what
// Shift-JIS writes in one byte becomes its full-width form: printable ASCII (digits, letters,
// spaces, signs) and half-width katakana, their sound marks joined (ﾋﾟ is ピ). A character
// Shift-JIS cannot hold becomes 〓, the mark Japanese printing uses for a missing glyph.
struct BoardText {
    QString text;
    QString replaced;  // the characters that became 〓, for the warning
};

BoardText toBoardText(const QString& name);

// Names longer than this scroll on the board; worth a word when importing.
constexpr int kLongNameCharacters = 20;

}  // namespace fareboard::datatool::gtfs
