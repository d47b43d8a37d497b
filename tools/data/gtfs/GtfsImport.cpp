#include "GtfsImport.h"

#include "DataTool.h"
#include "FeedImport.h"

#include <QDir>

namespace fareboard::datatool::gtfs {

const char* const kGtfsUsage = "fareboard-data gtfs FEED OUTDIR [--list] [--route ID ...]";
const char* const kGtfsHelp =
    "Turns a GTFS-JP feed (標準的なバス情報フォーマット; a .zip or a folder) into the files\n"
    "the program drives: for each route pattern N.hy3 (fares), Ntp.csv (announcements) and\n"
    "Ntimes.csv (its trips' departures, for a timetable run), and for all of them routes.csv\n"
    "(which 系統 number is which route) and readings.csv (the readings of the names, from\n"
    "translations.txt). Point both folders of the options dialog at OUTDIR.\n"
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

struct Options {
    QString feed, outDir;
    bool list = false;
    QStringList routes;
};

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

    const FeedImport import(options.feed, options.routes, {},
                            options.list ? FeedImport::Purpose::ListOnly : FeedImport::Purpose::Write);
    if (options.list) {
        out << FeedImport::listColumns().join(QLatin1Char('\t')) << '\n';
        for (const ImportedPattern& item : import.patterns()) {
            QStringList row = import.listRow(item);
            if (!item.refused.isEmpty())
                row[0] = QStringLiteral("-");
            out << row.join(QLatin1Char('\t')) << '\n';
            if (!item.refused.isEmpty())
                out << "  not importable: " << item.refused << '\n';
        }
        return kExitOk;
    }

    for (const ImportedPattern& item : import.patterns()) {
        if (!item.refused.isEmpty())
            err << "error: route " << import.routeOf(item).id << " (" << item.pattern->tripCount << " trips): " << item.refused
                << "; not imported\n";
    }
    const FeedImport::Written written = import.write(options.outDir);

    for (const QString& w : written.warnings)
        err << "warning: " << w << '\n';
    for (const ImportedPattern& item : import.patterns()) {
        if (!item.refused.isEmpty())
            continue;
        const ConvertedPattern& c = item.converted;
        out << QDir(options.outDir).filePath(QString::number(item.pattern->number) + QStringLiteral(".hy3")) << ": "
            << import.routeOf(item).id << ", " << c.rows.size() << " stops, " << c.ticketCount << " ticket numbers";
        if (c.missingFares > 0)
            out << ", " << c.missingFares << " fares missing in the feed (written as -1)";
        out << '\n';
    }
    out << written.imported << " route(s) written to " << options.outDir << '\n';
    return kExitOk;
}

}  // namespace fareboard::datatool::gtfs
