#include "SdlMixer.h"

#include "PcmTools.h"

#include <QFileInfo>

#include <dlfcn.h>

#include <algorithm>

namespace fareboard {
namespace {

constexpr int kRate = 44100;
constexpr int kBufferFrames = 1024;
// Below this a rendered MIDI tail is inaudible (about -60 dB).
constexpr int kQuietLevel = 32;

// libasound reports every failed probe of a missing card on stderr, line after line. A user
// without a sound card gets the silent driver instead, so those reports say nothing useful.
extern "C" void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa()
{
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    // SDL loads libasound itself at run time; the handler is per library, so it reaches SDL's use.
    void* lib = dlopen("libasound.so.2", RTLD_LAZY | RTLD_GLOBAL);
    if (!lib)
        return;
    if (auto set = reinterpret_cast<SetHandler>(dlsym(lib, "snd_lib_error_set_handler")))
        set(&ignoreAlsaError);
}

bool openDevice(const SdlLibrary& sdl)
{
    return sdl.Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) == 0;
}

}  // namespace

QString SdlMixer::defaultSoundFont()
{
    for (const char* candidate : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                                  "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
        if (QFileInfo::exists(QString::fromLatin1(candidate)))
            return QString::fromLatin1(candidate);
    }
    return QString();
}

SdlMixer::SdlMixer(const QString& soundFont, SdlSonames sonames)
    : soundFont_(soundFont), sonames_(sonames)
{
}

void SdlMixer::openInBackground()
{
    if (!opener_.joinable())
        opener_ = std::thread([this] { ensureOpen(); });
}

void SdlMixer::ensureOpen() const
{
    std::call_once(opening_, [this] { const_cast<SdlMixer*>(this)->open(); });
}

void SdlMixer::open()
{
    sdl_ = SdlLibrary::open(sonames_);
    if (!sdl_)
        return;
    silenceAlsa();
    // SDL would otherwise turn SIGTERM and SIGINT into quit events nobody reads, and the
    // program could no longer be ended from a terminal or by the session.
    sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl_->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    initialised_ = true;
    if (!openDevice(*sdl_)) {
        sdl_->SDL_AudioQuit();
        if (sdl_->SDL_AudioInit("dummy") != 0 || !openDevice(*sdl_))
            return;
    }
    sdl_->Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
    const QString font = soundFont_.isEmpty() ? defaultSoundFont() : soundFont_;
    if (!font.isEmpty())
        sdl_->Mix_SetSoundFonts(font.toUtf8().constData());

    int frequency = kRate;
    Uint16 format = 0;
    int channels = 0;
    if (sdl_->Mix_QuerySpec(&frequency, &format, &channels) && frequency > 0)
        latency_ = std::chrono::milliseconds(kBufferFrames * 1000 / frequency + 1);

    std::lock_guard lock(mutex_);
    // Channels may have been named (halted, unloaded) before the card was open.
    sdl_->Mix_AllocateChannels(std::max(8, int(channels_.size()) + 8));
    open_ = true;
}

SdlMixer::~SdlMixer()
{
    if (opener_.joinable())
        opener_.join();
    if (!open_) {
        if (initialised_)
            sdl_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    sdl_->Mix_HaltChannel(-1);
    for (auto& [alias, chunk] : chunks_)
        sdl_->Mix_FreeChunk(chunk);
    chunks_.clear();
    sdl_->Mix_CloseAudio();
    sdl_->Mix_Quit();
    sdl_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlMixer::isOpen() const
{
    ensureOpen();
    return open_;
}

std::chrono::milliseconds SdlMixer::outputLatency() const
{
    ensureOpen();
    return latency_;
}

QString SdlMixer::driverName() const
{
    ensureOpen();
    const char* name = open_ ? sdl_->SDL_GetCurrentAudioDriver() : nullptr;
    return name ? QString::fromLatin1(name) : QString();
}

int SdlMixer::channelOf(const QString& alias)
{
    std::lock_guard lock(mutex_);
    return channelLocked(alias);
}

int SdlMixer::channelLocked(const QString& alias)
{
    auto it = channels_.find(alias);
    if (it != channels_.end())
        return it->second;
    const int channel = int(channels_.size());
    if (open_ && channel >= sdl_->Mix_AllocateChannels(-1))
        sdl_->Mix_AllocateChannels(channel + 8);
    channels_.emplace(alias, channel);
    return channel;
}

bool SdlMixer::store(const QString& alias, Mix_Chunk* chunk)
{
    std::lock_guard lock(mutex_);
    const int channel = channelLocked(alias);
    if (open_)
        sdl_->Mix_HaltChannel(channel);
    auto it = chunks_.find(alias);
    if (it != chunks_.end()) {
        sdl_->Mix_FreeChunk(it->second);
        chunks_.erase(it);
    }
    if (!chunk)
        return false;
    chunks_.emplace(alias, chunk);
    return true;
}

bool SdlMixer::loadFile(const QString& alias, const QString& path, bool trimQuietTail)
{
    ensureOpen();
    if (!open_) {
        store(alias, nullptr);
        return false;
    }
    Mix_Chunk* chunk = sdl_->Mix_LoadWAV(QFileInfo(path).absoluteFilePath().toUtf8().constData());
    if (chunk && trimQuietTail) {
        int frequency = 0;
        Uint16 format = 0;
        int channels = 0;
        if (sdl_->Mix_QuerySpec(&frequency, &format, &channels) && format == AUDIO_S16SYS) {
            const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
            const std::size_t kept = lengthWithoutQuietTail(samples, chunk->alen / 2, channels, kQuietLevel);
            chunk->alen = Uint32(kept * 2);
        }
    }
    return store(alias, chunk);
}

bool SdlMixer::loadWave(const QString& alias, const QByteArray& waveFile)
{
    ensureOpen();
    if (!open_) {
        store(alias, nullptr);
        return false;
    }
    SDL_RWops* rw = sdl_->SDL_RWFromConstMem(waveFile.constData(), int(waveFile.size()));
    return store(alias, rw ? sdl_->Mix_LoadWAV_RW(rw, 1) : nullptr);
}

bool SdlMixer::play(const QString& alias)
{
    std::lock_guard lock(mutex_);
    auto it = chunks_.find(alias);
    if (!open_ || it == chunks_.end())
        return false;
    return sdl_->Mix_PlayChannel(channelLocked(alias), it->second, 0) >= 0;
}

void SdlMixer::halt(const QString& alias)
{
    std::lock_guard lock(mutex_);
    auto it = channels_.find(alias);
    if (open_ && it != channels_.end())
        sdl_->Mix_HaltChannel(it->second);
}

void SdlMixer::unload(const QString& alias)
{
    store(alias, nullptr);
}

bool SdlMixer::playing(const QString& alias) const
{
    std::lock_guard lock(mutex_);
    auto it = channels_.find(alias);
    return open_ && it != channels_.end() && sdl_->Mix_Playing(it->second) != 0;
}

}  // namespace fareboard
