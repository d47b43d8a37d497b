#pragma once

namespace fareboard {

// How the voice sounds, in the synthesiser's own units.
struct SpeechSettings {
    static constexpr int kMinRate = 80, kMaxRate = 450;  // words per minute
    static constexpr int kMinPitch = 0, kMaxPitch = 100;
    static constexpr int kMinVolume = 0, kMaxVolume = 200;  // percent

    int rate = 175;
    int pitch = 50;
    int volume = 100;

    bool operator==(const SpeechSettings&) const = default;
};

}  // namespace fareboard
