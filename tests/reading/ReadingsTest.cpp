#include "reading/KeParticle.h"
#include "reading/ReadingsFile.h"
#include "reading/SpokenText.h"

#include <gtest/gtest.h>

namespace fareboard {
namespace {

TEST(ReadingsFile, GoodLinesAreReadAndEveryBadOneIsNamedByItsLine)
{
    const QByteArray file = "\xEF\xBB\xBF# 北海道の停留所\r\n"
                            "厚別,あつべつ\r\n"
                            "\r\n"
                            "  豊平 , とよひら \n"
                            "大通おおどおり\n"
                            "麻生,あさぶ,あそう\n"
                            "苫小牧,\n"
                            ",とまこまい\n"
                            "音更,otofuke\n"
                            "厚別,あしべつ\n"
                            "鷹栖町,\xff\xfe\n"
                            "大麻,オオアサ";
    const ReadingsFileContents contents = parseReadingsFile(file);
    ASSERT_EQ(contents.entries.size(), 3u);
    EXPECT_EQ(contents.entries[0].written, QStringLiteral("厚別"));
    EXPECT_EQ(contents.entries[0].reading, QStringLiteral("あつべつ"));
    EXPECT_EQ(contents.entries[1].written, QStringLiteral("豊平"));
    EXPECT_EQ(contents.entries[1].reading, QStringLiteral("とよひら"));
    EXPECT_EQ(contents.entries[1].line, 4);
    EXPECT_EQ(contents.entries[2].reading, QStringLiteral("オオアサ"));

    std::vector<int> badLines;
    for (const BadReadingLine& bad : contents.bad) {
        badLines.push_back(bad.line);
        EXPECT_FALSE(bad.reason.isEmpty());
    }
    EXPECT_EQ(badLines, (std::vector<int>{5, 6, 7, 8, 9, 10, 11}));
    // The second 厚別 is refused, naming the line that holds.
    EXPECT_TRUE(contents.bad[5].reason.contains(QStringLiteral("line 2")));
    EXPECT_TRUE(parseReadingsFile(QByteArray()).entries.empty());
}

TEST(ReadingsFile, MarksInAReadingArePausesOrDroppedAndOnlyKanaIsTaken)
{
    struct Case {
        const char* written;
        const char* given;
        const char* takenWritten;
        const char* taken;  // "" when refused
    };
    const Case cases[] = {
        {"川崎駅西口", "かわさきえき・にしぐち", "川崎駅西口", "かわさきえき、にしぐち"},
        {"川崎駅西口", " かわさきえき　 ･ にしぐち。", "川崎駅西口", "かわさきえき、にしぐち"},
        {"船形沢", "ふながさわ.", "船形沢", "ふながさわ"},
        {"ピピア前", "ﾋﾟﾋﾟｱまえ", "ピピア前", "ピピアまえ"},
        // An annotation goes from the reading, and from the name when it ends in it, so the
        // voice reads it from the text.
        {"船形沢（旧道）", "ふながさわ（旧道）", "船形沢", "ふながさわ"},
        {"船形沢(旧道)", "ふながさわ［旧道］", "船形沢(旧道)", "ふながさわ"},
        {"船形沢", "ふながさわ（旧道", "船形沢", "ふながさわ"},
        {"川崎（駅前）", "かわさき（えきまえ）", "川崎（駅前）", "かわさき、えきまえ"},
        {"米田", "米田", "米田", ""},
        {"米田", "よねだ2", "米田", ""},
        {"船形沢（旧道）", "（旧道）", "船形沢（旧道）", ""},
        {"米田", "・ . ", "米田", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const TakenReading taken = takeReading(QString::fromUtf8(c.written), QString::fromUtf8(c.given));
        EXPECT_EQ(taken.taken(), *c.taken != '\0');
        if (!taken.taken())
            continue;
        EXPECT_EQ(taken.written, QString::fromUtf8(c.takenWritten));
        EXPECT_EQ(taken.reading, QString::fromUtf8(c.taken));
        // What the importer writes is read back the same.
        const TakenReading again = takeReading(taken.written, taken.reading);
        EXPECT_EQ(again.written, taken.written);
        EXPECT_EQ(again.reading, taken.reading);
    }

    const ReadingsFileContents file = parseReadingsFile("船形沢（旧道）,ふながさわ（旧道）\n米田,米田\n小倉,お・ぐら\n");
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[0].written, QStringLiteral("船形沢"));
    EXPECT_EQ(file.entries[1].reading, QStringLiteral("お、ぐら"));
    ASSERT_EQ(file.bad.size(), 1u);
    EXPECT_EQ(file.bad[0].line, 2);
    EXPECT_TRUE(file.bad[0].reason.contains(QStringLiteral("'米'"))) << file.bad[0].reason.toStdString();
}

TEST(ReadingTable, LongestFormFirstAndTheFolderOverTheBuiltInWords)
{
    ReadingTable folder;
    folder.add(QStringLiteral("ひばり橋"), QStringLiteral("ひばりばし"));
    folder.add(QStringLiteral("橋"), QStringLiteral("はし"));
    folder.add(QStringLiteral("お降りの方"), QStringLiteral("おおりのほう"));
    EXPECT_EQ(spokenText(QStringLiteral("次は、ひばり橋です。"), folder), QStringLiteral("ツギワ、ヒバリバシです。"));
    EXPECT_EQ(spokenText(QStringLiteral("中央橋"), folder), QStringLiteral("中央ハシ"));
    // The folder's reading of a bus word wins over the shipped one.
    EXPECT_EQ(spokenText(QStringLiteral("お降りの方は"), folder), QStringLiteral("オオリノホウは"));
    EXPECT_EQ(spokenText(QStringLiteral("お降りの方は"), ReadingTable()), QStringLiteral("オーリノカタは"));
    // 行き is ゆき after a name only; the verb stays for the voice.
    EXPECT_EQ(spokenText(QStringLiteral("札幌駅行きです"), ReadingTable()), QStringLiteral("札幌駅ユキです"));
    EXPECT_EQ(spokenText(QStringLiteral("駅へ行きます"), ReadingTable()), QStringLiteral("駅へ行きます"));
    // Full-width forms in the text match the plain forms of the file.
    ReadingTable letters;
    letters.add(QStringLiteral("Aコープ"), QStringLiteral("えーこーぷ"));
    EXPECT_EQ(spokenText(QStringLiteral("Ａコープ前"), letters), QStringLiteral("エーコープ前"));
}

TEST(SpokenText, CountersAndLatinLettersAreReadAsPeopleSayThem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1丁目", "イッチョウメ"},
        {"3丁目", "サンチョウメ"},
        {"8丁目", "ハッチョウメ"},
        {"10丁目", "ジュッチョウメ"},
        {"西11丁目", "西ジュウイッチョウメ"},
        {"６丁目", "ロクチョウメ"},
        {"1分", "イップン"},
        {"3分", "サンプン"},
        {"10分", "ジュップン"},
        {"4時", "ヨジ"},
        {"9時30分", "クジサンジュップン"},
        {"1番のりば", "イチバンのりば"},
        {"2番線", "ニバンセン"},
        {"南4条", "南ヨジョウ"},
        {"北24条", "北ニジュウヨジョウ"},
        {"国道36号", "国道サンジュウロクゴウ"},
        {"1,200円", "1,200円"},
        {"JR札幌駅", "ジェイアール札幌駅"},
        {"NHK前", "エヌエイチケー前"},
        {"ＪＲ", "ジェイアール"},
    };
    for (const auto& [text, spoken] : cases)
        EXPECT_EQ(spokenText(QString::fromUtf8(text), ReadingTable()), QString::fromUtf8(spoken)) << text;

