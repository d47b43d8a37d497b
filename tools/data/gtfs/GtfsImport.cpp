#include "GtfsImport.h"

#include "BoardText.h"
#include "CsvReader.h"
#include "DataTool.h"
#include "FareDataWriter.h"
#include "FareLookup.h"
#include "GtfsFeed.h"
#include "InputError.h"
#include "OutputFiles.h"
#include "OutputFolder.h"
#include "PatternConversion.h"
#include "RoutePatterns.h"
#include "StopNames.h"
#include "TripTimes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <set>

namespace fareboard::datatool::gtfs {

const char* const kGtfsUsage = "fareboard-data gtfs FEED OUTDIR [--list] [--route ID ...]";
const char* const kGtfsHelp =
    "Turns a GTFS-JP feed (標準的なバス情報フォーマット; a .zip or a folder) into the files\n"
    "the program drives: for each route pattern N.hy3 (fares) and Ntp.csv (announcements),\n"
    "and for all of them routes.csv (which 系統 number is which route) and readings.csv\n"
    "(the readings of the names, from translations.txt). Point both folders of the options\n"
    "dialog at OUTDIR.\n"
    "\n"
    "A route pattern is a route, a direction and an exact sequence of stops. Its 系統 number\n"
    "is the route's short name when that is a number of its own, otherwise 1, 2, 3 ...\n"
    "Ticket numbers (整理券番号) are the fare zones along the pattern; a pair of stops the\n"
    "feed has no fare for gets -1. A pattern of more than 301 stops is not imported.\n"
    "\n"
    "  --list         print the patterns (the columns of routes.csv) and write nothing;\n"
    "                 OUTDIR may then be left out\n"
    "  --route ID...  import only the patterns of these route_ids\n"
    "\n"
    "On a fault in the feed the file and line are named and nothing is written: OUTDIR gets\n"
    "all of a run's files or none. Routes of an earlier import into OUTDIR that this run does\n"
    "not write again (its routes.csv lists them) are removed; nothing else there is touched.\n";

namespace {

constexpr int kMaxStops = 301;

struct Options {
    QString feed, outDir;
    bool list = false;
    QStringList routes;
};

struct Imported {
    const RoutePattern* pattern;
    ConvertedPattern converted;
    QString refused;  // why it is not imported; empty when it is
};

QStringList listColumns()
{
    return {QStringLiteral("系統"), QStringLiteral("route_id"), QStringLiteral("route_short_name"),
            QStringLiteral("route_long_name"), QStringLiteral("direction_id"), QStringLiteral("headsign"),
            QStringLiteral("first_stop"), QStringLiteral("last_stop"), QStringLiteral("stops"),
            QStringLiteral("ticket_numbers")};
}

QStringList listRow(const Feed& feed, const Imported& item)
{
    const RoutePattern& p = *item.pattern;
    const Route& route = feed.routes[std::size_t(p.route)];
    const auto& rows = item.converted.rows;
    return {QString::number(p.number), route.id, route.shortName, route.longName, p.direction,
            p.headsign.isEmpty() ? QString() : toBoardText(p.headsign).text,
            rows.empty() ? QString() : rows.front().stopName, rows.empty() ? QString() : rows.back().stopName,
            QString::number(p.callCount), QString::number(item.converted.ticketCount)};
}

// The route files of an earlier import into `folder` that this run does not write again. The
// earlier import's routes.csv says which 系統 numbers it wrote; files it does not list are the
// user's own and stay.
QStringList earlierRouteFiles(const QString& folder, const std::vector<std::pair<QString, QByteArray>>& files)
{
    const QDir dir(folder);
    const QString list = dir.filePath(QStringLiteral("routes.csv"));
    if (!QFileInfo(list).isFile())
        return {};
    std::set<QString> writing;
    for (const auto& file : files)
        writing.insert(file.first);
    QStringList earlier;
    try {
        FileSource source(list);
        CsvReader reader(source, list);
        CsvRecord record;
        if (!reader.next(record) || QString::fromUtf8(record.fields.value(0)) != listColumns().first())
            return {};
        while (reader.next(record)) {
            bool ok = false;
            const int number = record.fields.value(0).toInt(&ok);
            if (!ok || number <= 0)
                continue;
            for (const char* suffix : {".hy3", "tp.csv", "times.csv"}) {
                const QString name = QString::number(number) + QLatin1String(suffix);
                if (!writing.count(name) && QFileInfo(dir.filePath(name)).isFile())
                    earlier << name;
            }
        }
    } catch (const InputError&) {
        return {};  // unreadable, so nothing there is known to be an earlier import's
    }
    return earlier;
}

// Readings of the names the imported routes show, in the board's form of the text.
std::vector<FeedReading> usedReadings(const Feed& feed, const std::vector<Imported>& items)
{
    std::set<QString> shown;
    for (const Imported& item : items) {
        if (!item.refused.isEmpty())
            continue;
        for (const auto& row : item.converted.rows)
            shown.insert(row.stopName);
        if (!item.pattern->headsign.isEmpty())
            shown.insert(toBoardText(item.pattern->headsign).text);
    }
    std::vector<FeedReading> used;
    QSet<QString> takenAsStop;  // the poles of one stop give it one reading, the first
    for (const auto& [text, reading, line] : feed.readings) {
        const BoardText board = toBoardText(text);
        if (!board.replaced.isEmpty())
            continue;
        // Feeds give readings for whole names and for parts of them (川崎駅西口 + 番のりば);
        // the voice applies either where the text occurs.
        auto occurs = [&](const QString& text) {
            return std::any_of(shown.begin(), shown.end(), [&](const QString& name) { return name.contains(text); });
        };
        if (occurs(board.text)) {
            used.push_back({board.text, reading, line});
            continue;
        }
        // The reading of a pole's whole name serves the stop it is shown as, less the boarding
        // place on both sides (尻手駅前１番のりば しってえきまえいちばんのりば → 尻手駅前 しってえきまえ).
        const QString stop = toBoardText(withoutBoardingPlace(text)).text;
        if (stop != board.text && occurs(stop) && !takenAsStop.contains(stop)) {
            takenAsStop.insert(stop);
            used.push_back({stop, readingWithoutBoardingPlace(text, reading), line});
        }
    }
    return used;
}

int parseOptions(const QStringList& args, Options& options, QTextStream& err)
{
    QStringList positional;
    bool inRoutes = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--list")) {
            options.list = true;
            inRoutes = false;
        } else if (arg == QLatin1String("--route")) {
            inRoutes = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            err << "fareboard-data gtfs: unknown option " << arg << "\nUsage: " << kGtfsUsage << '\n';
            return kExitUsage;
        } else if (inRoutes) {
            options.routes << arg;
        } else {
            positional << arg;
        }
    }
    const bool outDirGiven = positional.size() == 2;
    if (positional.isEmpty() || positional.size() > 2 || (!options.list && !outDirGiven) ||
        (inRoutes && options.routes.isEmpty())) {
        err << "Usage: " << kGtfsUsage << "\n('fareboard-data gtfs --help' says more)\n";
        return kExitUsage;
    }
    options.feed = positional[0];
    options.outDir = positional.value(1);
    return kExitOk;
}

}  // namespace

