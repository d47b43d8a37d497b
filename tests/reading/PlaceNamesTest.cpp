#include "reading/SpokenText.h"
#include "reading/GazetteerFile.h"
#include "reading/PlaceReadings.h"
#include "reading/TownListFile.h"
#include "support/Bytes.h"
#include "support/SampleFiles.h"

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
    EXPECT_EQ(withPlaceReadings(QStringLiteral("赤羽橋東詰"), g, voice), QStringLiteral("赤羽バシヒガシヅメ"));
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

TEST(TownList, TheRouteTellsItsRegionAndTheRegionHowItsTownsAreRead)
{
    const TownList list = TownList::fromCsv(test::townListBytes());
    const QStringList tape{QStringLiteral("次は、古間木です。"), QStringLiteral("三沢駅前"), QStringLiteral("堀口"),
                           QStringLiteral("中央"), QStringLiteral("上野")};
    const Region region = list.regionOf(tape);
    EXPECT_EQ(region.cities, std::vector<int>{2207});
    EXPECT_EQ(region.prefecture, 2);
    EXPECT_EQ(list.cityName(2207), QStringLiteral("三沢市"));
    // A name or two, or names every city has, tell no region.
    EXPECT_TRUE(list.regionOf({QStringLiteral("古間木"), QStringLiteral("中央")}).isEmpty());

    const RegionTowns towns = list.townsOf(region);
    // The region's own city first, then the rest of its prefecture; other prefectures not at all.
    EXPECT_EQ(towns.readingsOf(u"古間木").front().kana, QStringLiteral("フルマキ"));
    ASSERT_EQ(towns.readingsOf(u"上野").size(), 1u);
    EXPECT_EQ(towns.readingsOf(u"上野").front().kana, QStringLiteral("ウワノ"));
    EXPECT_EQ(towns.readingsOf(u"上野").front().prefecture, 2);
    EXPECT_EQ(towns.readingsOf(u"下田").front().kana, QStringLiteral("ゲダ"));
    // A town in 町 reads the place it is named after; ヶ and ケ are one.
    EXPECT_EQ(towns.readingsOf(u"祝津").front().kana, QStringLiteral("シュクヅ"));
    EXPECT_EQ(towns.longestNameAt(QStringLiteral("松ヶ崎小学校"), 0), 3);
    EXPECT_EQ(towns.longestNameAt(QStringLiteral("久世大藪町"), 0), 5);  // 藪 and 薮 are one
    // A district that names three towns of the region reads as they do, over another city's.
    EXPECT_EQ(towns.readingsOf(u"久世").front().kana, QStringLiteral("クゼ"));
    EXPECT_TRUE(list.townsOf(Region()).isEmpty());
}

TEST(PlaceReadings, ATownOfTheRouteIsReadAsItsRegionReadsIt)
{
    const Gazetteer g = Gazetteer::fromSkkDictionary(dictionary());
    const TownList list = TownList::fromCsv(test::townListBytes());
    const RegionTowns aomori = list.townsOf(list.regionOf({QStringLiteral("古間木"), QStringLiteral("三沢"), QStringLiteral("堀口")}));
    const VoiceReadings voice = voiceSaying({{QStringLiteral("上野"), QStringLiteral("ウエノ")},
                                             {QStringLiteral("祝津"), QStringLiteral("シュクツ")},
                                             {QStringLiteral("下田"), QStringLiteral("シモダ")},
                                             {QStringLiteral("古間木"), QStringLiteral("フルマギ")}});
    // The region's city reads 古間木 フルマキ, whatever the gazetteer and the voice say; the rest
    // of the prefecture reads 上野 ウワノ, where the voice says ウエノ.
    EXPECT_EQ(withPlaceReadings(QStringLiteral("古間木"), g, voice, {}, &aomori), QStringLiteral("フルマキ"));
    EXPECT_EQ(withPlaceReadings(QStringLiteral("上野"), g, voice, {}, &aomori), QStringLiteral("ウワノ"));
    EXPECT_EQ(withPlaceReadings(QStringLiteral("祝津公園"), g, voice, {}, &aomori), QStringLiteral("シュクヅ公園"));
    // A word of position before a town that has no name of its own with it: しも + まいた.
    EXPECT_EQ(withPlaceReadings(QStringLiteral("下米田"), g, voice, {}, &aomori), QStringLiteral("シモマイタ"));
    // Where only the prefecture's other cities have the town, a reading of theirs the voice
    // says stands.
    EXPECT_EQ(withPlaceReadings(QStringLiteral("下田"), g, voice, {}, &aomori), QStringLiteral("下田"));
    // Without a region the gazetteer's rules are as before.
    EXPECT_EQ(withPlaceReadings(QStringLiteral("古間木"), g, voice), QStringLiteral("古間木"));

    std::vector<PlacePiece> pieces = placePieces(QStringLiteral("上野駅"), g, &aomori);
    choosePlaceReadings(pieces, voice);
    EXPECT_EQ(explainPlaceReadings(pieces), QStringLiteral("〔上野→ウワノ〕駅  (上野: ウワノ in the route's region, the voice alone ウエノ)"));
}

TEST(TownListFile, IsReadAtItsFirstLookUpOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("towns.csv"));
    test::writeFile(path, test::townListBytes());
    const TownListFile file(path);
    EXPECT_FALSE(file.loaded());
    EXPECT_EQ(file.index().size(), 14u);  // the bad lines left out
    EXPECT_TRUE(file.loaded());
    EXPECT_TRUE(TownListFile(dir.filePath(QStringLiteral("none"))).index().isEmpty());
}

}  // namespace
}  // namespace fareboard
