#pragma once

#include "AudioDevice.h"

namespace fareboard {

class SdlMixer;

// The named sound channels on the shared mixer. Every format is decoded whole when opened,
// which is what lets any channel play WAV, MP3 or MIDI at the same time as the others.
class SdlAudioDevice final : public AudioDevice {
public:
    explicit SdlAudioDevice(SdlMixer& mixer) : mixer_(mixer) {}

    bool open(const QString& alias, const QString& path, AudioDeviceType type) override;
    void play(const QString& alias, bool wait) override;
    void stop(const QString& alias) override;
    void close(const QString& alias) override;
    bool playing(const QString& alias) const override;

private:
    void waitUntilHeard(const QString& alias);

    SdlMixer& mixer_;
};

}  // namespace fareboard
