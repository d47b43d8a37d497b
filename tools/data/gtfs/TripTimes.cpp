#include "TripTimes.h"

#include "OutputFiles.h"
#include "operation/Timetable.h"

#include <algorithm>

namespace fareboard::datatool::gtfs {

int callTime(const QString& departure, const QString& arrival)
{
    const QString& text = departure.isEmpty() ? arrival : departure;
    if (text.isEmpty())
        return kNoTime;
    return parseGtfsTime(text).value_or(kBadTime);
}

QByteArray tripTimesFileBytes(const Feed& feed, const RoutePattern& pattern, const QString& fileName,
                              QStringList& warnings)
{
    struct Line {
        int first;
        QStringList fields;
    };
    std::vector<Line> lines;
    int untimed = 0, bad = 0, backwards = 0;
    for (const Trip& trip : feed.trips) {
        // The trips the pattern was made of: same route, direction and calls.
        if (trip.route != pattern.route || trip.direction != pattern.direction || trip.callCount != pattern.callCount ||
            trip.stops.size() != pattern.stops.size() || trip.times.size() != trip.stops.size())
            continue;
        if (!std::equal(trip.stops.begin(), trip.stops.end(), pattern.stops.begin(),
                        [](const auto& call, int stop) { return call.stop == stop; }))
            continue;
        // In the order the stops were put in: by stop_sequence, as read.
        std::vector<std::pair<int, int>> times = trip.times;
        std::stable_sort(times.begin(), times.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        Line line{-1, {trip.id, trip.service, trip.headsign}};
        int latest = -1;
        for (const auto& [sequence, time] : times) {
            (void)sequence;
            if (time == kBadTime || (time >= 0 && time < latest)) {
                ++(time == kBadTime ? bad : backwards);
                line.fields << QString();
                continue;
            }
            if (time >= 0) {
                latest = time;
                if (line.first < 0)
                    line.first = time;
            }
            line.fields << (time >= 0 ? gtfsTimeText(time) : QString());
        }
        if (line.first < 0) {
            ++untimed;
            continue;
        }
        lines.push_back(std::move(line));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.first < b.first; });

    if (untimed > 0)
        warnings << QStringLiteral("%1: %2 trip(s) without any time in stop_times.txt are left out").arg(fileName).arg(untimed);
    if (bad > 0)
        warnings << QStringLiteral("%1: %2 time(s) that are not H:MM:SS are left empty").arg(fileName).arg(bad);
    if (backwards > 0)
        warnings << QStringLiteral("%1: %2 time(s) before an earlier stop's are left empty").arg(fileName).arg(backwards);

    std::vector<QStringList> rows;
    rows.reserve(lines.size());
    for (Line& line : lines)
        rows.push_back(std::move(line.fields));
    return csvBytes(rows);
}

}  // namespace fareboard::datatool::gtfs
