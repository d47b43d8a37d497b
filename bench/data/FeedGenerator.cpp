#include "FeedGenerator.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace fareboard::bench {
namespace {

struct Word {
    const char* kanji;
    const char* kana;
    const char* roman;
};

// Place names are put together from these, so that names repeat and vary as a city's do.
constexpr Word kPlaces[] = {
    {"川崎", "かわさき", "Kawasaki"},   {"新町", "しんまち", "Shimmachi"}, {"大島", "おおしま", "Oshima"},
    {"桜本", "さくらもと", "Sakuramoto"}, {"中島", "なかじま", "Nakajima"}, {"田島", "たじま", "Tajima"},
    {"浜町", "はまちょう", "Hamacho"},  {"池上", "いけがみ", "Ikegami"},  {"小田", "おだ", "Oda"},
    {"渡田", "わたりだ", "Watarida"},   {"塩浜", "しおはま", "Shiohama"}, {"追分", "おいわけ", "Oiwake"},
    {"京町", "きょうまち", "Kyomachi"}, {"江川", "えがわ", "Egawa"},      {"藤崎", "ふじさき", "Fujisaki"},
    {"観音", "かんのん", "Kannon"},     {"日進", "にっしん", "Nisshin"},  {"宮前", "みやまえ", "Miyamae"},
    {"鹿島田", "かしまだ", "Kashimada"}, {"夢見ヶ崎", "ゆめみがさき", "Yumemigasaki"},
    {"矢向", "やこう", "Yako"},         {"尻手", "しって", "Shitte"},     {"末吉", "すえよし", "Sueyoshi"},
    {"小倉", "おぐら", "Ogura"},        {"梶ヶ谷", "かじがや", "Kajigaya"}, {"鶴見", "つるみ", "Tsurumi"},
    {"生麦", "なまむぎ", "Namamugi"},   {"潮田", "うしおだ", "Ushioda"},  {"市場", "いちば", "Ichiba"},
    {"菅沢", "すがさわ", "Sugasawa"},   {"駒岡", "こまおか", "Komaoka"},  {"獅子ヶ谷", "ししがや", "Shishigaya"},
};
constexpr Word kMiddles[] = {
    {"", "", ""},
    {"一丁目", "いっちょうめ", "1-chome"},
    {"二丁目", "にちょうめ", "2-chome"},
    {"三丁目", "さんちょうめ", "3-chome"},
    {"中央", "ちゅうおう", "Chuo"},
    {"橋", "ばし", "Bashi"},
    {"公園", "こうえん", "Koen"},
    {"団地", "だんち", "Danchi"},
    {"小学校", "しょうがっこう", "Shogakko"},
    {"郵便局", "ゆうびんきょく", "Yubinkyoku"},
    {"神社", "じんじゃ", "Jinja"},
    {"市民館", "しみんかん", "Shiminkan"},
};
constexpr Word kEnds[] = {
    {"", "", ""}, {"前", "まえ", "-mae"}, {"入口", "いりぐち", " Iriguchi"}, {"東", "ひがし", " Higashi"}, {"北口", "きたぐち", " Kitaguchi"},
};
constexpr Word kPoles[] = {{"１番のりば", "いちばんのりば", " Stop 1"}, {"２番のりば", "にばんのりば", " Stop 2"}};
constexpr const char* kLinePrefixes[] = {"川", "鶴", "溝", "井", "渡"};
constexpr const char* kServices[] = {"平日", "土曜", "日祝"};

constexpr int kTripsPerRoute = 40;
constexpr int kFirstFare = 150, kFarePerZone = 20;

struct Name {
    QByteArray text, kana, roman;
};

// Every ninth pole stands at a station, which has a second pole beside it.
bool atStation(int pole) { return pole % 9 < 2; }
int stationOf(int pole) { return pole / 9; }

constexpr Word kQuarters[] = {
    {"", "", ""},          {"東", "ひがし", "Higashi-"}, {"西", "にし", "Nishi-"}, {"南", "みなみ", "Minami-"},
    {"北", "きた", "Kita-"}, {"新", "しん", "Shin-"},       {"元", "もと", "Moto-"},  {"上", "かみ", "Kami-"},
    {"下", "しも", "Shimo-"},
};
constexpr std::uint32_t kNameCount = std::size(kQuarters) * std::size(kPlaces) * std::size(kMiddles) * std::size(kEnds);

// A name of its own for each of the first 17,280 places, as a city's stops mostly have, spread
// over the word lists so that neighbours differ; beyond that they repeat.
Name placeName(int place)
{
    std::uint32_t n = std::uint32_t(qint64(place) * 7919 % kNameCount);  // 7919 is prime to the count
    const Word& end = kEnds[n % std::size(kEnds)];
    n /= std::size(kEnds);
    const Word& middle = kMiddles[n % std::size(kMiddles)];
    n /= std::size(kMiddles);
    const Word& word = kPlaces[n % std::size(kPlaces)];
    const Word& quarter = kQuarters[n / std::size(kPlaces)];
    return {QByteArray(quarter.kanji) + word.kanji + middle.kanji + end.kanji,
            QByteArray(quarter.kana) + word.kana + middle.kana + end.kana,
            QByteArray(quarter.roman) + word.roman + (*middle.roman ? " " : "") + middle.roman + end.roman};
}

Name stationName(int station)
{
    const Name place = placeName(station + 100000);
    return {place.text + "駅前", place.kana + "えきまえ", place.roman + " Sta."};
}

Name poleName(int pole)
{
    if (!atStation(pole))
        return placeName(pole);
    Name name = stationName(stationOf(pole));
    const Word& p = kPoles[pole % 9];
    return {name.text + p.kanji, name.kana + p.kana, name.roman + p.roman};
}

QByteArray poleId(int pole) { return QByteArray::number(10000 + pole) + (pole % 9 == 1 ? "_2" : "_1"); }
QByteArray stationId(int station) { return "P" + QByteArray::number(10000 + station); }
QByteArray zoneId(int pole) { return "Z" + QByteArray::number(1000 + pole * 2 / 5); }

struct Line {
    QByteArray id;
    std::vector<int> poles;
};

bool save(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
}

}  // namespace

