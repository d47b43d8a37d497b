#include "controls/stopname/ChimeiScroll.h"

#include <gtest/gtest.h>

using namespace fareboard;

namespace {

// Moves the scroll on in frames of `frameMs`, as the frame timer would.
void run(ChimeiScroll& s, const ScrollInputs& in, double ms, double frameMs = 16)
{
    for (double t = 0; t < ms; t += frameMs) {
        const auto a = s.advance(std::min(frameMs, ms - t), in);
        if (a.startWaitEnded)
            s.advance(a.unusedMs, in);
    }
}

}  // namespace

TEST(ChimeiScroll, waitsBelowTheWindowThenRisesFiftyPixelsASecondAtSpeedFive)
{
    ChimeiScroll s;
    const ScrollInputs in{5, 1500, 192, 224};
    s.start(192, 1500);
    EXPECT_EQ(s.top(), 192);
    run(s, in, 1496);
    EXPECT_EQ(s.phase(), ChimeiScroll::Phase::FirstWait);
    EXPECT_EQ(s.top(), 192);
    run(s, in, 4);
    EXPECT_EQ(s.phase(), ChimeiScroll::Phase::Moving);
    run(s, in, 1000);
    EXPECT_NEAR(s.position(), 142, 1e-6);
    EXPECT_EQ(s.top(), 142);
    // Twice the speed, read at the next frame, twice the distance.
    run(s, {10, 1500, 192, 224}, 1000);
    EXPECT_NEAR(s.position(), 42, 1e-6);
}

TEST(ChimeiScroll, firstWaitEndingMidFrameHandsBackTheRestOfTheFrame)
{
    ChimeiScroll s;
    s.start(192, 100);
    const auto a = s.advance(150, {0, 100, 192, 224});
    EXPECT_TRUE(a.startWaitEnded);
    EXPECT_DOUBLE_EQ(a.unusedMs, 50);
    EXPECT_EQ(s.top(), 192);
    // The owner corrected the speed; the rest of the frame moves at the corrected speed.
    s.advance(a.unusedMs, {200, 100, 192, 224});
    EXPECT_EQ(s.top(), 92);
    // Later frames never report the first wait again.
    EXPECT_FALSE(s.advance(10, {200, 100, 192, 224}).startWaitEnded);
}

TEST(ChimeiScroll, aPassEndsAWindowHeightAboveTheWindowAndStartsOverAfterAWait)
{
    ChimeiScroll s;
    const ScrollInputs in{5, 1000, 192, 224};
    s.start(192, 1000);
    run(s, in, 1000);
    // From 192 down to -416 (top + 224 <= -192) is 608 pixels: 12.16 seconds at 50 px/s.
    run(s, in, 12100);
    EXPECT_EQ(s.phase(), ChimeiScroll::Phase::Moving);
    EXPECT_GT(s.top(), -416);
    EXPECT_LT(s.top(), -410);
    run(s, in, 100);
    EXPECT_EQ(s.phase(), ChimeiScroll::Phase::PassWait);
    EXPECT_EQ(s.top(), 192);
    // The last 2.5 pixels took 50 ms of the frame's 100; the rest already counts as waiting.
    EXPECT_NEAR(s.waitLeftMs(), 950, 1.0);
    run(s, in, 950);
    EXPECT_EQ(s.top(), 192);
    run(s, in, 1000);
    EXPECT_EQ(s.top(), 142);
}

TEST(ChimeiScroll, standsAtSpeedZeroAndStopsWhereItIs)
{
    ChimeiScroll s;
    s.start(192, 0);
    run(s, {5, 0, 192, 224}, 400);
    const int before = s.top();
    EXPECT_EQ(before, 172);
    run(s, {0, 0, 192, 224}, 5000);
    EXPECT_EQ(s.top(), before);
    // No steps were saved up while it stood.
    run(s, {5, 0, 192, 224}, 20);
    EXPECT_EQ(s.top(), before - 1);
    s.stop();
    EXPECT_FALSE(s.running());
    run(s, {5, 0, 192, 224}, 1000);
    EXPECT_EQ(s.top(), before - 1);
}
