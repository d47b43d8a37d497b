#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace fareboard {

// Where a route runs: the cities whose towns its stops are named after, all in one prefecture.
struct Region {
    std::vector<int> cities;  // JIS city codes (02207 三沢市), the likeliest first
    int prefecture = 0;       // the codes' first two digits (02 青森県); 0 for no region
    bool isEmpty() const { return cities.empty(); }
};

// How a town is read in a region, and how widely.
struct TownReading {
    QString kana;
    int cities = 0;      // towns of the region's cities read so (of a district: the towns it starts)
    int prefecture = 0;  // towns of the prefecture's other cities read so
};

// The towns of one region with their readings there. A town read two ways in the country is
// usually read one way in one city: 上野 is うえの in Tokyo and うわの in Aomori, 町 is ちょう in
// Kyoto and まち in Muroran.
class RegionTowns {
public:
    bool isEmpty() const { return towns_.empty(); }
    // The length of the longest town name `text` has at `at`, 0 when it has none (two
    // characters or more, as in the gazetteer).
    qsizetype longestNameAt(QStringView text, qsizetype at) const;
    // The readings of the town here, the likeliest first: the one most of the region's cities
    // use, then the one most of its prefecture's other cities use. Empty when it is no town here.
    const std::vector<TownReading>& readingsOf(QStringView name) const;

private:
    friend class TownList;
    std::unordered_map<QString, std::vector<TownReading>> towns_;  // by name in lookup form
    qsizetype longest_ = 0;
};

// Japan Post's list of the towns of every city with their readings (data/places/towns.csv,
// made from the postal town list): "city code,city" lines, then one "town,reading,city codes"
// a line. It tells which cities a route's stops are in, and how those cities read their towns.
class TownList {
public:
    static TownList fromCsv(QByteArrayView utf8);

    bool isEmpty() const { return towns_.empty(); }
    // Town names held.
    std::size_t size() const { return names_; }
    // The city of a code (02207 三沢市), empty when the list does not name it.
    QString cityName(int city) const;

    // The region whose towns the names in `texts` start with, weighing a town by how few
    // cities have one of its name, so 中央 or 本町 tell little and 古間木 much. Empty when the
    // texts say too little of where they are (a few names, or names no town has).
    Region regionOf(const QStringList& texts) const;
    // The towns of the region's cities and of the rest of its prefecture.
    RegionTowns townsOf(const Region& region) const;

    // Written forms differ between a stop and its town (松ヶ崎 and 松ケ崎, 二ノ宮 and 二の宮);
    // names are compared in one form.
    static QString lookupForm(QStringView name);

private:
    // A town name and one of its readings, with the cities that have it so: held as one
    // string and a table sorted by name, so the 110,000 of the list cost a few megabytes and
    // a look-up is a binary search.
    struct Town {
        uint32_t nameAt;
        uint32_t kanaAt;
        uint32_t citiesAt;  // into cities_
        uint16_t nameLength;
        uint16_t kanaLength;
        uint32_t cityCount;
    };
    QStringView nameOf(const Town& t) const { return QStringView(text_).mid(t.nameAt, t.nameLength); }
    QStringView kanaOf(const Town& t) const { return QStringView(text_).mid(t.kanaAt, t.kanaLength); }
    // The readings of a name, one after another; an empty range when it is no town.
    std::pair<std::vector<Town>::const_iterator, std::vector<Town>::const_iterator> townsNamed(QStringView name) const;

    QString text_;
    std::vector<Town> towns_;     // by name
    std::vector<uint16_t> cities_;
    std::unordered_map<int, QString> cityNames_;
    std::size_t names_ = 0;
    int cityTotal_ = 0;  // cities in the list
    qsizetype longest_ = 0;
};

}  // namespace fareboard
