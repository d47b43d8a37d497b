#include "options/OptionChoices.h"

#include <QChar>

namespace fareboard {

QStringList numberingSchemeTexts()
{
    // Each scheme is its first labels followed by the last ticket number it reaches: schemes
    // that spend the first label on "no ticket" end at 23 when they count from 1.
    struct Scheme {
        const char16_t* pattern;
        int last;
    };
    static constexpr Scheme schemes[] = {
        {u"1,2,3...", 24},
        {u"0,1,2...", 23},
        {u"「なし」、1,2...", 23},
        {u"「なし」、2,3...", 24},
        {u"「無券」、1,2...", 23},
        {u"「無券」、2,3...", 24},
        {u"「券なし」、1,2...", 23},
        {u"「券なし」、2,3...", 24},
        {u"「券無し」、1,2...", 23},
        {u"「券無し」、2,3...", 24},
        {u"(無地)、1,2...", 23},
        {u"(無地)、2,3...", 24},
    };
    QStringList texts;
    for (const Scheme& s : schemes)
        texts << QString::fromUtf16(s.pattern) + QLatin1Char(' ') + QStringLiteral("%1").arg(s.last, 2, 10, QLatin1Char('0'));
    texts[0] += QStringLiteral(" （既定の表示）");
    return texts;
}

QStringList chimeiFontModeTexts()
{
    return {
        QStringLiteral("ゴシック体"),
        QStringLiteral("明朝体"),
        QStringLiteral("漢字はゴシック、それ以外は明朝"),
        QStringLiteral("漢字は明朝、それ以外はゴシック"),
        QStringLiteral("英数字はゴシック、それ以外は明朝"),
    };
}

QString chooserFilterList(std::initializer_list<std::pair<QString, QString>> filters)
{
    const QChar nul(u'\0');
    QString list;
    for (const auto& [description, pattern] : filters)
        list += description + nul + pattern + nul;
    return list + nul;
}

QString soundFilterList()
{
    return chooserFilterList({
        {QStringLiteral("Waveサウンド(*.wav)"), QStringLiteral("*.wav")},
        {QStringLiteral("MP3サウンド(*.mp3)"), QStringLiteral("*.mp3")},
        {QStringLiteral("MIDIシーケンス(*.mid)"), QStringLiteral("*.mid")},
    });
}

QString panelPictureFilterList()
{
    return chooserFilterList({
        {QStringLiteral("ビットマップ(*.bmp)"), QStringLiteral("*.bmp")},
        {QStringLiteral("GIF画像(*.gif)"), QStringLiteral("*.gif")},
        {QStringLiteral("JPEG画像(*.jpg)"), QStringLiteral("*.jpg")},
    });
}

QString fixedDateText(int year, int month, int day)
{
    return QStringLiteral("%1/%2/%3")
        .arg(year)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

std::optional<QDate> parseFixedDate(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    bool okYear = false, okMonth = false, okDay = false;
    const QDate date(parts[0].toInt(&okYear), parts[1].toInt(&okMonth), parts[2].toInt(&okDay));
    if (!okYear || !okMonth || !okDay || !date.isValid())
        return std::nullopt;
    return date;
}

}  // namespace fareboard
