#pragma once

#include "FeedInfo.h"
#include "FeedSource.h"
#include "GtfsFeed.h"
#include "PatternConversion.h"
#include "RoutePatterns.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace fareboard::datatool::gtfs {

// What a long import tells whoever waits for it, and how they stop it. Both are called on the
// importing thread, between files, every few thousand rows and for each pattern.
struct ImportControl {
    enum class Stage { Reading, Converting, Writing };
    // `done` of `total` in the stage's own units: bytes read, patterns converted, files made.
    std::function<void(Stage stage, qint64 done, qint64 total)> progress;
    // True ends the import with ImportCancelled; nothing is written then.
    std::function<bool()> cancelled;

    void report(Stage stage, qint64 done, qint64 total) const;
    void stopIfCancelled() const;
};

struct ImportCancelled {};

// One route pattern of the feed with its conversion, or why it cannot be imported.
struct ImportedPattern {
    const RoutePattern* pattern = nullptr;
    // Its fare table and tape; when only listed, the counts and warnings alone.
    ConvertedPattern converted;
    QString refused;  // empty when it is imported
    QString firstStop, lastStop;  // as the board shows them; empty when refused
};

// A GTFS-JP feed read and its route patterns turned into fare tables and tapes, ready to write
// some or all of them: fareboard-data gtfs and the program's import dialog both go this way.
class FeedImport {
public:
    // Listing the patterns keeps none of their tables, tapes or times: a big feed's listing
    // then needs about half of what its import holds.
    enum class Purpose { Write, ListOnly };

    // Reads the feed (a .zip or a folder) and converts the patterns of the route_ids `routes`,
    // or of every route when it is empty. Throws InputError naming file and line, or
    // ImportCancelled.
    FeedImport(const QString& path, const QStringList& routes, const ImportControl& control = {},
               Purpose purpose = Purpose::Write);
    FeedImport(const FeedImport&) = delete;
    FeedImport& operator=(const FeedImport&) = delete;

    const Feed& feed() const { return feed_; }
    // The operator and the feed's validity, read when asked: the tool has no use for them.
    FeedInfo readInfo() const { return readFeedInfo(*source_); }
    // The patterns of the chosen routes in the feed's order, those that cannot be imported too.
    const std::vector<ImportedPattern>& patterns() const { return items_; }
    const Route& routeOf(const ImportedPattern& item) const { return feed_.routes[std::size_t(item.pattern->route)]; }

    // The columns of routes.csv and of --list, and a pattern's line under them.
    static QStringList listColumns();
    QStringList listRow(const ImportedPattern& item) const;
    // The names the board shows for the pattern's stops, in running order.
    QStringList stopNames(const ImportedPattern& item) const;

    struct Written {
        int imported = 0;      // patterns written
        QStringList warnings;  // the feed's, the conversions' and the readings' in that order
    };
    // Writes N.hy3 and Ntp.csv of each importable pattern whose 系統 number is in `numbers`
    // (every importable one when it is empty), routes.csv and readings.csv into `outDir`, and
    // removes the routes of an earlier import there that this one does not write again; all of
    // it or nothing. Throws InputError when none of them can be imported or a file cannot be
    // written, or ImportCancelled. Not for an import made only to list.
    Written write(const QString& outDir, const std::vector<int>& numbers = {}, const ImportControl& control = {}) const;

private:
    QString path_;
    Purpose purpose_;
    std::unique_ptr<FeedSource> source_;
    Feed feed_;
    std::vector<RoutePattern> routePatterns_;
    std::vector<ImportedPattern> items_;
};

}  // namespace fareboard::datatool::gtfs
