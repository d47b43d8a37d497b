#include "SpokenText.h"

#include "JapaneseNumbers.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <functional>

namespace fareboard {
namespace {

QString folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

bool isHiragana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x309F;
}

bool endsName(QChar c)
{
    // Anything but hiragana and punctuation: kanji, katakana, letters, digits.
    return !isHiragana(c) && !c.isPunct() && !c.isSpace();
}

// How a counter changes the sound of the number before it, by the number reading's ending.
struct CounterRule {
    const char16_t* counter;
    const char16_t* reading;  // after a number with no special ending
    std::vector<std::pair<const char16_t*, const char16_t*>> endings;  // ending → ending + counter
};

const std::vector<CounterRule>& counterRules()
{
    // Longer counters first: 番線 before 番.
    static const std::vector<CounterRule> rules = {
        {u"丁目", u"チョウメ", {{u"イチ", u"イッチョウメ"}, {u"ハチ", u"ハッチョウメ"}, {u"ジュウ", u"ジュッチョウメ"}}},
        {u"番線", u"バンセン", {}},
        {u"番地", u"バンチ", {}},
        {u"番", u"バン", {}},
        {u"号", u"ゴウ", {}},
        // Sapporo's street blocks: 4条 よじょう, 7条 しちじょう, 9条 くじょう.
        {u"条", u"ジョウ", {{u"ヨン", u"ヨジョウ"}, {u"ナナ", u"シチジョウ"}, {u"キュウ", u"クジョウ"}}},
        {u"線", u"セン", {{u"イチ", u"イッセン"}, {u"ハチ", u"ハッセン"}, {u"ジュウ", u"ジュッセン"}}},
        {u"時", u"ジ", {{u"ゼロ", u"レイジ"}, {u"ヨン", u"ヨジ"}, {u"ナナ", u"シチジ"}, {u"キュウ", u"クジ"}}},
        {u"分",
         u"フン",
         {{u"イチ", u"イップン"}, {u"サン", u"サンプン"}, {u"ヨン", u"ヨンプン"}, {u"ロク", u"ロップン"},
          {u"ハチ", u"ハップン"}, {u"ジュウ", u"ジュップン"}, {u"ヒャク", u"ヒャップン"}}},
        {u"円", u"エン", {{u"ヨン", u"ヨエン"}}},
        {u"回",
         u"カイ",
         {{u"イチ", u"イッカイ"}, {u"ロク", u"ロッカイ"}, {u"ハチ", u"ハッカイ"}, {u"ジュウ", u"ジュッカイ"},
          {u"ヒャク", u"ヒャッカイ"}}},
        {u"階",
         u"カイ",
         {{u"イチ", u"イッカイ"}, {u"サン", u"サンガイ"}, {u"ロク", u"ロッカイ"}, {u"ハチ", u"ハッカイ"},
          {u"ジュウ", u"ジュッカイ"}, {u"ヒャク", u"ヒャッカイ"}}},
    };
    return rules;
}

QString counterReading(const QString& digits, const CounterRule& rule)
{
    const QString number = japaneseNumber(digits);
    for (const auto& [ending, replacement] : rule.endings) {
        const QString e = QString::fromUtf16(ending);
        if (number.endsWith(e))
            return number.chopped(e.size()) + QString::fromUtf16(replacement);
    }
    return number + QString::fromUtf16(rule.reading);
}

const std::array<const char16_t*, 26> kLetterNames = {
    u"エー", u"ビー", u"シー", u"ディー", u"イー", u"エフ", u"ジー", u"エイチ", u"アイ",
    u"ジェイ", u"ケー", u"エル", u"エム", u"エヌ", u"オー", u"ピー", u"キュー", u"アール",
    u"エス", u"ティー", u"ユー", u"ブイ", u"ダブリュー", u"エックス", u"ワイ", u"ゼット",
};

// Spelled-out long vowels and ー made the same, so that only what a listener hears counts.
QString heard(const QString& reading)
{
    static const QString aRow = QStringLiteral("アカサタナハマヤラワガザダバパャァ");
    static const QString iRow = QStringLiteral("イキシチニヒミリギジヂビピィ");
    static const QString uRow = QStringLiteral("ウクスツヌフムユルグズヅブプュゥヴ");
    static const QString eRow = QStringLiteral("エケセテネヘメレゲゼデベペェ");
    static const QString oRow = QStringLiteral("オコソトノホモヨロゴゾドボポョォヲ");
    QString out;
    for (QChar c : toKatakana(reading)) {
        if (c == u'ー' && !out.isEmpty()) {
            const QChar last = out.back();
            if (aRow.contains(last)) c = u'ア';
            else if (iRow.contains(last)) c = u'イ';
            else if (uRow.contains(last)) c = u'ウ';
            else if (eRow.contains(last)) c = u'エ';
            else if (oRow.contains(last)) c = u'オ';
        }
        if (c.isPunct() || c.isSpace())
            continue;
        out += c;
    }
    // エイ is said エー, オウ is said オー.
    for (qsizetype i = 1; i < out.size(); ++i) {
        if (out[i] == u'イ' && eRow.contains(out[i - 1]))
            out[i] = u'エ';
        else if (out[i] == u'ウ' && oRow.contains(out[i - 1]))
            out[i] = u'オ';
    }
    out.replace(QChar(u'ヲ'), QChar(u'オ'));
    out.replace(QChar(u'ヂ'), QChar(u'ジ'));
    out.replace(QChar(u'ヅ'), QChar(u'ズ'));
    return out;
}

}  // namespace

