#include "TripTimes.h"

#include "OutputFiles.h"
#include "operation/Timetable.h"

#include <algorithm>

namespace fareboard::datatool::gtfs {
namespace {

// "HH:MM:SS", written by hand: a feed's every call passes through here.
void appendTimeText(QByteArray& out, int seconds)
{
    char text[16];
    int n = 0;
    const int hours = seconds / 3600;
    if (hours >= 100)
        text[n++] = char('0' + hours / 100 % 10);
    text[n++] = char('0' + hours / 10 % 10);
    text[n++] = char('0' + hours % 10);
    const int minutes = seconds / 60 % 60, secs = seconds % 60;
    for (int part : {minutes, secs}) {
        text[n++] = ':';
        text[n++] = char('0' + part / 10);
        text[n++] = char('0' + part % 10);
    }
    out.append(text, n);
}

}  // namespace

int callTime(QByteArrayView departure, QByteArrayView arrival)
{
    QByteArrayView text = (departure.trimmed().isEmpty() ? arrival : departure).trimmed();
    if (text.isEmpty())
        return kNoTime;
    // H:MM:SS, the hours of one to three digits (a trip past midnight goes on counting them).
    const qsizetype colon = text.indexOf(':');
    if (colon < 1 || colon > 3 || text.size() != colon + 6 || text[colon + 3] != ':')
        return kBadTime;
    auto digit = [&](qsizetype i) { return text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1; };
    int hours = 0;
    for (qsizetype i = 0; i < colon; ++i) {
        if (digit(i) < 0)
            return kBadTime;
        hours = hours * 10 + digit(i);
    }
    const int m1 = digit(colon + 1), m2 = digit(colon + 2), s1 = digit(colon + 4), s2 = digit(colon + 5);
    if (m1 < 0 || m1 > 5 || m2 < 0 || s1 < 0 || s1 > 5 || s2 < 0)
        return kBadTime;
    return hours * 3600 + (m1 * 10 + m2) * 60 + s1 * 10 + s2;
}

QByteArray tripTimesFileBytes(const Feed& feed, const RoutePattern& pattern, const QString& fileName,
                              QStringList& warnings)
{
    // Each trip's line made as bytes at once: a big feed's timetables are a million times.
    struct Line {
        int first;
        QByteArray text;
    };
    std::vector<Line> lines;
    lines.reserve(pattern.trips.size());
    int untimed = 0, bad = 0, backwards = 0;
    // The trips the pattern was made of, as it found them: asking every trip of the feed again
    // for every pattern cost the import more than reading stop_times.
    std::vector<std::pair<int, int>> times;
    for (int t : pattern.trips) {
        const Trip& trip = feed.trips[std::size_t(t)];
        if (trip.times.size() != trip.stops.size())
            continue;
        // In the order the stops were put in: by stop_sequence, as read.
        times = trip.times;
        std::stable_sort(times.begin(), times.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        Line line{-1, {}};
        line.text.reserve(qsizetype(32 + 9 * times.size()));
        appendCsvField(line.text, trip.id);
        line.text += ',';
        appendCsvField(line.text, trip.service);
        line.text += ',';
        appendCsvField(line.text, trip.headsign);
        int latest = -1;
        for (const auto& [sequence, time] : times) {
            (void)sequence;
            line.text += ',';
            if (time == kBadTime || (time >= 0 && time < latest)) {
                ++(time == kBadTime ? bad : backwards);
                continue;
            }
            if (time >= 0) {
                latest = time;
                if (line.first < 0)
                    line.first = time;
                appendTimeText(line.text, time);
            }
        }
        if (line.first < 0) {
            ++untimed;
            continue;
        }
        line.text += '\n';
        lines.push_back(std::move(line));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.first < b.first; });

    if (untimed > 0)
        warnings << QStringLiteral("%1: %2 trip(s) without any time in stop_times.txt are left out").arg(fileName).arg(untimed);
    if (bad > 0)
        warnings << QStringLiteral("%1: %2 time(s) that are not H:MM:SS are left empty").arg(fileName).arg(bad);
    if (backwards > 0)
        warnings << QStringLiteral("%1: %2 time(s) before an earlier stop's are left empty").arg(fileName).arg(backwards);

    qsizetype size = 0;
    for (const Line& line : lines)
        size += line.text.size();
    QByteArray out;
    out.reserve(size);
    for (const Line& line : lines)
        out += line.text;
    return out;
}

}  // namespace fareboard::datatool::gtfs
