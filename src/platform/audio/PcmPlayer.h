#pragma once

#include <cstdint>
#include <vector>

namespace fareboard {

// One sound channel that plays samples made in memory (the speech). May be called from a
// worker thread: the synthesiser hands its samples over from there.
class PcmPlayer {
public:
    virtual ~PcmPlayer() = default;
    // Mono 16-bit samples at `sampleRate`; cuts off whatever the channel was playing.
    virtual void play(std::vector<int16_t> samples, int sampleRate) = 0;
    virtual void halt() = 0;
    virtual bool playing() const = 0;
};

}  // namespace fareboard
