#include "ReadingsFile.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <string_view>
#include <vector>

namespace fareboard {

bool isReadingKana(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x3096) || (u >= 0x309D && u <= 0x309E)  // hiragana, ゝゞ
        || (u >= 0x30A1 && u <= 0x30FA) || (u >= 0x30FC && u <= 0x30FE);  // katakana, ー, ヽヾ
}

bool isKanji(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0xF900 && u <= 0xFAFF)
        || u == 0x3005 || c.isSurrogate();
}

bool joinsKanji(QChar c)
{
    return c == u'ヶ' || c == u'ケ' || c == u'ヵ' || c == u'ノ' || c == u'の' || c == u'が';
}

qsizetype placeNameEnd(QStringView text, qsizetype at)
{
    auto isHan = [](QChar c) { return c.script() == QChar::Script_Han; };
    qsizetype end = at;
    while (end < text.size() && (isHan(text[end]) || (joinsKanji(text[end]) && end + 1 < text.size() && isHan(text[end + 1]))))
        ++end;
    return end;
}

namespace {

constexpr QChar kPause = u'、';

// As they are after folding: a full-width space, comma or period is a plain one, ･ is ・.
bool isPauseMark(QChar c)
{
    return c.isSpace() || c == u'・' || c == u'、' || c == u',' || c == u'.' || c == u'。' || c == u'゠';
}

// Brackets after folding (（ is (, ［ is [, ｢ is 「), each opener at the place of its closer.
constexpr std::u16string_view kOpeners = u"([{「『【〔〈《〖〘〚⦅";
constexpr std::u16string_view kClosers = u")]}」』】〕〉》〗〙〛⦆";

// A bracketed part still open.
struct Part {
    QChar closer;
    qsizetype start;    // its opening bracket's place in the reading
    qsizetype keptAt;   // how much kana was kept when it opened: what a dropped part goes back to
    bool kana = true;   // false once it holds anything but kana
};

}  // namespace

TakenReading takeReading(const QString& written, const QString& reading)
{
    // Most readings are plain kana; they are taken as they stand, at no cost to a large file.
    if (std::all_of(reading.begin(), reading.end(), isReadingKana))
        return {written, reading, {}};
    const QString folded = reading.normalized(QString::NormalizationForm_KC);
    TakenReading out{written, {}, {}};
    QString& kept = out.reading;
    bool pauseDue = false;
    // Brackets nest, so the parts still open are kept as a stack rather than by recursion,
    // which a line of a million brackets would overflow; all parts keep their kana in one
    // string, so closing one costs nothing.
    std::vector<Part> open;
    QString annotation;        // the last part dropped at the top level ...
    qsizetype keptAfter = -1;  // ... while nothing has been kept after it
    auto close = [&](qsizetype end) {
        const Part part = open.back();
        open.pop_back();
        pauseDue = true;
        if (part.kana)
            return;
        kept.truncate(part.keptAt);
        if (open.empty()) {
            annotation = folded.mid(part.start, end - part.start);
            keptAfter = kept.size();
        }
    };
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const QChar c = folded[i];
        if (const auto at = kOpeners.find(c.unicode()); at != std::u16string_view::npos) {
            pauseDue = true;
            open.push_back(Part{QChar(kClosers[at]), i, kept.size()});
        } else if (!open.empty() && c == open.back().closer) {
            close(i + 1);
        } else if (isPauseMark(c) || kClosers.find(c.unicode()) != std::u16string_view::npos) {
            pauseDue = true;  // a closer without its opener is a stray mark like a period
        } else if (isReadingKana(c)) {
            if (pauseDue && !kept.isEmpty())
                kept += kPause;
            pauseDue = false;
            kept += c;
        } else if (!open.empty()) {
            open.back().kana = false;
        } else if (out.notKana.isEmpty()) {
            const bool pair = c.isHighSurrogate() && i + 1 < folded.size() && folded[i + 1].isLowSurrogate();
            out.notKana = folded.mid(i, pair ? 2 : 1);
        }
    }
    while (!open.empty())
        close(folded.size());

    const QString name = written.trimmed();
    if (keptAfter == kept.size() && name.size() > annotation.size() &&
        name.right(annotation.size()).normalized(QString::NormalizationForm_KC) == annotation)
        out.written = name.chopped(annotation.size()).trimmed();
    return out;
}

ReadingsFileContents parseReadingsFile(const QByteArray& bytes)
{
    ReadingsFileContents out;
    QHash<QString, int> firstLine;
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);

    int lineNumber = 0;
    while (!rest.isEmpty()) {
        ++lineNumber;
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView raw = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (raw.endsWith('\r'))
            raw.chop(1);

        auto bad = [&](const QString& reason) { out.bad.push_back({lineNumber, reason}); };
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decode(raw);
        if (decode.hasError()) {
            bad(QStringLiteral("not UTF-8"));
            continue;
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;

        const qsizetype comma = trimmed.indexOf(QLatin1Char(','));
        if (comma < 0) {
            bad(QStringLiteral("no comma; a line is 表記,読み"));
            continue;
        }
        if (trimmed.indexOf(QLatin1Char(','), comma + 1) >= 0) {
            bad(QStringLiteral("more than one comma; a line is 表記,読み"));
            continue;
        }
        ReadingLine entry{trimmed.left(comma).trimmed(), trimmed.mid(comma + 1).trimmed(), lineNumber};
        if (entry.written.isEmpty()) {
            bad(QStringLiteral("the written form (before the comma) is empty"));
            continue;
        }
        if (entry.reading.isEmpty()) {
            bad(QStringLiteral("the reading (after the comma) is empty"));
            continue;
        }
        const TakenReading taken = takeReading(entry.written, entry.reading);
        if (!taken.notKana.isEmpty()) {
            bad(QStringLiteral("the reading has '%1'; write it in hiragana or katakana").arg(taken.notKana));
            continue;
        }
        if (taken.reading.isEmpty()) {
            bad(QStringLiteral("the reading has no kana"));
            continue;
        }
        entry.written = taken.written;
        entry.reading = taken.reading;
        if (const auto seen = firstLine.constFind(entry.written); seen != firstLine.constEnd()) {
            bad(QStringLiteral("'%1' is already read on line %2").arg(entry.written).arg(*seen));
            continue;
        }
        firstLine.insert(entry.written, lineNumber);
        out.entries.push_back(std::move(entry));
    }
    return out;
}

}  // namespace fareboard
