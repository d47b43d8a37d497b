#include "FeedImport.h"

#include "BoardText.h"
#include "CsvReader.h"
#include "FareDataWriter.h"
#include "FareLookup.h"
#include "InputError.h"
#include "OutputFiles.h"
#include "OutputFolder.h"
#include "StopNames.h"
#include "TripTimes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <set>
#include <string_view>
#include <unordered_set>

namespace fareboard::datatool::gtfs {
namespace {

constexpr int kMaxStops = 301;

// The files readFeed takes, for the total the reading's progress counts towards.
const char* const kFeedFiles[] = {"stops.txt",           "routes.txt",     "trips.txt",       "stop_times.txt",
                                  "fare_attributes.txt", "fare_rules.txt", "translations.txt"};

// The feed as the import reads it, counting the bytes that come out of it and looking for a
// cancel at every piece: a piece is 64 KB, about a thousand lines of stop_times.
class ObservedSource final : public FeedSource {
public:
    ObservedSource(FeedSource& inner, const ImportControl& control) : inner_(inner), control_(control)
    {
        for (const char* name : kFeedFiles)
            total_ += inner_.sizeOf(QString::fromLatin1(name));
    }

    std::unique_ptr<ByteSource> file(const QString& name) override
    {
        control_.stopIfCancelled();
        auto data = inner_.file(name);
        if (!data)
            return nullptr;
        return std::make_unique<Bytes>(std::move(data), *this);
    }
    QString pathOf(const QString& name) const override { return inner_.pathOf(name); }
    qint64 sizeOf(const QString& name) const override { return inner_.sizeOf(name); }

private:
    class Bytes final : public ByteSource {
    public:
        Bytes(std::unique_ptr<ByteSource> inner, ObservedSource& owner) : inner_(std::move(inner)), owner_(owner) {}
        qint64 read(char* buffer, qint64 max) override
        {
            const qint64 n = inner_->read(buffer, max);
            owner_.advance(n);
            return n;
        }

    private:
        std::unique_ptr<ByteSource> inner_;
        ObservedSource& owner_;
    };

    void advance(qint64 n)
    {
        done_ += n;
        total_ = std::max(total_, done_);
        control_.stopIfCancelled();
        control_.report(ImportControl::Stage::Reading, done_, total_);
    }

    FeedSource& inner_;
    const ImportControl& control_;
    qint64 done_ = 0, total_ = 0;
};

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
        if (!reader.next(record) || QString::fromUtf8(record.fields.value(0)) != FeedImport::listColumns().first())
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

bool chosen(const std::vector<int>& numbers, const ImportedPattern& item)
{
    return item.refused.isEmpty() &&
           (numbers.empty() || std::find(numbers.begin(), numbers.end(), item.pattern->number) != numbers.end());
}

// Texts looked up by a view of them, without a string made of each piece. std::hash rather
// than qHash, which cost several times as much here (see Utf8Index in GtfsFeed.cpp).
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(QStringView text) const
    {
        return std::hash<std::u16string_view>{}(std::u16string_view(text.utf16(), std::size_t(text.size())));
    }
};
struct SameText {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const { return a == b; }
};

// Readings of the names the written routes show, in the board's form of the text.
std::vector<FeedReading> usedReadings(const Feed& feed, const std::vector<ImportedPattern>& items,
                                      const std::vector<int>& numbers)
{
    std::set<QString> shown;
    for (const ImportedPattern& item : items) {
        if (!chosen(numbers, item))
            continue;
        for (const auto& row : item.converted.rows)
            shown.insert(row.stopName);
        if (!item.pattern->headsign.isEmpty())
            shown.insert(toBoardText(item.pattern->headsign).text);
    }
    // Feeds give readings for whole names and for parts of them (川崎駅西口 + 番のりば); the
    // voice applies either where the text occurs. Every piece of every shown name is looked up
    // among the readings' texts, so the work grows with the names, not names times readings.
    // The reading of a pole's whole name serves the stop it is shown as, less the boarding place
    // on both sides (尻手駅前１番のりば しってえきまえいちばんのりば → 尻手駅前 しってえきまえ).
    struct Candidate {
        QString text, stop;  // stop: the pole's name less its boarding place; empty when the same
        const FeedReading* reading;
    };
    std::vector<Candidate> candidates;
    std::unordered_set<QString, TextHash, SameText> wanted;
    qsizetype longest = 0;
    for (const FeedReading& reading : feed.readings) {
        BoardText board = toBoardText(reading.text);
        if (!board.replaced.isEmpty())
            continue;
        QString stop = toBoardText(withoutBoardingPlace(reading.text)).text;
        if (stop == board.text)
            stop.clear();
        for (const QString* text : {&board.text, &stop}) {
            longest = std::max(longest, text->size());
            if (!text->isEmpty())
                wanted.insert(*text);
        }
        candidates.push_back({std::move(board.text), std::move(stop), &reading});
    }
    std::unordered_set<QString, TextHash, SameText> occurring;
    for (const QString& name : shown) {
        for (qsizetype from = 0; from < name.size(); ++from) {
            for (qsizetype n = 1; n <= longest && from + n <= name.size(); ++n) {
                const auto piece = wanted.find(QStringView(name).mid(from, n));
                if (piece != wanted.end())
                    occurring.insert(*piece);
            }
        }
    }
    std::vector<FeedReading> used;
    QSet<QString> takenAsStop;  // the poles of one stop give it one reading, the first
    for (Candidate& c : candidates) {
        if (occurring.contains(c.text)) {
            used.push_back({std::move(c.text), c.reading->reading, c.reading->line});
        } else if (!c.stop.isEmpty() && occurring.contains(c.stop) && !takenAsStop.contains(c.stop)) {
            takenAsStop.insert(c.stop);
            used.push_back({c.stop, readingWithoutBoardingPlace(c.reading->text, c.reading->reading), c.reading->line});
        }
    }
    return used;
}

}  // namespace

