#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "platform/ShiftJis.h"
#include "platform/speech/ReadingsLimit.h"
#include "support/Bytes.h"
#include "support/FakeAudio.h"
#include "support/FakeSpeech.h"
#include "support/FakeTapeHost.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace fareboard {
namespace {

using test::FakeAudioDevice;
using test::FakeSpeechEngine;
using test::FakeTapeHost;

const QString kGroup = QStringLiteral("grpM_Tape");

class TapeTest : public ::testing::Test {
protected:
    TapeTest()
    {
        device.journal = &journal;
        // Chime files exist; the options dialog names them.
        for (int i = 3; i <= 6; ++i) {
            const QString chime = dir.filePath(QStringLiteral("chime%1.wav").arg(i));
            test::writeFile(chime, "RIFF");
            host.texts[QStringLiteral("txtSelectSound(%1)").arg(i)] = chime;
        }
    }

    mdlM_Tape::EngineFactory factory()
    {
        return [this]() -> std::unique_ptr<SpeechEngine> {
            ++enginesMade;
            if (!engineAvailable)
                return nullptr;
            auto made = std::make_unique<FakeSpeechEngine>();
            made->journal = &journal;
            engine = made.get();
            return made;
        };
    }

    void writeTape(const QString& name, const QString& text)
    {
        test::writeFile(dir.filePath(name), toShiftJis(text));
    }

    // Five announcements: step flags 1,0,0,1,0 and chime flags 1,0,2,3,9.
    void loadFive()
    {
        writeTape(QStringLiteral("12tp.csv"),
                  QStringLiteral("一番,1,1\r\n二番,0,0\r\n三番,0,2\r\n四番,1,3\r\n五番,0,9\r\n"));
        tape.TapeLoad(dir.path(), QStringLiteral("12"));
    }

