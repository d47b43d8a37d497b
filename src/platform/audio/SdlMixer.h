#pragma once

#include "SdlLibrary.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace fareboard {

// The sound card, opened once for the whole run and shared by every channel. Each alias gets
// a mixer channel of its own, so sounds of different channels overlap and a new sound on a
// channel replaces only that channel's. Without a usable sound card it runs on SDL's silent
// "dummy" driver, which keeps time like a real one, so the program behaves the same.
//
// Opening the card (SDL's audio subsystem, the driver probe, the decoders) takes longer than
// showing the windows, so it is not done on construction: `openInBackground` starts it on a
// thread of its own once the windows are up, and the first sound loaded waits for it, so a
// click made before the card is ready is still heard, only later. The SDL libraries themselves
// are loaded by that thread too; without them the mixer stays closed, as without a card.
class SdlMixer {
public:
    // `soundFont` is the General MIDI bank used to render MIDI files; empty picks the
    // installed default. `sonames` name the SDL libraries to load.
    explicit SdlMixer(const QString& soundFont = QString(), SdlSonames sonames = {});
    ~SdlMixer();
    SdlMixer(const SdlMixer&) = delete;
    SdlMixer& operator=(const SdlMixer&) = delete;

    // Starts opening the card on a worker thread; calling it again does nothing.
    void openInBackground();

    // These three wait for the card to be open (opening it here when nobody has yet).
    bool isOpen() const;
    QString driverName() const;
    // How long a sample takes from the mixer to the speaker: one device buffer.
    std::chrono::milliseconds outputLatency() const;
    int channelOf(const QString& alias);

    // Decodes the whole file into the alias; false when it cannot be read or decoded.
    bool loadFile(const QString& alias, const QString& path, bool trimQuietTail);
    bool loadWave(const QString& alias, const QByteArray& waveFile);
    bool play(const QString& alias);
    void halt(const QString& alias);
    void unload(const QString& alias);
    bool playing(const QString& alias) const;

    static QString defaultSoundFont();

private:
    void ensureOpen() const;
    void open();
    bool store(const QString& alias, Mix_Chunk* chunk);
    int channelLocked(const QString& alias);

    QString soundFont_;
    SdlSonames sonames_;
    // Loaded by open(); read by others only once open_ is set, or after the opening is over.
    std::unique_ptr<const SdlLibrary> sdl_;
    mutable std::once_flag opening_;
    std::thread opener_;
    bool initialised_ = false;
    // Set last, once the card is fully open; until then no mixer function is called at all,
    // so halting or unloading a channel never races the worker that opens the card.
    std::atomic<bool> open_{false};
    std::chrono::milliseconds latency_{0};
    mutable std::mutex mutex_;
    std::map<QString, int> channels_;
    std::map<QString, Mix_Chunk*> chunks_;
};

}  // namespace fareboard
