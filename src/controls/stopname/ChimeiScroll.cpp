#include "ChimeiScroll.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace fareboard {
namespace {

int wholePixels(double p) { return static_cast<int>(std::clamp(std::round(p), double(INT_MIN), double(INT_MAX))); }

}  // namespace

void ChimeiScroll::placeBelow(int windowHeight)
{
    position_ = windowHeight;
    top_ = windowHeight;
}

void ChimeiScroll::start(int windowHeight, int startWaitMs)
{
    phase_ = Phase::FirstWait;
    waitLeftMs_ = std::max(0, startWaitMs);
    stepCredit_ = 0;
    placeBelow(windowHeight);
}

void ChimeiScroll::stop()
{
    phase_ = Phase::Stopped;
    stepCredit_ = 0;
}

ChimeiScroll::Advance ChimeiScroll::advance(double ms, const ScrollInputs& in)
{
    ms = std::max(0.0, ms);
    while (phase_ != Phase::Stopped) {
        if (waiting()) {
            const double used = std::min(ms, waitLeftMs_);
            waitLeftMs_ -= used;
            ms -= used;
            if (waitLeftMs_ > 0)
                return {};
            const bool first = phase_ == Phase::FirstWait;
            phase_ = Phase::Moving;
            stepCredit_ = 0;
            if (first) {
                placeBelow(in.windowHeight);
                return {ms, true};
            }
            continue;
        }
        if (in.speed == 0) {
            // Steps of nothing: the strip stands, and no credit is saved up to jump later.
            stepCredit_ = 0;
            return {};
        }
        stepCredit_ += ms * kStepsPerMs;
        ms = 0;
        const double step = in.speed / 200.0;
        while (stepCredit_ >= 1) {
            stepCredit_ -= 1;
            position_ -= step;
            top_ = wholePixels(position_);
            if (top_ + in.stripHeight <= -in.windowHeight) {
                // The pass is over: the strip goes back below the window and waits there; the
                // time not spent on steps counts towards that wait.
                placeBelow(in.windowHeight);
                phase_ = Phase::PassWait;
                waitLeftMs_ = std::max(0, in.startWaitMs);
                ms = stepCredit_ / kStepsPerMs;
                stepCredit_ = 0;
                break;
            }
        }
        if (phase_ == Phase::Moving)
            return {};
    }
    return {};
}

}  // namespace fareboard