int runGtfs(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Options options;
    if (const int status = parseOptions(args, options, err); status != kExitOk)
        return status;

    const auto source = FeedSource::open(options.feed);
    const Feed feed = readFeed(*source);
    for (const QString& route : std::as_const(options.routes)) {
        if (!feed.routeById.contains(route))
            throw InputError(source->pathOf(QStringLiteral("routes.txt")), 0,
                             QStringLiteral("there is no route_id %1").arg(route));
    }

    std::vector<RoutePattern> patterns = findPatterns(feed);
    numberPatterns(patterns, feed);
    const FareLookup fares(feed.fareRules);

    std::vector<Imported> items;
    for (const RoutePattern& p : patterns) {
        const Route& route = feed.routes[std::size_t(p.route)];
        if (!options.routes.isEmpty() && !options.routes.contains(route.id))
            continue;
        Imported item{&p, {}, {}};
        if (p.callCount > kMaxStops) {
            item.refused = QStringLiteral("%1 stops; a fare table holds at most %2").arg(p.callCount).arg(kMaxStops);
        } else if (p.stops.size() < 2) {
            item.refused = QStringLiteral("a single stop; a route needs two to be driven");
        } else {
            PatternInput input;
            for (int s : p.stops)
                input.names.push_back(feed.shownName(s));
            input.headsign = p.headsign;
            const std::optional<int> flat = fares.flatFare(p.route);
            bool flatUsed = false;
            input.fare = [&](int from, int to) {
                const auto fare = fares.fare(p.route, feed.stops[std::size_t(p.stops[std::size_t(from)])].zone,
                                             feed.stops[std::size_t(p.stops[std::size_t(to)])].zone);
                flatUsed |= !fare && flat;
                return fare ? fare : flat;
            };
            item.converted = convertPattern(input);
            if (flatUsed)
                item.converted.warnings << QStringLiteral("the feed's only fare for route %1 is %2 yen; taken as its flat "
                                                          "fare between stops its rules do not name")
                                               .arg(route.id)
                                               .arg(*flat);
        }
        items.push_back(std::move(item));
    }
    if (items.empty())
        throw InputError(options.feed, 0, QStringLiteral("the feed has no trips with stops to import"));

    std::vector<QStringList> table{listColumns()};
    for (const Imported& item : items) {
        if (item.refused.isEmpty())
            table.push_back(listRow(feed, item));
    }
    if (options.list) {
        out << listColumns().join(QLatin1Char('\t')) << '\n';
        for (const Imported& item : items) {
            QStringList row = listRow(feed, item);
            if (!item.refused.isEmpty())
                row[0] = QStringLiteral("-");
            out << row.join(QLatin1Char('\t')) << '\n';
            if (!item.refused.isEmpty())
                out << "  not importable: " << item.refused << '\n';
        }
        return kExitOk;
    }

    QStringList warnings = feed.warnings;
    std::vector<std::pair<QString, QByteArray>> files;
    int imported = 0;
    for (const Imported& item : items) {
        const QString number = QString::number(item.pattern->number);
        if (!item.refused.isEmpty()) {
            err << "error: route " << feed.routes[std::size_t(item.pattern->route)].id << " (" << item.pattern->tripCount
                << " trips): " << item.refused << "; not imported\n";
            continue;
        }
        const QString fareName = number + QStringLiteral(".hy3");
        files.emplace_back(fareName, encodeFareData(item.converted.rows, fareName));
        files.emplace_back(number + QStringLiteral("tp.csv"), tapeFileBytes(item.converted.tape));
        files.emplace_back(number + QStringLiteral("times.csv"),
                           tripTimesFileBytes(feed, *item.pattern, number + QStringLiteral("times.csv"), warnings));
        for (const QString& w : item.converted.warnings)
            warnings << fareName + QStringLiteral(": ") + w;
        ++imported;
    }
    if (imported == 0)
        throw InputError(options.feed, 0, QStringLiteral("no route pattern can be imported; nothing was written"));
    files.emplace_back(QStringLiteral("routes.csv"), csvBytes(table));
    files.emplace_back(QStringLiteral("readings.csv"),
                       readingsFileBytes(QFileInfo(QDir::cleanPath(QFileInfo(options.feed).absoluteFilePath())).fileName(),
                                         source->pathOf(QStringLiteral("translations.txt")), usedReadings(feed, items),
                                         warnings));
    replaceFiles(options.outDir, files, earlierRouteFiles(options.outDir, files));

    for (const QString& w : std::as_const(warnings))
        err << "warning: " << w << '\n';
    for (const Imported& item : items) {
        if (!item.refused.isEmpty())
            continue;
        const ConvertedPattern& c = item.converted;
        out << QDir(options.outDir).filePath(QString::number(item.pattern->number) + QStringLiteral(".hy3")) << ": "
            << feed.routes[std::size_t(item.pattern->route)].id << ", " << c.rows.size() << " stops, " << c.ticketCount
            << " ticket numbers";
        if (c.missingFares > 0)
            out << ", " << c.missingFares << " fares missing in the feed (written as -1)";
        out << '\n';
    }
    out << imported << " route(s) written to " << options.outDir << '\n';
    return kExitOk;
}

}  // namespace fareboard::datatool::gtfs