    // The folder's readings are read beside the console; the test waits for them as the
    // console's event loop would.
    bool readingsRead()
    {
        QElapsedTimer timer;
        timer.start();
        while (tape.readingsPending() && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return !tape.readingsPending();
    }

    QString chime(int i) const { return dir.filePath(QStringLiteral("chime%1.wav").arg(i)); }
    QString chimeOpened(int i, const char* kind) const
    {
        return QStringLiteral("open \"%1\" type waveaudio alias bus%2").arg(chime(i), QLatin1String(kind));
    }

    QTemporaryDir dir;
    QStringList journal;
    FakeAudioDevice device;
    test::FakeSleeper sleeper;
    mdlSndAPI snd{device, sleeper, QStringLiteral("bus")};
    FakeTapeHost host;
    bool engineAvailable = true;
    int enginesMade = 0;
    FakeSpeechEngine* engine = nullptr;
    mdlM_Tape tape{host, snd, factory()};
};

TEST_F(TapeTest, InitShowsWhetherSpeechIsAvailable)
{
    tape.TapeInit();
    EXPECT_TRUE(tape.TapeUsable());
    EXPECT_EQ(host.captions[kGroup], QStringLiteral("音合使用可"));
    EXPECT_TRUE(host.enabled[kGroup]);

    engineAvailable = false;
    mdlM_Tape without(host, snd, factory());
    without.TapeInit();
    EXPECT_FALSE(without.TapeUsable());
    EXPECT_EQ(host.captions[kGroup], QStringLiteral("音合使用不可"));
    EXPECT_FALSE(host.enabled[kGroup]);
}

TEST_F(TapeTest, VistaKeepsTheGroupDisabledThroughLoads)
{
    host.osName = QStringLiteral("Windows Vista");
    tape.TapeInit();
    EXPECT_EQ(enginesMade, 0);
    EXPECT_FALSE(tape.TapeUsable());
    EXPECT_EQ(host.captions[kGroup], QStringLiteral("音合使用不可"));
    loadFive();
    EXPECT_EQ(tape.TapeCount(), 0);
    EXPECT_FALSE(host.enabled[kGroup]);
    EXPECT_FALSE(host.enabled.contains(QStringLiteral("cmdTapeNext")));

    // A tape read before stays as it was.
    host.osName = QStringLiteral("Linux");
    loadFive();
    host.osName = QStringLiteral("Windows Vista");
    writeTape(QStringLiteral("3tp.csv"), QStringLiteral("a,0,0\r\n"));
    tape.TapeLoad(dir.path(), QStringLiteral("3"));
    EXPECT_EQ(tape.TapeCount(), 5);
}

TEST_F(TapeTest, EachLoadReplacesTheTape)
{
    tape.TapeInit();
    loadFive();
    EXPECT_EQ(tape.TapeCount(), 5);
    EXPECT_EQ(tape.TapePos(), 0);
    for (const char* button : {"cmdTapeNext", "cmdTapeBack", "cmdTapeStop", "cmdTapeSet"})
        EXPECT_TRUE(host.enabled[QLatin1String(button)]) << button;
    EXPECT_EQ(tape.TapeStepAt(4), 1);
    EXPECT_EQ(tape.TapeFlagAt(3), 2);
    EXPECT_EQ(tape.TapeStepAt(0), 0);
    EXPECT_EQ(tape.TapeFlagAt(6), 0);

    tape.TapeNext();
    tape.TapeNext();
    // Written on Windows: the name's case differs from what the program asks for.
    writeTape(QStringLiteral("7TP.CSV"), QStringLiteral("甲,0,0\r\n\"乙,丙\",1,0\r\n丁,0,1"));
    tape.TapeLoad(dir.path() + QLatin1Char('/'), QStringLiteral("7"));
    EXPECT_EQ(tape.TapeCount(), 3);
    EXPECT_EQ(tape.TapePos(), 0);
    ASSERT_NE(tape.entryAt(2), nullptr);
    EXPECT_EQ(tape.entryAt(2)->Text, QStringLiteral("乙,丙"));
    EXPECT_EQ(tape.TapeStepAt(2), 1);
    EXPECT_EQ(tape.TapeFlagAt(3), 1);
    EXPECT_EQ(tape.TapeStepAt(4), 0);
}

TEST_F(TapeTest, UnreadableFilesDisableTheGroupSilently)
{
    tape.TapeInit();
    tape.TapeLoad(dir.path(), QStringLiteral("99"));
    EXPECT_FALSE(host.enabled[kGroup]);
    EXPECT_EQ(tape.TapeCount(), 0);

    // The last announcement lacks its flags: reading runs past the end of the file.
    tape.TapeInit();
    writeTape(QStringLiteral("5tp.csv"), QStringLiteral("一,0,0\r\n二\r\n"));
    tape.TapeLoad(dir.path(), QStringLiteral("5"));
    EXPECT_FALSE(host.enabled[kGroup]);

    // Blank lines an editor left at the end are harmless.
    tape.TapeInit();
    writeTape(QStringLiteral("6tp.csv"), QStringLiteral("一,0,0\r\n二,1,0\r\n\r\n"));
    tape.TapeLoad(dir.path(), QStringLiteral("6"));
    EXPECT_TRUE(host.enabled[kGroup]);
    EXPECT_EQ(tape.TapeCount(), 3);
    EXPECT_EQ(tape.TapeStepAt(2), 1);
}

TEST_F(TapeTest, LongRunsOfBlankLinesLoadOrAreRefusedWithATip)
{
    const QString tip = QStringLiteral("grpM_Tape");
    tape.TapeInit();
    tape.TapeLoad(dir.path(), QStringLiteral("99"));
    EXPECT_TRUE(host.toolTips.value(tip).isEmpty()) << "a route without broadcast data is usual";

    // 299999 blank lines and one character: 300000 fields, exactly 100000 entries.
    test::writeFile(dir.filePath(QStringLiteral("8tp.csv")), QByteArray(299999 * 2, '\n').replace("\n\n", "\r\n") + "x");
    tape.TapeLoad(dir.path(), QStringLiteral("8"));
    EXPECT_TRUE(host.enabled[kGroup]);
    EXPECT_EQ(tape.TapeCount(), 300000);
    EXPECT_TRUE(host.toolTips.value(tip).isEmpty());

    // One blank line more leaves the last entry without its flags.
    test::writeFile(dir.filePath(QStringLiteral("9tp.csv")), QByteArray(300000 * 2, '\n').replace("\n\n", "\r\n") + "x");
    tape.TapeLoad(dir.path(), QStringLiteral("9"));
    EXPECT_FALSE(host.enabled[kGroup]);
    EXPECT_TRUE(host.toolTips.value(tip).contains(QStringLiteral("9tp.csv"))) << host.toolTips.value(tip).toStdString();

    // Far larger than any broadcast data: refused before it is read.
    test::writeFile(dir.filePath(QStringLiteral("10tp.csv")), QByteArray(2 << 20, ','));
    tape.TapeLoad(dir.path(), QStringLiteral("10"));
    EXPECT_FALSE(host.enabled[kGroup]);
    EXPECT_TRUE(host.toolTips.value(tip).contains(QStringLiteral("1024 KB"))) << host.toolTips.value(tip).toStdString();

    loadFive();
    EXPECT_TRUE(host.enabled[kGroup]);
    EXPECT_TRUE(host.toolTips.value(tip).isEmpty()) << "a good file clears the tip";
}

TEST_F(TapeTest, ForwardAnnouncesEachEntryThenStopsAtTheEnd)
{
    tape.TapeInit();
    loadFive();
    for (int i = 1; i <= 6; ++i)
        tape.TapeNext();
    EXPECT_EQ(tape.TapePos(), 5);
    EXPECT_EQ(engine->spoken(), QStringList({QStringLiteral("一番"), QStringLiteral("二番"), QStringLiteral("三番"),
                                             QStringLiteral("四番"), QStringLiteral("五番")}));
    // Chime flags 1, 2, 3 pick the dialog's fourth to sixth sound, on the forward channel;
    // flags 0 and 9 play nothing.
    QStringList opened;
    for (const QString& call : device.calls) {
        if (call.startsWith(QStringLiteral("open")))
            opened << call;
    }
    EXPECT_EQ(opened, QStringList({chimeOpened(4, "S3"), chimeOpened(5, "S3"), chimeOpened(6, "S3")}));
    // The console steps the fares along when the entry it reached asks for it.
    EXPECT_EQ(tape.TapeStepAt(tape.TapePos()), 0);
}

TEST_F(TapeTest, ChimePlaysBeforeTheTextAndWaitsWhenAsked)
{
    tape.TapeInit();
    loadFive();
    host.selected.insert(QStringLiteral("Option7(0)"));
    journal.clear();
    tape.TapeNext();
    EXPECT_EQ(journal, QStringList({QStringLiteral("close busS3"), chimeOpened(4, "S3"),
                                    QStringLiteral("play busS3 from 0 wait"), QStringLiteral("stop"),
                                    QStringLiteral("speak 一番")}));
}

TEST_F(TapeTest, AlwaysOptionChimesEveryForwardStepButNotBackward)
{
    tape.TapeInit();
    loadFive();
    host.selected.insert(QStringLiteral("Option2(2)"));
    tape.TapeNext();
    tape.TapeNext();
    EXPECT_EQ(device.calls.filter(QStringLiteral("open")),
              QStringList({chimeOpened(3, "S3"), chimeOpened(3, "S3")}));

    device.calls.clear();
    tape.TapeNext();
    tape.TapeBack();  // back to entry 2: chime flag 0
    EXPECT_EQ(device.calls.filter(QStringLiteral("open")), QStringList({chimeOpened(3, "S3")}));
    device.calls.clear();
    tape.TapeBack();  // entry 1: chime flag 1 on the backward channel
    EXPECT_EQ(device.calls.filter(QStringLiteral("open")), QStringList({chimeOpened(4, "S2")}));
    EXPECT_EQ(engine->spoken().last(), QStringLiteral("一番"));
}

TEST_F(TapeTest, BackAtTheStartStaysAtOneAndPlaysNothing)
{
    tape.TapeInit();
    loadFive();
    tape.TapeBack();
    EXPECT_EQ(tape.TapePos(), 1);
    tape.TapeBack();
    EXPECT_EQ(tape.TapePos(), 1);
    EXPECT_TRUE(device.calls.isEmpty());
    EXPECT_TRUE(engine->calls.isEmpty());
    EXPECT_EQ(tape.TapeStepAt(tape.TapePos()), 1);
}

TEST_F(TapeTest, StopAdjustAndSpeakingAgain)
{
    QWidget console;
    host.console = &console;
    tape.TapeInit();
    loadFive();
    tape.TapeNext();
    tape.TapeNext();
    // Each announcement stops the one before, and the new one is left speaking.
    EXPECT_EQ(engine->calls, QStringList({QStringLiteral("stop"), QStringLiteral("speak 一番"), QStringLiteral("stop"),
                                          QStringLiteral("speak 二番")}));
    EXPECT_TRUE(engine->speaking());
    tape.TapeStop();
    EXPECT_FALSE(engine->speaking());
    tape.TapeAdjust();
    EXPECT_EQ(engine->calls.last(), QStringLiteral("adjust 音声の調節"));
    EXPECT_EQ(engine->adjustOwner, &console);
}

TEST_F(TapeTest, WithoutAnEngineTheButtonsStillMoveSilently)
{
    engineAvailable = false;
    tape.TapeInit();
    loadFive();
    EXPECT_FALSE(host.enabled.contains(QStringLiteral("cmdTapeNext")));
    tape.TapeNext();
    tape.TapeStop();
    tape.TapeAdjust();
    EXPECT_EQ(tape.TapePos(), 1);
}

}  // namespace
}  // namespace fareboard

