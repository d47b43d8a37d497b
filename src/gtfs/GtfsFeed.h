#pragma once

#include "FeedSource.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fareboard::datatool::gtfs {

// What the import needs of a feed, read into plain values: stops, routes, trips with their
// stop sequences, fare rules and readings. Everything else in a feed is left unread.

struct Stop {
    QString id;
    QString name;
    int zone = -1;  // index into Feed::zones; -1 when the stop has no zone_id
    // The station (location_type 1) a pole belongs to, by index; -1 for none. Riders know a
    // stop by the station's name, not by the pole's ("川崎駅西口", not "川崎駅西口57番のりば").
    int station = -1;
    // What riders call it: its station's name, or its own without the boarding place.
    QString shown;
};

struct Route {
    QString id;
    QString shortName;
    QString longName;
};

struct Trip {
    QString id;
    int route = 0;  // index into Feed::routes
    QString direction;
    QString headsign;
    struct Call {
        int sequence = 0;
        int stop = 0;  // index into Feed::stops
        int line = 0;  // in stop_times.txt
    };
    // The calls as read; sorted by sequence once all are in. Only the first kMaxKeptCalls are
    // kept: a trip with more cannot be imported anyway, and a feed whose stop_times repeat one
    // line for ever must not fill the memory.
    std::vector<Call> stops;
    int callCount = 0;  // all its rows in stop_times.txt
    static constexpr int kMaxKeptCalls = 302;
    // For the timetables: service_id, and (stop_sequence, callTime) of the calls kept.
    QString service;
    std::vector<std::pair<int, int>> times;
};

// One line of fare_rules.txt that can apply: -1 for a column left empty (it matches any).
struct FareRule {
    int price = 0;
    int route = -1;
    int origin = -1;
    int destination = -1;
};

// A reading of a text, as translations.txt gives it on `line`.
struct FeedReading {
    QString text;
    QString reading;
    int line = 0;
};

struct Feed {
    std::vector<Stop> stops;
    QHash<QString, int> stopById;
    // The name the board and the voice use for a stop: its station's when it has one,
    // otherwise its own less the boarding place.
    const QString& shownName(int stop) const { return stops[std::size_t(stop)].shown; }
    std::vector<Route> routes;
    QHash<QString, int> routeById;
    std::vector<Trip> trips;
    // Zones by index: first those of stops.txt, then any that only fare_rules.txt names.
    QStringList zones;
    std::vector<FareRule> fareRules;
    // Readings (ja-Hrkt) of texts as the feed writes them, in the order first given.
    std::vector<FeedReading> readings;
    // What was read but left out, said to the user once each.
    QStringList warnings;
};

// What of stop_times.txt is kept beyond the stops: the times are only for the timetables, and
// listing the patterns has no use for them.
enum class CallTimes { Kept, Skipped };

// Reads the feed's files. Throws InputError naming file and line for a missing required file
// or column, a malformed line, or a reference to a stop, route or trip the feed lacks.
Feed readFeed(FeedSource& source, CallTimes times = CallTimes::Kept);

}  // namespace fareboard::datatool::gtfs
