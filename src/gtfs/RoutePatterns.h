#pragma once

#include "GtfsFeed.h"

#include <QString>

#include <vector>

namespace fareboard::datatool::gtfs {

// The trips of one route and direction that call at exactly the same stops in the same order:
// one fare table and one tape. A route with variants has several.
struct RoutePattern {
    int route = 0;          // index into Feed::routes
    QString direction;      // direction_id as written, often empty
    std::vector<int> stops;  // indices into Feed::stops, in running order (the first 302 of a longer trip)
    int callCount = 0;       // the stops of its trips, however many
    int tripCount = 0;
    std::vector<int> trips;  // indices into Feed::trips, in the feed's order
    QString headsign;       // the one most of its trips show; empty when none does
    int number = 0;         // the 系統 number it is imported under
};

// The feed's patterns: by route in the order of routes.txt, then by direction, the sequence
// most trips use first and its variants after it. Trips without stops are left out.
std::vector<RoutePattern> findPatterns(const Feed& feed);

// Gives each pattern its 系統 number: the route's short name when it is a number of 1 to 5
// digits that no other pattern would get, otherwise 1, 2, 3 ... in the order listed, passing
// over the numbers already taken.
void numberPatterns(std::vector<RoutePattern>& patterns, const Feed& feed);

}  // namespace fareboard::datatool::gtfs
