#include "RunSchedule.h"

#include <algorithm>
#include <cmath>

namespace fareboard {
namespace {

// Where in the ride to the next stop a passenger rings: not at once after the doors close,
// and well before the bus gets there.
constexpr double kEarliestRing = 0.15;
constexpr double kLatestRing = 0.6;

RunPlan planOf(const std::vector<double>& times, double begin)
{
    RunPlan plan;
    plan.begin = begin;
    for (std::size_t i = 0; i + 1 < times.size(); ++i)
        plan.steps.push_back({int(i) + 2, times[i]});
    plan.arrival = times.back();
    return plan;
}

}  // namespace

RunPlan planTrip(const std::vector<std::optional<int>>& departures, int rowCount)
{
    if (rowCount < 2)
        return {};
    const std::size_t count = std::size_t(rowCount);
    std::vector<std::optional<double>> given(count);
    for (std::size_t i = 0; i < count && i < departures.size(); ++i)
        if (departures[i])
            given[i] = *departures[i];
    // A stop at the time of the one before it takes its share of the time up to the next later
    // departure, as a stop without a time does; at the end of the trip there is none to share.
    std::optional<double> before;
    std::vector<std::size_t> tied;
    for (std::size_t i = 0; i < count; ++i) {
        if (!given[i])
            continue;
        if (before && *given[i] == *before)
            tied.push_back(i);
        else
            before = given[i];
    }
    for (std::size_t i : tied) {
        const bool later = std::any_of(given.begin() + std::ptrdiff_t(i) + 1, given.end(),
                                       [&](const std::optional<double>& t) { return t && *t > *given[i]; });
        if (later)
            given[i].reset();
    }
    std::vector<std::size_t> known;
    for (std::size_t i = 0; i < count; ++i)
        if (given[i])
            known.push_back(i);
    if (known.empty())
        return planUntimed(rowCount, 0);

    std::vector<double> t(count);
    for (std::size_t i = 0; i < known.front(); ++i)
        t[i] = *given[known.front()] - kUntimedGapSeconds * double(known.front() - i);
    for (std::size_t k = 0; k < known.size(); ++k) {
        const std::size_t a = known[k];
        t[a] = *given[a];
        if (k + 1 < known.size()) {
            const std::size_t b = known[k + 1];
            for (std::size_t i = a + 1; i < b; ++i)
                t[i] = *given[a] + (*given[b] - *given[a]) * double(i - a) / double(b - a);
        }
    }
    for (std::size_t i = known.back() + 1; i < count; ++i)
        t[i] = *given[known.back()] + kUntimedGapSeconds * double(i - known.back());
    return planOf(t, t.front() - kRunLeadSeconds);
}

RunPlan planUntimed(int rowCount, double begin)
{
    if (rowCount < 2)
        return {};
    std::vector<double> t(static_cast<std::size_t>(rowCount));
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = begin + kUntimedGapSeconds * double(i + 1);
    return planOf(t, begin);
}

int32_t announcementFor(int row, const std::vector<int16_t>& stepFlags)
{
    int steps = 0;
    for (std::size_t i = 0; i < stepFlags.size(); ++i)
        if (stepFlags[i] == 1 && ++steps == row - 1)
            return int32_t(i) + 1;
    return 0;
}

int32_t greetingOf(const std::vector<int16_t>& stepFlags)
{
    return !stepFlags.empty() && stepFlags.front() != 1 ? 1 : 0;
}

int32_t farewellOf(const std::vector<int16_t>& stepFlags)
{
    for (std::size_t i = stepFlags.size(); i-- > 0;)
        if (stepFlags[i] == 1)
            return i + 1 < stepFlags.size() ? int32_t(i) + 2 : 0;
    return 0;
}

std::vector<double> passengerRequests(const RunPlan& plan, double chance, std::mt19937& random)
{
    std::vector<double> rings;
    std::bernoulli_distribution rings_here(std::clamp(chance, 0.0, 1.0));
    std::uniform_real_distribution<double> when(kEarliestRing, kLatestRing);
    // Everyone leaves at the last stop; nobody rings for it.
    for (std::size_t i = 0; i + 1 < plan.steps.size(); ++i) {
        const double from = plan.steps[i].at;
        const double to = plan.steps[i + 1].at;
        const bool ring = rings_here(random);
        const double at = from + (to - from) * when(random);
        if (ring)
            rings.push_back(at);
    }
    return rings;
}

void RunClock::start(double sim, qint64 realMs, double speed)
{
    simAnchor_ = sim;
    realAnchor_ = realMs;
    speed_ = speed;
    paused_ = false;
}

double RunClock::simAt(qint64 realMs) const
{
    return paused_ ? simAnchor_ : simAnchor_ + double(realMs - realAnchor_) / 1000.0 * speed_;
}

qint64 RunClock::realAt(double sim) const
{
    return realAnchor_ + qint64(std::ceil((sim - simAnchor_) / speed_ * 1000.0));
}

void RunClock::setSpeed(double speed, qint64 realMs)
{
    simAnchor_ = simAt(realMs);
    realAnchor_ = realMs;
    speed_ = speed;
}

void RunClock::pause(qint64 realMs)
{
    if (paused_)
        return;
    simAnchor_ = simAt(realMs);
    realAnchor_ = realMs;
    paused_ = true;
}

void RunClock::resume(qint64 realMs)
{
    if (!paused_)
        return;
    realAnchor_ = realMs;
    paused_ = false;
}

}  // namespace fareboard
