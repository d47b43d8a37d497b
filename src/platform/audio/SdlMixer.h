#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

struct Mix_Chunk;

namespace fareboard {

// The sound card, opened once for the whole run and shared by every channel. Each alias gets
// a mixer channel of its own, so sounds of different channels overlap and a new sound on a
// channel replaces only that channel's. Without a usable sound card it runs on SDL's silent
// "dummy" driver, which keeps time like a real one, so the program behaves the same.
class SdlMixer {
public:
    // `soundFont` is the General MIDI bank used to render MIDI files; empty picks the
    // installed default.
    explicit SdlMixer(const QString& soundFont = QString());
    ~SdlMixer();
    SdlMixer(const SdlMixer&) = delete;
    SdlMixer& operator=(const SdlMixer&) = delete;

    bool isOpen() const { return open_; }
    QString driverName() const;
    // How long a sample takes from the mixer to the speaker: one device buffer.
    std::chrono::milliseconds outputLatency() const { return latency_; }
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
    bool store(const QString& alias, Mix_Chunk* chunk);
    int channelLocked(const QString& alias);

    bool open_ = false;
    std::chrono::milliseconds latency_{0};
    mutable std::mutex mutex_;
    std::map<QString, int> channels_;
    std::map<QString, Mix_Chunk*> chunks_;
};

}  // namespace fareboard
