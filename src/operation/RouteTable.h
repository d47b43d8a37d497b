#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fareboard {

// One route pattern as the route list and the import dialog show it: a line of an import's
// routes.csv, or a pattern of a feed before it is imported.
struct RouteRow {
    int number = 0;  // the 系統 number it is (or will be) driven under
    QString routeId;
    QString shortName;
    QString longName;
    QString direction;
    QString headsign;
    QString firstStop;
    QString lastStop;
    int stops = 0;
    int tickets = 0;
    // Every stop's name in running order, where known (a feed's pattern); routes.csv keeps only
    // the first and the last.
    QStringList stopNames = {};
    // Why the pattern cannot be imported; empty when it can.
    QString refused = {};
};

// routes.csv of an import: its rows in the file's order, or the fault ("routes.csv:3: ...")
// that stopped the read. The columns are found by their names in the heading, so a file with
// columns added later still reads.
struct RouteTableRead {
    std::vector<RouteRow> rows;
    QString fault;
};
RouteTableRead readRouteTable(const QString& path);

// By 系統 number, the order a driver looks them up in; equal numbers keep their order.
void sortByNumber(std::vector<RouteRow>& rows);

// Whether a row shows under the filter text: every word of it (split at spaces) is found,
// ignoring letter case and the width of letters and digits, in the 系統 number, a name of the
// route, its headsign or the name of one of its stops. An empty filter shows every row.
bool routeMatches(const RouteRow& row, const QString& filter);

// "first → last", the way the tables show a pattern's run.
QString runText(const RouteRow& row);

// The row driven under `number`, if any.
std::optional<std::size_t> rowOfNumber(const std::vector<RouteRow>& rows, int number);

}  // namespace fareboard
