#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace fareboard {

// A route's timetable, `<route>times.csv` beside its fare and broadcast data: one line per trip,
// its trip_id, service (service_id), headsign, then the departure at each stop of the route in
// running order, as a GTFS time ("6:27:00", "25:10:00": past midnight the hours go on past 24).
// A stop without a time (the feed gives times only at its timing points) has an empty field.
struct TimetableTrip {
    QString id;
    QString service;
    QString headsign;
    std::vector<std::optional<int>> departures;  // seconds from the service day's midnight

    // The first time given, for listing trips by departure; none when the trip has no time.
    std::optional<int> firstDeparture() const;
};

struct Timetable {
    std::vector<TimetableTrip> trips;  // as the file lists them
    // "FILE:LINE: why" when the file could not be read; then `trips` is empty.
    QString fault;
};

// Seconds from midnight of a GTFS time "H:MM:SS" or "HH:MM:SS"; none for any other text.
std::optional<int> parseGtfsTime(const QString& text);
// The GTFS form, two-digit hours even past 24: 90000 gives "25:00:00".
QString gtfsTimeText(int seconds);

// The timetable's file name: "<folder>/<route>times.csv".
QString timetableFileName(const QString& folder, const QString& route);

// Reads a timetable. Refused whole, with the line named, when a line has fewer than four
// fields, a time field that is not a time, or a time before the one at an earlier stop.
Timetable parseTimetable(const QByteArray& bytes, const QString& fileName);
// The file, or an empty timetable without a fault when the route has none.
Timetable readTimetable(const QString& folder, const QString& route);

}  // namespace fareboard
