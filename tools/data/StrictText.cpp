#include "StrictText.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace fareboard::datatool {
namespace {

std::optional<QByteArray> convert(const char* to, const char* from, const QByteArray& input)
{
    if (input.isEmpty())
        return QByteArray();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out(input.size() * 2 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    char* dst = out.data();
    size_t dstLeft = size_t(out.size());
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &dstLeft) != size_t(-1))
            break;
        if (errno != E2BIG) {
            ok = false;  // an invalid or unconvertible sequence, or one cut off at the end
            break;
        }
        const auto used = dst - out.data();
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = size_t(out.size() - used);
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.resize(dst - out.data());
    return out;
}

// The Shift-JIS form of every character U+0000..U+FFFF, asked of iconv once: encoding a text is
// then a look-up per character instead of a converter opened per text, and the import encodes
// every stop of every route. Code page 932 has no shift states, so a text's bytes are its
// characters' bytes one after another.
class ShiftJisForms {
public:
    static constexpr quint16 kNone = 0xFFFF;  // no form; no code page 932 byte pair starts with 0xFF
    static constexpr quint16 kAsk = 0xFFFE;   // a form this table cannot hold; iconv converts the text

    ShiftJisForms()
    {
        forms_.fill(kNone);
        iconv_t cd = iconv_open("CP932", "UTF-8");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const QByteArray utf8 = QString(QChar(char16_t(c))).toUtf8();
            char* in = const_cast<char*>(utf8.constData());
            size_t inLeft = size_t(utf8.size());
            char out[8];
            char* dst = out;
            size_t outLeft = sizeof out;
            if (iconv(cd, &in, &inLeft, &dst, &outLeft) == size_t(-1)) {
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                continue;
            }
            const auto n = dst - out;
            forms_[c] = n == 1 ? uchar(out[0]) : n == 2 ? quint16(uchar(out[0]) << 8 | uchar(out[1])) : kAsk;
        }
        iconv_close(cd);
    }
    quint16 operator[](char16_t c) const { return forms_[c]; }

private:
    std::array<quint16, 0x10000> forms_;  // one byte, or the lead byte << 8 | the trail byte
};

}  // namespace

std::optional<QByteArray> encodeShiftJis(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    static const ShiftJisForms forms;
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const quint16 form = c.isSurrogate() ? ShiftJisForms::kAsk : forms[c.unicode()];
        if (form == ShiftJisForms::kAsk)
            return convert("CP932", "UTF-8", text.toUtf8());
        if (form == ShiftJisForms::kNone)
            return std::nullopt;
        if (form > 0xFF)
            out += char(form >> 8);
        out += char(form & 0xFF);
    }
    return out;
}

std::optional<QString> decodeShiftJis(const QByteArray& bytes)
{
    const auto utf8 = convert("UTF-8", "CP932", bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

bool isUtf8(QByteArrayView bytes)
{
    const auto* s = reinterpret_cast<const uchar*>(bytes.data());
    const auto* end = s + bytes.size();
    while (s < end) {
        // Feeds are mostly ASCII ids and numbers: eight bytes at a time while no high bit is set.
        while (end - s >= 8) {
            quint64 eight;
            std::memcpy(&eight, s, 8);
            if (eight & 0x8080808080808080ULL)
                break;
            s += 8;
        }
        if (s == end)
            break;
        const uchar c = *s;
        if (c < 0x80) {
            ++s;
            continue;
        }
        int length;
        char32_t code, least;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2, code = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, code = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, code = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (end - s < length)
            return false;
        for (int k = 1; k < length; ++k) {
            if ((s[k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (s[k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        s += length;
    }
    return true;
}

std::optional<QString> decodeUtf8(const QByteArray& bytes)
{
    // Qt's decoder replaces bad sequences, so they are refused before it sees them.
    if (!isUtf8(bytes))
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

QString firstCharacterWithoutShiftJis(const QString& text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString one = text.mid(i, width);
        if (!encodeShiftJis(one)) {
            const char32_t code = width == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
            const QString hex = QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0'));
            return QStringLiteral("\"%1\" (U+%2)").arg(one, hex);
        }
        i += width;
    }
    return QString();
}

bool looksLikeUtf8(const QByteArray& bytes)
{
    const bool nonAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
    return nonAscii && isUtf8(bytes);
}

QByteArray withoutByteOrderMark(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    return bytes;
}

TextLines splitLines(const QByteArray& bytes)
{
    TextLines result;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            result.lines.append(bytes.mid(start, i - start));
            ++i;
            if (c == '\r' && i < n && bytes[i] == '\n')
                ++i;
            start = i;
            result.endsWithBreak = true;
        } else {
            ++i;
            result.endsWithBreak = false;
        }
    }
    if (start < n)
        result.lines.append(bytes.mid(start));
    return result;
}

}  // namespace fareboard::datatool
