#include "platform/speech/BackgroundSpeechEngine.h"
#include "platform/speech/Voice.h"
#include "platform/speech/VoicePlaceNames.h"
#include "reading/GazetteerFile.h"
#include "reading/TownListFile.h"
#include "support/Bytes.h"
#include "support/SampleFiles.h"
#include "support/FakeAudio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace fareboard {
namespace {

template <typename F>
bool eventually(F done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 3000)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Makes one sample per character of the text times the rate, tagged with the voice it is;
// holds every text while `hold` is set, as a slow synthesiser would.
struct VoiceLog {
    std::mutex mutex;
    QStringList made;  // "<voice> <rate> <text>"
    std::atomic<bool> hold{false};
    QStringList list()
    {
        std::lock_guard lock(mutex);
        return made;
    }
};

class FakeVoice final : public Voice {
public:
    FakeVoice(VoiceKind kind, VoiceLog& log) : kind_(kind), log_(log) {}
    int sampleRate() const override { return 1000; }
    std::vector<int16_t> synthesize(const QString& text, const SpeechSettings& settings, bool,
                                    const std::function<bool()>& cancelled) override
    {
        while (log_.hold) {
            if (cancelled && cancelled())
                return {};
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        {
            std::lock_guard lock(log_.mutex);
            log_.made << QStringLiteral("%1 %2 %3").arg(voiceName(kind_)).arg(settings.rate).arg(text);
        }
        return std::vector<int16_t>(std::size_t(text.size() * settings.rate), int16_t(kind_ == VoiceKind::OpenJTalk ? 1 : 2));
    }
    QString pronounce(const QString& text) override { return text; }

private:
    VoiceKind kind_;
    VoiceLog& log_;
};

class SpeechEngineTest : public ::testing::Test {
protected:
    std::unique_ptr<BackgroundSpeechEngine> make(std::vector<VoiceKind> installed)
    {
        return BackgroundSpeechEngine::create(
            player, std::move(installed), [this](VoiceKind kind) { return std::make_unique<FakeVoice>(kind, log); },
            dir.filePath(QStringLiteral("fareboard/speech.conf")));
    }
    size_t playedCount()
    {
        return player.played.size();
    }