    EXPECT_TRUE(sameReading(QStringLiteral("トーダイシタ"), QStringLiteral("とうだいした")));
    EXPECT_TRUE(sameReading(QStringLiteral("エイコープ"), QStringLiteral("エーコープ")));
    EXPECT_FALSE(sameReading(QStringLiteral("トーダイカ"), QStringLiteral("とうだいした")));
}

TEST(KeParticle, OnlyALoneKeBetweenKanjiIsReadGa)
{
    const auto ga = [](const char* text, QStringList words) {
        return withKeReadAsGa(QString::fromUtf8(text), words).toUtf8().toStdString();
    };
    EXPECT_EQ(ga("夢見ヶ崎", {"夢見", "ヶ", "崎"}), "夢見が崎");
    EXPECT_EQ(ga("夢見ケ崎、あざみヶ丘", {"夢見", "ケ", "崎", "、", "あざみ", "ヶ", "丘"}), "夢見が崎、あざみが丘");
    // A word of the dictionary keeps its ヶ, and the lone one after it is still found.
    EXPECT_EQ(ga("一ヶ月、丸ヶ丘", {"一", "ヶ月", "、", "丸", "ヶ", "丘"}), "一ヶ月、丸が丘");
    // Not between kanji, or a large ケ after kana: part of a word, or a counter after a digit.
    EXPECT_EQ(ga("タケ山、2ヶ所、夢見ヶ", {"タ", "ケ", "山", "、", "2", "ヶ", "所", "、", "夢見", "ヶ"}), "タケ山、2ヶ所、夢見ヶ");
    // Words that do not hold every ヶ of the text leave it as it was.
    EXPECT_EQ(ga("夢見ヶ崎", {"夢見崎"}), "夢見ヶ崎");
    EXPECT_TRUE(mayHaveKeParticle(QStringLiteral("次は、夢見ヶ崎です。")));
    EXPECT_FALSE(mayHaveKeParticle(QStringLiteral("次は、ケーブル前です。")));
}

}  // namespace
}  // namespace fareboard
