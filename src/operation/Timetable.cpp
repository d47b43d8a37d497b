#include "Timetable.h"

#include "CsvReader.h"
#include "InputError.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace fareboard {
namespace {

// A day of trips of a busy route is a few hundred kilobytes; this is far above any.
constexpr qint64 kMaxTimetableBytes = 16 * 1024 * 1024;
constexpr int kLeadingFields = 3;

}  // namespace

std::optional<int> TimetableTrip::firstDeparture() const
{
    for (const auto& t : departures)
        if (t)
            return t;
    return std::nullopt;
}

std::optional<int> parseGtfsTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3}):([0-5]\\d):([0-5]\\d)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
}

QString gtfsTimeText(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString timetableFileName(const QString& folder, const QString& route)
{
    return withTrailingSeparator(folder) + route + QStringLiteral("times.csv");
}

Timetable parseTimetable(const QByteArray& bytes, const QString& fileName)
{
    Timetable table;
    datatool::MemorySource source(bytes);
    datatool::CsvReader reader(source, fileName);
    datatool::CsvRecord record;
    try {
        while (reader.next(record)) {
            auto fail = [&](const QString& why) { throw datatool::InputError(fileName, record.line, why); };
            if (record.fields.size() <= kLeadingFields)
                fail(QStringLiteral("%1 fields; a trip needs its id, service, headsign and at least one time")
                         .arg(record.fields.size()));
            TimetableTrip trip;
            trip.id = QString::fromUtf8(record.fields[0]).trimmed();
            trip.service = QString::fromUtf8(record.fields[1]).trimmed();
            trip.headsign = QString::fromUtf8(record.fields[2]).trimmed();
            std::optional<int> previous;
            for (qsizetype i = kLeadingFields; i < record.fields.size(); ++i) {
                const QString text = QString::fromUtf8(record.fields[i]).trimmed();
                std::optional<int> time;
                if (!text.isEmpty()) {
                    time = parseGtfsTime(text);
                    if (!time)
                        fail(QStringLiteral("stop %1: \"%2\" is not a time (H:MM:SS)").arg(i - kLeadingFields + 1).arg(text));
                    if (previous && *time < *previous)
                        fail(QStringLiteral("stop %1: %2 is before the time at an earlier stop")
                                 .arg(i - kLeadingFields + 1)
                                 .arg(text));
                    previous = time;
                }
                trip.departures.push_back(time);
            }
            table.trips.push_back(std::move(trip));
        }
    } catch (const datatool::InputError& e) {
        table.trips.clear();
        table.fault = e.message();
    }
    return table;
}

Timetable readTimetable(const QString& folder, const QString& route)
{
    const QString path = resolveIgnoringCase(timetableFileName(folder, route));
    if (!QFileInfo(path).isFile())
        return {};
    try {
        return parseTimetable(readFileBytes(path, kMaxTimetableBytes), QFileInfo(path).fileName());
    } catch (const AppError& e) {
        Timetable table;
        table.fault = QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), e.description());
        return table;
    }
}

}  // namespace fareboard
