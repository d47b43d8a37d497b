#pragma once

namespace fareboard {

// What the scroll reads from its control at every frame, so changes made meanwhile (a slider
// moving Speed, a new wait) take effect at once.
struct ScrollInputs {
    int speed = 5;          // 1/200 pixel per step
    int startWaitMs = 1500; // pause before each pass
    int windowHeight = 192;
    int stripHeight = 224;
};

// The position of a long name's strip as it rises through the window, as a function of time.
// A pass is: a start wait with the strip just below the window, then steps of Speed/200 pixel
// at a nominal 2,000 steps a second until the strip's lower edge is a window height above the
// window, then back below the window and wait again. Time comes from the caller, so a frame
// timer drives it on screen and tests drive it without waiting.
class ChimeiScroll {
public:
    static constexpr double kStepsPerMs = 2.0;

    enum class Phase { Stopped, FirstWait, Moving, PassWait };

    struct Advance {
        double unusedMs = 0;          // time left over when the first start wait ended
        bool startWaitEnded = false;  // the owner corrects Speed now, then advances by unusedMs
    };

    // Begins a scroll with its first start wait; the strip is placed below the window.
    void start(int windowHeight, int startWaitMs);
    // Ends it; the strip stays where it is.
    void stop();

    // Moves time on by `ms`. Stops early when the first start wait ends, because the speed
    // for the steps after it may be corrected by the owner (a Speed of 0 becomes 1).
    Advance advance(double ms, const ScrollInputs& in);

    Phase phase() const { return phase_; }
    bool running() const { return phase_ != Phase::Stopped; }
    bool waiting() const { return phase_ == Phase::FirstWait || phase_ == Phase::PassWait; }
    // Milliseconds until the current wait ends; 0 when not waiting.
    double waitLeftMs() const { return waiting() ? waitLeftMs_ : 0; }
    // The exact position and the whole-pixel top the strip is shown at.
    double position() const { return position_; }
    int top() const { return top_; }

private:
    void placeBelow(int windowHeight);

    Phase phase_ = Phase::Stopped;
    double position_ = 0;
    int top_ = 0;
    double waitLeftMs_ = 0;
    double stepCredit_ = 0;  // steps earned by elapsed time but not yet taken
};

}  // namespace fareboard
