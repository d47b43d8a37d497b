#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "operation/StopRequest.h"
#include "reading/SpokenText.h"
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
    // Whether the words have been said `times` times within `ms` (the bell's poll is 20 ms).
    bool said(int times, int ms = 2000)
    {
        return QTest::qWaitFor([&] { return speech->spoken().count(spoken()) == times; }, ms);
    }
};

}  // namespace

TEST(StopRequest, APressLatchesUntilTheBusMovesOn)
{
    Bell b;
    b.audio.sounding << QStringLiteral("fareboardS4");
    ASSERT_TRUE(b.bell.press());
    EXPECT_TRUE(b.bell.pending());
    // The chime on the channel of its own; the words once it has been heard.
    ASSERT_TRUE(b.journal.contains(QStringLiteral("play fareboardS4 from 0"))) << b.journal.join('\n').toStdString();
    EXPECT_FALSE(b.said(1, 150)) << "spoken over the chime";
    b.audio.sounding.clear();
    ASSERT_TRUE(b.said(1));

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
    EXPECT_TRUE(b.said(2));
}

TEST(StopRequest, TheWordsWaitForTheAnnouncementBeingRead)
{
    Bell b;
    b.speech->isSpeaking = true;  // "次は、…です。" is being read
    ASSERT_TRUE(b.bell.press());
    EXPECT_TRUE(b.speech->spoken().isEmpty()) << "spoken over the announcement";
    b.speech->isSpeaking = false;
    EXPECT_TRUE(b.said(1));

    // The bus reaches the stop while the announcement still runs: the words are dropped.
    b.bell.clear();
    b.speech->isSpeaking = true;
    ASSERT_TRUE(b.bell.press());
    b.bell.clear();
    b.speech->isSpeaking = false;
    EXPECT_FALSE(b.said(2, 150));
}
