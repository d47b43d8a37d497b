#include "GtfsFeed.h"

#include "CsvReader.h"
#include "InputError.h"
#include "StopNames.h"
#include "StrictText.h"
#include "TripTimes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

namespace fareboard::datatool::gtfs {
namespace {

// One table of the feed, its columns found by name in the header, whatever their order and
// whatever other columns it has.
class Table {
public:
    Table(FeedSource& source, const QString& name, bool required) : name_(name), path_(source.pathOf(name))
    {
        data_ = source.file(name);
        if (!data_) {
            if (required)
                throw InputError(path_, 0, QStringLiteral("the feed has no %1, which the import needs").arg(name));
            return;
        }
        reader_.emplace(*data_, path_);
        CsvRecord header;
        if (!reader_->next(header)) {
            if (required)
                throw InputError(path_, 0, QStringLiteral("the file is empty; it needs a header and rows"));
            reader_.reset();
            return;
        }
        for (int i = 0; i < header.fields.size(); ++i)
            columns_.insert(QString::fromUtf8(header.fields[i].trimmed()), i);
        headerSize_ = int(header.fields.size());
    }

    bool present() const { return reader_.has_value(); }
    bool has(const char* column) const { return columns_.contains(QLatin1String(column)); }
    void require(const char* column) const
    {
        if (present() && !has(column))
            throw InputError(path_, 1, QStringLiteral("the header has no column %1").arg(QLatin1String(column)));
    }

    bool next()
    {
        if (!reader_ || !reader_->next(row_))
            return false;
        if (qsizetype(row_.fields.size()) > headerSize_)
            throw InputError(path_, row_.line,
                             QStringLiteral("%1 fields, the header has only %2").arg(row_.fields.size()).arg(headerSize_));
        return true;
    }
    int line() const { return row_.line; }

    // The field's text, trimmed; empty when the column is absent or the row stops short of it.
    QString text(const char* column) const
    {
        const QByteArrayView* raw = field(column);
        if (!raw)
            return {};
        check(*raw, column);
        return QString::fromUtf8(*raw).trimmed();
    }
    // The same text as UTF-8, where possible the field's own bytes rather than a string made of
    // them: ids are looked up by these, a million times in stop_times.txt. It points into the
    // row, so it is good until next().
    QByteArray utf8(const char* column) const
    {
        const QByteArrayView* raw = field(column);
        if (!raw)
            return {};
        check(*raw, column);
        const char* begin = raw->data();
        const char* end = begin + raw->size();
        while (begin < end && isAsciiSpace(*begin))
            ++begin;
        while (end > begin && isAsciiSpace(end[-1]))
            --end;
        // text() also trims spaces beyond ASCII (an ideographic space), which only a decoder sees.
        if (begin < end && (uchar(*begin) >= 0x80 || uchar(end[-1]) >= 0x80))
            return QString::fromUtf8(*raw).trimmed().toUtf8();
        return QByteArray::fromRawData(begin, end - begin);
    }
    QString needed(const char* column) const
    {
        QString value = text(column);
        if (value.isEmpty())
            fail(QStringLiteral("%1 is empty").arg(QLatin1String(column)));
        return value;
    }
    QByteArray neededUtf8(const char* column) const
    {
        QByteArray value = utf8(column);
        if (value.isEmpty())
            fail(QStringLiteral("%1 is empty").arg(QLatin1String(column)));
        return value;
    }
    int integer(const char* column) const
    {
        // Plain digits, as nearly every number in a feed is written, are read off the bytes.
        const QByteArray digits = utf8(column);
        if (!digits.isEmpty() && digits.size() <= 9 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            int n = 0;
            for (char c : digits)
                n = n * 10 + (c - '0');
            return n;
        }
        const QString value = needed(column);
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok)
            fail(QStringLiteral("%1 \"%2\" is not a whole number").arg(QLatin1String(column), value));
        return n;
    }
    [[noreturn]] void fail(const QString& what) const { throw InputError(path_, row_.line, what); }

private:
    static bool isAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

