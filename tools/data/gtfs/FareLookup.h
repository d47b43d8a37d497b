#pragma once

#include "GtfsFeed.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace fareboard::datatool::gtfs {

// The fare between two zones on a route, from the feed's rules. The closest rule wins: one
// naming both zones over one naming a single zone over a flat fare (neither zone), and at each
// of those one naming the route over one for any route; among equals the cheapest, which is
// what a passenger would be charged.
class FareLookup {
public:
    explicit FareLookup(const std::vector<FareRule>& rules);

    // -1 for a stop without a zone: only rules that leave that side empty can apply.
    std::optional<int> fare(int route, int originZone, int destinationZone) const;

    // The price of a route whose own rules all charge one price: a flat-fare route, even where
    // its rules name zones that most of its stops, or all of them, lack (feeds write a flat
    // fare as a rule from the first stop's zone to itself). Nothing for other routes.
    std::optional<int> flatFare(int route) const;

private:
    static std::uint64_t key(int origin, int destination)
    {
        return (std::uint64_t(std::uint32_t(origin + 1)) << 32) | std::uint32_t(destination + 1);
    }
    std::unordered_map<std::uint64_t, std::vector<std::pair<int, int>>> byZones_;  // (route, price)
    std::unordered_map<int, int> onlyPrice_;  // route → its one price; -1 when it has several
};

}  // namespace fareboard::datatool::gtfs