void ImportControl::report(Stage stage, qint64 done, qint64 total) const
{
    if (progress)
        progress(stage, done, total);
}

void ImportControl::stopIfCancelled() const
{
    if (cancelled && cancelled())
        throw ImportCancelled{};
}

FeedImport::FeedImport(const QString& path, const QStringList& routes, const ImportControl& control, Purpose purpose)
    : path_(path), purpose_(purpose)
{
    source_ = FeedSource::open(path);
    ObservedSource observed(*source_, control);
    feed_ = readFeed(observed, purpose == Purpose::Write ? CallTimes::Kept : CallTimes::Skipped);
    for (const QString& route : routes) {
        if (!feed_.routeById.contains(route))
            throw InputError(source_->pathOf(QStringLiteral("routes.txt")), 0,
                             QStringLiteral("there is no route_id %1").arg(route));
    }

    routePatterns_ = findPatterns(feed_);
    numberPatterns(routePatterns_, feed_);
    const FareLookup fares(feed_.fareRules);
    const qint64 total = qint64(routePatterns_.size());
    qint64 done = 0;
    for (const RoutePattern& p : routePatterns_) {
        control.stopIfCancelled();
        control.report(ImportControl::Stage::Converting, done++, total);
        const Route& route = feed_.routes[std::size_t(p.route)];
        if (!routes.isEmpty() && !routes.contains(route.id))
            continue;
        ImportedPattern item;
        item.pattern = &p;
        if (p.callCount > kMaxStops) {
            item.refused = QStringLiteral("%1 stops; a fare table holds at most %2").arg(p.callCount).arg(kMaxStops);
        } else if (p.stops.size() < 2) {
            item.refused = QStringLiteral("a single stop; a route needs two to be driven");
        } else {
            PatternInput input;
            for (int s : p.stops)
                input.names.push_back(feed_.shownName(s));
            input.headsign = p.headsign;
            const std::optional<int> flat = fares.flatFare(p.route);
            bool flatUsed = false;
            input.fare = [&](int from, int to) {
                const auto fare = fares.fare(p.route, feed_.stops[std::size_t(p.stops[std::size_t(from)])].zone,
                                             feed_.stops[std::size_t(p.stops[std::size_t(to)])].zone);
                flatUsed |= !fare && flat;
                return fare ? fare : flat;
            };
            item.converted = convertPattern(input);
            if (flatUsed)
                item.converted.warnings << QStringLiteral("the feed's only fare for route %1 is %2 yen; taken as its flat "
                                                          "fare between stops its rules do not name")
                                               .arg(route.id)
                                               .arg(*flat);
            item.firstStop = item.converted.rows.front().stopName;
            item.lastStop = item.converted.rows.back().stopName;
            if (purpose == Purpose::ListOnly) {
                item.converted.rows = {};
                item.converted.tape = {};
            }
        }
        items_.push_back(std::move(item));
    }
    control.report(ImportControl::Stage::Converting, total, total);
    if (items_.empty())
        throw InputError(path, 0, QStringLiteral("the feed has no trips with stops to import"));
}

