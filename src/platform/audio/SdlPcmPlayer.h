#pragma once

#include "PcmPlayer.h"

#include <QString>

namespace fareboard {

class SdlMixer;

// A mixer channel of its own for samples made in memory, so speech overlaps the chimes of the
// named channels instead of cutting them off.
class SdlPcmPlayer final : public PcmPlayer {
public:
    SdlPcmPlayer(SdlMixer& mixer, QString alias) : mixer_(mixer), alias_(std::move(alias)) {}

    void play(std::vector<int16_t> samples, int sampleRate) override;
    void halt() override;
    bool playing() const override;

private:
    SdlMixer& mixer_;
    QString alias_;
};

}  // namespace fareboard
