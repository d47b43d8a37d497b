#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "platform/ShiftJis.h"
#include "platform/audio/SdlMixer.h"
#include "platform/audio/SdlPcmPlayer.h"
#include "platform/speech/BackgroundSpeechEngine.h"
#include "platform/speech/EspeakKanaVoice.h"
#include "platform/speech/EspeakVoice.h"
#include "platform/speech/InstalledVoices.h"
#include "platform/speech/OpenJTalkVoice.h"
#include "platform/speech/Voice.h"
#include "reading/JapaneseNumbers.h"
#include "platform/speech/KanaReader.h"
#include "support/FakeAudio.h"
#include "support/FakeTapeHost.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace fareboard {
namespace {

const QString kDictionary = QStringLiteral(FAREBOARD_TEST_BUS_DICTIONARY);

// Waits (for real: the engine works on its own thread) until `done` or `ms` pass.
template <typename F>
bool eventually(F done, int ms = 2000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool unread(const QString& phonemes)
{
    // espeak-ng switches to English to spell out a character it cannot read.
    return phonemes.contains(QStringLiteral("(en)")) || phonemes.contains(QStringLiteral("l'et@"));
}

TEST(JapaneseNumbers, ReadAsNumberWordsWithTheirSoundChanges)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0", "ゼロ"},
        {"7", "ナナ"},
        {"10", "ジュウ"},
        {"24", "ニジュウヨン"},
        {"100", "ヒャク"},
        {"300", "サンビャク"},
        {"680", "ロッピャクハチジュウ"},
        {"800", "ハッピャク"},
        {"1000", "セン"},
        {"3000", "サンゼン"},
        {"8000", "ハッセン"},
        {"1200", "センニヒャク"},
        {"10000", "イチマン"},
        {"10000000", "イッセンマン"},
        {"100000000", "イチオク"},
        {"1000000000000", "イッチョウ"},
        {"007", "ナナ"},
    };
    for (const auto& [digits, reading] : cases)
        EXPECT_EQ(japaneseNumber(QString::fromLatin1(digits)), QString::fromUtf8(reading)) << digits;
    EXPECT_EQ(spellOutNumbers(QStringLiteral("運賃は1,200円、2.5キロ")),
              QStringLiteral("運賃はセンニヒャク円、ニテンゴキロ"));
}

TEST(KanaReader, BusWordsAreReadAsTheDriverSaysThem)
{
    auto reader = KanaReader::create(kDictionary);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->hasUserDictionary());
    const std::pair<const char*, const char*> cases[] = {
        {"次は、市役所前です。", "ツギワ、シヤクショマエデス。"},
        {"お降りの方はお知らせください", "オーリノカタワオシラセクダサイ"},
        {"駅前行きです", "エキマエユキデス"},
        {"停留所", "テイリュージョ"},
        {"整理券をお取りください", "セイリケンヲオトリクダサイ"},
        {"運賃", "ウンチン"},
        {"両替", "リョーガエ"},
        {"降車ボタン", "コーシャボタン"},
        {"学校に行きます", "ガッコーニイキマス"},
        {"１２３番", "ヒャクニジュウサンバン"},
        // A variant kanji is read as its common form, and the text after it survives.
        {"髙島屋前、1,500円", "タカシマヤマエ、センゴヒャクエン"},
        // The ヶ of a name the dictionary lacks is が; the names it holds keep its reading.
        {"夢見ヶ崎動物公園前", "ユメミガサキドーブツコーエンマエ"},
        {"霞ヶ関、三ヶ日", "カスミガセキ、ミッカビ"},
    };
    for (const auto& [text, reading] : cases)
        EXPECT_EQ(reader->read(QString::fromUtf8(text)), QString::fromUtf8(reading)) << text;
}

TEST(EspeakVoice, EveryBusWordIsSpokenWithoutSpellingOrStrayVowels)
{
    auto reader = KanaReader::create(kDictionary);
    auto voice = EspeakVoice::create();
    ASSERT_TRUE(reader);
    ASSERT_TRUE(voice);
    for (const char* text : {"次は、市役所前です。", "お降りの方", "駅前行き", "停留所", "整理券", "運賃", "両替",
                             "降車ボタン", "料金は、２１０円です。", "髙島屋前"}) {
        const QString phonemes = voice->phonemes(reader->read(QString::fromUtf8(text)));
        EXPECT_FALSE(phonemes.isEmpty()) << text;
        EXPECT_FALSE(unread(phonemes)) << text << " " << phonemes.toStdString();
        // The ry- sounds keep their vowel: 停留所 is "teiryu:jo", not "teiryau:jo".
        EXPECT_FALSE(phonemes.contains(QStringLiteral("r`_ja'u"))) << text << " " << phonemes.toStdString();
        EXPECT_FALSE(phonemes.contains(QStringLiteral("r`_j,ao"))) << text << " " << phonemes.toStdString();
    }
    EXPECT_TRUE(voice->phonemes(QStringLiteral("テイリュージョ")).contains(QStringLiteral("r`_j'u:")));
    // Kanji straight into the voice are what the reader exists for.
    EXPECT_TRUE(unread(voice->phonemes(QStringLiteral("市役所"))));
    // Only one voice at a time: the library keeps it in globals.
    EXPECT_FALSE(EspeakVoice::create());
}

TEST(EspeakVoice, RyPhonemesLoseTheirStrayVowel)
{
    EXPECT_EQ(fixRyPhonemes(QStringLiteral("t,eir`_ja'u:d_z\\o")), QStringLiteral("t,eir`_j'u:d_z\\o"));
    EXPECT_EQ(fixRyPhonemes(QStringLiteral("r`_j,ao:g'ae")), QStringLiteral("r`_j,o:g'ae"));
    EXPECT_EQ(fixRyPhonemes(QStringLiteral("r`_j'aa")), QStringLiteral("r`_j'a"));
    EXPECT_EQ(fixRyPhonemes(QStringLiteral("k_j'a r`'i")), QStringLiteral("k_j'a r`'i"));
}

