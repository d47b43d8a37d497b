#include "BoardText.h"

#include "StrictText.h"

namespace fareboard::datatool::gtfs {
namespace {

bool isHalfWidthKana(char16_t c) { return c >= 0xFF61 && c <= 0xFF9F; }

// Half-width katakana are one byte in Shift-JIS, half a cell on the board; their full-width
// forms are what the name means. A sound mark after a kana joins it (ｶﾞ is ガ) where Shift-JIS
// has the joined character, and otherwise stands as ゛ or ゜. Returns how many characters of
// `name` from `i` it used.
qsizetype widenKana(const QString& name, qsizetype i, QString& out)
{
    const char16_t c = name[i].unicode();
    if (c == 0xFF9E || c == 0xFF9F) {
        out += QChar(c == 0xFF9E ? 0x309B : 0x309C);
        return 1;
    }
    const QString base = QString(QChar(c)).normalized(QString::NormalizationForm_KC);
    if (i + 1 < name.size()) {
        const char16_t mark = name[i + 1].unicode();
        if (mark == 0xFF9E || mark == 0xFF9F) {
            const QString joined =
                (base + QChar(mark == 0xFF9E ? 0x3099 : 0x309A)).normalized(QString::NormalizationForm_C);
            if (joined.size() == 1 && encodeShiftJis(joined)) {
                out += joined;
                return 2;
            }
        }
    }
    out += base;
    return 1;
}

}  // namespace

BoardText toBoardText(const QString& name)
{
    BoardText out;
    out.text.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c == u' ') {
            out.text += QChar(0x3000);
        } else if (c > 0x20 && c < 0x7F) {
            out.text += QChar(char16_t(c - 0x21 + 0xFF01));
        } else if (c < 0x20 || c == 0x7F) {
            // Control characters are no part of a name; a tab or line end is a space.
            out.text += QChar(0x3000);
        } else if (isHalfWidthKana(c)) {
            i += widenKana(name, i, out.text) - 1;
        } else if (c == 0x00A5 || c == 0x203E) {
            // Shift-JIS writes ¥ and ‾ in one byte, where ASCII has \ and ~; the board needs two.
            out.text += QChar(c == 0x00A5 ? 0xFFE5 : 0xFFE3);
        } else {
            const qsizetype length = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
            const QString character = name.mid(i, length);
            i += length - 1;
            if (encodeShiftJis(character)) {
                out.text += character;
            } else {
                out.text += QChar(0x3013);
                out.replaced += character;
            }
        }
    }
    return out;
}

}  // namespace fareboard::datatool::gtfs
