#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <memory>

namespace fareboard {

// SDL2 and SDL2_mixer, opened when the sound card is, on the thread that opens it: with the
// decoders and sound servers they pull in they are half the libraries of the program, and
// nothing before the first sound needs them. Only the headers are used at build time.
struct SdlSonames {
    const char* sdl = "libSDL2-2.0.so.0";
    const char* mixer = "libSDL2_mixer-2.0.so.0";
};

struct SdlLibrary {
    // Empty when either library is missing or lacks one of the functions below; the mixer
    // then stays closed, as without a sound card.
    static std::unique_ptr<const SdlLibrary> open(const SdlSonames& sonames = {});

    decltype(&::SDL_SetHint) SDL_SetHint = nullptr;
    decltype(&::SDL_InitSubSystem) SDL_InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) SDL_QuitSubSystem = nullptr;
    decltype(&::SDL_AudioInit) SDL_AudioInit = nullptr;
    decltype(&::SDL_AudioQuit) SDL_AudioQuit = nullptr;
    decltype(&::SDL_GetCurrentAudioDriver) SDL_GetCurrentAudioDriver = nullptr;
    decltype(&::SDL_RWFromConstMem) SDL_RWFromConstMem = nullptr;

    decltype(&::Mix_Init) Mix_Init = nullptr;
    decltype(&::Mix_Quit) Mix_Quit = nullptr;
    decltype(&::Mix_OpenAudio) Mix_OpenAudio = nullptr;
    decltype(&::Mix_CloseAudio) Mix_CloseAudio = nullptr;
    decltype(&::Mix_QuerySpec) Mix_QuerySpec = nullptr;
    decltype(&::Mix_SetSoundFonts) Mix_SetSoundFonts = nullptr;
    decltype(&::Mix_AllocateChannels) Mix_AllocateChannels = nullptr;
    decltype(&::Mix_LoadWAV) Mix_LoadWAV = nullptr;
    decltype(&::Mix_LoadWAV_RW) Mix_LoadWAV_RW = nullptr;
    decltype(&::Mix_FreeChunk) Mix_FreeChunk = nullptr;
    decltype(&::Mix_PlayChannel) Mix_PlayChannel = nullptr;
    decltype(&::Mix_HaltChannel) Mix_HaltChannel = nullptr;
    decltype(&::Mix_Playing) Mix_Playing = nullptr;
};

}  // namespace fareboard
