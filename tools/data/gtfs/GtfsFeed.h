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
    // (stop_sequence, stop index) as read; sorted by sequence once all are in. Only the first
    // kMaxKeptCalls are kept: a trip with more cannot be imported anyway, and a feed whose
    // stop_times repeat one line for ever must not fill the memory.
    std::vector<std::pair<int, int>> stops;
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

struct Feed {
    std::vector<Stop> stops;
    QHash<QString, int> stopById;
    std::vector<Route> routes;
    QHash<QString, int> routeById;
    std::vector<Trip> trips;
    QStringList zones;
    std::vector<FareRule> fareRules;
    // Readings (ja-Hrkt) of texts as the feed writes them, in the order first given.
    std::vector<std::pair<QString, QString>> readings;
    // What was read but left out, said to the user once each.
    QStringList warnings;
};

// Reads the feed's files. Throws InputError naming file and line for a missing required file
// or column, a malformed line, or a reference to a stop, route or trip the feed lacks.
Feed readFeed(FeedSource& source);

}  // namespace fareboard::datatool::gtfs
