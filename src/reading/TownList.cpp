#include "TownList.h"

#include "ReadingsFile.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace fareboard {
namespace {

bool isHan(QChar c)
{
    return c.script() == QChar::Script_Han;
}

bool isKatakanaReading(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA) || c == u'ー';
    });
}

// Too little to tell a region by: about two towns found in only one city each. A route's
// tape names dozens of stops; a text or two of names should not move a reading.
constexpr double kMinEvidence = 15.0;
// A city counts in the region when its towns weigh at least this share of the likeliest
// city's: a route crosses a few neighbouring cities (Towada, Misawa, Shichinohe).
constexpr double kRegionShare = 0.3;

}  // namespace

QString TownList::lookupForm(QStringView name)
{
    // The old or variant forms of kanji that a stop keeps and the town list writes in the
    // common form (大藪 and 大薮, 中嶋 and 中島).
    static constexpr std::pair<char16_t, char16_t> kVariants[] = {
        {u'藪', u'薮'}, {u'嶋', u'島'}, {u'嶌', u'島'}, {u'﨑', u'崎'}, {u'嵜', u'崎'}, {u'澤', u'沢'}, {u'濱', u'浜'},
        {u'邊', u'辺'}, {u'邉', u'辺'}, {u'廣', u'広'}, {u'髙', u'高'}, {u'德', u'徳'}, {u'瀨', u'瀬'}, {u'槇', u'槙'},
    };
    QString form = name.toString();
    for (QChar& c : form) {
        if (c == u'ヶ' || c == u'ヵ') {
            c = u'ケ';
        } else if (c == u'ノ') {
            c = u'の';
        } else {
            for (const auto& [variant, common] : kVariants) {
                if (c == QChar(variant))
                    c = QChar(common);
            }
        }
    }
    return form;
}

TownList TownList::fromCsv(QByteArrayView utf8)
{
    TownList list;
    const QString text = QString::fromUtf8(utf8);
    list.text_.reserve(text.size());
    QSet<int> cities;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QList<QStringView> fields = line.split(u',');
        if (fields.size() == 2 && fields[0].size() == 5) {
            bool ok = false;
            const int city = fields[0].toInt(&ok);
            if (ok && city > 0)
                list.cityNames_[city] = fields[1].toString();
            continue;
        }
        if (fields.size() != 3 || fields[0].size() < 2 || fields[0].size() > 0xFFFF || fields[1].size() > 0xFFFF
            || !isKatakanaReading(fields[1]) || list.text_.size() > 0x7FFFFFFF)
            continue;
        Town town{0, 0, uint32_t(list.cities_.size()), uint16_t(fields[0].size()), uint16_t(fields[1].size()), 0};
        for (QStringView code : fields[2].split(u' ', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int city = code.toInt(&ok);
            if (!ok || code.size() != 5 || city <= 0 || city > 0xFFFF)
                continue;
            list.cities_.push_back(uint16_t(city));
            cities.insert(city);
        }
        town.cityCount = uint32_t(list.cities_.size() - town.citiesAt);
        if (town.cityCount == 0)
            continue;
        town.nameAt = uint32_t(list.text_.size());
        list.text_ += lookupForm(fields[0]);
        town.kanaAt = uint32_t(list.text_.size());
        list.text_ += fields[1];
        list.longest_ = std::max(list.longest_, fields[0].size());
        list.towns_.push_back(town);
    }
    // The file is sorted by name as written; the lookup form may sort otherwise.
    std::stable_sort(list.towns_.begin(), list.towns_.end(),
                     [&list](const Town& a, const Town& b) { return list.nameOf(a) < list.nameOf(b); });
    for (std::size_t i = 0; i < list.towns_.size(); ++i)
        list.names_ += i == 0 || list.nameOf(list.towns_[i]) != list.nameOf(list.towns_[i - 1]);
    list.text_.squeeze();
    list.cities_.shrink_to_fit();
    list.towns_.shrink_to_fit();
    list.cityTotal_ = int(cities.size());
    return list;
}

QString TownList::cityName(int city) const
{
    const auto it = cityNames_.find(city);
    return it == cityNames_.end() ? QString() : it->second;
}

std::pair<std::vector<TownList::Town>::const_iterator, std::vector<TownList::Town>::const_iterator>
TownList::townsNamed(QStringView name) const
{
    struct ByName {
        const TownList* list;
        bool operator()(const Town& t, QStringView n) const { return list->nameOf(t) < n; }
        bool operator()(QStringView n, const Town& t) const { return n < list->nameOf(t); }
    };
    return std::equal_range(towns_.begin(), towns_.end(), name, ByName{this});
}

