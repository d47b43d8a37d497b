#include "SdlLibrary.h"

#include "platform/SharedLibrary.h"

namespace fareboard {

std::unique_ptr<const SdlLibrary> SdlLibrary::open(const SdlSonames& sonames)
{
    const SharedLibrary sdl(sonames.sdl);
    const SharedLibrary mixer(sonames.mixer);
    if (!sdl.isOpen() || !mixer.isOpen())
        return nullptr;
    auto lib = std::make_unique<SdlLibrary>();
#define FB_BIND(from, function) from.bind(lib->function, #function)
    const bool complete = FB_BIND(sdl, SDL_SetHint) && FB_BIND(sdl, SDL_InitSubSystem)
        && FB_BIND(sdl, SDL_QuitSubSystem) && FB_BIND(sdl, SDL_AudioInit) && FB_BIND(sdl, SDL_AudioQuit)
        && FB_BIND(sdl, SDL_GetCurrentAudioDriver) && FB_BIND(sdl, SDL_RWFromConstMem) && FB_BIND(mixer, Mix_Init)
        && FB_BIND(mixer, Mix_Quit) && FB_BIND(mixer, Mix_OpenAudio) && FB_BIND(mixer, Mix_CloseAudio)
        && FB_BIND(mixer, Mix_QuerySpec) && FB_BIND(mixer, Mix_SetSoundFonts) && FB_BIND(mixer, Mix_AllocateChannels)
        && FB_BIND(mixer, Mix_LoadWAV) && FB_BIND(mixer, Mix_LoadWAV_RW) && FB_BIND(mixer, Mix_FreeChunk)
        && FB_BIND(mixer, Mix_PlayChannel) && FB_BIND(mixer, Mix_HaltChannel) && FB_BIND(mixer, Mix_Playing);
#undef FB_BIND
    if (!complete)
        return nullptr;
    return lib;
}

}  // namespace fareboard
