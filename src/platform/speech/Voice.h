#pragma once

#include "SpeechSettings.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace fareboard {

// One synthesiser that turns prepared text (readings already applied) into samples. Called
// from one thread at a time, never the user interface's: a voice may take a while.
class Voice {
public:
    virtual ~Voice() = default;
    // Loads what the voice needs (its libraries, its dictionary) on the calling thread; false
    // when it turns out it cannot speak on this machine after all. Asked before the first text.
    virtual bool load() { return true; }
    virtual int sampleRate() const = 0;
    // Mono 16-bit samples without the lead-in silence; empty when cancelled or failed.
    // `background` work yields the processor to everything else on the machine.
    virtual std::vector<int16_t> synthesize(const QString& text, const SpeechSettings& settings, bool background,
                                            const std::function<bool()>& cancelled) = 0;
    // The text as this voice will pronounce it, in katakana with the punctuation kept.
    virtual QString pronounce(const QString& text) = 0;
    // Why the last synthesize() made no sound though nothing cancelled it (the voice's program
    // failed, hung or answered nonsense); empty when it did not fail. A voice that fails is
    // not asked again: the next one speaks instead.
    virtual QString failure() const { return {}; }
};

}  // namespace fareboard
