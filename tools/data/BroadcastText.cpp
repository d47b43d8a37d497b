#include "BroadcastText.h"

#include "InputError.h"
#include "StrictText.h"

namespace fareboard::datatool {

QByteArray broadcastToShiftJis(const QByteArray& utf8, const QString& fileName)
{
    const TextLines text = splitLines(withoutByteOrderMark(utf8));
    QByteArray out;
    for (int i = 0; i < text.lines.size(); ++i) {
        const int line = i + 1;
        const auto decoded = decodeUtf8(text.lines[i]);
        if (!decoded)
            throw InputError(fileName, line, QStringLiteral("not valid UTF-8 (is the file Shift-JIS already?)"));
        const auto encoded = encodeShiftJis(*decoded);
        if (!encoded)
            throw InputError(fileName, line,
                             QStringLiteral("%1 cannot be written in Shift-JIS").arg(firstCharacterWithoutShiftJis(*decoded)));
        out += *encoded;
        if (i + 1 < text.lines.size() || text.endsWithBreak)
            out += "\r\n";
    }
    return out;
}

QByteArray broadcastToUtf8(const QByteArray& shiftJis, const QString& fileName)
{
    if (looksLikeUtf8(shiftJis))
        throw InputError(fileName, 0, QStringLiteral("the file is UTF-8 already"));
    const TextLines text = splitLines(shiftJis);
    QByteArray out;
    for (int i = 0; i < text.lines.size(); ++i) {
        const auto decoded = decodeShiftJis(text.lines[i]);
        if (!decoded)
            throw InputError(fileName, i + 1, QStringLiteral("not valid Shift-JIS"));
        out += decoded->toUtf8();
        if (i + 1 < text.lines.size() || text.endsWithBreak)
            out += '\n';
    }
    return out;
}

}  // namespace fareboard::datatool
