#include "operation/RunSchedule.h"
#include "operation/Timetable.h"

#include <gtest/gtest.h>

using namespace fareboard;

namespace {

constexpr int hms(int h, int m, int s = 0) { return h * 3600 + m * 60 + s; }

std::vector<double> stepTimes(const RunPlan& plan)
{
    std::vector<double> times;
    for (const RunStep& s : plan.steps)
        times.push_back(s.at);
    return times;
}

}  // namespace

TEST(Timetable, ReadsTripsWhoseTimesPassMidnight)
{
    const Timetable t = parseTimetable("a-001,平日,\"川崎駅西口, 矢向経由\",23:58:00,24:01:00,,25:10:30\n"
                                       "a-002,土曜,川崎駅西口,6:27:00,6:29:00\n",
                                       QStringLiteral("2times.csv"));
    ASSERT_TRUE(t.fault.isEmpty()) << t.fault.toStdString();
    ASSERT_EQ(t.trips.size(), 2u);
    const TimetableTrip& late = t.trips[0];
    EXPECT_EQ(late.headsign, QStringLiteral("川崎駅西口, 矢向経由"));
    ASSERT_EQ(late.departures.size(), 4u);
    EXPECT_EQ(late.departures[1], hms(24, 1));
    EXPECT_FALSE(late.departures[2].has_value());
    EXPECT_EQ(late.departures[3], hms(25, 10, 30));
    EXPECT_EQ(t.trips[1].firstDeparture(), hms(6, 27));
    EXPECT_EQ(t.trips[1].service, QStringLiteral("土曜"));
    EXPECT_EQ(gtfsTimeText(hms(25, 10, 30)), QStringLiteral("25:10:30"));
    EXPECT_EQ(gtfsTimeText(hms(6, 27)), QStringLiteral("06:27:00"));
}

TEST(Timetable, RefusesTheWholeFileAtItsFirstBadLine)
{
    const QString name = QStringLiteral("2times.csv");
    for (const char* bad : {"t,s,h,6:27:00\nt2,s,h,6:7:00\n",           // not a time
                            "t,s,h,6:27:00\nt2,s,h,6:30:00,6:29:00\n",  // runs backwards
                            "t,s,h,6:27:00\nt2,s,h\n"}) {               // no time at all
        const Timetable t = parseTimetable(bad, name);
        EXPECT_TRUE(t.trips.empty()) << bad;
        EXPECT_TRUE(t.fault.startsWith(QStringLiteral("2times.csv:2: "))) << t.fault.toStdString();
    }
}

TEST(RunSchedule, ATripPastMidnightStepsAtEveryStopsDeparture)
{
    const RunPlan plan = planTrip({hms(23, 58), hms(23, 59), hms(24, 1), hms(24, 4)}, 4);
    EXPECT_EQ(plan.begin, hms(23, 57));
    ASSERT_EQ(plan.steps.size(), 3u);
    for (std::size_t i = 0; i < plan.steps.size(); ++i)
        EXPECT_EQ(plan.steps[i].row, int(i) + 2);
    EXPECT_EQ(stepTimes(plan), (std::vector<double>{hms(23, 58), hms(23, 59), hms(24, 1)}));
    EXPECT_EQ(plan.arrival, hms(24, 4));
}

TEST(RunSchedule, StopsWithoutTimeOrAtTheSameMinuteStillShowEachInTurn)
{
    // Two stops at 6:30 (the feed's times are whole minutes), a stop without a time, and a
    // route one stop longer than the trip.
    const RunPlan plan = planTrip({hms(6, 29), hms(6, 30), hms(6, 30), std::nullopt, hms(6, 33)}, 6);
    EXPECT_EQ(stepTimes(plan), (std::vector<double>{hms(6, 29), hms(6, 30), hms(6, 31), hms(6, 32), hms(6, 33)}));
    EXPECT_EQ(plan.steps.back().row, 6);
    EXPECT_EQ(plan.arrival, hms(6, 34));
    // Times for more stops than the route has are left out.
    EXPECT_EQ(planTrip({hms(6, 0), hms(6, 1), hms(6, 2), hms(6, 3)}, 2).steps.size(), 1u);

    const RunPlan untimed = planUntimed(3, hms(9, 5));
    EXPECT_EQ(untimed.begin, hms(9, 5));
    EXPECT_EQ(stepTimes(untimed), (std::vector<double>{hms(9, 6), hms(9, 7)}));
    EXPECT_EQ(untimed.arrival, hms(9, 8));
}

TEST(RunSchedule, EachStepAnnouncesItsOwnStop)
{
    // A greeting, the stops, a farewell; a tape without step flags announces nothing.
    const std::vector<int16_t> tape{0, 1, 1, 1, 0};
    EXPECT_EQ(greetingOf(tape), 1);
    EXPECT_EQ(announcementFor(2, tape), 2);
    EXPECT_EQ(announcementFor(4, tape), 4);
    EXPECT_EQ(announcementFor(5, tape), 0);
    EXPECT_EQ(farewellOf(tape), 5);
    EXPECT_EQ(farewellOf({0, 1, 1}), 0);
    EXPECT_EQ(greetingOf({1, 1}), 0);
    EXPECT_EQ(announcementFor(2, {0, 0}), 0);
}

TEST(RunSchedule, PassengersRingBetweenStopsAndTheSameSeedRingsAlike)
{
    const RunPlan plan = planUntimed(30, 0);
    std::mt19937 a(7), b(7);
    const std::vector<double> rings = passengerRequests(plan, 0.5, a);
    EXPECT_EQ(rings, passengerRequests(plan, 0.5, b));
    EXPECT_GT(rings.size(), 5u);
    EXPECT_LT(rings.size(), 25u);
    for (double at : rings) {
        // After a departure, well before the next one, never on the way to the last stop.
        const double intoGap = std::fmod(at, kUntimedGapSeconds);
        EXPECT_GT(intoGap, 0.1 * kUntimedGapSeconds);
        EXPECT_LT(intoGap, 0.7 * kUntimedGapSeconds);
        EXPECT_LT(at, plan.steps.back().at);
    }
    std::mt19937 c(7);
    EXPECT_TRUE(passengerRequests(plan, 0, c).empty());
}

TEST(RunSchedule, TheClockKeepsItsTimeAcrossPausesAndSpeedChanges)
{
    RunClock clock;
    clock.start(hms(6, 26), 1000, 60);
    EXPECT_EQ(clock.simAt(2000), hms(6, 27));
    EXPECT_EQ(clock.realAt(hms(6, 28)), 3000);
    clock.pause(2000);
    EXPECT_EQ(clock.simAt(9000), hms(6, 27));
    clock.resume(9000);
    clock.setSpeed(10, 10000);
    EXPECT_EQ(clock.simAt(10000), hms(6, 28));
    EXPECT_EQ(clock.simAt(16000), hms(6, 29));
    EXPECT_EQ(clock.realAt(hms(6, 30)), 22000);
}
