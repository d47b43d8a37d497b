#include "ToolRun.h"
#include "platform/InstallPaths.h"
#include "platform/speech/InstalledVoices.h"
#include "platform/speech/OpenJTalkVoice.h"
#include "platform/speech/ReadingsLimit.h"
#include "platform/speech/SpokenText.h"
#include "support/Bytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace fareboard;
using namespace fareboard::test;

namespace {

struct Name {
    const char* written;
    const char* reading;
};

// Real stop and place names and how they are said there: Sapporo's street blocks and their
// counters, 町 read まち or ちょう, an 大字 name, Ainu-derived Hokkaido names, Latin letters.
const Name kRealNames[] = {
    {"北1条西4丁目", "きたいちじょうにしよんちょうめ"}, {"南4条西5丁目", "みなみよじょうにしごちょうめ"},
    {"西18丁目", "にしじゅうはっちょうめ"}, {"西11丁目", "にしじゅういっちょうめ"},
    {"北24条", "きたにじゅうよじょう"}, {"菊水1条1丁目", "きくすいいちじょういっちょうめ"},
    {"平岸3条9丁目", "ひらぎしさんじょうきゅうちょうめ"}, {"札幌駅前", "さっぽろえきまえ"},
    {"大通", "おおどおり"}, {"真駒内", "まこまない"}, {"琴似", "ことに"}, {"新琴似", "しんことに"},
    {"手稲", "ていね"}, {"発寒", "はっさむ"}, {"月寒", "つきさむ"}, {"厚別", "あつべつ"},
    {"白石", "しろいし"}, {"豊平", "とよひら"}, {"平岸", "ひらぎし"}, {"澄川", "すみかわ"},
    {"麻生", "あさぶ"}, {"屯田", "とんでん"}, {"篠路", "しのろ"}, {"栄町", "さかえまち"},
    {"元町", "もとまち"}, {"大谷地", "おおやち"}, {"福住", "ふくずみ"}, {"羊ヶ丘", "ひつじがおか"},
    {"宮の沢", "みやのさわ"}, {"豊水すすきの", "ほうすいすすきの"}, {"定山渓", "じょうざんけい"},
    {"新千歳空港", "しんちとせくうこう"}, {"苫小牧", "とまこまい"}, {"登別", "のぼりべつ"},
    {"富岸", "とんけし"}, {"幌別", "ほろべつ"}, {"鷲別", "わしべつ"}, {"白老", "しらおい"},
    {"倶知安", "くっちゃん"}, {"余市", "よいち"}, {"美瑛", "びえい"}, {"音更", "おとふけ"},
    {"弟子屈", "てしかが"}, {"網走", "あばしり"}, {"留萌", "るもい"}, {"稚内", "わっかない"},
    {"根室", "ねむろ"}, {"五稜郭", "ごりょうかく"}, {"湯の川", "ゆのかわ"}, {"野幌", "のっぽろ"},
    {"大麻", "おおあさ"}, {"恵庭", "えにわ"}, {"長万部", "おしゃまんべ"}, {"虻田", "あぶた"},
    {"納沙布", "のさっぷ"}, {"興部", "おこっぺ"}, {"音威子府", "おといねっぷ"}, {"占冠", "しむかっぷ"},
    {"新冠", "にいかっぷ"}, {"様似", "さまに"}, {"静内", "しずない"}, {"厚岸", "あっけし"},
    {"標茶", "しべちゃ"}, {"中標津", "なかしべつ"}, {"足寄", "あしょろ"}, {"幕別", "まくべつ"},
    {"芽室", "めむろ"}, {"赤平", "あかびら"}, {"芦別", "あしべつ"}, {"美唄", "びばい"},
    {"当別", "とうべつ"}, {"鷹栖町", "たかすちょう"}, {"東川町", "ひがしかわちょう"},
    {"当麻町", "とうまちょう"}, {"白老町", "しらおいちょう"}, {"大字対雁", "おおあざついしかり"},
    {"JR札幌駅", "じぇいあーるさっぽろえき"}, {"JR白石駅", "じぇいあーるしろいしえき"},
    {"NHK前", "えぬえいちけーまえ"}, {"髙島屋前", "たかしまやまえ"},
};

bool haveOpenJTalk()
{
    return OpenJTalkFiles::installed().complete();
}

// The names read by `say` in one run, one voice process per name as the tape would have.
QStringList sayAll(const QStringList& extra)
{
    QStringList args{QStringLiteral("say")};
    for (const Name& n : kRealNames)
        args << QString::fromUtf8(n.written);
    const ToolRun run = runTool(args + extra);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(SayTool, RealStopNamesAreReadRightAndAReadingsFileMendsTheRest)
{
    if (!haveOpenJTalk())
        GTEST_SKIP() << "Open JTalk with its dictionary and voice is not installed";
    const QStringList read = sayAll({QStringLiteral("--voice"), QStringLiteral("open-jtalk")});
    const int total = int(std::size(kRealNames));
    ASSERT_EQ(read.size(), total);
    QStringList misread;
    QByteArray readings = "# the names the voice misreads\n";
    for (int i = 0; i < total; ++i) {
        if (!sameReading(read[i], QString::fromUtf8(kRealNames[i].reading))) {
            misread << QStringLiteral("%1 → %2").arg(QString::fromUtf8(kRealNames[i].written), read[i]);
            readings += QByteArray(kRealNames[i].written) + ',' + kRealNames[i].reading + '\n';
        }
    }
    const int right = total - int(misread.size());
    std::printf("read right without a readings file: %d of %d (%.0f %%)\n%s\n", right, total, 100.0 * right / total,
                qPrintable(misread.join(QLatin1Char('\n'))));
    EXPECT_GE(right * 100, total * 80) << misread.join(QLatin1Char('\n')).toStdString();

    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("readings.csv")), readings);
    const QStringList mended = sayAll({QStringLiteral("--folder"), folder.path(), QStringLiteral("--voice"), QStringLiteral("open-jtalk")});
    ASSERT_EQ(mended.size(), total);
    for (int i = 0; i < total; ++i)
        EXPECT_TRUE(sameReading(mended[i], QString::fromUtf8(kRealNames[i].reading)))
            << kRealNames[i].written << " " << mended[i].toStdString();
}

