#include "FuzzTarget.h"

#include "platform/ShiftJis.h"

#include <cstdio>
#include <cstdlib>

using namespace fareboard;

std::vector<QByteArray> fuzzSeeds()
{
    const QString japanese = QStringLiteral("市役所前 ～①Ⅱ㈱ ｶﾀｶﾅ 髙﨑 ﾞ ¥‾");
    // Lead bytes without a trail, trails that are not trails, the single bytes code page 932
    // leaves undefined, its vendor extension rows and a NUL inside a character pair.
    const QByteArray edges = QByteArray::fromHex("81 817F 80 A0 FDFEFF ED40 EEEF FA40FC4B F040 82A00082A2 81");
    return {toShiftJis(japanese), japanese.toUtf8(), edges, QByteArray("plain ASCII, 123\r\n"),
            QStringLiteral("絵文字😀と結合文字が\u0301").toUtf8()};
}

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Text that came from Shift-JIS, or went through it once, crosses again unchanged, and its
// length is what the writers of length-prefixed strings reserve for it.
void checkStable(const QString& text)
{
    const QByteArray bytes = toShiftJis(text);
    if (shiftJisLength(text) != bytes.size())
        fail("shiftJisLength disagrees with toShiftJis");
    if (fromShiftJis(bytes) != text)
        fail("text read from Shift-JIS does not survive a write and a read");
}

}  // namespace

// The same bytes are read both as Shift-JIS (as the program reads its files) and as UTF-8 (as
// text typed by a user or read from a UTF-8 file reaches the converters).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QString read = fromShiftJis(bytes);
    if (read.size() > bytes.size())
        fail("more characters than bytes");
    checkStable(read);

    const QString typed = QString::fromUtf8(bytes);
    const QByteArray written = toShiftJis(typed);
    if (shiftJisLength(typed) != written.size())
        fail("shiftJisLength disagrees with toShiftJis");
    // Every character is kept, as itself or as one "?": never dropped, never more than two bytes.
    if (written.size() > 2 * typed.size())
        fail("more than two bytes for a character");
    checkStable(fromShiftJis(written));
    return 0;
}
