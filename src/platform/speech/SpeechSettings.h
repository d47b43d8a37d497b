#pragma once

#include <QString>

namespace fareboard {

enum class VoiceKind { OpenJTalk, Espeak };

// How the announcements sound, in units every voice can follow: the speed in percent of the
// voice's own, the pitch in half tones up or down, the loudness in percent.
struct SpeechSettings {
    static constexpr int kMinRate = 50, kMaxRate = 200;
    static constexpr int kMinPitch = -10, kMaxPitch = 10;
    static constexpr int kMinVolume = 10, kMaxVolume = 200;

    VoiceKind voice = VoiceKind::OpenJTalk;
    int rate = 100;
    int pitch = 0;
    int volume = 100;

    bool operator==(const SpeechSettings&) const = default;
};

QString voiceName(VoiceKind kind);

// The settings file: "key=value" lines (voice, rate, pitch, volume). Unknown or out-of-range
// values fall back to the defaults one by one, so a hand-edited file never silences the tape.
SpeechSettings parseSpeechSettings(const QByteArray& bytes);
QByteArray formatSpeechSettings(const SpeechSettings& settings);

}  // namespace fareboard
