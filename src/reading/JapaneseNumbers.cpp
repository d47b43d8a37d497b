#include "JapaneseNumbers.h"

#include <QRegularExpression>

#include <array>

namespace fareboard {
namespace {

const std::array<QString, 10> kDigit = {
    QStringLiteral("ゼロ"), QStringLiteral("イチ"), QStringLiteral("ニ"),   QStringLiteral("サン"),
    QStringLiteral("ヨン"), QStringLiteral("ゴ"),   QStringLiteral("ロク"), QStringLiteral("ナナ"),
    QStringLiteral("ハチ"), QStringLiteral("キュウ"),
};

// 0..9999 as one group of four digits; `leadingOne` says a lone thousand is "イッセン", as it
// is in front of a larger unit (一千万).
QString groupReading(int value, bool leadingOne)
{
    QString out;
    const int thousands = value / 1000, hundreds = value / 100 % 10, tens = value / 10 % 10, ones = value % 10;
    switch (thousands) {
    case 0: break;
    case 1: out += leadingOne ? QStringLiteral("イッセン") : QStringLiteral("セン"); break;
    case 3: out += QStringLiteral("サンゼン"); break;
    case 8: out += QStringLiteral("ハッセン"); break;
    default: out += kDigit[thousands] + QStringLiteral("セン"); break;
    }
    switch (hundreds) {
    case 0: break;
    case 1: out += QStringLiteral("ヒャク"); break;
    case 3: out += QStringLiteral("サンビャク"); break;
    case 6: out += QStringLiteral("ロッピャク"); break;
    case 8: out += QStringLiteral("ハッピャク"); break;
    default: out += kDigit[hundreds] + QStringLiteral("ヒャク"); break;
    }
    if (tens == 1)
        out += QStringLiteral("ジュウ");
    else if (tens > 1)
        out += kDigit[tens] + QStringLiteral("ジュウ");
    if (ones > 0)
        out += kDigit[ones];
    return out;
}

QString digitByDigit(QStringView digits)
{
    QString out;
    for (QChar c : digits)
        out += kDigit[c.digitValue() < 0 ? 0 : c.digitValue()];
    return out;
}

}  // namespace

QString japaneseNumber(QStringView digits)
{
    qsizetype start = 0;
    while (start < digits.size() - 1 && digits[start] == QLatin1Char('0'))
        ++start;
    digits = digits.mid(start);
    if (digits.isEmpty())
        return QString();
    if (digits.size() > 16)
        return digitByDigit(digits);
    if (digits == QLatin1String("0"))
        return kDigit[0];

    static const std::array<QString, 4> kUnit = {QString(), QStringLiteral("マン"), QStringLiteral("オク"),
                                                 QStringLiteral("チョウ")};
    QString out;
    const qsizetype groups = (digits.size() + 3) / 4;
    for (qsizetype g = groups - 1; g >= 0; --g) {
        const qsizetype end = digits.size() - g * 4;
        const qsizetype begin = std::max<qsizetype>(0, end - 4);
        const int value = digits.mid(begin, end - begin).toInt();
        if (value == 0)
            continue;
        QString part = groupReading(value, g > 0);
        if (g == 3) {
            // 一兆, 八兆, 十兆 shorten their last sound before チョウ.
            if (part.endsWith(QStringLiteral("イチ")) || part.endsWith(QStringLiteral("ハチ")))
                part.back() = QChar(u'ッ');
            else if (part.endsWith(QStringLiteral("ジュウ")))
                part.back() = QChar(u'ッ');
        }
        out += part + kUnit[std::size_t(g)];
    }
    return out;
}

QString spellOutNumbers(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("([0-9]{1,3}(?:,[0-9]{3})+|[0-9]+)(?:\\.([0-9]+))?"));
    QString out;
    qsizetype last = 0;
    auto it = number.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        QString whole = m.captured(1);
        whole.remove(QLatin1Char(','));
        out += japaneseNumber(whole);
        if (m.capturedLength(2) > 0)
            out += QStringLiteral("テン") + digitByDigit(m.capturedView(2));
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

}  // namespace fareboard
