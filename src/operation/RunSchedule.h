#pragma once

#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace fareboard {

// A timetable run from the first stop: when the board steps to each following stop. Times are
// simulated seconds from the service day's midnight (they may pass 24 hours).
struct RunStep {
    int row = 0;     // the route table row the board moves to (2 for the first step)
    double at = 0;   // the departure from the stop before it
};

struct RunPlan {
    double begin = 0;    // the simulated time the run starts at, while the bus waits at its first stop
    std::vector<RunStep> steps;
    double arrival = 0;  // at the last stop, where the run ends
};

// How long the bus waits at its first stop before a timetabled departure.
inline constexpr double kRunLeadSeconds = 60;
// Between stops on a route without a timetable.
inline constexpr double kUntimedGapSeconds = 60;

// The run of a trip over a route of `rowCount` stops, from its departure times. Stops without
// a time take one between their neighbours' (or a minute before the first / after the last
// time given); stops the timetable lists at the same minute as the one before (its times are
// whole minutes) share the time to the next later departure evenly, so every stop shows on the
// board for a while. Stops beyond the route's are left out; a route longer than the timetable
// goes on a minute a stop. Without any time the plan is that of an untimed route from 0.
RunPlan planTrip(const std::vector<std::optional<int>>& departures, int rowCount);
// A route without a timetable: a minute between stops from `begin`.
RunPlan planUntimed(int rowCount, double begin);

// The tape entry that announces the stop of row `row` (2 and on): the one whose step flag is
// the (row - 1)-th set, as "送り" from the start would reach it with the board on that row.
// 0 when the tape has none for it.
int32_t announcementFor(int row, const std::vector<int16_t>& stepFlags);
// The first entry, when it is a greeting (no step flag) to play as the run starts; else 0.
int32_t greetingOf(const std::vector<int16_t>& stepFlags);
// The entry after the last stop's announcement, when it does not step (a farewell); else 0.
int32_t farewellOf(const std::vector<int16_t>& stepFlags);

// Passengers' stop requests: for each stop but the last, with chance `chance`, one ring at a
// random moment between the departure before it and a little before its own departure. The
// same seed gives the same rings.
std::vector<double> passengerRequests(const RunPlan& plan, double chance, std::mt19937& random);

// Simulated time running at a speed from an anchor on the real clock (milliseconds of a
// monotonic clock). Pausing freezes it; a new speed applies from the moment it is set.
class RunClock {
public:
    void start(double sim, qint64 realMs, double speed);
    double simAt(qint64 realMs) const;
    // The real moment `sim` is reached, when running.
    qint64 realAt(double sim) const;
    void setSpeed(double speed, qint64 realMs);
    void pause(qint64 realMs);
    void resume(qint64 realMs);
    bool paused() const { return paused_; }
    double speed() const { return speed_; }

private:
    double simAnchor_ = 0;
    qint64 realAnchor_ = 0;
    double speed_ = 1;
    bool paused_ = false;
};

}  // namespace fareboard
