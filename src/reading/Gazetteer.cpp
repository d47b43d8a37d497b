#include "Gazetteer.h"

#include <QStringDecoder>

#include <algorithm>
#include <limits>
#include <utility>

namespace fareboard {
namespace {

bool isHiraganaReading(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x3041 && c.unicode() <= 0x3096) || c == u'ー';
    });
}

bool hasKanji(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Han; });
}

}  // namespace

Gazetteer Gazetteer::fromSkkDictionary(QByteArrayView eucJp)
{
    Gazetteer gazetteer;
    // Qt reads EUC-JP through ICU; a Qt built without it reads no gazetteer, and the voice
    // reads names on its own as before.
    QStringDecoder decode("EUC-JP");
    if (!decode.isValid())
        return gazetteer;
    const QString text = decode(eucJp);
    gazetteer.text_.reserve(text.size() * 2);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const qsizetype space = line.indexOf(QLatin1String(" /"));
        if (space <= 0)
            continue;
        const QStringView reading = line.left(space);
        // Lines for letters and marks (">が", "Dongguan") are no readings of a name.
        if (!isHiraganaReading(reading))
            continue;
        for (QStringView word : line.mid(space + 2).split(u'/', Qt::SkipEmptyParts)) {
            const qsizetype semicolon = word.indexOf(u';');
            const QStringView name = semicolon < 0 ? word : word.left(semicolon);
            QStringView note = semicolon < 0 ? QStringView() : word.mid(semicolon + 1);
            if (note.startsWith(u'※'))
                note = note.mid(1);
            if (name.size() < 2 || !hasKanji(name))
                continue;
            gazetteer.add(name, isHiraganaReading(note) ? note : reading);
        }
    }
    gazetteer.finish();
    return gazetteer;
}

void Gazetteer::add(QStringView name, QStringView reading)
{
    constexpr qsizetype kMaxLength = std::numeric_limits<uint16_t>::max();
    if (name.size() > kMaxLength || reading.size() > kMaxLength || text_.size() > std::numeric_limits<int32_t>::max())
        return;
    Place place{uint32_t(text_.size()), 0, uint16_t(name.size()), uint16_t(reading.size())};
    text_ += name;
    place.readingAt = uint32_t(text_.size());
    // Katakana, which every voice reads as written.
    for (QChar c : reading)
        text_ += c == u'ー' ? c : QChar(char16_t(c.unicode() + 0x60));
    places_.push_back(place);
    longest_ = std::max(longest_, name.size());
}

void Gazetteer::finish()
{
    std::stable_sort(places_.begin(), places_.end(),
                     [this](const Place& a, const Place& b) { return nameOf(a) < nameOf(b); });
    // A name listed twice under one reading (once per town that has it) is one reading.
    auto reading = [this](const Place& p) { return QStringView(text_).mid(p.readingAt, p.readingLength); };
    places_.erase(std::unique(places_.begin(), places_.end(),
                              [&](const Place& a, const Place& b) {
                                  return nameOf(a) == nameOf(b) && reading(a) == reading(b);
                              }),
                  places_.end());
    places_.shrink_to_fit();
    text_.squeeze();
}

qsizetype Gazetteer::longestNameAt(QStringView text, qsizetype at) const
{
    for (qsizetype length = std::min(longest_, text.size() - at); length >= 2; --length) {
        if (firstOf(text.mid(at, length)) != places_.end())
            return length;
    }
    return 0;
}

std::vector<Gazetteer::Place>::const_iterator Gazetteer::firstOf(QStringView name) const
{
    const auto it = std::lower_bound(places_.begin(), places_.end(), name,
                                     [this](const Place& p, QStringView n) { return nameOf(p) < n; });
    return it != places_.end() && nameOf(*it) == name ? it : places_.end();
}

QStringList Gazetteer::readingsOf(QStringView name) const
{
    QStringList readings;
    for (auto it = firstOf(name); it != places_.end() && nameOf(*it) == name; ++it) {
        // unique() above leaves a reading that comes back after another one.
        const QString r = QStringView(text_).mid(it->readingAt, it->readingLength).toString();
        if (!readings.contains(r))
            readings << r;
    }
    return readings;
}

int Gazetteer::placesReading(QStringView name, QStringView reading) const
{
    // The towns named after a place, read as the place and the word: 七戸町 シチノヘマチ, 下田東
    // シモダヒガシ. Not any name that starts with it: 下田中 is シモタナカ, 下 and 田中.
    static const std::pair<const char16_t*, const char16_t*> kTownWords[] = {
        {u"町", u"マチ"},   {u"町", u"チョウ"},     {u"村", u"ムラ"},         {u"村", u"ソン"},
        {u"東", u"ヒガシ"}, {u"西", u"ニシ"},       {u"南", u"ミナミ"},       {u"北", u"キタ"},
        {u"台", u"ダイ"},   {u"新田", u"シンデン"}, {u"本町", u"ホンマチ"},   {u"本町", u"ホンチョウ"},
        {u"通", u"ドオリ"}, {u"通", u"トオリ"},     {u"丁目", u"チョウメ"},
    };
    auto reads = [&](QStringView town, QStringView said) {
        for (auto it = firstOf(town); it != places_.end() && nameOf(*it) == town; ++it) {
            if (QStringView(text_).mid(it->readingAt, it->readingLength) == said)
                return true;
        }
        return false;
    };
    int count = reads(name, reading) ? 1 : 0;
    for (const auto& [written, said] : kTownWords) {
        if (reads(name.toString() + QString::fromUtf16(written), reading.toString() + QString::fromUtf16(said)))
            ++count;
    }
    return count;
}

}  // namespace fareboard