bool writeGeneratedFeed(const QString& dir, int routes)
{
    routes = std::max(1, routes);
    if (!QDir().mkpath(dir))
        return false;
    const QDir out(dir);
    const int poleCount = std::max(60, routes * 45 / 4);
    bool ok = true;

    ok &= save(out.filePath("agency.txt"),
               "agency_id,agency_name,agency_url,agency_timezone,agency_lang,agency_phone,agency_fare_url,agency_email\r\n"
               "8020001000001,臨海交通バス,https://bus.example.jp/,Asia/Tokyo,ja,044-000-0000,,\r\n");
    ok &= save(out.filePath("feed_info.txt"),
               "feed_publisher_name,feed_publisher_url,feed_lang,feed_start_date,feed_end_date,feed_version\r\n"
               "臨海交通バス株式会社,https://bus.example.jp/,ja,20240401,20250331,20240401_01\r\n");
    ok &= save(out.filePath("calendar.txt"),
               "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\r\n"
               "平日,1,1,1,1,1,0,0,20240401,20250331\r\n"
               "土曜,0,0,0,0,0,1,0,20240401,20250331\r\n"
               "日祝,0,0,0,0,0,0,1,20240401,20250331\r\n");

    QByteArray stops = "stop_id,stop_code,stop_name,stop_desc,stop_lat,stop_lon,zone_id,stop_url,location_type,"
                       "parent_station,platform_code\r\n";
    QByteArray translations = "table_name,field_name,language,translation,record_id,record_sub_id,field_value\r\n";
    QSet<QByteArray> translated;
    auto translate = [&](const Name& name) {
        if (translated.contains(name.text))
            return;
        translated.insert(name.text);
        translations += "stops,stop_name,ja-Hrkt," + name.kana + ",,," + name.text + "\r\n";
        translations += "stops,stop_name,en," + name.roman + ",,," + name.text + "\r\n";
    };
    auto position = [](int n, double base) { return QByteArray::number(base + (n % 997) * 0.000731, 'f', 6); };
    for (int pole = 0; pole < poleCount; ++pole) {
        if (pole % 9 == 0) {
            const int station = stationOf(pole);
            const Name name = stationName(station);
            stops += stationId(station) + ",," + name.text + ",," + position(pole, 35.5) + ',' + position(pole * 7, 139.6) +
                     ",,,1,,\r\n";
            translate(name);
        }
        const Name name = poleName(pole);
        stops += poleId(pole) + ',' + QByteArray::number(pole) + ',' + name.text + ",," + position(pole, 35.5) + ',' +
                 position(pole * 7, 139.6) + ',' + zoneId(pole) + ",,0," +
                 (atStation(pole) ? stationId(stationOf(pole)) + ',' + QByteArray::number(pole % 9 + 1) : QByteArray(",")) +
                 "\r\n";
        translate(name);
    }

    std::vector<Line> lines;
    QByteArray routesText = "route_id,agency_id,route_short_name,route_long_name,route_desc,route_type,route_url,"
                            "route_color,route_text_color,jp_parent_route_id\r\n";
    for (int r = 0; r < routes; ++r) {
        Line line;
        line.id = QByteArray::number(20000 + r) + "-1";
        const int start = int(qint64(r) * poleCount / routes);
        const int length = r % 10 == 9 ? 49 : 50;
        for (int i = 0; i < length; ++i)
            line.poles.push_back((start + i) % poleCount);
        const QByteArray shortName = r % 4 == 0 ? QByteArray::number(r / 4 + 1)
                                                : QByteArray(kLinePrefixes[r % 5]) + QByteArray::number(10 + r % 90);
        const QByteArray via = poleName(line.poles[std::size_t(length / 2)]).text;
        // Some operators describe the way in a sentence with commas, which needs quotes.
        const QByteArray desc = r % 5 == 0 ? "\"" + via + "経由, 深夜便あり\"" : QByteArray();
        routesText += line.id + ",8020001000001," + shortName + ',' + poleName(line.poles.front()).text + "～" +
                      poleName(line.poles.back()).text + ',' + desc + ",3,,e4007f,ffffff," +
                      QByteArray::number(20000 + r) + "\r\n";
        lines.push_back(std::move(line));
    }

    QByteArray trips = "route_id,service_id,trip_id,trip_headsign,trip_short_name,direction_id,block_id,shape_id,"
                       "wheelchair_accessible,bikes_allowed,jp_trip_desc,jp_trip_desc_symbol,jp_office_id\r\n";
    QByteArray times = "trip_id,arrival_time,departure_time,stop_id,stop_sequence,stop_headsign,pickup_type,"
                       "drop_off_type\r\n";
    times.reserve(qsizetype(routes) * kTripsPerRoute * 50 * 50);
    for (const Line& line : lines) {
        for (int n = 0; n < kTripsPerRoute; ++n) {
            const int direction = n % 2;
            const char* service = kServices[n < 24 ? 0 : n < 32 ? 1 : 2];
            const QByteArray tripId = line.id.left(5) + '_' + service + '_' + QByteArray::number(101 + n).mid(1);
            const int last = direction == 0 ? line.poles.back() : line.poles.front();
            trips += line.id + ',' + service + ',' + tripId + ',' + poleName(last).text + ",," +
                     QByteArray::number(direction) + ",,,1,0,,,営業所\r\n";
            int minute = 6 * 60 + (n / 2) * 20 + (direction ? 7 : 0);
            const int count = int(line.poles.size());
            for (int i = 0; i < count; ++i, minute += 2) {
                const int pole = line.poles[std::size_t(direction == 0 ? i : count - 1 - i)];
                const QByteArray time = QByteArray::number(minute / 60) + ':' +
                                        QByteArray::number(100 + minute % 60).mid(1) + ":00";
                times += tripId + ',' + time + ',' + time + ',' + poleId(pole) + ',' + QByteArray::number(i + 1) + ",," +
                         (i == count - 1 ? "1" : "0") + ',' + (i == 0 ? "1" : "0") + "\r\n";
            }
        }
    }

    // Each route charges by the zones it passes: the same price between any two of its zones
    // the same number of zones apart.
    int maxZones = 0;
    QByteArray rules = "fare_id,route_id,origin_id,destination_id,contains_id\r\n";
    for (const Line& line : lines) {
        std::vector<QByteArray> zones;
        for (int pole : line.poles) {
            if (zones.empty() || zones.back() != zoneId(pole))
                zones.push_back(zoneId(pole));
        }
        maxZones = std::max(maxZones, int(zones.size()));
        for (std::size_t a = 0; a < zones.size(); ++a) {
            for (std::size_t b = 0; b < zones.size(); ++b) {
                const int price = kFirstFare + kFarePerZone * int(a > b ? a - b : b - a);
                rules += "F_" + QByteArray::number(price) + ',' + line.id + ',' + zones[a] + ',' + zones[b] + ",\r\n";
            }
        }
    }
    QByteArray attributes = "fare_id,price,currency_type,payment_method,transfers,transfer_duration\r\n";
    for (int d = 0; d < maxZones; ++d) {
        const QByteArray price = QByteArray::number(kFirstFare + kFarePerZone * d);
        attributes += "F_" + price + ',' + price + ",JPY,0,0,\r\n";
    }

    ok &= save(out.filePath("stops.txt"), stops);
    ok &= save(out.filePath("routes.txt"), routesText);
    ok &= save(out.filePath("trips.txt"), trips);
    ok &= save(out.filePath("stop_times.txt"), times);
    ok &= save(out.filePath("fare_attributes.txt"), attributes);
    ok &= save(out.filePath("fare_rules.txt"), rules);
    ok &= save(out.filePath("translations.txt"), translations);
    return ok;
}

}  // namespace fareboard::bench
