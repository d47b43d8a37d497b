#include "PlaceReadings.h"

#include "reading/ReadingsFile.h"
#include "reading/SpokenText.h"

#include <algorithm>
#include <numeric>

namespace fareboard {
namespace {

bool isHan(QChar c)
{
    return c.script() == QChar::Script_Han;
}

// After one of these, kanji go on a name whose start was read already (a reading the
// readings file gave, in katakana, or a letter or number).
bool goesOnName(QChar c)
{
    return (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA) || c == u'ー' || (c.unicode() < 0x2E80 && c.isLetterOrNumber());
}

const char16_t* const kStationWords[] = {u"駅前", u"駅"};

// How the endings of names are said. Bridges and mouths take the voiced sound after a name
// (赤羽橋 あかばねばし, 金山口 かなやまぐち) but not after の (中ノ橋 なかのはし), and so do the
// ends of a bridge (北山橋東詰 ひがしづめ); a stop named after the slope above or below says
// 坂上 ざかうえ, 坂下 ざかした; and a last 上 or 下 is the upper or lower stop of a place (下市上
// しもいちかみ, 牟佐下 むさしも). Abbreviated schools: 赤坂小前 あかさかしょうまえ. Words read so
// already, and the few where the rule is wrong, are kept as they are (an empty reading) so the
// voice reads them itself.
struct Ending {
    const char16_t* written;
    const char16_t* reading;         // empty: left to the voice
    const char16_t* afterNo = nullptr;  // the reading after の or ノ
    bool lastOnly = false;           // only as the last character of the name
};

const Ending kEndings[] = {
    {u"歩道橋", u""},
    {u"入口", u""},
    {u"出口", u""},
    {u"東口", u""},
    {u"西口", u""},
    {u"南口", u""},
    {u"北口", u""},
    {u"陸橋", u""},
    {u"鉄橋", u""},
    {u"大橋", u"オオハシ"},
    {u"高橋", u"タカハシ"},
    {u"坂上", u"ザカウエ"},
    {u"坂下", u"ザカシタ"},
    {u"小前", u"ショウマエ"},
    {u"中前", u"チュウマエ"},
    {u"高前", u"コウマエ"},
    {u"地下", u""},
    {u"城下", u""},
    {u"天下", u""},
    {u"東詰", u"ヒガシヅメ"},
    {u"西詰", u"ニシヅメ"},
    {u"南詰", u"ミナミヅメ"},
    {u"北詰", u"キタヅメ"},
    {u"橋", u"バシ", u"ハシ"},
    {u"口", u"グチ", u"クチ"},
    {u"上", u"カミ", nullptr, true},
    {u"下", u"シモ", nullptr, true},
};

const Ending* endingAt(QStringView name, qsizetype at)
{
    for (const Ending& e : kEndings) {
        const QStringView written(e.written);
        if (!name.mid(at).startsWith(written))
            continue;
        if (e.lastOnly && at + written.size() != name.size())
            continue;
        return &e;
    }
    return nullptr;
}

int editDistance(QStringView a, QStringView b)
{
    std::vector<int> row(std::size_t(b.size()) + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[std::size_t(j)];
            row[std::size_t(j)] = std::min({above + 1, row[std::size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// Names in 町 are ちょう in one town and まち in the next; where the gazetteer gives both, the
// rule's ending is kept.
QStringList townReadings(const QString& name, const QStringList& readings, const QString& ending)
{
    if (ending.isEmpty() || !name.endsWith(u'町'))
        return readings;
    QStringList kept;
    bool other = false;
    for (const QString& r : readings) {
        if (r.endsWith(ending))
            kept << r;
        else if (r.endsWith(QStringLiteral("チョウ")) || r.endsWith(QStringLiteral("マチ")))
            other = true;
    }
    return !kept.isEmpty() && other ? kept : readings;
}

// The words of position a place name starts with, read as names say them: 上 かみ, 下 しも.
struct Position {
    char16_t written;
    const char16_t* reading;
};

const Position kPositions[] = {
    {u'東', u"ヒガシ"}, {u'西', u"ニシ"}, {u'南', u"ミナミ"}, {u'北', u"キタ"}, {u'上', u"カミ"},
    {u'下', u"シモ"},   {u'中', u"ナカ"}, {u'新', u"シン"},   {u'元', u"モト"}, {u'奥', u"オク"},
};

const Position* positionAt(QStringView name, qsizetype at)
{
    if (at + 1 >= name.size())
        return nullptr;
    const auto it = std::find_if(std::begin(kPositions), std::end(kPositions),
                                 [&](const Position& p) { return name[at] == QChar(p.written); });
    return it == std::end(kPositions) ? nullptr : it;
}

// The longest name of the region's towns or the gazetteer at `at`.
qsizetype placeLength(QStringView name, qsizetype at, const Gazetteer& gazetteer, const RegionTowns* region)
{
    return std::max(region ? region->longestNameAt(name, at) : 0, gazetteer.longestNameAt(name, at));
}

// The place at `at`, if there is one: the region's town when it is as long as the gazetteer's
// place, which the region reads as it reads it.
qsizetype takePlace(std::vector<PlacePiece>& pieces, QStringView name, qsizetype at, const Gazetteer& gazetteer,
                    const RegionTowns* region)
{
    const qsizetype town = region ? region->longestNameAt(name, at) : 0;
    const qsizetype length = gazetteer.longestNameAt(name, at);
    if (town > 0 && town >= length) {
        PlacePiece place{PlacePiece::Place, name.mid(at, town).toString(), {}, {}, {}, {}, {}};
        place.here = region->readingsOf(place.written);
        for (const TownReading& r : place.here)
            place.readings << r.kana;
        pieces.push_back(std::move(place));
        return town;
    }
    if (length == 0)
        return 0;
    const QString written = name.mid(at, length).toString();
    PlacePiece place{PlacePiece::Place, written, QString(), gazetteer.readingsOf(written), {}, QString(), {}};
    // Counted only where there is a choice to make.
    for (const QString& r : place.readings.size() > 1 ? place.readings : QStringList())
        place.places.push_back(gazetteer.placesReading(written, r));
    pieces.push_back(std::move(place));
    return length;
}

}  // namespace

std::vector<PlacePiece> placePieces(const QString& text, const Gazetteer& gazetteer, const RegionTowns* region)
{
    std::vector<PlacePiece> pieces;
    auto keep = [&](QStringView written) {
        if (pieces.empty() || pieces.back().kind != PlacePiece::Text)
            pieces.push_back({});
        pieces.back().written += written;
        pieces.back().reading += written;
    };
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isHan(text[i])) {
            keep(QStringView(text).mid(i, 1));
            ++i;
            continue;
        }
        const qsizetype end = placeNameEnd(text, i);
        const QStringView name = QStringView(text).mid(i, end - i);
        const bool goesOn = i > 0 && goesOnName(text[i - 1]);
        bool placeMayStart = !goesOn;
        for (qsizetype at = 0; at < name.size();) {
            if (placeMayStart) {
                placeMayStart = false;
                // A word of position before a place that has no name of its own with it:
                // 下米田 しも + 米田 まいた, 西富岸 にし + 富岸 とんけし.
                const Position* position = positionAt(name, at);
                const qsizetype after = position ? placeLength(name, at + 1, gazetteer, region) : 0;
                if (after >= 2 && after + 1 > placeLength(name, at, gazetteer, region)) {
                    pieces.push_back({PlacePiece::Suffix, name.mid(at, 1).toString(), QString::fromUtf16(position->reading), {}, {}, {}, {}});
                    ++at;
                }
                if (const qsizetype length = takePlace(pieces, name, at, gazetteer, region)) {
                    at += length;
                    continue;
                }
            }
            const auto station = std::find_if(std::begin(kStationWords), std::end(kStationWords),
                                              [&](const char16_t* w) { return name.mid(at).startsWith(QStringView(w)); });
            if (at > 0 && station != std::end(kStationWords)) {
                const QStringView word(*station);
                keep(word);
                at += word.size();
                placeMayStart = true;
                continue;
            }
            if (at > 0 || goesOn) {
                if (const Ending* e = endingAt(name, at)) {
                    const QStringView written(e->written);
                    const QChar before = at > 0 ? name[at - 1] : text[i - 1];
                    const char16_t* reading = e->afterNo && (before == u'ノ' || before == u'の') ? e->afterNo : e->reading;
                    if (QStringView(reading).isEmpty())
                        keep(written);
                    else
                        pieces.push_back({PlacePiece::Suffix, written.toString(), QString::fromUtf16(reading), {}, {}, {}, {}});
                    at += written.size();
                    continue;
                }
            }
            keep(name.mid(at, 1));
            ++at;
        }
        i = end;
    }
    return pieces;
}

void choosePlaceReadings(std::vector<PlacePiece>& pieces, const VoiceReadings& voice, const PlaceRule& rule)
{
    QStringList places;
    for (const PlacePiece& p : pieces) {
        if (p.kind == PlacePiece::Place)
            places << p.written;
    }
    if (places.isEmpty())
        return;
    const QStringList said = voice ? voice(places) : QStringList();
    qsizetype n = 0;
    for (PlacePiece& p : pieces) {
        if (p.kind != PlacePiece::Place)
            continue;
        p.voiceSays = n < said.size() ? said[n] : QString();
        ++n;
        if (!p.here.empty()) {
            // A town of the route's region is read as the region reads it, even where the
            // voice reads it another way the gazetteer knows (上野 うわの in Aomori). Of the
            // readings as common here as the likeliest, the voice's or the one nearest to it.
            const TownReading& top = p.here.front();
            // Only the prefecture's other cities have the town: the voice's reading stands
            // when one of them reads it so (緑丘 is みどりおか in three towns of Hokkaido and
            // みどりがおか in two).
            const bool voiceHere = !p.voiceSays.isEmpty() && std::any_of(p.here.begin(), p.here.end(), [&](const TownReading& r) {
                return sameReading(r.kana, p.voiceSays);
            });
            if (top.cities == 0 && voiceHere) {
                p.reading.clear();
                continue;
            }
            QString best = top.kana;
            for (const TownReading& r : p.here) {
                if (r.cities != top.cities || r.prefecture != top.prefecture)
                    break;
                if (!p.voiceSays.isEmpty() && editDistance(r.kana, p.voiceSays) < editDistance(best, p.voiceSays))
                    best = r.kana;
            }
            if (!p.voiceSays.isEmpty() && sameReading(best, p.voiceSays))
                p.reading.clear();
            else
                p.reading = best;
            continue;
        }
        const QStringList readings = townReadings(p.written, p.readings, rule.townEnding);
        auto placesOf = [&](const QString& reading) {
            const auto at = p.readings.indexOf(reading);
            return at >= 0 && std::size_t(at) < p.places.size() ? p.places[std::size_t(at)] : 0;
        };
        const auto voiceReading = std::find_if(readings.begin(), readings.end(), [&](const QString& r) {
            return !p.voiceSays.isEmpty() && sameReading(r, p.voiceSays);
        });
        // Most places first; between readings as common, the one nearest to what the voice
        // said, which at least knows the kanji's usual sounds.
        auto better = [&](const QString& a, const QString& b) {
            if (rule.mostPlaces && placesOf(a) != placesOf(b))
                return placesOf(a) > placesOf(b);
            return !p.voiceSays.isEmpty() && editDistance(a, p.voiceSays) < editDistance(b, p.voiceSays);
        };
        const QString best = *std::min_element(readings.begin(), readings.end(), better);
        if (voiceReading != readings.end() && rule.keepVoiceWhenItAgrees) {
            const bool outnumbered =
                rule.outnumbered > 0 && placesOf(best) >= rule.outnumbered * std::max(1, placesOf(*voiceReading));
            if (!outnumbered || best == *voiceReading) {
                p.reading.clear();
                continue;
            }
        }
        p.reading = best;
    }
}

QString placeReadingText(const std::vector<PlacePiece>& pieces)
{
    QString out;
    for (const PlacePiece& p : pieces)
        out += p.reading.isEmpty() ? p.written : p.reading;
    // Open JTalk takes the ヘ that ends a word in katakana for the particle and says エ (七戸
    // シチノヘ: シチノエ, 六戸 ロクノヘ: ロクノエ), whether the reading came from the gazetteer or a
    // readings file. 屁 is a word it can only say ヘ, and nobody sees what the voice is given.
    auto isKatakana = [](QChar c) { return (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA) || c == u'ー'; };
    for (qsizetype i = 1; i < out.size(); ++i) {
        if (out[i] == u'ヘ' && isKatakana(out[i - 1]) && (i + 1 == out.size() || !isKatakana(out[i + 1])))
            out[i] = u'屁';
    }
    return out;
}

QString explainPlaceReadings(const std::vector<PlacePiece>& pieces)
{
    QString marked;
    QStringList notes;
    for (const PlacePiece& p : pieces) {
        if (p.kind != PlacePiece::Place) {
            marked += p.reading.isEmpty() ? p.written : p.reading;
            continue;
        }
        marked += p.reading.isEmpty() ? QStringLiteral("〔%1〕").arg(p.written)
                                      : QStringLiteral("〔%1→%2〕").arg(p.written, p.reading);
        QString note = QStringLiteral("%1: %2").arg(p.written, p.readings.join(u'/'));
        if (!p.here.empty())
            note += QStringLiteral(" in the route's region");
        if (!p.voiceSays.isEmpty())
            note += QStringLiteral(", the voice alone %1").arg(p.voiceSays);
        notes << note;
    }
    return notes.isEmpty() ? marked : marked + QStringLiteral("  (") + notes.join(QStringLiteral("; ")) + u')';
}

QString withPlaceReadings(const QString& text, const Gazetteer& gazetteer, const VoiceReadings& voice,
                          const PlaceRule& rule, const RegionTowns* region)
{
    std::vector<PlacePiece> pieces = placePieces(text, gazetteer, region);
    choosePlaceReadings(pieces, voice, rule);
    return placeReadingText(pieces);
}

}  // namespace fareboard
