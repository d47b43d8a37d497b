#include "announce/mdlSndAPI.h"
#include "support/Bytes.h"
#include "support/FakeAudio.h"
#include "support/Fakes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fareboard {
namespace {

using test::FakeAudioDevice;
using test::FakeSleeper;

class SndPlayTest : public ::testing::Test {
protected:
    QString file(const QString& name)
    {
        const QString path = dir.filePath(name);
        test::writeFile(path, QByteArray("RIFF"));
        return path;
    }

    QTemporaryDir dir;
    FakeAudioDevice device;
    FakeSleeper sleeper;
    mdlSndAPI snd{device, sleeper, QStringLiteral("bus")};
};

TEST_F(SndPlayTest, WaitedAndUnwaitedPlaysSendTheirSequences)
{
    const QString chime = file(QStringLiteral("chime.wav"));
    snd.SndPlay(chime, QStringLiteral("S3"), true, 250);
    EXPECT_EQ(device.calls, QStringList({
                                QStringLiteral("close busS3"),
                                QStringLiteral("open \"%1\" type waveaudio alias busS3").arg(chime),
                                QStringLiteral("play busS3 from 0 wait"),
                            }));
    EXPECT_EQ(sleeper.calls, std::vector<int>{250});

    device.calls.clear();
    sleeper.calls.clear();
    snd.SndPlay(chime, QStringLiteral("S1"), false, 250);
    EXPECT_EQ(device.calls, QStringList({
                                QStringLiteral("close busS1"),
                                QStringLiteral("open \"%1\" type waveaudio alias busS1").arg(chime),
                                QStringLiteral("stop busS1"),
                                QStringLiteral("play busS1 from 0"),
                            }));
    // An unwaited play only yields; the pause belongs to waited plays.
    EXPECT_EQ(sleeper.calls, std::vector<int>{0});
}

TEST_F(SndPlayTest, DeviceTypeComesFromTheLastThreeCharactersIgnoringCase)
{
    struct Case {
        const char* name;
        const char* type;  // nullptr: not played
    };
    for (const Case& c : {Case{"CHIME.Mp3", "mpegvideo"}, Case{"tune.MID", "sequencer"}, Case{"a.wav", "waveaudio"},
                          Case{"song.midi", nullptr}, Case{"clip.ogg", nullptr}, Case{"x.w a v", nullptr}}) {
        device.calls.clear();
        const QString path = file(QString::fromLatin1(c.name));
        snd.SndPlay(path, QStringLiteral("S2"), false, 0);
        ASSERT_FALSE(device.calls.isEmpty()) << c.name;
        EXPECT_EQ(device.calls.front(), QStringLiteral("close busS2")) << c.name;
        if (c.type) {
            ASSERT_GE(device.calls.size(), 2) << c.name;
            EXPECT_EQ(device.calls[1], QStringLiteral("open \"%1\" type %2 alias busS2").arg(path, c.type)) << c.name;
        } else {
            // The channel is closed all the same, so the previous sound of the kind ends.
            EXPECT_EQ(device.calls.size(), 1) << c.name;
        }
    }
}

TEST_F(SndPlayTest, EmptyOrMissingFileDoesNothingAtAll)
{
    // The current folder holds sound files; an empty name must not pick one of them.
    file(QStringLiteral("a.wav"));
    file(QStringLiteral("b.mp3"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    snd.SndPlay(QString(), QStringLiteral("S1"), true, 100);
    snd.SndPlay(dir.filePath(QStringLiteral("missing.wav")), QStringLiteral("S1"), true, 100);
    QDir(dir.path()).mkdir(QStringLiteral("folder.wav"));
    snd.SndPlay(dir.filePath(QStringLiteral("folder.wav")), QStringLiteral("S1"), true, 100);
    QDir::setCurrent(previous);
    EXPECT_TRUE(device.calls.isEmpty());
    EXPECT_TRUE(sleeper.calls.empty());
}

TEST_F(SndPlayTest, SecondSoundOfAKindClosesTheFirstOnly)
{
    const QString one = file(QStringLiteral("one.wav"));
    const QString two = file(QStringLiteral("two.mp3"));
    snd.SndPlay(one, QStringLiteral("S2"), false, 0);
    snd.SndPlay(one, QStringLiteral("S1"), false, 0);
    device.calls.clear();
    snd.SndPlay(two, QStringLiteral("S2"), false, 0);
    EXPECT_EQ(device.calls.front(), QStringLiteral("close busS2"));
    EXPECT_FALSE(device.calls.contains(QStringLiteral("close busS1")));
}

TEST_F(SndPlayTest, FailedOpenPlaysNothingAndSleepsNot)
{
    const QString chime = file(QStringLiteral("broken.wav"));
    device.openSucceeds = false;
    snd.SndPlay(chime, QStringLiteral("S3"), true, 500);
    EXPECT_EQ(device.calls.size(), 2);
    EXPECT_TRUE(sleeper.calls.empty());
}

TEST_F(SndPlayTest, PathsTravelAsDataAndIgnoreLetterCase)
{
    const QString odd = file(QStringLiteral("my \"chime\" alias busS1 1.wav"));
    snd.SndPlay(odd, QStringLiteral("S3"), false, 0);
    EXPECT_EQ(device.calls[1], QStringLiteral("open \"%1\" type waveaudio alias busS3").arg(odd));

    // Settings made on Windows name files in whatever case the user typed.
    const QString real = file(QStringLiteral("fare.wav"));
    device.calls.clear();
    snd.SndPlay(dir.filePath(QStringLiteral("FARE.WAV")), QStringLiteral("S2"), false, 0);
    ASSERT_EQ(device.calls.size(), 4);
    EXPECT_EQ(device.calls[1], QStringLiteral("open \"%1\" type waveaudio alias busS2").arg(real));
}

TEST_F(SndPlayTest, CloseAllClosesTheFourChannelsInOrder)
{
    snd.SndCloseAll();
    EXPECT_EQ(device.calls, QStringList({QStringLiteral("close busS1"), QStringLiteral("close busS2"),
                                         QStringLiteral("close busS3"), QStringLiteral("close busS4")}));
}

}  // namespace
}  // namespace fareboard
