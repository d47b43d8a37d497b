#pragma once

#include "operation/RouteTable.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

namespace fareboard {

// How far a long import is, written by the worker thread and read by the window's timer;
// the window sets `cancelRequested`, the work looks at it between files and every few
// thousand rows.
struct ImportProgress {
    enum Stage { Reading, Converting, Writing };
    std::atomic<int> stage{Reading};
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancelRequested{false};
};

// A fault of the feed or of writing, as the command-line tool names it: file, line (0 when
// the fault is not on one line), what is wrong.
struct ImportFault {
    QString file;
    int line = 0;
    QString what;
    QString message() const
    {
        return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(what) : QStringLiteral("%1: %2").arg(file, what);
    }
};

// Thrown by the work when it saw cancelRequested; whatever it wrote is the caller's to remove.
struct ImportCancelled {};

// What an import wrote.
struct ImportReport {
    int imported = 0;      // patterns written
    QStringList warnings;  // readings left out, tickets past the board, fares missing ...
};

// A feed read and its route patterns found, ready to import any of them.
class FeedListing {
public:
    virtual ~FeedListing() = default;

    QString agencyName;  // agency_name of agency.txt; empty when the feed names none
    QDate validFrom;     // feed_info's feed_start_date and feed_end_date; null when not given
    QDate validTo;
    bool validityFromCalendar = false;  // feed_info gave no dates; these are the service calendar's
    std::vector<RouteRow> patterns;  // as the tool's --list gives them, the refused ones included

    // Writes the files of the patterns numbered `numbers` into `folder` (existing and empty):
    // their fare tables and tapes, routes.csv and readings.csv. Throws ImportFault or
    // ImportCancelled.
    virtual ImportReport import(const std::vector<int>& numbers, const QString& folder, ImportProgress& progress) = 0;
};

// Reads feeds: a GTFS-JP .zip or folder. Runs on a worker thread; throws ImportFault or
// ImportCancelled.
class FeedImporter {
public:
    virtual ~FeedImporter() = default;
    virtual std::unique_ptr<FeedListing> list(const QString& feed, ImportProgress& progress) = 0;
};

}  // namespace fareboard
