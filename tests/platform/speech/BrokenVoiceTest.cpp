// A broken open_jtalk on the PATH, as a user's machine may have one: the tape still speaks,
// in the next voice, says once what went wrong, and never waits or fills memory without end.
#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "platform/ShiftJis.h"
#include "platform/speech/BackgroundSpeechEngine.h"
#include "platform/speech/EspeakKanaVoice.h"
#include "platform/speech/OpenJTalkVoice.h"
#include "reading/SpeechPieces.h"
#include "support/Bytes.h"
#include "support/FakeAudio.h"
#include "support/FakeTapeHost.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <stdlib.h>

namespace fareboard {
namespace {

const QString kDictionary = QStringLiteral(FAREBOARD_TEST_BUS_DICTIONARY);

bool eventually(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

// A 48 kHz mono WAV of `samples` samples of 1000.
QByteArray wave(int samples)
{
    test::Bytes b;
    b.raw(QByteArray("RIFF")).i4(36 + 2 * samples).raw(QByteArray("WAVEfmt ")).i4(16).i2(1).i2(1).i4(48000);
    b.i4(96000).i2(2).i2(16).raw(QByteArray("data")).i4(2 * samples);
    for (int i = 0; i < samples; ++i)
        b.i2(1000);
    return b.data();
}

// An `open_jtalk` of our own first on the PATH for as long as the test runs.
class FakeOpenJTalk {
public:
    explicit FakeOpenJTalk(const QString& script) : oldPath_(qgetenv("PATH"))
    {
        QFile file(dir.filePath(QStringLiteral("open_jtalk")));
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", dir.path().toUtf8() + ':' + oldPath_);
    }
    ~FakeOpenJTalk() { qputenv("PATH", oldPath_); }
    QString file(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;

private:
    QByteArray oldPath_;
};

bool voicesInstalled()
{
    return OpenJTalkFiles::installed().complete() && EspeakKanaVoice::installed();
}

// The engine as the program makes it, with a short time limit so a hang costs the test 2 s.
std::unique_ptr<BackgroundSpeechEngine> engineWith(test::FakePcmPlayer& player, std::vector<VoiceKind> voices)
{
    return BackgroundSpeechEngine::create(
        player, std::move(voices),
        [](VoiceKind kind) -> std::unique_ptr<Voice> {
            if (kind == VoiceKind::OpenJTalk)
                return std::make_unique<OpenJTalkVoice>(OpenJTalkFiles::installed(), OpenJTalkLimits{2000, 0});
            return std::make_unique<EspeakKanaVoice>(kDictionary);
        },
        QString());
}

}  // namespace

TEST(BrokenVoice, EveryWayOpenJTalkFailsGivesWayToEspeakAndIsToldOnce)
{
    if (!voicesInstalled())
        GTEST_SKIP() << "Open JTalk's dictionary and voice, or espeak-ng, are not installed";
    const struct {
        const char* what;
        const char* script;
        const char* said;
    } cases[] = {
        {"exits 1", "cat >/dev/null; exit 1", "終了コード 1"},
        {"hangs", "exec sleep 600", "応答しない"},
        {"writes without end", "exec cat /dev/zero", "出力し続けた"},
        {"answers with no WAV", "cat >/dev/null; printf 'RIFF\\001\\000\\000\\000WAVEjunkjunk'", "読めません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeOpenJTalk fake(QString::fromUtf8(c.script));
        test::FakePcmPlayer player;
        auto engine = engineWith(player, {VoiceKind::OpenJTalk, VoiceKind::Espeak});
        QStringList told;
        bool lost = false;
        engine->setFailureHandler([&](const QString& message) { told << message; });
        engine->setLostHandler([&] { lost = true; });

        engine->speak(QStringLiteral("次は、駅前です。"));
        ASSERT_TRUE(eventually([&] { return !player.played.empty(); }, 10000)) << "nothing was spoken";
        EXPECT_EQ(player.sampleRate, 22050) << "not espeak-ng's voice";
        EXPECT_GT(player.played.front().size(), 22050u / 2);
        ASSERT_TRUE(eventually([&] { return !told.isEmpty(); }, 1000));
        EXPECT_TRUE(told.front().contains(QString::fromUtf8(c.said))) << told.front().toStdString();
        EXPECT_TRUE(told.front().contains(QStringLiteral("espeak-ng で読み上げます"))) << told.front().toStdString();

        // The next text goes straight to espeak-ng, and nothing more is said of Open JTalk.
        engine->speak(QStringLiteral("終点です。"));
        ASSERT_TRUE(eventually([&] { return player.played.size() == 2; }, 5000));
        QCoreApplication::processEvents();
        EXPECT_EQ(told.size(), 1);
        EXPECT_FALSE(lost);
        EXPECT_EQ(engine->installedVoices(), std::vector<VoiceKind>{VoiceKind::Espeak});
    }
}

TEST(BrokenVoice, TheTapeSaysWhatFailedAndIsUnavailableOnlyWhenNoVoiceIsLeft)
{
    if (!voicesInstalled())
        GTEST_SKIP() << "Open JTalk's dictionary and voice, or espeak-ng, are not installed";
    FakeOpenJTalk fake(QStringLiteral("cat >/dev/null; exit 1"));
    for (const bool espeakToo : {true, false}) {
        SCOPED_TRACE(espeakToo ? "espeak-ng is there too" : "Open JTalk is the only voice");
        test::FakeTapeHost host;
        test::FakeAudioDevice device;
        test::FakeSleeper sleeper;
        mdlSndAPI sound{device, sleeper, QStringLiteral("bus")};
        test::FakePcmPlayer player;
        std::vector<VoiceKind> voices{VoiceKind::OpenJTalk};
        if (espeakToo)
            voices.push_back(VoiceKind::Espeak);
        mdlM_Tape tape(host, sound, [&]() -> std::unique_ptr<SpeechEngine> { return engineWith(player, voices); });
        tape.TapeInit();
        test::writeFile(fake.file(QStringLiteral("1tp.csv")), toShiftJis(QStringLiteral("次は、駅前です。,0,0\r\n")));
        tape.TapeLoad(fake.dir.path(), QStringLiteral("1"));
        ASSERT_TRUE(eventually([&] { return !tape.readingsPending(); }, 2000));
        EXPECT_EQ(host.captions[QStringLiteral("grpM_Tape")], QStringLiteral("音合使用可"));

        tape.TapeNext();
        const QString& tip = host.toolTips[QStringLiteral("grpM_Tape")];
        ASSERT_TRUE(eventually([&] { return !tip.isEmpty(); }, 10000)) << "the failure was not told";
        EXPECT_TRUE(tip.contains(QStringLiteral("Open JTalk"))) << tip.toStdString();
        EXPECT_TRUE(tip.contains(QStringLiteral("終了コード 1"))) << tip.toStdString();
        if (espeakToo) {
            ASSERT_TRUE(eventually([&] { return !player.played.empty(); }, 10000));
            EXPECT_EQ(host.captions[QStringLiteral("grpM_Tape")], QStringLiteral("音合使用可"));
        } else {
            ASSERT_TRUE(eventually([&] { return host.captions[QStringLiteral("grpM_Tape")] == QStringLiteral("音合使用不可"); }, 5000));
            EXPECT_FALSE(host.enabled[QStringLiteral("grpM_Tape")]);
            EXPECT_TRUE(player.played.empty());
        }
    }
}

TEST(BrokenVoice, ALongTextGoesToTheVoiceInWholeLinesAndComesBackWhole)
{
    if (!OpenJTalkFiles::installed().complete())
        GTEST_SKIP() << "Open JTalk's dictionary and voice are not installed";
    // Records every line it is given and answers each with the same 100 samples.
    FakeOpenJTalk fake(QStringLiteral("here=$(dirname \"$0\"); cat >> \"$here/lines.txt\"; cat \"$here/reply.wav\""));
    test::writeFile(fake.file(QStringLiteral("reply.wav")), wave(100));
    // Ten thousand characters: sentences, and one run of 2,000 characters with no end in it,
    // with characters outside the basic plane (two UTF-16 units) where a cut could fall.
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("次は、北%1条西です。").arg(i);
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("𠮷野");
    text += QStringLiteral("終点です！");

    OpenJTalkVoice voice(OpenJTalkFiles::installed());
    const std::vector<int16_t> samples = voice.synthesize(text, SpeechSettings{}, false, {});
    EXPECT_TRUE(voice.failure().isEmpty()) << voice.failure().toStdString();

    QFile linesFile(fake.file(QStringLiteral("lines.txt")));
    ASSERT_TRUE(linesFile.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = linesFile.readAll().split('\n');
    QString heard;
    int pieces = 0;
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        ++pieces;
        EXPECT_LE(line.size() + 1, 1022) << "Open JTalk reads no more of a line than this";
        QStringDecoder utf8(QStringDecoder::Utf8);
        heard += utf8(line);
        EXPECT_FALSE(utf8.hasError()) << "a line was cut inside a character";
    }
    EXPECT_GT(pieces, 10);
    EXPECT_EQ(heard, text) << "every character reached the voice, in order";
    // The sound is the pieces' sounds one after the other (the first without its lead-in).
    EXPECT_EQ(samples.size(), std::size_t(100 * pieces));
    // Sentences stay whole: every piece of the sentences' part ends at a sentence end.
    for (const QString& piece : speechPieces(text, OpenJTalkVoice::kMaxPieceBytes)) {
        if (!piece.contains(QStringLiteral("𠮷"))) {
            EXPECT_TRUE(piece.endsWith(u'。') || piece.endsWith(u'！')) << piece.right(10).toStdString();
        }
    }
}

}  // namespace fareboard
