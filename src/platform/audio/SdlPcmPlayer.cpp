#include "SdlPcmPlayer.h"

#include "PcmTools.h"
#include "SdlMixer.h"

namespace fareboard {

void SdlPcmPlayer::play(std::vector<int16_t> samples, int sampleRate)
{
    if (samples.empty()) {
        mixer_.unload(alias_);
        return;
    }
    if (mixer_.loadWave(alias_, monoWaveFile(samples, sampleRate)))
        mixer_.play(alias_);
}

void SdlPcmPlayer::halt()
{
    mixer_.halt(alias_);
}

bool SdlPcmPlayer::playing() const
{
    return mixer_.playing(alias_);
}

}  // namespace fareboard