namespace fareboard {
namespace {

TEST_F(TapeTest, TheFolderReadingsReachTheVoiceAndTheTapeIsPreparedInOrder)
{
    tape.TapeInit();
    // One bad line is skipped; the good ones still apply.
    test::writeFile(dir.filePath(QStringLiteral("Readings.csv")),
                    QByteArray("# 読み\nひばり橋,ひばりばし\n灯台下\n灯台下,とうだいした\n"));
    writeTape(QStringLiteral("5tp.csv"), QStringLiteral("次は、ひばり橋です。,1,1\r\n次は、灯台下です。,1,0\r\n"
                                                        "次は、1丁目です。,1,0\r\n"));
    tape.TapeLoad(dir.path(), QStringLiteral("5"));
    ASSERT_TRUE(readingsRead());
    const QStringList spoken{QStringLiteral("ツギワ、ヒバリバシです。"), QStringLiteral("ツギワ、トウダイシタです。"),
                             QStringLiteral("ツギワ、イッチョウメです。")};
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->prepared, spoken);

    tape.TapeNext();
    // Asked for before the chime plays, so the voice makes it meanwhile.
    EXPECT_EQ(engine->prefetched, QStringList{spoken[0]});
    EXPECT_EQ(engine->spoken(), QStringList{spoken[0]});
    tape.TapeNext();
    tape.TapeStop();
    EXPECT_EQ(engine->spoken(), (QStringList{spoken[0], spoken[1]}));
    EXPECT_EQ(engine->calls.back(), QStringLiteral("stop"));
    EXPECT_FALSE(engine->speaking());
}

}  // namespace
}  // namespace fareboard

