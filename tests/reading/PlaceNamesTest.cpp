#include "reading/SpokenText.h"
#include "reading/GazetteerFile.h"
#include "reading/PlaceReadings.h"
#include "support/Bytes.h"

#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fareboard {
namespace {

// Lines as SKK-JISYO.geo has them, EUC-JP: one reading a line, names of several towns on it,
// a note after ';', a note that is the real reading, and lines that are no readings.
QByteArray dictionary()
{
    QStringEncoder encode("EUC-JP");
    return encode(QStringLiteral(";; -*- coding: euc-jp -*-\n"
                                 ";; okuri-nasi entries.\n"
                                 "わかやま /若山/和歌山/\n"
                                 "わかやまちょう /若山町/\n"
                                 "わかやままち /若山町/\n"
                                 "しちのへ /七戸/\n"
                                 "ななと /七戸/\n"
                                 "しちのへまち /七戸町/\n"
                                 "ふるまき /古間木/\n"
                                 "ふるまぎ /古間木/\n"
                                 "ふるまぎにし /古間木西/\n"
                                 "ふるまぎひがし /古間木東/\n"
                                 "しもだ /下田/\n"
                                 "げだ /下田;岐阜/\n"
                                 "あきばはら /秋葉原;あきはばら/\n"
                                 "しながわ /品川/\n"
                                 "こうなん /港南/\n"
                                 "みなみ /南/\n"
                                 ">が /ケ;letter/\n"
                                 "ゆめみがさき /夢見ヶ崎/\n"));
}

// A voice that reads only the names it is told, and says nothing of the rest.
VoiceReadings voiceSaying(QHash<QString, QString> readings, QStringList* asked = nullptr)
{
    return [readings, asked](const QStringList& words) {
        if (asked)
            *asked << words;
        QStringList said;
        for (const QString& w : words)
            said << readings.value(w);
        return said;
    };
}

TEST(Gazetteer, TheLongestNameIsFoundWithEveryReadingTheFileGivesIt)
{
    const Gazetteer g = Gazetteer::fromSkkDictionary(dictionary());
    const QString text = QStringLiteral("若山町三丁目");
    EXPECT_EQ(g.longestNameAt(text, 0), 3);  // 若山町, not 若山
    EXPECT_EQ(g.readingsOf(u"若山町"), (QStringList{QStringLiteral("ワカヤマチョウ"), QStringLiteral("ワカヤママチ")}));
    EXPECT_EQ(g.readingsOf(u"若山"), QStringList{QStringLiteral("ワカヤマ")});
    EXPECT_EQ(g.readingsOf(u"下田"), (QStringList{QStringLiteral("シモダ"), QStringLiteral("ゲダ")}));
    // A note that is a reading is the name's real one.
    EXPECT_EQ(g.readingsOf(u"秋葉原"), QStringList{QStringLiteral("アキハバラ")});
    EXPECT_EQ(g.readingsOf(u"夢見ヶ崎"), QStringList{QStringLiteral("ユメミガサキ")});
    // One kanji is a word more often than a place, and a name without kanji reads itself.
    EXPECT_TRUE(g.readingsOf(u"南").isEmpty());
    EXPECT_TRUE(g.readingsOf(u"ケ").isEmpty());
    EXPECT_EQ(g.longestNameAt(text, 3), 0);
    EXPECT_EQ(g.longestNameAt(QStringLiteral("若"), 0), 0);
    EXPECT_TRUE(Gazetteer::fromSkkDictionary(QByteArray("\xff\xfe garbage /x/\n")).isEmpty());
}

TEST(PlaceReadings, TheVoiceKeepsItsOwnReadingWhenTheGazetteerHasItAndIsCorrectedWhenNot)
{
    const Gazetteer g = Gazetteer::fromSkkDictionary(dictionary());
    QStringList asked;
    const VoiceReadings voice = voiceSaying({{QStringLiteral("七戸"), QStringLiteral("ナナコ")},
                                             {QStringLiteral("下田"), QStringLiteral("シモダ")},
                                             {QStringLiteral("秋葉原"), QStringLiteral("アキバハラ")},
                                             {QStringLiteral("品川"), QStringLiteral("シナガワ")},
                                             {QStringLiteral("港南"), QStringLiteral("コーナン")}},
                                            &asked);
    // Not one of the gazetteer's: of several, the one most places read so (七戸町 too), and its
    // last ヘ written so that the voice does not say the particle エ.
    EXPECT_EQ(withPlaceReadings(QStringLiteral("七戸中央"), g, voice), QStringLiteral("シチノ屁中央"));
    // One of them: the kanji stay, for the voice's accent.
    EXPECT_EQ(withPlaceReadings(QStringLiteral("下田駅前"), g, voice), QStringLiteral("下田駅前"));
    EXPECT_EQ(withPlaceReadings(QStringLiteral("秋葉原"), g, voice), QStringLiteral("アキハバラ"));
    // After a station word a place starts again; the endings of names read as names say them.
    asked.clear();
    EXPECT_EQ(withPlaceReadings(QStringLiteral("次は、品川駅港南口です。"), g, voice), QStringLiteral("次は、品川駅港南グチです。"));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("品川"), QStringLiteral("港南")}));  // one question for a text
    EXPECT_EQ(withPlaceReadings(QStringLiteral("赤羽橋南"), g, voice), QStringLiteral("赤羽バシ南"));
    EXPECT_EQ(withPlaceReadings(QStringLiteral("中ノ橋"), g, voice), QStringLiteral("中ノハシ"));
    EXPECT_EQ(withPlaceReadings(QStringLiteral("冷水入口"), g, voice), QStringLiteral("冷水入口"));
    EXPECT_EQ(withPlaceReadings(QStringLiteral("牟佐下"), g, voice), QStringLiteral("牟佐シモ"));
    EXPECT_EQ(withPlaceReadings(spokenText(QStringLiteral("下市上行き"), ReadingTable()), g, voice), QStringLiteral("下市カミユキ"));
    // The voice's own gives way to a reading three places have where one has the voice's.
    const VoiceReadings furumaki = voiceSaying({{QStringLiteral("古間木"), QStringLiteral("フルマキ")}});
    EXPECT_EQ(withPlaceReadings(QStringLiteral("古間木"), g, furumaki), QStringLiteral("フルマギ"));
    PlaceRule always;
    always.outnumbered = 0;
    EXPECT_EQ(withPlaceReadings(QStringLiteral("古間木"), g, furumaki, always), QStringLiteral("古間木"));
    // A voice that cannot say leaves the choice to the gazetteer.
    EXPECT_EQ(withPlaceReadings(QStringLiteral("下田"), g, VoiceReadings()), QStringLiteral("シモダ"));

    // Where the gazetteer has both, 町 is ちょう unless the rule leaves it to the voice.
    PlaceRule town;
    town.townEnding.clear();
    const VoiceReadings machi = voiceSaying({{QStringLiteral("若山町"), QStringLiteral("ワカヤママチ")}});
    EXPECT_EQ(withPlaceReadings(QStringLiteral("若山町"), g, machi), QStringLiteral("ワカヤマチョウ"));
    EXPECT_EQ(withPlaceReadings(QStringLiteral("若山町"), g, machi, town), QStringLiteral("若山町"));
}

