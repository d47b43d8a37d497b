#pragma once

#include "GtfsFeed.h"
#include "RoutePatterns.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace fareboard::datatool::gtfs {

// A call's time as stop_times.txt gives it, in seconds from the service day's midnight: its
// departure_time, else its arrival_time. kNoTime when both are empty (a stop between timing
// points), kBadTime when the text is not a GTFS time.
inline constexpr int kNoTime = -1;
inline constexpr int kBadTime = -2;
// Read from the row's bytes: a million rows must not cost a text conversion each.
int callTime(QByteArrayView departure, QByteArrayView arrival);

// The pattern's timetable, `<number>times.csv`: one line per trip by first departure, its
// trip_id, service_id, headsign and the departure at each stop of the pattern ("25:10:00" past
// midnight, empty where the feed has no time). A trip without any time is left out, and a time
// that is not one or runs back before an earlier stop's is left empty, each with a warning.
QByteArray tripTimesFileBytes(const Feed& feed, const RoutePattern& pattern, const QString& fileName,
                              QStringList& warnings);

}  // namespace fareboard::datatool::gtfs
