#include "BoardText.h"

#include "StrictText.h"

namespace fareboard::datatool::gtfs {

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
