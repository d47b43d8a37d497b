#include "EspeakLibrary.h"

#include "platform/SharedLibrary.h"

namespace fareboard {

std::unique_ptr<const EspeakLibrary> EspeakLibrary::open(const char* soname)
{
    const SharedLibrary espeak(soname);
    auto lib = std::make_unique<EspeakLibrary>();
#define FB_BIND(function) espeak.bind(lib->function, #function)
    const bool complete = FB_BIND(espeak_Initialize) && FB_BIND(espeak_SetVoiceByName)
        && FB_BIND(espeak_SetSynthCallback) && FB_BIND(espeak_SetParameter) && FB_BIND(espeak_Synth)
        && FB_BIND(espeak_TextToPhonemes);
#undef FB_BIND
    if (!complete)
        return nullptr;
    return lib;
}

}  // namespace fareboard
