#pragma once

#include <QString>

namespace fareboard::bench {

// Writes a GTFS-JP feed of `routes` bus routes into the folder `dir` (made when missing), shaped
// like a city operator's: poles on a ring of roads, every ninth place a station with two
// numbered poles under a parent station, each route 49 or 50 consecutive poles run both ways,
// 40 trips a route, zone fares by origin and destination zone for each route, and readings of
// every name. Everything grows linearly with `routes`; 500 routes make 59 MB with
// 998,000 stop_times rows. The same `routes` always gives the same bytes. Returns false when a
// file cannot be written.
bool writeGeneratedFeed(const QString& dir, int routes);

}  // namespace fareboard::bench
