#include "StopNames.h"

#include <QRegularExpression>
#include <QStringList>

namespace fareboard::datatool::gtfs {
namespace {

// "N番のりば" in its spellings, N in half- or full-width digits or letters, with or without a
// space or brackets around it: "（２番乗り場）", " 3番乗場", "Ａ番のりば".
const QRegularExpression& boardingPlace()
{
    static const QRegularExpression place(QStringLiteral(
        "[\\s\\x{3000}]*[（(]?([0-9０-９A-Za-zＡ-Ｚａ-ｚ]+)番(?:のりば|乗り場|乗場|のり場|線)[）)]?$"));
    return place;
}

QString hiragana(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(char16_t(c.unicode() - 0x60));
    }
    return out;
}

// The ways a platform number of 1 to 99 is read before 番.
QStringList numberReadings(int n)
{
    static const QStringList ones[10] = {{""},           {"いち"}, {"に"},   {"さん"}, {"よん", "し"},
                                         {"ご"},         {"ろく"}, {"なな", "しち"}, {"はち"}, {"きゅう", "く"}};
    static const QString tens[10] = {"", "じゅう", "にじゅう", "さんじゅう", "よんじゅう",
                                     "ごじゅう", "ろくじゅう", "ななじゅう", "はちじゅう", "きゅうじゅう"};
    QStringList out;
    if (n < 1 || n > 99)
        return out;
    for (const QString& one : ones[n % 10])
        out << tens[n / 10] + one;
    return out;
}

}  // namespace

QString withoutBoardingPlace(const QString& name)
{
    const QRegularExpressionMatch match = boardingPlace().match(name);
    if (!match.hasMatch() || match.capturedStart() == 0)
        return name;
    return name.left(match.capturedStart());
}

QString readingWithoutBoardingPlace(const QString& name, const QString& reading)
{
    const QRegularExpressionMatch match = boardingPlace().match(name);
    if (!match.hasMatch() || match.capturedStart() == 0)
        return reading;
    // The number as written in the name tells how many kana it takes, so the name's own kana
    // before it are never taken for part of it (がすばし・に・ばんのりば).
    QString digits;
    for (QChar c : match.captured(1)) {
        if (c.unicode() >= u'０' && c.unicode() <= u'９')
            c = QChar(char16_t(c.unicode() - u'０' + u'0'));
        if (!c.isDigit())
            return reading;
        digits += c;
    }
    const QString folded = hiragana(reading);
    for (const QString& number : numberReadings(digits.toInt())) {
        for (const char16_t* place : {u"ばんのりば", u"ばんじょうしゃば", u"ばんせん"}) {
            const QString suffix = number + QString::fromUtf16(place);
            if (folded.endsWith(suffix) && folded.size() > suffix.size()) {
                QString stop = reading.left(reading.size() - suffix.size());
                while (stop.endsWith(QChar(0x3000)) || stop.endsWith(QLatin1Char(' ')) || stop.endsWith(QChar(u'、')) ||
                       stop.endsWith(QChar(u'・')))
                    stop.chop(1);
                return stop.isEmpty() ? reading : stop;
            }
        }
    }
    return reading;
}

}  // namespace fareboard::datatool::gtfs
