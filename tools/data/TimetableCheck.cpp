#include "TimetableCheck.h"

#include "operation/Timetable.h"

#include <algorithm>
#include <set>

namespace fareboard::datatool {

CheckReport checkTimetable(const QByteArray& bytes, const QString& fileName, std::optional<int> stops)
{
    CheckReport report;
    const Timetable table = parseTimetable(bytes, fileName);
    if (!table.fault.isEmpty()) {
        report.errors << table.fault + QStringLiteral(" (the operation panel reads no trip of this file)");
        return report;
    }
    std::optional<int> first, last;
    std::set<QString> services;
    int untimed = 0;
    // Trips whose times are more or fewer than the fare table's stops, said once each way.
    struct Misfit {
        int count = 0;
        QString first;  // "trip, fields"
    } longer, shorter;
    for (const TimetableTrip& trip : table.trips) {
        services.insert(trip.service);
        if (const auto departs = trip.firstDeparture()) {
            first = first ? std::min(*first, *departs) : *departs;
            last = last ? std::max(*last, *departs) : *departs;
        } else {
            ++untimed;
        }
        if (stops && int(trip.departures.size()) != *stops) {
            Misfit& misfit = int(trip.departures.size()) > *stops ? longer : shorter;
            if (misfit.count++ == 0)
                misfit.first = QStringLiteral("%1, %2").arg(trip.id).arg(trip.departures.size());
        }
    }
    QString summary = QStringLiteral("%1: %2 trip(s)").arg(fileName).arg(table.trips.size());
    if (first)
        summary += QStringLiteral(", leaving from %1 to %2").arg(gtfsTimeText(*first), gtfsTimeText(*last));
    summary += QStringLiteral(", %1 service(s)").arg(services.size());
    report.summary << summary;
    auto say = [&](const Misfit& misfit, const QString& what, const QString& then) {
        if (misfit.count > 0)
            report.warnings << QStringLiteral("%1: %2 trip(s) give %3 times than the fare table's %4 stops (the first: %5); %6")
                                   .arg(fileName)
                                   .arg(misfit.count)
                                   .arg(what)
                                   .arg(*stops)
                                   .arg(misfit.first, then);
    };
    say(shorter, QStringLiteral("fewer"), QStringLiteral("the stops after their last go on a minute a stop"));
    say(longer, QStringLiteral("more"), QStringLiteral("the times past the last stop are not used"));
    if (untimed > 0)
        report.warnings << QStringLiteral("%1: %2 trip(s) without any time; the panel lists them as --:--")
                               .arg(fileName)
                               .arg(untimed);
    return report;
}

}  // namespace fareboard::datatool