Region TownList::regionOf(const QStringList& texts) const
{
    std::unordered_map<int, double> score;
    std::unordered_set<QString> seen;
    for (const QString& text : texts) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            // A name starts where a run of kanji does.
            if (!isHan(text[i]) || (i > 0 && (isHan(text[i - 1]) || joinsKanji(text[i - 1]))))
                continue;
            const qsizetype end = placeNameEnd(text, i);
            const QString run = lookupForm(QStringView(text).mid(i, end - i));
            if (!seen.insert(run).second)
                continue;
            // Every town the name starts with, each city weighed by the rarest of them it has.
            std::unordered_map<int, double> weight;
            for (qsizetype length = std::min(longest_, run.size()); length >= 2; --length) {
                const auto [first, last] = townsNamed(QStringView(run).left(length));
                std::unordered_set<int> having;
                for (auto t = first; t != last; ++t)
                    having.insert(cities_.begin() + t->citiesAt, cities_.begin() + t->citiesAt + t->cityCount);
                if (having.empty())
                    continue;
                const double w = std::log(double(cityTotal_) / double(having.size()));
                for (int city : having)
                    weight[city] = std::max(weight[city], w);
            }
            for (const auto& [city, w] : weight)
                score[city] += w;
        }
    }
    if (score.empty())
        return {};
    const auto top = std::max_element(score.begin(), score.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second < b.second : a.first > b.first;
    });
    if (top->second < kMinEvidence)
        return {};
    Region region;
    region.prefecture = top->first / 1000;
    std::vector<std::pair<double, int>> near;
    for (const auto& [city, s] : score) {
        if (city / 1000 == region.prefecture && s >= kRegionShare * top->second)
            near.emplace_back(-s, city);
    }
    std::sort(near.begin(), near.end());
    for (const auto& [s, city] : near)
        region.cities.push_back(city);
    return region;
}

RegionTowns TownList::townsOf(const Region& region) const
{
    RegionTowns towns;
    if (region.isEmpty())
        return towns;
    const std::unordered_set<int> inRegion(region.cities.begin(), region.cities.end());
    auto add = [&towns](const QString& name, const TownReading& r) {
        std::vector<TownReading>& here = towns.towns_[name];
        const auto same = std::find_if(here.begin(), here.end(), [&](const TownReading& h) { return h.kana == r.kana; });
        if (same == here.end()) {
            here.push_back(r);
        } else {
            same->cities += r.cities;
            same->prefecture += r.prefecture;
        }
        towns.longest_ = std::max(towns.longest_, name.size());
    };
    const QString cho = QStringLiteral("チョウ"), machi = QStringLiteral("マチ");
    // The region's towns by the names they start with: what follows, and the town's reading.
    std::unordered_map<QString, std::vector<std::pair<QString, QString>>> districts;
    for (const Town& t : towns_) {
        TownReading r{kanaOf(t).toString(), 0, 0};
        for (uint32_t k = 0; k < t.cityCount; ++k) {
            const int city = cities_[t.citiesAt + k];
            if (inRegion.count(city))
                ++r.cities;
            else if (city / 1000 == region.prefecture)
                ++r.prefecture;
        }
        if (r.cities == 0 && r.prefecture == 0)
            continue;
        const QString name = nameOf(t).toString();
        add(name, r);
        // A town in 町 gives the place it is named after its reading too: the stop 祝津公園 is
        // in 祝津町 しゅくづちょう, though another city has a 祝津 read しゅくつ.
        const QString& ending = r.kana.endsWith(cho) ? cho : machi;
        if (name.size() > 2 && name.endsWith(u'町') && r.kana.endsWith(ending) && r.kana.size() > ending.size())
            add(name.chopped(1), TownReading{r.kana.chopped(ending.size()), r.cities, r.prefecture});
        if (r.cities > 0) {
            for (qsizetype length = 2; length < name.size(); ++length)
                districts[name.left(length)].emplace_back(name.mid(length), r.kana);
        }
    }
    // A district that names many towns of the region gives its reading to the stops named after
    // it: 久世 is くぜ in 久世上久世町, 久世大薮町, 久世川原町 … though 城陽市 has a 久世 read くせ.
    // Its reading is what the towns' readings share, found where at least three towns that go on
    // differently have it.
    for (const auto& [district, rests] : districts) {
        if (rests.size() < 3)
            continue;
        QSet<QChar> next;
        for (const auto& [rest, kana] : rests)
            next.insert(rest.front());
        if (next.size() < 3)
            continue;
        QString shared = rests.front().second;
        for (const auto& [rest, kana] : rests) {
            qsizetype n = 0;
            while (n < shared.size() && n < kana.size() && shared[n] == kana[n])
                ++n;
            shared.truncate(n);
        }
        if (shared.size() >= district.size() && std::all_of(rests.begin(), rests.end(), [&](const auto& r) {
                return r.second.size() > shared.size();
            }))
            add(district, TownReading{shared, int(rests.size()), 0});
    }
    for (auto& [name, here] : towns.towns_) {
        std::stable_sort(here.begin(), here.end(), [](const TownReading& a, const TownReading& b) {
            return a.cities != b.cities ? a.cities > b.cities : a.prefecture > b.prefecture;
        });
    }
    return towns;
}

qsizetype RegionTowns::longestNameAt(QStringView text, qsizetype at) const
{
    const QString form = TownList::lookupForm(text.mid(at, std::min(longest_, text.size() - at)));
    for (qsizetype length = form.size(); length >= 2; --length) {
        if (towns_.count(form.left(length)))
            return length;
    }
    return 0;
}

const std::vector<TownReading>& RegionTowns::readingsOf(QStringView name) const
{
    static const std::vector<TownReading> kNone;
    const auto it = towns_.find(TownList::lookupForm(name));
    return it == towns_.end() ? kNone : it->second;
}

}  // namespace fareboard
