#include "operation/RouteTable.h"

#include "gtfs/CsvReader.h"
#include "gtfs/InputError.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace fareboard {
namespace {

using datatool::CsvReader;
using datatool::CsvRecord;
using datatool::FileSource;
using datatool::InputError;

// Full-width digits and letters, as feeds write stop names (川崎駅西口５７番のりば), meet the
// half-width ones a user types, and letter case does not matter.
QString folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

int number(const QByteArray& field)
{
    bool ok = false;
    const int n = field.trimmed().toInt(&ok);
    return ok ? n : -1;
}

}  // namespace

RouteTableRead readRouteTable(const QString& path)
{
    RouteTableRead read;
    const QString name = QFileInfo(path).fileName();
    try {
        FileSource source(path);
        CsvReader reader(source, name);
        CsvRecord record;
        if (!reader.next(record))
            throw InputError(name, 0, QStringLiteral("the file is empty"));
        QHash<QString, qsizetype> column;
        for (qsizetype i = 0; i < record.fields.size(); ++i)
            column.insert(QString::fromUtf8(record.fields[i]).trimmed(), i);
        for (const char* required : {"系統", "route_id", "first_stop", "last_stop"}) {
            if (!column.contains(QString::fromUtf8(required)))
                throw InputError(name, record.line, QStringLiteral("no column %1").arg(QString::fromUtf8(required)));
        }
        auto text = [&](const CsvRecord& r, const char* key) {
            const qsizetype i = column.value(QString::fromUtf8(key), -1);
            return i >= 0 && i < r.fields.size() ? QString::fromUtf8(r.fields[i]) : QString();
        };
        auto integer = [&](const CsvRecord& r, const char* key) {
            const qsizetype i = column.value(QString::fromUtf8(key), -1);
            return i >= 0 && i < r.fields.size() ? number(r.fields[i]) : -1;
        };
        while (reader.next(record)) {
            RouteRow row;
            row.number = integer(record, "系統");
            if (row.number <= 0)
                throw InputError(name, record.line, QStringLiteral("the 系統 number is not a number above 0"));
            row.routeId = text(record, "route_id");
            row.shortName = text(record, "route_short_name");
            row.longName = text(record, "route_long_name");
            row.direction = text(record, "direction_id");
            row.headsign = text(record, "headsign");
            row.firstStop = text(record, "first_stop");
            row.lastStop = text(record, "last_stop");
            row.stops = integer(record, "stops");
            row.tickets = integer(record, "ticket_numbers");
            read.rows.push_back(std::move(row));
        }
    } catch (const InputError& e) {
        read.rows.clear();
        read.fault = e.message();
    }
    return read;
}

void sortByNumber(std::vector<RouteRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const RouteRow& a, const RouteRow& b) { return a.number < b.number; });
}

bool routeMatches(const RouteRow& row, const QString& filter)
{
    const QStringList words = folded(filter).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return true;
    QStringList fields{QString::number(row.number), row.routeId, row.shortName, row.longName,
                       row.headsign, row.firstStop, row.lastStop};
    fields += row.stopNames;
    for (QString& f : fields)
        f = folded(f);
    return std::all_of(words.begin(), words.end(), [&](const QString& word) {
        return std::any_of(fields.begin(), fields.end(), [&](const QString& f) { return f.contains(word); });
    });
}

QString runText(const RouteRow& row)
{
    return row.firstStop + QStringLiteral(" → ") + row.lastStop;
}

std::optional<std::size_t> rowOfNumber(const std::vector<RouteRow>& rows, int number)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].number == number)
            return i;
    return std::nullopt;
}

}  // namespace fareboard
