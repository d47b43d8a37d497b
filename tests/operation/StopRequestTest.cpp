#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "operation/StopRequest.h"
#include "platform/speech/SpokenText.h"
#include "support/Fakes.h"
#include "support/FakeTapeHost.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace fareboard;
using namespace fareboard::test;

namespace {

struct Bell {
    QStringList journal;
    FakeAudioDevice audio;
    FakeSleeper sleeper;
    mdlSndAPI sound{audio, sleeper, QStringLiteral("fareboard")};
    FakeTapeHost host;
    FakeSpeechEngine* speech = nullptr;
    mdlM_Tape tape{host, sound, [this] {
                       auto engine = std::make_unique<FakeSpeechEngine>();
                       engine->journal = &journal;
                       speech = engine.get();
                       return std::unique_ptr<SpeechEngine>(std::move(engine));
                   }};
    QTemporaryDir dir;
    QString chime = dir.filePath(QStringLiteral("bell.wav"));
    StopRequest bell{sound, tape, [this] { return chime; }};
    std::vector<bool> lamps;

    Bell()
    {
        audio.journal = &journal;
        QFile file(chime);
        file.open(QIODevice::WriteOnly);
        file.write("RIFF");
        tape.TapeInit();
        QObject::connect(&bell, &StopRequest::pendingChanged, [this](bool on) { lamps.push_back(on); });
    }
    static QString spoken() { return spokenText(StopRequest::announcement(), ReadingTable()); }
};

}  // namespace

TEST(StopRequest, APressLatchesUntilTheBusMovesOn)
{
    Bell b;
    ASSERT_TRUE(b.bell.press());
    EXPECT_TRUE(b.bell.pending());
    // The chime on the channel of its own, heard to its end, then the words.
    const qsizetype played = b.journal.indexOf(QStringLiteral("play fareboardS4 from 0 wait"));
    ASSERT_GE(played, 0) << b.journal.join('\n').toStdString();
    EXPECT_EQ(b.journal.indexOf(QStringLiteral("speak ") + Bell::spoken()), played + 1);

    // A latched bell: more presses ring nothing and say nothing.
    const qsizetype before = b.journal.size();
    EXPECT_FALSE(b.bell.press());
    EXPECT_FALSE(b.bell.press());
    EXPECT_EQ(b.journal.size(), before);

    b.bell.clear();
    EXPECT_FALSE(b.bell.pending());
    EXPECT_EQ(b.lamps, (std::vector<bool>{true, false}));
    b.speech->isSpeaking = false;  // read to its end
    EXPECT_TRUE(b.bell.press());
    EXPECT_EQ(b.speech->spoken().count(Bell::spoken()), 2);
}

TEST(StopRequest, TheWordsWaitForTheAnnouncementBeingRead)
{
    Bell b;
    b.speech->isSpeaking = true;  // "次は、…です。" is being read
    ASSERT_TRUE(b.bell.press());
    EXPECT_TRUE(b.speech->spoken().isEmpty()) << "spoken over the announcement";
    b.speech->isSpeaking = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return b.speech->spoken() == QStringList{Bell::spoken()}; }, 2000));

    // The bus reaches the stop while the announcement still runs: the words are dropped.
    b.bell.clear();
    b.speech->isSpeaking = true;
    ASSERT_TRUE(b.bell.press());
    b.bell.clear();
    b.speech->isSpeaking = false;
    EXPECT_FALSE(QTest::qWaitFor([&] { return b.speech->spoken().size() > 1; }, 200));
}