TEST(SayTool, TheDemoRouteIsReadRight)
{
    if (!haveOpenJTalk())
        GTEST_SKIP() << "Open JTalk with its dictionary and voice is not installed";
    const QString demo = demoFolder(QCoreApplication::applicationDirPath());
    const ToolRun run = runTool({"say", "--voice", "open-jtalk", "--folder", demo, "次は、ひばり橋です。", "次は、灯台下です。",
                                 "このバスは青凪港行きです。", "次は、終点、青凪港です。", "次は、本町二丁目です。",
                                 "次は、若葉町です。"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();  // its readings file has no bad line
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const char* expected[] = {"つぎわ、ひばりばしです。", "つぎわ、とうだいしたです。", "このばすわあおなぎこうゆきです。",
                              "つぎわ、しゅうてん、あおなぎこうです。", "つぎわ、ほんちょうにちょうめです。",
                              "つぎわ、わかばちょうです。"};
    ASSERT_EQ(lines.size(), qsizetype(std::size(expected)));
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_TRUE(sameReading(lines[qsizetype(i)], QString::fromUtf8(expected[i]))) << lines[qsizetype(i)].toStdString();
}

TEST(SayTool, WritesTheAnnouncementAsAWaveFileWithEitherVoice)
{
    QTemporaryDir dir;
    for (VoiceKind kind : installedVoices()) {
        SCOPED_TRACE(voiceName(kind).toStdString());
        const QString wav = dir.filePath(QStringLiteral("next.wav"));
        const ToolRun run = runTool({"say", "次は、札幌駅前です。", "--wav", wav, "--voice",
                                     kind == VoiceKind::OpenJTalk ? "open-jtalk" : "espeak-ng"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        int rate = 0;
        const std::vector<int16_t> samples = monoWaveSamples(readFile(wav), &rate);
        ASSERT_GT(rate, 0);
        const double seconds = double(samples.size()) / rate;
        EXPECT_GT(seconds, 0.8);
        EXPECT_LT(seconds, 4.0);
        const int peak = std::abs(int(*std::max_element(samples.begin(), samples.end(),
                                                         [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); })));
        EXPECT_GT(peak, 3000);  // clearly audible, not a silent file
    }
}

TEST(SayTool, TheKeOfANameIsPrintedAndSpokenAsGa)
{
    for (VoiceKind kind : installedVoices()) {
        SCOPED_TRACE(voiceName(kind).toStdString());
        const ToolRun run = runTool({"say", "--voice", kind == VoiceKind::OpenJTalk ? "open-jtalk" : "espeak-ng",
                                     "次は、夢見ヶ崎動物公園前です。", "霞ヶ関"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QStringLiteral("ツギワ、ユメミガサキドーブツコーエンマエデス。\nカスミガセキ\n"));
    }
    // A ヶ Open JTalk takes for a mark is printed as the pause it makes.
    EXPECT_EQ(pronunciationFromAnalysis("[Text analysis result]\n"
                                        "夢見,名詞,一般,*,*,*,*,夢見,ユメミ,ユメミ,11/3,C2,0\n"
                                        "ヶ,記号,一般,*,*,*,*,ヶ,、,、,0/0,*,0\n"
                                        "。,記号,句点,*,*,*,*,。,、,、,0/0,*,0\n\n"),
              QStringLiteral("ユメミ、。"));
}

TEST(SayTool, BadReadingsLinesAreNamedAndTheCommandLineChecked)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("readings.csv"));
    writeFile(file, QByteArray("厚別,あつべつ\n豊平\n音更,otofuke\n"));
    const ToolRun check = runTool({"check", file});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(check.err.contains(file + QStringLiteral(":2:"))) << check.err.toStdString();
    EXPECT_TRUE(check.err.contains(file + QStringLiteral(":3:"))) << check.err.toStdString();
    EXPECT_FALSE(check.err.contains(file + QStringLiteral(":1:")));

    EXPECT_EQ(runTool({"say"}).status, 2);
    EXPECT_EQ(runTool({"say", "駅", "--wav"}).status, 2);
    EXPECT_EQ(runTool({"say", "駅", "--voice", "festival"}).status, 2);
    EXPECT_EQ(runTool({"say", "駅", "--folder", dir.filePath(QStringLiteral("none"))}).status, 1);
}

TEST(SayTool, ALongTextIsReadToItsEndWithoutACutCharacter)
{
    if (!haveOpenJTalk())
        GTEST_SKIP() << "Open JTalk with its dictionary and voice is not installed";
    // More than the voice reads in one line (1,125 bytes), with a character outside the basic plane.
    QString text;
    for (int i = 0; i < 45; ++i)
        text += QStringLiteral("次は𠮷野町です。");
    const ToolRun run = runTool({QStringLiteral("say"), QStringLiteral("--voice"), QStringLiteral("open-jtalk"), text});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QChar(0xFFFD))) << "a character was cut";
    EXPECT_EQ(run.out.count(QStringLiteral("ツギワ")), 45) << run.out.right(200).toStdString();
}

TEST(SayTool, ReadingsPastTheTapesLimitAreRefusedByCheckAndSayAlike)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("readings.csv"));
    QFile huge(file);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write("厚別,あつべつ\n");
    ASSERT_TRUE(huge.resize(kMaxReadingsBytes + 1));
    huge.close();
    const ToolRun check = runTool({"check", file});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(check.err.contains(QStringLiteral("32 MB"))) << check.err.toStdString();
    const ToolRun say = runTool({QStringLiteral("say"), QStringLiteral("厚別"), QStringLiteral("--folder"), dir.path()});
    EXPECT_EQ(say.status, 0) << say.err.toStdString();
    EXPECT_TRUE(say.err.contains(QStringLiteral("32 MB"))) << say.err.toStdString();
    EXPECT_FALSE(say.out.contains(QStringLiteral("アツベツ"))) << "the file was read after all";
}

}  // namespace
