#include "FeedInfo.h"

#include "CsvReader.h"
#include "InputError.h"
#include "StrictText.h"

#include <QHash>
#include <QStringList>

#include <functional>

namespace fareboard::datatool::gtfs {
namespace {

// Calls `row` with a field getter for each line of `name`; a fault ends the file's reading
// quietly, keeping what came before it.
void eachRow(FeedSource& source, const QString& name, const std::function<bool(const std::function<QString(const char*)>&)>& row)
{
    try {
        const auto data = source.file(name);
        if (!data)
            return;
        CsvReader reader(*data, source.pathOf(name));
        CsvRecord record;
        if (!reader.next(record))
            return;
        QHash<QString, qsizetype> columns;
        for (qsizetype i = 0; i < record.fields.size(); ++i)
            columns.insert(QString::fromUtf8(record.fields[i].trimmed()), i);
        auto field = [&](const char* column) {
            const qsizetype i = columns.value(QLatin1String(column), -1);
            if (i < 0 || i >= record.fields.size())
                return QString();
            return decodeUtf8(record.fields[i]).value_or(QString()).trimmed();
        };
        while (reader.next(record))
            if (!row(field))
                return;
    } catch (const InputError&) {
    }
}

QDate gtfsDate(const QString& text)
{
    return QDate::fromString(text, QStringLiteral("yyyyMMdd"));
}

void widen(QDate& from, QDate& to, const QDate& start, const QDate& end)
{
    if (start.isValid() && (!from.isValid() || start < from))
        from = start;
    if (end.isValid() && (!to.isValid() || end > to))
        to = end;
}

}  // namespace

FeedInfo readFeedInfo(FeedSource& source)
{
    FeedInfo info;
    QStringList names;
    eachRow(source, QStringLiteral("agency.txt"), [&](const auto& field) {
        const QString name = field("agency_name");
        if (!name.isEmpty() && !names.contains(name))
            names << name;
        return true;
    });
    info.agencyName = names.join(QStringLiteral("・"));
    eachRow(source, QStringLiteral("feed_info.txt"), [&](const auto& field) {
        info.validFrom = gtfsDate(field("feed_start_date"));
        info.validTo = gtfsDate(field("feed_end_date"));
        return false;  // one line is all the file holds
    });
    if (info.validFrom.isValid() || info.validTo.isValid())
        return info;
    QDate from, to;
    eachRow(source, QStringLiteral("calendar.txt"), [&](const auto& field) {
        widen(from, to, gtfsDate(field("start_date")), gtfsDate(field("end_date")));
        return true;
    });
    eachRow(source, QStringLiteral("calendar_dates.txt"), [&](const auto& field) {
        if (field("exception_type") == QLatin1String("1")) {
            const QDate added = gtfsDate(field("date"));
            widen(from, to, added, added);
        }
        return true;
    });
    info.validFrom = from;
    info.validTo = to;
    info.fromCalendar = from.isValid() || to.isValid();
    return info;
}

}  // namespace fareboard::datatool::gtfs
