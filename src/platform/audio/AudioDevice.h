#pragma once

#include <QString>

namespace fareboard {

// The three kinds of player a sound file is opened with, chosen by its extension.
enum class AudioDeviceType { WaveAudio, MpegVideo, Sequencer };

// Named sound channels. Each alias holds at most one opened file; opening again on an alias
// replaces what it held. Paths travel as data, never inside a command text, so a name with
// spaces or quotes opens that file and nothing else.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // False when the file cannot be opened or decoded; the alias is then empty.
    virtual bool open(const QString& alias, const QString& path, AudioDeviceType type) = 0;
    // Plays the alias's sound from its start. With `wait` it returns once the sound has been
    // heard to its end, keeping the windows painted meanwhile.
    virtual void play(const QString& alias, bool wait) = 0;
    virtual void stop(const QString& alias) = 0;
    // Stops the alias and forgets its sound; closing an empty alias does nothing.
    virtual void close(const QString& alias) = 0;
    // Whether the alias's sound is still being played; a player that cannot tell says no.
    virtual bool playing(const QString& alias) const
    {
        (void)alias;
        return false;
    }
};

}  // namespace fareboard
