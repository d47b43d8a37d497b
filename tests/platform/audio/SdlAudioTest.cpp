#include "announce/mdlSndAPI.h"
#include "platform/EventLoopSleeper.h"
#include "platform/audio/PcmTools.h"
#include "platform/audio/SdlAudioDevice.h"
#include "platform/audio/SdlMixer.h"
#include "platform/audio/SdlPcmPlayer.h"
#include "support/Bytes.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace fareboard {
namespace {

using test::Bytes;

// A 440 Hz tone as a 44.1 kHz 16-bit stereo WAV, written out by hand.
QByteArray toneWave(int milliseconds)
{
    const int frames = 44100 * milliseconds / 1000;
    Bytes b;
    b.raw(QByteArray("RIFF")).i4(36 + frames * 4).raw(QByteArray("WAVEfmt ")).i4(16).i2(1).i2(2).i4(44100).i4(44100 * 4)
        .i2(4).i2(16).raw(QByteArray("data")).i4(frames * 4);
    for (int i = 0; i < frames; ++i) {
        const int v = int(8000 * std::sin(2 * M_PI * 440 * i / 44100.0));
        b.i2(v).i2(v);
    }
    return b.data();
}

// One quarter-note middle C at 120 beats a minute: half a second of music.
QByteArray oneNoteMidi()
{
    Bytes track;
    track.raw({0x00, 0xC0, 0x00})                    // piano
        .raw({0x00, 0x90, 60, 100})                  // note on
        .raw({0x83, 0x60, 0x80, 60, 0})              // 480 ticks later: note off
        .raw({0x00, 0xFF, 0x2F, 0x00});              // end of track
    Bytes file;
    file.raw(QByteArray("MThd")).raw({0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0}).raw(QByteArray("MTrk"));
    const int size = int(track.data().size());
    file.raw({(size >> 24) & 0xFF, (size >> 16) & 0xFF, (size >> 8) & 0xFF, size & 0xFF}).raw(track.data());
    return file.data();
}

class SdlAudioTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SdlMixer mixer;
    SdlAudioDevice device{mixer};
};

TEST_F(SdlAudioTest, RunsOnTheSilentDriverWithoutASoundCard)
{
    ASSERT_TRUE(mixer.isOpen());
    EXPECT_EQ(mixer.driverName(), QStringLiteral("dummy"));
    EXPECT_FALSE(SdlMixer::defaultSoundFont().isEmpty());
}

TEST_F(SdlAudioTest, WaitedWavReturnsWhenTheSoundIsOver)
{
    const QString path = dir.filePath(QStringLiteral("beep 300 ms.wav"));
    test::writeFile(path, toneWave(300));
    EventLoopSleeper sleeper;
    mdlSndAPI snd(device, sleeper, QStringLiteral("fareboard"));

    QElapsedTimer timer;
    timer.start();
    snd.SndPlay(path, QStringLiteral("S1"), true, 0);
    const qint64 elapsed = timer.elapsed();
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 700);
    EXPECT_FALSE(mixer.playing(QStringLiteral("fareboardS1")));
}

TEST_F(SdlAudioTest, WindowsKeepTheirTimersWhileASoundIsWaitedFor)
{
    const QString path = dir.filePath(QStringLiteral("beep.wav"));
    test::writeFile(path, toneWave(300));
    ASSERT_TRUE(device.open(QStringLiteral("w"), path, AudioDeviceType::WaveAudio));
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(50);
    device.play(QStringLiteral("w"), true);
    EXPECT_GE(ticks, 4);
}

TEST_F(SdlAudioTest, UnwaitedPlayRunsOnItsOwnUntilStoppedOrReplaced)
{
    const QString path = dir.filePath(QStringLiteral("long.wav"));
    test::writeFile(path, toneWave(2000));
    ASSERT_TRUE(device.open(QStringLiteral("a"), path, AudioDeviceType::WaveAudio));
    ASSERT_TRUE(device.open(QStringLiteral("b"), path, AudioDeviceType::WaveAudio));
    QElapsedTimer timer;
    timer.start();
    device.play(QStringLiteral("a"), false);
    device.play(QStringLiteral("b"), false);
    EXPECT_LT(timer.elapsed(), 100);
    // Channels overlap.
    EXPECT_TRUE(mixer.playing(QStringLiteral("a")));
    EXPECT_TRUE(mixer.playing(QStringLiteral("b")));
    device.stop(QStringLiteral("a"));
    EXPECT_FALSE(mixer.playing(QStringLiteral("a")));
    EXPECT_TRUE(mixer.playing(QStringLiteral("b")));
    device.close(QStringLiteral("b"));
    EXPECT_FALSE(mixer.playing(QStringLiteral("b")));
    // A closed channel has nothing left to play.
    device.play(QStringLiteral("b"), true);
    EXPECT_FALSE(mixer.playing(QStringLiteral("b")));
}

