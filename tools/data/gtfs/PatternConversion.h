#pragma once

#include "announce/BroadcastData.h"
#include "console/FareDataFile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace fareboard::datatool::gtfs {

// One route pattern as the conversion sees it: the stops' names in running order and the
// fare between two of them, by position (0-based, from before to), or nothing when the feed
// has no fare for the pair.
struct PatternInput {
    std::vector<QString> names;
    QString headsign;
    std::function<std::optional<int>(int from, int to)> fare;
};

struct ConvertedPattern {
    std::vector<FareDataFile::Record> rows;  // the fare table, one row per stop
    std::vector<TapeEntry> tape;             // the announcements
    int ticketCount = 0;                     // ticket numbers issued along the route
    int missingFares = 0;                    // cells written as -1
    QStringList warnings;                    // names changed or too long, tickets past the board
};

// Ticket zones: a ticket number starts at each stop whose fares to the stops after it differ
// from those of the stop where the current number was issued; stops that share every fare
// share the number. The first stop issues number 1; the last, having no stop after it, never
// starts one. Returns the stop (0-based) where each number is issued.
std::vector<int> ticketZones(int stopCount, const std::function<std::optional<int>(int, int)>& fare);

// What the greeting says the bus is: "〇〇行き" for a place (方面 too: "〇〇方面行き"), a
// headsign already ending in 行き or ゆき as it stands (行 becomes 行き), and a loop or a line
// (循環, 回り, ルート, 線) by its name alone.
QString boundFor(const QString& headsign);

// The fare table and tape of a pattern of 2 to 301 stops. Column k of row r is the fare from
// the stop issuing ticket number k to stop r; 0 before number k is issued; at the issuing stop
// itself the fare of the shortest ride from there (the feed's fare within the stop's own zone,
// else the fare to the next stop), which is what a passenger boarding there owes at least.
// Column 25, where the options read the stepping chime by default, chimes 1 at every stop and
// 3 at the terminus, unless a 25th ticket number needs it. The tape greets, announces every
// next stop and the terminus, each a step of the board, and then the arrival.
ConvertedPattern convertPattern(const PatternInput& input);

}  // namespace fareboard::datatool::gtfs