namespace fareboard {
namespace {

TEST_F(TapeTest, AReadingsFileIsReadToItsLastLineUpToTheLimitAndRefusedPastIt)
{
    tape.TapeInit();
    writeTape(QStringLiteral("5tp.csv"), QStringLiteral("次は、灯台下です。,0,0\r\n"));
    // Past the old 8 MB cut: 120,000 names that start alike, the one the tape needs last.
    QByteArray many;
    many.reserve(10 << 20);
    for (int i = 0; i < 120000; ++i)
        many += "灯台" + QByteArray::number(i) + ",とうだいとうだいとうだいとうだいとうだい\n";
    many += "灯台下,とうだいした\n";
    ASSERT_GT(many.size(), 8 << 20);
    test::writeFile(dir.filePath(QStringLiteral("readings.csv")), many);
    tape.TapeLoad(dir.path(), QStringLiteral("5"));
    // Asked for while the file is still read: said once it is, with its readings.
    tape.TapeSpeak(1);
    EXPECT_TRUE(engine->spoken().isEmpty());
    ASSERT_TRUE(readingsRead());
    EXPECT_EQ(engine->spoken(), QStringList{QStringLiteral("ツギワ、トウダイシタです。")});
    EXPECT_EQ(host.toolTips[kGroup], QString());

    // A file past the limit is not read at all, and the tape group says why.
    QFile huge(dir.filePath(QStringLiteral("readings.csv")));
    ASSERT_TRUE(huge.resize(kMaxReadingsBytes + 1));
    tape.TapeLoad(dir.path(), QStringLiteral("5"));
    ASSERT_TRUE(readingsRead());
    EXPECT_TRUE(host.toolTips[kGroup].contains(QStringLiteral("readings.csv"))) << host.toolTips[kGroup].toStdString();
    EXPECT_TRUE(host.toolTips[kGroup].contains(QStringLiteral("32 MB"))) << host.toolTips[kGroup].toStdString();
    EXPECT_TRUE(host.enabled[kGroup]) << "the tape itself still plays";
    tape.TapeSpeak(1);
    EXPECT_EQ(engine->spoken().back(), QStringLiteral("ツギワ、灯台下です。"));
}

}  // namespace
}  // namespace fareboard