TEST_F(SdlAudioTest, MidiRendersThroughTheSoundFontWithoutItsSilentTail)
{
    const QString path = dir.filePath(QStringLiteral("note.mid"));
    test::writeFile(path, oneNoteMidi());
    ASSERT_TRUE(device.open(QStringLiteral("m"), path, AudioDeviceType::Sequencer));
    QElapsedTimer timer;
    timer.start();
    device.play(QStringLiteral("m"), true);
    const qint64 elapsed = timer.elapsed();
    EXPECT_GE(elapsed, 400);
    EXPECT_LT(elapsed, 1500);
}

TEST_F(SdlAudioTest, FilesThatAreNotSoundFailToOpen)
{
    const QString path = dir.filePath(QStringLiteral("text.wav"));
    test::writeFile(path, QByteArray("this is not a sound"));
    EXPECT_FALSE(device.open(QStringLiteral("x"), path, AudioDeviceType::WaveAudio));
    EXPECT_FALSE(device.open(QStringLiteral("x"), dir.filePath(QStringLiteral("none.wav")), AudioDeviceType::WaveAudio));
}

TEST_F(SdlAudioTest, SamplesMadeInMemoryPlayOnTheirOwnChannel)
{
    SdlPcmPlayer player(mixer, QStringLiteral("speech"));
    std::vector<int16_t> samples(22050);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(6000 * std::sin(2 * M_PI * 300 * double(i) / 22050.0));
    player.play(samples, 22050);
    EXPECT_TRUE(player.playing());
    player.halt();
    EXPECT_FALSE(player.playing());
}

TEST(SdlLibrary, WithoutTheMixerLibraryTheProgramGoesOnSilent)
{
    SdlMixer mixer(QString(), SdlSonames{"libSDL2-2.0.so.0", "libSDL2_mixer-missing.so.0"});
    SdlAudioDevice device(mixer);
    EventLoopSleeper sleeper;
    mdlSndAPI snd(device, sleeper, QStringLiteral("fareboard"));
    mixer.openInBackground();
    EXPECT_FALSE(mixer.isOpen());
    EXPECT_TRUE(mixer.driverName().isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("beep.wav"));
    test::writeFile(path, toneWave(300));
    QElapsedTimer timer;
    timer.start();
    snd.SndPlay(path, QStringLiteral("S1"), true, 0);  // waited for, yet nothing to wait for
    EXPECT_LT(timer.elapsed(), 200);
    SdlPcmPlayer voice(mixer, QStringLiteral("fareboardVoice"));
    voice.play(std::vector<int16_t>(2205, 1000), 22050);
    EXPECT_FALSE(voice.playing());
    voice.halt();
}

TEST(PcmTools, QuietEndsAreFoundAndWaveHeadersAreComplete)
{
    const std::vector<int16_t> s = {0, 3, 0, 500, -700, 20, 10, 0, 5, 0};
    EXPECT_EQ(lengthWithoutQuietTail(s.data(), s.size(), 1, 32), 5u);
    EXPECT_EQ(lengthWithoutQuietTail(s.data(), s.size(), 2, 32), 6u);  // whole stereo frames
    EXPECT_EQ(startWithoutQuietLead(s.data(), s.size(), 32, 0), 3u);
    EXPECT_EQ(startWithoutQuietLead(s.data(), s.size(), 32, 5), 0u);
    EXPECT_EQ(startWithoutQuietLead(s.data(), 3, 32, 0), 3u);

    const QByteArray wav = monoWaveFile({1, -1}, 22050);
    const QByteArray expected = Bytes()
                                    .raw(QByteArray("RIFF")).i4(40).raw(QByteArray("WAVEfmt ")).i4(16).i2(1).i2(1)
                                    .i4(22050).i4(44100).i2(2).i2(16).raw(QByteArray("data")).i4(4).i2(1).i2(-1)
                                    .data();
    EXPECT_EQ(wav, expected);
}

}  // namespace
}  // namespace fareboard
