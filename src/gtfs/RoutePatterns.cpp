#include "RoutePatterns.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace fareboard::datatool::gtfs {

std::vector<RoutePattern> findPatterns(const Feed& feed)
{
    struct Gathered {
        int firstTrip = 0;  // keeps the order stable between runs
        int tripCount = 0;
        std::vector<int> trips;
        std::map<QString, int> headsigns;
    };
    using Key = std::tuple<int, QString, std::vector<int>, int>;
    std::map<Key, Gathered> byKey;
    for (std::size_t t = 0; t < feed.trips.size(); ++t) {
        const Trip& trip = feed.trips[t];
        if (trip.stops.empty())
            continue;
        std::vector<int> stops;
        stops.reserve(trip.stops.size());
        for (const auto& call : trip.stops)
            stops.push_back(call.stop);
        auto [it, added] = byKey.try_emplace(Key{trip.route, trip.direction, std::move(stops), trip.callCount});
        if (added)
            it->second.firstTrip = int(t);
        ++it->second.tripCount;
        it->second.trips.push_back(int(t));
        if (!trip.headsign.isEmpty())
            ++it->second.headsigns[trip.headsign];
    }

    std::vector<RoutePattern> patterns;
    std::vector<int> firstTrips;
    for (auto& [key, gathered] : byKey) {
        RoutePattern p;
        p.route = std::get<0>(key);
        p.direction = std::get<1>(key);
        p.stops = std::get<2>(key);
        p.callCount = std::get<3>(key);
        p.tripCount = gathered.tripCount;
        p.trips = std::move(gathered.trips);
        int best = 0;
        for (const auto& [headsign, count] : gathered.headsigns) {
            if (count > best) {
                best = count;
                p.headsign = headsign;
            }
        }
        patterns.push_back(std::move(p));
        firstTrips.push_back(gathered.firstTrip);
    }
    std::vector<std::size_t> order(patterns.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const RoutePattern& x = patterns[a];
        const RoutePattern& y = patterns[b];
        return std::make_tuple(x.route, x.direction, -x.tripCount, firstTrips[a]) <
               std::make_tuple(y.route, y.direction, -y.tripCount, firstTrips[b]);
    });
    std::vector<RoutePattern> sorted;
    sorted.reserve(patterns.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(patterns[i]));
    return sorted;
}

void numberPatterns(std::vector<RoutePattern>& patterns, const Feed& feed)
{
    static const QRegularExpression routeNumber(QStringLiteral("^[0-9]{1,5}$"));
    std::map<int, int> uses;
    auto ownNumber = [&](const RoutePattern& p) {
        const QString& name = feed.routes[std::size_t(p.route)].shortName;
        return routeNumber.match(name).hasMatch() ? name.toInt() : 0;
    };
    for (const RoutePattern& p : patterns) {
        if (const int n = ownNumber(p); n > 0)
            ++uses[n];
    }
    std::set<int> taken;
    for (RoutePattern& p : patterns) {
        const int n = ownNumber(p);
        p.number = n > 0 && uses[n] == 1 ? n : 0;
        if (p.number > 0)
            taken.insert(p.number);
    }
    int next = 1;
    for (RoutePattern& p : patterns) {
        if (p.number > 0)
            continue;
        while (taken.count(next))
            ++next;
        p.number = next++;
    }
}

}  // namespace fareboard::datatool::gtfs
