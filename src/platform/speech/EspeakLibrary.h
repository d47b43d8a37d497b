#pragma once

#include <espeak-ng/speak_lib.h>

#include <memory>

namespace fareboard {

// espeak-ng, opened by the speech worker when the fallback voice first speaks: most machines
// speak with Open JTalk and never need it. Only the header is used at build time.
struct EspeakLibrary {
    static constexpr const char* kSoname = "libespeak-ng.so.1";

    // Empty when the library is missing or lacks one of the functions below; the voice is then
    // not available, as without its data.
    static std::unique_ptr<const EspeakLibrary> open(const char* soname = kSoname);

    decltype(&::espeak_Initialize) espeak_Initialize = nullptr;
    decltype(&::espeak_SetVoiceByName) espeak_SetVoiceByName = nullptr;
    decltype(&::espeak_SetSynthCallback) espeak_SetSynthCallback = nullptr;
    decltype(&::espeak_SetParameter) espeak_SetParameter = nullptr;
    decltype(&::espeak_Synth) espeak_Synth = nullptr;
    decltype(&::espeak_TextToPhonemes) espeak_TextToPhonemes = nullptr;
};

}  // namespace fareboard