QStringList FeedImport::listColumns()
{
    return {QStringLiteral("系統"), QStringLiteral("route_id"), QStringLiteral("route_short_name"),
            QStringLiteral("route_long_name"), QStringLiteral("direction_id"), QStringLiteral("headsign"),
            QStringLiteral("first_stop"), QStringLiteral("last_stop"), QStringLiteral("stops"),
            QStringLiteral("ticket_numbers")};
}

QStringList FeedImport::listRow(const ImportedPattern& item) const
{
    const RoutePattern& p = *item.pattern;
    const Route& route = routeOf(item);
    return {QString::number(p.number), route.id, route.shortName, route.longName, p.direction,
            p.headsign.isEmpty() ? QString() : toBoardText(p.headsign).text, item.firstStop, item.lastStop,
            QString::number(p.callCount), QString::number(item.converted.ticketCount)};
}

QStringList FeedImport::stopNames(const ImportedPattern& item) const
{
    QStringList names;
    if (!item.converted.rows.empty()) {
        for (const auto& row : item.converted.rows)
            names << row.stopName;
        return names;
    }
    for (int s : item.pattern->stops)
        names << feed_.shownName(s);
    return names;
}

FeedImport::Written FeedImport::write(const QString& outDir, const std::vector<int>& numbers,
                                      const ImportControl& control) const
{
    if (purpose_ != Purpose::Write)
        throw InputError(path_, 0, QStringLiteral("the feed was read only to list its routes; nothing was written"));
    Written written;
    written.warnings = feed_.warnings;
    std::vector<QStringList> table{listColumns()};
    std::vector<std::pair<QString, QByteArray>> files;
    const qint64 total = qint64(items_.size());
    qint64 done = 0;
    for (const ImportedPattern& item : items_) {
        control.stopIfCancelled();
        control.report(ImportControl::Stage::Writing, done++, total);
        if (!chosen(numbers, item))
            continue;
        table.push_back(listRow(item));
        const QString number = QString::number(item.pattern->number);
        const QString fareName = number + QStringLiteral(".hy3");
        files.emplace_back(fareName, encodeFareData(item.converted.rows, fareName));
        files.emplace_back(number + QStringLiteral("tp.csv"), tapeFileBytes(item.converted.tape));
        files.emplace_back(number + QStringLiteral("times.csv"),
                           tripTimesFileBytes(feed_, *item.pattern, number + QStringLiteral("times.csv"), written.warnings));
        for (const QString& w : item.converted.warnings)
            written.warnings << fareName + QStringLiteral(": ") + w;
        ++written.imported;
    }
    if (written.imported == 0)
        throw InputError(path_, 0, QStringLiteral("no route pattern can be imported; nothing was written"));
    files.emplace_back(QStringLiteral("routes.csv"), csvBytes(table));
    files.emplace_back(QStringLiteral("readings.csv"),
                       readingsFileBytes(QFileInfo(QDir::cleanPath(QFileInfo(path_).absoluteFilePath())).fileName(),
                                         source_->pathOf(QStringLiteral("translations.txt")),
                                         usedReadings(feed_, items_, numbers), written.warnings));
    control.stopIfCancelled();
    replaceFiles(outDir, files, earlierRouteFiles(outDir, files));
    control.report(ImportControl::Stage::Writing, total, total);
    return written;
}

}  // namespace fareboard::datatool::gtfs
