#include "ByteText.h"

#include "platform/ShiftJis.h"

namespace fareboard {

int LenB_ASCII(const QString& text) { return shiftJisLength(text); }

QString MidB_ASCII(const QString& text, int start, int length)
{
    if (start < 1 || length <= 0)
        return {};
    const QByteArray bytes = toShiftJis(text);
    if (start > bytes.size())
        return {};
    return fromShiftJis(bytes.mid(start - 1, length));
}

}  // namespace fareboard