    void check(QByteArrayView raw, const char* column) const
    {
        if (!isUtf8(raw))
            throw InputError(path_, row_.line,
                             QStringLiteral("%1 is not UTF-8 text (a feed is written in UTF-8)").arg(QLatin1String(column)));
        if (std::memchr(raw.data(), 0, std::size_t(raw.size())))
            throw InputError(path_, row_.line, QStringLiteral("%1 holds a NUL character").arg(QLatin1String(column)));
    }

    // The row's field of the column; nullptr when the column is absent or the row stops short of it.
    const QByteArrayView* field(const char* column) const
    {
        const int i = index(column);
        return i >= 0 && std::size_t(i) < row_.fields.size() ? &row_.fields[std::size_t(i)] : nullptr;
    }

    // Rows ask for their columns by the same few names, row after row; those are remembered by
    // the name's address (and checked by its text), which spares a look-up by name per field.
    int index(const char* column) const
    {
        for (const Known& known : known_) {
            if (known.address == column && std::strcmp(known.name.constData(), column) == 0)
                return known.index;
        }
        const int i = columns_.value(QLatin1String(column), -1);
        if (known_.size() < 32)
            known_.push_back({column, QByteArray(column), i});
        return i;
    }

    struct Known {
        const char* address;
        QByteArray name;
        int index;
    };

    QString name_, path_;
    std::unique_ptr<ByteSource> data_;
    std::optional<CsvReader> reader_;
    QHash<QString, int> columns_;
    int headerSize_ = 0;
    CsvRecordView row_;  // the fields are the reader's bytes, good until next()
    mutable std::vector<Known> known_;
};

// Ids by their UTF-8 bytes, so that a row's field is found without a string made of it. A
// million rows look up two or three ids each; hashed by Qt's qHash, those look-ups took two
// fifths of reading a big feed on one of our machines, and hashed by std::hash a few per cent.
class Utf8Index {
public:
    explicit Utf8Index(const QHash<QString, int>& byId)
    {
        index_.reserve(std::size_t(byId.size()));
        for (auto it = byId.cbegin(); it != byId.cend(); ++it) {
            const QByteArray key = it.key().toUtf8();
            index_.emplace(std::string(key.constData(), std::size_t(key.size())), it.value());
        }
    }
    int value(QByteArrayView id, int missing) const
    {
        const auto found = index_.find(std::string_view(id.data(), std::size_t(id.size())));
        return found == index_.end() ? missing : found->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    std::unordered_map<std::string, int, Hash, std::equal_to<>> index_;
};

// The fare rules already kept, to tell a repeated one. Open addressing in one array: a feed has
// hundreds of thousands of rules, and a node per rule costs a cache miss per look-up.
class FareRuleSet {
public:
    // False when the rule is in already.
    bool insert(const FareRule& rule)
    {
        if (2 * (count_ + 1) > slots_.size())
            grow();
        const Key key = keyOf(rule);
        for (std::size_t i = hash(key);; ++i) {
            Key& slot = slots_[i & (slots_.size() - 1)];
            if (slot.high == kEmpty) {
                slot = key;
                ++count_;
                return true;
            }
            if (slot.high == key.high && slot.low == key.low)
                return false;
        }
    }

private:
    struct Key {
        quint64 high, low;
    };
    // No price is 2^32 - 1, so no rule has this.
    static constexpr quint64 kEmpty = ~quint64(0);

    static Key keyOf(const FareRule& r)
    {
        return {quint64(quint32(r.price)) << 32 | quint32(r.route), quint64(quint32(r.origin)) << 32 | quint32(r.destination)};
    }
    // Prices, routes and zones are small numbers close together: they are mixed well before
    // their low bits pick a slot.
    static std::size_t hash(const Key& k)
    {
        const auto mix = [](quint64 x) {
            x ^= x >> 30;
            x *= 0xbf58476d1ce4e5b9ULL;
            x ^= x >> 27;
            x *= 0x94d049bb133111ebULL;
            return x ^ (x >> 31);
        };
        return std::size_t(mix(k.high ^ mix(k.low)));
    }
    void grow()
    {
        std::vector<Key> old(std::max<std::size_t>(1024, slots_.size() * 2), Key{kEmpty, 0});
        old.swap(slots_);
        for (const Key& key : old) {
            if (key.high == kEmpty)
                continue;
            std::size_t i = hash(key);
            while (slots_[i & (slots_.size() - 1)].high != kEmpty)
                ++i;
            slots_[i & (slots_.size() - 1)] = key;
        }
    }