TEST(PlaceReadings, AReadingsFileReadingStandsAndItsNameIsNotLookedUpAgain)
{
    const Gazetteer g = Gazetteer::fromSkkDictionary(dictionary());
    ReadingTable folder;
    folder.add(QStringLiteral("七戸"), QStringLiteral("しちのへ"));
    folder.add(QStringLiteral("若山"), QStringLiteral("わかやま"));
    const VoiceReadings voice = voiceSaying({{QStringLiteral("七戸"), QStringLiteral("ナナコ")}});
    EXPECT_EQ(withPlaceReadings(spokenText(QStringLiteral("七戸中央"), folder), g, voice), QStringLiteral("シチノ屁中央"));
    // What goes on after a reading is the same name: its 町 is no place of its own.
    EXPECT_EQ(withPlaceReadings(spokenText(QStringLiteral("若山町"), folder), g, voice), QStringLiteral("ワカヤマ町"));
    EXPECT_EQ(withPlaceReadings(spokenText(QStringLiteral("ワカヤマ橋"), folder), g, voice), QStringLiteral("ワカヤマバシ"));
}

TEST(PlaceReadings, TheExplanationMarksEachPlaceWithWhatWasChosenAndWhy)
{
    const Gazetteer g = Gazetteer::fromSkkDictionary(dictionary());
    std::vector<PlacePiece> pieces = placePieces(QStringLiteral("七戸から下田駅前"), g);
    choosePlaceReadings(pieces, voiceSaying({{QStringLiteral("七戸"), QStringLiteral("ナナコ")},
                                             {QStringLiteral("下田"), QStringLiteral("シモダ")}}));
    EXPECT_EQ(explainPlaceReadings(pieces),
              QStringLiteral("〔七戸→シチノヘ〕から〔下田〕駅前  (七戸: シチノヘ/ナナト, the voice alone ナナコ; "
                             "下田: シモダ/ゲダ, the voice alone シモダ)"));
    EXPECT_EQ(placeReadingText(pieces), QStringLiteral("シチノ屁から下田駅前"));
}

TEST(GazetteerFile, IsReadAtItsFirstLookUpOnlyAndAMissingFileIsNoGazetteer)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SKK-JISYO.geo"));
    test::writeFile(path, dictionary());
    const GazetteerFile file(path);
    EXPECT_FALSE(file.loaded());
    EXPECT_EQ(file.index().readingsOf(u"七戸").size(), 2);
    EXPECT_TRUE(file.loaded());
    // Read once: the file going away later changes nothing.
    QFile::remove(path);
    EXPECT_EQ(file.index().readingsOf(u"七戸").size(), 2);

    const GazetteerFile missing(dir.filePath(QStringLiteral("none")));
    EXPECT_TRUE(missing.index().isEmpty());
    EXPECT_EQ(withPlaceReadings(QStringLiteral("赤羽橋"), missing.index(), VoiceReadings()), QStringLiteral("赤羽バシ"));
}

}  // namespace
}  // namespace fareboard
