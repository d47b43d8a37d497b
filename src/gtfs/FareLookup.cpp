#include "FareLookup.h"

#include <algorithm>

namespace fareboard::datatool::gtfs {

FareLookup::FareLookup(const std::vector<FareRule>& rules)
{
    for (const FareRule& rule : rules) {
        byZones_[key(rule.origin, rule.destination)].emplace_back(rule.route, rule.price);
        if (rule.route >= 0) {
            const auto [it, added] = onlyPrice_.try_emplace(rule.route, rule.price);
            if (!added && it->second != rule.price)
                it->second = -1;
        }
    }
}

std::optional<int> FareLookup::flatFare(int route) const
{
    const auto found = onlyPrice_.find(route);
    if (found == onlyPrice_.end() || found->second < 0)
        return std::nullopt;
    return found->second;
}

std::optional<int> FareLookup::fare(int route, int originZone, int destinationZone) const
{
    const std::pair<int, int> tries[] = {
        {originZone, destinationZone}, {originZone, -1}, {-1, destinationZone}, {-1, -1}};
    for (const auto& [origin, destination] : tries) {
        const auto found = byZones_.find(key(origin, destination));
        if (found == byZones_.end())
            continue;
        std::optional<int> forRoute, forAny;
        for (const auto& [r, price] : found->second) {
            if (r != route && r != -1)
                continue;
            auto& best = r == route ? forRoute : forAny;
            best = best ? std::min(*best, price) : price;
        }
        if (forRoute)
            return forRoute;
        if (forAny)
            return forAny;
    }
    return std::nullopt;
}

}  // namespace fareboard::datatool::gtfs
