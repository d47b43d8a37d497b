#pragma once

#include "platform/glyphs/GlyphSource.h"

#include <QPoint>
#include <QString>

namespace fareboard {

// How one character of a name is drawn in a vertical column: the glyphs are made for
// horizontal writing, so some characters are replaced, turned or moved in their cell.
struct VerticalForm {
    QString text;          // what to draw; the long vowel mark becomes a vertical stroke
    QPoint offset;         // where in the 16 x 16 cell the top of the text line goes
    bool transposed = false;  // cell pixel (c, r) becomes dot (r, c)
};

// `character` is one drawing unit of a name; `fontMode` matters only for the two kanji whose
// gothic glyphs sit one dot left of the column's centre line.
VerticalForm verticalForm(const QString& character, int fontMode);

// The Shift-JIS code of the first character: lead byte x 256 + trail byte for a double-byte
// character, the byte itself for a single-byte one; 0 for an empty text.
int shiftJisCode(const QString& text);

// The face of a character under `fontMode`: 1 mincho throughout; 2 gothic kanji with mincho
// kana and symbols; 3 the reverse; 4 gothic full-width digits and Latin letters with mincho for
// the rest; anything else gothic throughout.
GlyphFace chimeiFace(const QString& character, int fontMode);

}  // namespace fareboard