    std::vector<Key> slots_;
    std::size_t count_ = 0;
};

int zoneIndex(Feed& feed, QHash<QString, int>& zoneById, const QString& id)
{
    if (id.isEmpty())
        return -1;
    const auto known = zoneById.constFind(id);
    if (known != zoneById.constEnd())
        return *known;
    feed.zones << id;
    zoneById.insert(id, int(feed.zones.size() - 1));
    return int(feed.zones.size() - 1);
}

void readStops(FeedSource& source, Feed& feed, QHash<QString, int>& zoneById)
{
    Table t(source, QStringLiteral("stops.txt"), true);
    t.require("stop_id");
    t.require("stop_name");
    // Stations may come after their poles; they are joined once all are read.
    std::vector<std::pair<int, QString>> parentOf;
    std::vector<bool> isStation;
    while (t.next()) {
        Stop stop;
        stop.id = t.needed("stop_id");
        stop.name = t.text("stop_name");
        stop.zone = zoneIndex(feed, zoneById, t.text("zone_id"));
        if (feed.stopById.contains(stop.id))
            t.fail(QStringLiteral("stop_id %1 is given twice").arg(stop.id));
        const QString type = t.text("location_type");
        isStation.push_back(type == QLatin1String("1"));
        const QString parent = t.text("parent_station");
        if ((type.isEmpty() || type == QLatin1String("0")) && !parent.isEmpty())
            parentOf.emplace_back(int(feed.stops.size()), parent);
        feed.stopById.insert(stop.id, int(feed.stops.size()));
        feed.stops.push_back(std::move(stop));
    }
    for (const auto& [pole, parent] : parentOf) {
        const int station = feed.stopById.value(parent, -1);
        if (station >= 0 && isStation[std::size_t(station)] && !feed.stops[std::size_t(station)].name.isEmpty())
            feed.stops[std::size_t(pole)].station = station;
    }
    for (Stop& stop : feed.stops)
        stop.shown = stop.station >= 0 ? feed.stops[std::size_t(stop.station)].name : withoutBoardingPlace(stop.name);
}

void readRoutes(FeedSource& source, Feed& feed)
{
    Table t(source, QStringLiteral("routes.txt"), true);
    t.require("route_id");
    while (t.next()) {
        Route route;
        route.id = t.needed("route_id");
        route.shortName = t.text("route_short_name");
        route.longName = t.text("route_long_name");
        if (feed.routeById.contains(route.id))
            t.fail(QStringLiteral("route_id %1 is given twice").arg(route.id));
        feed.routeById.insert(route.id, int(feed.routes.size()));
        feed.routes.push_back(std::move(route));
    }
}

void readTrips(FeedSource& source, Feed& feed, QHash<QString, int>& tripById)
{
    Table t(source, QStringLiteral("trips.txt"), true);
    t.require("route_id");
    t.require("trip_id");
    while (t.next()) {
        Trip trip;
        trip.id = t.needed("trip_id");
        const QString route = t.needed("route_id");
        const auto r = feed.routeById.constFind(route);
        if (r == feed.routeById.constEnd())
            t.fail(QStringLiteral("route_id %1 is not in routes.txt").arg(route));
        trip.route = *r;
        trip.direction = t.text("direction_id");
        trip.headsign = t.text("trip_headsign");
        trip.service = t.text("service_id");
        if (tripById.contains(trip.id))
            t.fail(QStringLiteral("trip_id %1 is given twice").arg(trip.id));
        tripById.insert(trip.id, int(feed.trips.size()));
        feed.trips.push_back(std::move(trip));
    }
}

void readStopTimes(FeedSource& source, Feed& feed, const QHash<QString, int>& tripById, CallTimes times)
{
    Table t(source, QStringLiteral("stop_times.txt"), true);
    t.require("trip_id");
    t.require("stop_id");
    t.require("stop_sequence");
    const Utf8Index trips(tripById), stops(feed.stopById);
    // Rows of one trip usually follow each other; remembering the last saves most look-ups.
    QByteArray lastTrip;
    int lastIndex = -1;
    while (t.next()) {
        const QByteArray tripId = t.neededUtf8("trip_id");
        if (tripId != lastTrip) {
            const int found = trips.value(tripId, -1);
            if (found < 0)
                t.fail(QStringLiteral("trip_id %1 is not in trips.txt").arg(QString::fromUtf8(tripId)));
            lastTrip = QByteArray(tripId.constData(), tripId.size());  // tripId points into the row
            lastIndex = found;
        }
        const QByteArray stopId = t.neededUtf8("stop_id");
        const int stop = stops.value(stopId, -1);
        if (stop < 0)
            t.fail(QStringLiteral("stop_id %1 is not in stops.txt").arg(QString::fromUtf8(stopId)));
        const int sequence = t.integer("stop_sequence");
        Trip& trip = feed.trips[std::size_t(lastIndex)];
        if (++trip.callCount <= Trip::kMaxKeptCalls)
            trip.stops.push_back({sequence, stop, t.line()});
        if (times == CallTimes::Kept && trip.callCount <= Trip::kMaxKeptCalls)
            trip.times.emplace_back(sequence, callTime(t.utf8("departure_time"), t.utf8("arrival_time")));
    }
    for (Trip& trip : feed.trips) {
        std::stable_sort(trip.stops.begin(), trip.stops.end(),
                         [](const auto& a, const auto& b) { return a.sequence < b.sequence; });
        // Two stops at one place in the trip leave its order to chance.
        const auto repeated = std::adjacent_find(trip.stops.begin(), trip.stops.end(),
                                                 [](const auto& a, const auto& b) { return a.sequence == b.sequence; });
        if (repeated != trip.stops.end()) {
            const int first = std::min(repeated->line, repeated[1].line);
            const int second = std::max(repeated->line, repeated[1].line);
            throw InputError(source.pathOf(QStringLiteral("stop_times.txt")), second,
                             QStringLiteral("trip_id %1 has stop_sequence %2 here and at line %3")
                                 .arg(trip.id)
                                 .arg(repeated->sequence)
                                 .arg(first));
        }
        // Grown by doubling, the calls of a million rows would hold a third more than they use
        // for as long as the import runs.
        trip.stops.shrink_to_fit();
        trip.times.shrink_to_fit();
    }
}

void readFares(FeedSource& source, Feed& feed, QHash<QString, int>& zoneById)
{
    QHash<QString, int> priceOf;
    {
        Table t(source, QStringLiteral("fare_attributes.txt"), false);
        t.require("fare_id");
        t.require("price");
        while (t.next()) {
            const QString id = t.needed("fare_id");
            const QString text = t.needed("price");
            bool ok = false;
            const double price = text.toDouble(&ok);
            if (!ok || !std::isfinite(price) || price < 0)
                t.fail(QStringLiteral("price \"%1\" is not an amount").arg(text));
            if (price > 32767)
                t.fail(QStringLiteral("price %1 is more than the board's cells hold (32767)").arg(text));
            priceOf[id] = int(std::lround(price));
        }
    }
    Table t(source, QStringLiteral("fare_rules.txt"), false);
    t.require("fare_id");
    // Rules left out or that apply to no stop, each kind said once with its first line.
    struct Dropped {
        int count = 0;
        int firstLine = 0;
        void add(int line)
        {
            if (count++ == 0)
                firstLine = line;
        }
    } unknownFare, withContains, unknownRoute, unknownZone;
    const Utf8Index prices(priceOf), routes(feed.routeById), stopZoneIds(zoneById);
    FareRuleSet distinct;
    // A zone that no stop has still belongs to its route's rules: a route whose rules charge
    // two prices is no flat-fare route, whether or not its stops have both zones.
    const int stopZones = int(feed.zones.size());
    auto ruleZone = [&](const QByteArray& id, bool& unknown) {
        if (id.isEmpty())
            return -1;
        int zone = stopZoneIds.value(id, -1);
        if (zone < 0)
            zone = zoneIndex(feed, zoneById, QString::fromUtf8(id));
        unknown |= zone >= stopZones;
        return zone;
    };
    while (t.next()) {
        const int price = prices.value(t.neededUtf8("fare_id"), -1);
        if (price < 0) {
            unknownFare.add(t.line());
            continue;
        }
        if (!t.utf8("contains_id").isEmpty()) {
            withContains.add(t.line());
            continue;
        }
        FareRule rule;
        rule.price = price;
        const QByteArray route = t.utf8("route_id");
        if (!route.isEmpty()) {
            rule.route = routes.value(route, -1);
            if (rule.route < 0) {
                unknownRoute.add(t.line());
                continue;
            }
        }
        bool unknown = false;
        rule.origin = ruleZone(t.utf8("origin_id"), unknown);
        rule.destination = ruleZone(t.utf8("destination_id"), unknown);
        if (unknown)
            unknownZone.add(t.line());
        // A rule given twice adds nothing; keeping one keeps a file of repeats from costing memory.
        if (!distinct.insert(rule))
            continue;
        feed.fareRules.push_back(rule);
    }
    const QString path = source.pathOf(QStringLiteral("fare_rules.txt"));
    auto say = [&](const Dropped& dropped, const QString& what) {
        if (dropped.count > 0)
            feed.warnings << QStringLiteral("%1:%2: %3 rule(s) %4 (the first of them on this line)")
                                 .arg(path)
                                 .arg(dropped.firstLine)
                                 .arg(dropped.count)
                                 .arg(what);
    };
    say(unknownFare, QStringLiteral("name a fare_id that fare_attributes.txt lacks; they are left out"));
    say(withContains, QStringLiteral("by contains_id are left out (fares go by origin and destination)"));
    say(unknownRoute, QStringLiteral("name a route_id that routes.txt lacks; they are left out"));
    say(unknownZone, QStringLiteral("name an origin_id or destination_id that no stop's zone_id is; they match no stop"));
}

void readTranslations(FeedSource& source, Feed& feed, const QHash<QString, int>& tripById)
{
    Table t(source, QStringLiteral("translations.txt"), false);
    if (!t.present())
        return;
    const bool older = t.has("trans_id");
    if (older) {
        t.require("lang");
        t.require("translation");
    } else {
        t.require("table_name");
        t.require("field_name");
        t.require("language");
        t.require("translation");
    }
    std::set<QString> seen;
    auto add = [&](const QString& text, const QString& reading) {
        if (text.isEmpty() || reading.isEmpty() || !seen.insert(text).second)
            return;
        feed.readings.push_back({text, reading, t.line()});
    };
    while (t.next()) {
        if (older) {
            if (t.text("lang").compare(QLatin1String("ja-Hrkt"), Qt::CaseInsensitive) == 0)
                add(t.text("trans_id"), t.text("translation"));
            continue;
        }
        if (t.text("language").compare(QLatin1String("ja-Hrkt"), Qt::CaseInsensitive) != 0)
            continue;
        const QString reading = t.text("translation");
        const QString value = t.text("field_value");
        if (!value.isEmpty()) {
            add(value, reading);
            continue;
        }
        // Without field_value the record names what is read by its id.
        const QString table = t.text("table_name");
        const QString field = t.text("field_name");
        const QString id = t.text("record_id");
        if (table == QLatin1String("stops") && field == QLatin1String("stop_name")) {
            const int s = feed.stopById.value(id, -1);
            if (s >= 0)
                add(feed.stops[std::size_t(s)].name, reading);
        } else if (table == QLatin1String("routes")) {
            const int r = feed.routeById.value(id, -1);
            if (r >= 0 && field == QLatin1String("route_long_name"))
                add(feed.routes[std::size_t(r)].longName, reading);
        } else if (table == QLatin1String("trips") && field == QLatin1String("trip_headsign")) {
            const int trip = tripById.value(id, -1);
            if (trip >= 0)
                add(feed.trips[std::size_t(trip)].headsign, reading);
        }
    }
}

}  // namespace

Feed readFeed(FeedSource& source, CallTimes times)
{
    Feed feed;
    QHash<QString, int> zoneById, tripById;
    readStops(source, feed, zoneById);
    readRoutes(source, feed);
    readTrips(source, feed, tripById);
    readStopTimes(source, feed, tripById, times);
    readFares(source, feed, zoneById);
    readTranslations(source, feed, tripById);
    return feed;
}

}  // namespace fareboard::datatool::gtfs
