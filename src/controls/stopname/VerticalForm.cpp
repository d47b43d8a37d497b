#include "VerticalForm.h"

#include "platform/ShiftJis.h"

#include <QStringList>

namespace fareboard {
namespace {

// Brackets, arrows and the two stroke-like symbols lie across the line in horizontal text and
// must run along it in a vertical column.
bool isTurned(const QString& c)
{
    static const QStringList turned = {
        QStringLiteral("（"), QStringLiteral("）"), QStringLiteral("『"), QStringLiteral("』"),
        QStringLiteral("〔"), QStringLiteral("〕"), QStringLiteral("「"), QStringLiteral("」"),
        QStringLiteral("［"), QStringLiteral("］"), QStringLiteral("＜"), QStringLiteral("＞"),
        QStringLiteral("｛"), QStringLiteral("｝"), QStringLiteral("〈"), QStringLiteral("〉"),
        QStringLiteral("《"), QStringLiteral("》"), QStringLiteral("【"), QStringLiteral("】"),
        QStringLiteral("～"), QStringLiteral("＝"), QStringLiteral("→"), QStringLiteral("←"),
        QStringLiteral("⇒"), QStringLiteral("⇔"),
    };
    return turned.contains(c);
}

bool isDoubleByteLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

VerticalForm verticalForm(const QString& character, int fontMode)
{
    if (character == QStringLiteral("ー"))
        return {QStringLiteral("丨"), {0, 0}, false};
    if (character == QStringLiteral("申") || character == QStringLiteral("山")) {
        const bool gothicShift = fontMode == 0 || fontMode == 2;
        return {character, gothicShift ? QPoint(1, 0) : QPoint(0, 0), false};
    }
    if (isTurned(character))
        return {character, {0, 0}, true};
    // Small punctuation sits in the lower left of a horizontal cell and in the upper right of
    // a vertical one.
    if (character == QStringLiteral("。") || character == QStringLiteral("、"))
        return {character, {10, -10}, false};
    return {character, {0, 0}, false};
}

int shiftJisCode(const QString& text)
{
    const QByteArray bytes = toShiftJis(text);
    if (bytes.isEmpty())
        return 0;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (isDoubleByteLead(lead) && bytes.size() >= 2)
        return lead * 256 + static_cast<unsigned char>(bytes[1]);
    return lead;
}

GlyphFace chimeiFace(const QString& character, int fontMode)
{
    const int code = shiftJisCode(character);
    // Double-byte codes below the first kanji are symbols, full-width digits and letters, kana.
    const bool beforeKanji = code >= 0x8000 && code <= 0x889E;
    switch (fontMode) {
    case 1:
        return GlyphFace::Mincho;
    case 2:
        return beforeKanji ? GlyphFace::Mincho : GlyphFace::Gothic;
    case 3:
        return beforeKanji ? GlyphFace::Gothic : GlyphFace::Mincho;
    case 4:
        return code >= 0x824F && code <= 0x829A ? GlyphFace::Gothic : GlyphFace::Mincho;
    default:
        return GlyphFace::Gothic;
    }
}

}  // namespace fareboard
