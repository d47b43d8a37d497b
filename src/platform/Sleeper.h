#pragma once

namespace fareboard {

// Blocking waits (the lamp test, a sound played to its end). The real one keeps the windows
// painted while it waits; the test one returns at once and remembers how long it was asked for.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(int milliseconds) = 0;
};

}  // namespace fareboard