    QTemporaryDir dir;
    VoiceLog log;
    test::FakePcmPlayer player;
};

TEST_F(SpeechEngineTest, TheTapeIsMadeAheadInOrderAndPlaysFromTheCacheUntilTheRateChanges)
{
    auto engine = make({VoiceKind::OpenJTalk, VoiceKind::Espeak});
    ASSERT_TRUE(engine);
    EXPECT_TRUE(log.list().isEmpty());  // nothing is made before there is a tape
    engine->prepare({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("一"), QStringLiteral("三")});
    ASSERT_TRUE(eventually([&] { return engine->ready(QStringLiteral("三")); }));
    EXPECT_EQ(log.list(), (QStringList{QStringLiteral("Open JTalk 100 一"), QStringLiteral("Open JTalk 100 二"),
                                       QStringLiteral("Open JTalk 100 三")}));

    engine->speak(QStringLiteral("二"));
    ASSERT_EQ(playedCount(), 1u);  // at once, from the cache, on the caller's thread
    EXPECT_EQ(player.played[0].size(), 100u);
    EXPECT_EQ(engine->renders(), 3);

    SpeechSettings faster = engine->settings();
    faster.rate = 150;
    log.hold = true;
    engine->setSettings(faster);
    EXPECT_FALSE(engine->ready(QStringLiteral("二")));
    log.hold = false;
    ASSERT_TRUE(eventually([&] { return engine->ready(QStringLiteral("三")); }));
    EXPECT_EQ(engine->renders(), 6);
    engine->speak(QStringLiteral("二"));
    ASSERT_EQ(playedCount(), 2u);
    EXPECT_EQ(player.played[1].size(), 150u);

    // Kept for the next run.
    auto next = make({VoiceKind::OpenJTalk, VoiceKind::Espeak});
    EXPECT_EQ(next->settings().rate, 150);
}

TEST_F(SpeechEngineTest, ATextNotReadyIsMadeFirstAndPlayedWhenDone)
{
    auto engine = make({VoiceKind::OpenJTalk});
    log.hold = true;
    engine->prepare({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")});
    engine->speak(QStringLiteral("三"));
    EXPECT_TRUE(engine->speaking());
    log.hold = false;
    ASSERT_TRUE(eventually([&] { return playedCount() == 1; }));
    // The background text in the works gave way; the wanted one came first.
    EXPECT_EQ(log.list().value(0), QStringLiteral("Open JTalk 100 三"));
    ASSERT_TRUE(eventually([&] { return log.list().size() == 3; }));
    EXPECT_EQ(playedCount(), 1u);
}

TEST_F(SpeechEngineTest, PlaceNamesAreReadOnTheWorkerWithTheVoiceThatSpeaks)
{
    std::atomic<std::thread::id> stepThread;
    std::mutex tapeMutex;
    QStringList stepTape;
    auto engine = BackgroundSpeechEngine::create(
        player, {VoiceKind::OpenJTalk}, [this](VoiceKind kind) { return std::make_unique<FakeVoice>(kind, log); },
        dir.filePath(QStringLiteral("fareboard/speech.conf")),
        [&](const QString& text, const QStringList& tape, Voice& voice, bool) {
            stepThread = std::this_thread::get_id();
            std::lock_guard lock(tapeMutex);
            stepTape = tape;
            return voice.pronounce(text) + QStringLiteral("(place)");
        });
    engine->speak(QStringLiteral("七戸"));
    ASSERT_TRUE(eventually([&] { return playedCount() == 1; }));
    EXPECT_EQ(log.list(), QStringList{QStringLiteral("Open JTalk 100 七戸(place)")});
    EXPECT_NE(stepThread.load(), std::this_thread::get_id());
    // Kept under the text the tape asked for.
    EXPECT_TRUE(engine->ready(QStringLiteral("七戸")));
    // The step hears the whole tape, which tells where the route runs.
    const QStringList tape{QStringLiteral("七戸"), QStringLiteral("下田")};
    engine->prepare(tape);
    ASSERT_TRUE(eventually([&] { return engine->ready(QStringLiteral("下田")); }));
    std::lock_guard lock(tapeMutex);
    EXPECT_EQ(stepTape, tape);
}

TEST(VoicePlaceNames, WhileATextIsMadeAheadTheVoiceIsAskedAtLowPriority)
{
    // Records the priority of the thread it is asked on, which a program it starts inherits.
    struct PriorityVoice final : Voice {
        int asked = -100;
        int sampleRate() const override { return 1000; }
        std::vector<int16_t> synthesize(const QString&, const SpeechSettings&, bool, const std::function<bool()>&) override
        {
            return {};
        }
        QString pronounce(const QString& text) override
        {
            asked = getpriority(PRIO_PROCESS, id_t(gettid()));
            return text;
        }
    } voice;
    const int own = getpriority(PRIO_PROCESS, id_t(gettid()));
    EXPECT_EQ(voiceReadingsOf(voice, true)({QStringLiteral("七戸"), QStringLiteral("下田")}),
              (QStringList{QStringLiteral("七戸"), QStringLiteral("下田")}));
    EXPECT_GE(voice.asked, 10);
    EXPECT_EQ(getpriority(PRIO_PROCESS, id_t(gettid())), own);
    voiceReadingsOf(voice, false)({QStringLiteral("七戸")});
    EXPECT_EQ(voice.asked, own);
}

TEST(VoicePlaceNames, TheTapeTellsTheRegionItsTownsAreReadIn)
{
    // A voice that reads 上野 うえの, as it does, and every other text as written.
    struct UenoVoice final : Voice {
        int sampleRate() const override { return 1000; }
        std::vector<int16_t> synthesize(const QString&, const SpeechSettings&, bool, const std::function<bool()>&) override
        {
            return {};
        }
        QString pronounce(const QString& text) override { return QString(text).replace(QStringLiteral("上野"), QStringLiteral("ウエノ")); }
    } voice;
    QTemporaryDir dir;
    test::writeFile(dir.filePath(QStringLiteral("towns.csv")), test::townListBytes());
    const GazetteerFile gazetteer(dir.filePath(QStringLiteral("none")));
    const TownListFile towns(dir.filePath(QStringLiteral("towns.csv")));
    PlaceNames names(gazetteer, towns);
    const QStringList misawa{QStringLiteral("次は、古間木です。"), QStringLiteral("三沢駅前"), QStringLiteral("堀口")};
    EXPECT_FALSE(towns.loaded());
    EXPECT_EQ(names.read(QStringLiteral("次は、上野です。"), misawa, voice), QStringLiteral("次は、ウワノです。"));
    // Another tape, another region: here none, and the voice's own reading stands.
    EXPECT_EQ(names.read(QStringLiteral("次は、上野です。"), {}, voice), QStringLiteral("次は、上野です。"));
    EXPECT_EQ(names.read(QStringLiteral("上野"), misawa, voice), QStringLiteral("ウワノ"));
}

TEST_F(SpeechEngineTest, StopCutsTheSpeechAndATextMadeAfterItIsNotPlayed)
{
    auto engine = make({VoiceKind::OpenJTalk});
    engine->prepare({QStringLiteral("一")});
    ASSERT_TRUE(eventually([&] { return engine->ready(QStringLiteral("一")); }));
    engine->speak(QStringLiteral("一"));
    EXPECT_TRUE(player.playing());
    engine->stop();
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(engine->speaking());

    log.hold = true;
    engine->speak(QStringLiteral("まだ"));
    engine->stop();
    log.hold = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(playedCount(), 1u);
    EXPECT_FALSE(engine->speaking());
}

TEST_F(SpeechEngineTest, WithoutOpenJTalkTheOtherVoiceSpeaksAndWithoutAnyThereIsNoEngine)
{
    QDir().mkpath(dir.filePath(QStringLiteral("fareboard")));
    QFile file(dir.filePath(QStringLiteral("fareboard/speech.conf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("voice=open-jtalk\nrate=120\npitch=99\n");
    file.close();

    auto engine = make({VoiceKind::Espeak});
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->settings().voice, VoiceKind::Espeak);
    EXPECT_EQ(engine->settings().rate, 120);
    EXPECT_EQ(engine->settings().pitch, 0);  // out of range: the default
    engine->speak(QStringLiteral("一"));
    ASSERT_TRUE(eventually([&] { return playedCount() == 1; }));
    EXPECT_EQ(log.list(), QStringList{QStringLiteral("espeak-ng 120 一")});

    EXPECT_FALSE(make({}));
}

TEST_F(SpeechEngineTest, AVoiceThatWillNotLoadGivesWayToTheOtherAndLeavesTheList)
{
    class Unloadable final : public Voice {
    public:
        bool load() override { return false; }
        int sampleRate() const override { return 1000; }
        std::vector<int16_t> synthesize(const QString&, const SpeechSettings&, bool,
                                        const std::function<bool()>&) override
        {
            ADD_FAILURE() << "a voice that did not load was asked to speak";
            return {};
        }
        QString pronounce(const QString& text) override { return text; }
    };
    auto engine = BackgroundSpeechEngine::create(
        player, {VoiceKind::OpenJTalk, VoiceKind::Espeak},
        [this](VoiceKind kind) -> std::unique_ptr<Voice> {
            if (kind == VoiceKind::OpenJTalk)
                return std::make_unique<Unloadable>();
            return std::make_unique<FakeVoice>(kind, log);
        },
        QString());
    bool lost = false;
    engine->setLostHandler([&] { lost = true; });
    engine->speak(QStringLiteral("一"));
    ASSERT_TRUE(eventually([&] { return playedCount() == 1; }));
    EXPECT_EQ(log.list(), QStringList{QStringLiteral("espeak-ng 100 一")});
    EXPECT_EQ(engine->installedVoices(), std::vector<VoiceKind>{VoiceKind::Espeak});
    EXPECT_EQ(engine->settings().voice, VoiceKind::Espeak);
    QCoreApplication::processEvents();
    EXPECT_FALSE(lost);
}

}  // namespace
}  // namespace fareboard
