#pragma once

#include "Sleeper.h"

namespace fareboard {

// Waits in a local event loop that excludes user input: timers and painting go on, clicks made
// meanwhile are delivered afterwards, as on a blocked desktop thread.
class EventLoopSleeper final : public Sleeper {
public:
    void sleep(int milliseconds) override;
};

}  // namespace fareboard