void ReadingTable::add(const QString& written, const QString& reading, bool afterNameOnly)
{
    const QString form = folded(written);
    if (form.isEmpty())
        return;
    forms_.insert(form, Entry{form, toKatakana(folded(reading)), afterNameOnly});
    std::vector<qsizetype>& lengths = lengthsByFirst_[form.front()];
    const auto at = std::lower_bound(lengths.begin(), lengths.end(), form.size(), std::greater<>());
    if (at == lengths.end() || *at != form.size())
        lengths.insert(at, form.size());
}

void ReadingTable::addAll(const std::vector<ReadingLine>& lines)
{
    forms_.reserve(forms_.size() + qsizetype(lines.size()));
    for (const ReadingLine& line : lines)
        add(line.written, line.reading);
}

const ReadingTable::Entry* ReadingTable::match(const QString& text, qsizetype at) const
{
    const auto lengths = lengthsByFirst_.constFind(text[at]);
    if (lengths == lengthsByFirst_.constEnd())
        return nullptr;
    const qsizetype left = text.size() - at;
    for (const qsizetype length : *lengths) {
        if (length > left)
            continue;
        const auto e = forms_.constFind(text.mid(at, length));
        if (e == forms_.constEnd())
            continue;
        if (e->afterNameOnly && (at == 0 || !endsName(text[at - 1])))
            continue;
        return &*e;
    }
    return nullptr;
}

QString ReadingTable::apply(const QString& text) const
{
    return apply(text, ReadingTable());
}

QString ReadingTable::apply(const QString& text, const ReadingTable& over) const
{
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const Entry* e = over.match(text, i);
        if (!e)
            e = match(text, i);
        if (e) {
            out += e->reading;
            i += e->written.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

QString toKatakana(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if ((u >= 0x3041 && u <= 0x3096) || u == 0x309D || u == 0x309E)
            c = QChar(char16_t(u + 0x60));
    }
    return out;
}

QString readCounters(const QString& text)
{
    static const QRegularExpression pattern = [] {
        QStringList counters;
        for (const CounterRule& rule : counterRules())
            counters << QString::fromUtf16(rule.counter);
        // Not inside a larger number such as 1,200 or 2.5.
        return QRegularExpression(QStringLiteral("(?<![0-9][,.])(?<![0-9])([0-9]{1,8})(%1)").arg(counters.join(u'|')));
    }();
    QString out;
    qsizetype last = 0;
    auto it = pattern.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString counter = m.captured(2);
        const auto rule = std::find_if(counterRules().begin(), counterRules().end(),
                                       [&](const CounterRule& r) { return counter == QString::fromUtf16(r.counter); });
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += counterReading(m.captured(1), *rule);
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QString readLatinLetters(const QString& text)
{
    QString out;
    for (QChar c : text) {
        const char16_t u = c.toUpper().unicode();
        if (u >= u'A' && u <= u'Z')
            out += QString::fromUtf16(kLetterNames[std::size_t(u - u'A')]);
        else
            out += c;
    }
    return out;
}

QString spokenText(const QString& text, const ReadingTable& folderReadings)
{
    return readLatinLetters(readCounters(builtinReadings().apply(folded(text), folderReadings)));
}

bool sameReading(const QString& a, const QString& b)
{
    return heard(a) == heard(b);
}

}  // namespace fareboard
