#pragma once

// What the GTFS-JP fuzz targets share: a small feed written out by hand, a feed held in
// memory, and the import's whole path from the files to the bytes it would write.
#include "gtfs/FareLookup.h"
#include "gtfs/FeedSource.h"
#include "gtfs/GtfsFeed.h"
#include "gtfs/OutputFiles.h"
#include "gtfs/PatternConversion.h"
#include "gtfs/RoutePatterns.h"
#include "FareDataWriter.h"
#include "InputError.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace fuzzfeed {

using namespace fareboard::datatool;
using namespace fareboard::datatool::gtfs;

// Two routes, one with a flat fare, one by zones, a variant, and readings in the newer layout.
inline std::vector<std::pair<QString, QByteArray>> smallFeed()
{
    return {
        {"stops.txt", "stop_id,stop_name,zone_id\r\nA,青凪駅,Z1\r\nB,\"本町, 2丁目\",Z2\r\nC,港 Pier 3,Z3\r\nD,髙島,Z3\r\n"},
        {"routes.txt", "route_id,route_short_name,route_long_name\nR1,12,本線\nR2,,港線\n"},
        {"trips.txt", "\xEF\xBB\xBFroute_id,trip_id,direction_id,trip_headsign\nR1,T1,0,港\nR1,T2,0,港\nR1,T3,1,\nR2,T4,,青凪駅\n"},
        {"stop_times.txt", "trip_id,stop_sequence,stop_id\nT1,1,A\nT1,2,B\nT1,3,C\nT2,1,A\nT2,2,B\nT2,3,C\n"
                           "T3,1,C\nT3,2,A\nT4,0,D\nT4,5,B\nT4,9,A\n"},
        {"fare_attributes.txt", "fare_id,price\nF1,180\nF2,220.0\nF3,200\n"},
        {"fare_rules.txt", "fare_id,route_id,origin_id,destination_id,contains_id\nF1,R1,Z1,Z2,\nF2,R1,Z1,Z3,\nF1,,Z2,Z3,\n"
                           "F3,R2,,,\nF1,,,,Z1\n"},
        {"translations.txt", "table_name,field_name,language,translation,record_id,record_sub_id,field_value\n"
                             "stops,stop_name,ja-Hrkt,あおなぎえき,A,,\nstops,stop_name,ja-Hrkt,たかしま,,,髙島\n"},
    };
}

class MemoryFeed : public FeedSource {
public:
    explicit MemoryFeed(std::map<QString, QByteArray> files) : files_(std::move(files)) {}
    std::unique_ptr<fareboard::datatool::ByteSource> file(const QString& name) override
    {
        const auto found = files_.find(name);
        if (found == files_.end())
            return nullptr;
        return std::make_unique<fareboard::datatool::MemorySource>(found->second);
    }
    QString pathOf(const QString& name) const override { return name; }

private:
    std::map<QString, QByteArray> files_;
};

// Everything the import does short of writing files.
inline void importAll(FeedSource& source)
{
    try {
        const Feed feed = readFeed(source);
        std::vector<RoutePattern> patterns = findPatterns(feed);
        numberPatterns(patterns, feed);
        const FareLookup fares(feed.fareRules);
        QStringList warnings;
        const std::vector<FeedReading>& readings = feed.readings;
        for (const RoutePattern& p : patterns) {
            if (p.stops.size() < 2 || p.callCount > 301)
                continue;
            PatternInput input;
            for (int s : p.stops)
                input.names.push_back(feed.stops[std::size_t(s)].name);
            input.headsign = p.headsign;
            const auto flat = fares.flatFare(p.route);
            input.fare = [&](int from, int to) {
                const auto f = fares.fare(p.route, feed.stops[std::size_t(p.stops[std::size_t(from)])].zone,
                                          feed.stops[std::size_t(p.stops[std::size_t(to)])].zone);
                return f ? f : flat;
            };
            const ConvertedPattern c = convertPattern(input);
            encodeFareData(c.rows, QStringLiteral("fuzz.hy3"));
            tapeFileBytes(c.tape);
        }
        readingsFileBytes(QStringLiteral("fuzz"), QStringLiteral("translations.txt"), readings, warnings);
    } catch (const InputError&) {
        // A refused feed is a correct answer; only crashes, hangs and leaks are findings.
    }
}

}  // namespace fuzzfeed