TEST(EspeakVoice, SettingsChangeTheSound)
{
    auto voice = EspeakVoice::create();
    ASSERT_TRUE(voice);
    SpeechSettings slow;
    slow.rate = 60;
    SpeechSettings fast;
    fast.rate = 200;
    const auto slowSamples = voice->synthesize(QStringLiteral("ツギワ、シヤクショマエデス。"), slow);
    const auto fastSamples = voice->synthesize(QStringLiteral("ツギワ、シヤクショマエデス。"), fast);
    ASSERT_FALSE(fastSamples.empty());
    EXPECT_GT(slowSamples.size(), fastSamples.size() * 3 / 2);
    // The silence before the first sound is cut, so speech starts the moment it plays.
    int first = 0;
    while (first < int(fastSamples.size()) && std::abs(fastSamples[std::size_t(first)]) <= 64)
        ++first;
    EXPECT_LE(first, voice->sampleRate() * 6 / 1000);
}

TEST(EspeakKanaVoice, PlaysThroughTheMixerUntilStopped)
{
    SdlMixer mixer;
    SdlPcmPlayer player(mixer, QStringLiteral("fareboardSpeech"));
    auto engine = BackgroundSpeechEngine::create(
        player, {VoiceKind::Espeak}, [](VoiceKind) { return std::make_unique<EspeakKanaVoice>(kDictionary); }, QString());
    ASSERT_TRUE(engine);
    engine->speak(QStringLiteral("次は、市役所前です。"));
    EXPECT_TRUE(engine->speaking());
    ASSERT_TRUE(eventually([&] { return mixer.playing(QStringLiteral("fareboardSpeech")); }));
    engine->stop();
    EXPECT_FALSE(engine->speaking());
    EXPECT_FALSE(mixer.playing(QStringLiteral("fareboardSpeech")));
}

TEST(EspeakKanaVoice, LibrariesThatWillNotLoadLeaveTheTapeUnavailableOrReadWithoutTheAnalyser)
{
    // Without MeCab the voice still speaks, kana and numbers read as they are.
    EXPECT_FALSE(KanaReader::create(kDictionary, "libmecab-missing.so.2"));
    EspeakKanaVoice withoutAnalyser(kDictionary, nullptr, "libmecab-missing.so.2");
    ASSERT_TRUE(withoutAnalyser.load());
    EXPECT_EQ(withoutAnalyser.pronounce(QStringLiteral("つぎは 3")), QStringLiteral("つぎは サン"));

    // Without espeak-ng the voice's files said it was there; its first use finds it is not.
    test::FakePcmPlayer player;
    test::FakeTapeHost host;
    test::FakeAudioDevice device;
    test::FakeSleeper sleeper;
    mdlSndAPI snd(device, sleeper, QStringLiteral("fareboard"));
    mdlM_Tape tape(host, snd, [&player]() -> std::unique_ptr<SpeechEngine> {
        return BackgroundSpeechEngine::create(
            player, {VoiceKind::Espeak},
            [](VoiceKind) { return std::make_unique<EspeakKanaVoice>(kDictionary, "libespeak-ng-missing.so.1"); },
            QString());
    });
    tape.TapeInit();
    EXPECT_EQ(host.captions[QStringLiteral("grpM_Tape")], QStringLiteral("音合使用可"));
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("1tp.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(toShiftJis(QStringLiteral("次は、市役所前です。,0,0\r\n")));
    file.close();
    tape.TapeLoad(dir.path(), QStringLiteral("1"));
    ASSERT_TRUE(eventually([&] {
        QCoreApplication::processEvents();
        return !tape.TapeUsable();
    }));
    EXPECT_EQ(host.captions[QStringLiteral("grpM_Tape")], QStringLiteral("音合使用不可"));
    EXPECT_FALSE(host.enabled[QStringLiteral("grpM_Tape")]);
    tape.TapeNext();
    EXPECT_EQ(tape.TapePos(), 1);
    EXPECT_TRUE(player.played.empty());
}

TEST(OpenJTalkVoice, MakesTheTapeAheadPlaysItAtOnceAndMakesItAgainAtAnotherRate)
{
    if (!OpenJTalkFiles::installed().complete())
        GTEST_SKIP() << "Open JTalk with its dictionary and voice is not installed";
    test::FakePcmPlayer player;
    QTemporaryDir dir;
    auto engine = BackgroundSpeechEngine::create(player, {VoiceKind::OpenJTalk}, makeInstalledVoice,
                                                 dir.filePath(QStringLiteral("speech.conf")));
    const QString text = QStringLiteral("ツギワ、札幌駅前です。");
    engine->prepare({text});
    ASSERT_TRUE(eventually([&] { return engine->ready(text); }, 20000));
    engine->speak(text);
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_EQ(player.sampleRate, 48000);
    const std::size_t normal = player.played[0].size();
    EXPECT_GT(normal, 48000u * 8 / 10);
    EXPECT_LT(normal, 48000u * 4);
    engine->stop();
    EXPECT_FALSE(player.playing());

    SpeechSettings faster = engine->settings();
    faster.rate = 150;
    engine->setSettings(faster);
    ASSERT_TRUE(eventually([&] { return engine->ready(text); }, 20000));
    engine->speak(text);
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_LT(player.played[1].size(), normal * 8 / 10);
}

}  // namespace
}  // namespace fareboard
