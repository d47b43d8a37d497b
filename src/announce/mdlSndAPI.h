#pragma once

#include "platform/audio/AudioDevice.h"

#include <QString>

#include <optional>

namespace fareboard {

class Sleeper;

// Every sound of the program goes through here, on one of four named channels ("S1".."S4").
// A new sound on a channel cuts off the previous one there, while channels overlap. Failures
// are silent: the caller carries on as if the sound had played.
class mdlSndAPI {
public:
    mdlSndAPI(AudioDevice& device, Sleeper& sleeper, QString exeBaseName);

    // Plays `file` on the channel `kind`. With `wait` the call returns after the sound has
    // ended and a further `pause` milliseconds.
    void SndPlay(const QString& file, const QString& kind, bool wait, int pause);
    void SndCloseAll();
    // Whether the channel's sound is still playing, for what is to follow it without waiting.
    bool SndPlaying(const QString& kind) const { return device_.playing(alias(kind)); }

    // The channel's alias: the executable's base name and the kind, "fareboardS3".
    QString alias(const QString& kind) const { return exeBaseName_ + kind; }

    // The player for a file name, from its last three characters ignoring case and spaces;
    // none for any other name ("song.midi").
    static std::optional<AudioDeviceType> deviceTypeFor(const QString& file);

private:
    AudioDevice& device_;
    Sleeper& sleeper_;
    QString exeBaseName_;
};

}  // namespace fareboard
