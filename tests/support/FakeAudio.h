#pragma once

#include "platform/audio/AudioDevice.h"
#include "platform/audio/PcmPlayer.h"

#include <QString>
#include <QStringList>

namespace fareboard::test {

// Records the channel operations as the command lines a media interface would have been
// sent, so tests read like the order of operations they check.
class FakeAudioDevice final : public AudioDevice {
public:
    QStringList calls;
    QStringList* journal = nullptr;  // shared with other fakes to check the order across them
    bool openSucceeds = true;
    QStringList sounding;  // aliases a test has still playing

    static QString typeName(AudioDeviceType type)
    {
        switch (type) {
        case AudioDeviceType::WaveAudio: return QStringLiteral("waveaudio");
        case AudioDeviceType::MpegVideo: return QStringLiteral("mpegvideo");
        case AudioDeviceType::Sequencer: return QStringLiteral("sequencer");
        }
        return QString();
    }

    bool open(const QString& alias, const QString& path, AudioDeviceType type) override
    {
        record(QStringLiteral("open \"%1\" type %2 alias %3").arg(path, typeName(type), alias));
        return openSucceeds;
    }
    void play(const QString& alias, bool wait) override
    {
        record(QStringLiteral("play %1 from 0%2").arg(alias, wait ? QStringLiteral(" wait") : QString()));
    }
    void stop(const QString& alias) override { record(QStringLiteral("stop ") + alias); }
    void close(const QString& alias) override { record(QStringLiteral("close ") + alias); }
    bool playing(const QString& alias) const override { return sounding.contains(alias); }

private:
    void record(const QString& call)
    {
        calls << call;
        if (journal)
            *journal << call;
    }
};

// Keeps what it was given to play; "playing" until halted.
class FakePcmPlayer final : public PcmPlayer {
public:
    std::vector<std::vector<int16_t>> played;
    int sampleRate = 0;
    int halts = 0;
    bool isPlaying = false;

    void play(std::vector<int16_t> samples, int rate) override
    {
        played.push_back(std::move(samples));
        sampleRate = rate;
        isPlaying = true;
    }
    void halt() override
    {
        ++halts;
        isPlaying = false;
    }
    bool playing() const override { return isPlaying; }
};

}  // namespace fareboard::test
