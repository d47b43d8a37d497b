#include "options/CaptionGap.h"
#include "options/OptionChoices.h"
#include "options/PageButton.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

using namespace fareboard;

namespace {

QString withNuls(const char16_t* text, std::size_t length) { return QString::fromUtf16(text, qsizetype(length)); }

}  // namespace

TEST(OptionChoices, NumberingSchemesEndInTheirLastTicketNumber)
{
    const QStringList texts = numberingSchemeTexts();
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(texts[0], QStringLiteral("1,2,3... 24 （既定の表示）"));
    EXPECT_EQ(texts[1], QStringLiteral("0,1,2... 23"));
    EXPECT_EQ(texts[3], QStringLiteral("「なし」、2,3... 24"));
    EXPECT_EQ(texts[8], QStringLiteral("「券無し」、1,2... 23"));
    EXPECT_EQ(texts[11], QStringLiteral("(無地)、2,3... 24"));
}

TEST(OptionChoices, ChooserFilterListsAreNulSeparatedAndDoublyEnded)
{
    static constexpr char16_t sound[] = u"Waveサウンド(*.wav)\0*.wav\0MP3サウンド(*.mp3)\0*.mp3\0MIDIシーケンス(*.mid)\0*.mid\0\0";
    static constexpr char16_t panel[] = u"ビットマップ(*.bmp)\0*.bmp\0GIF画像(*.gif)\0*.gif\0JPEG画像(*.jpg)\0*.jpg\0\0";
    // The arrays end in the literal's own NUL, which is not part of the list.
    EXPECT_EQ(soundFilterList(), withNuls(sound, std::size(sound) - 1));
    EXPECT_EQ(panelPictureFilterList(), withNuls(panel, std::size(panel) - 1));
    EXPECT_EQ(chooserFilterList({}), QString(QChar(u'\0')));
}

TEST(OptionChoices, FixedDateTextPadsMonthAndDayButNotTheYear)
{
    EXPECT_EQ(fixedDateText(2010, 3, 5), QStringLiteral("2010/03/05"));
    EXPECT_EQ(fixedDateText(2024, 12, 31), QStringLiteral("2024/12/31"));
    EXPECT_EQ(fixedDateText(999, 1, 2), QStringLiteral("999/01/02"));

    EXPECT_EQ(parseFixedDate(QStringLiteral("2010/03/05")), QDate(2010, 3, 5));
    EXPECT_EQ(parseFixedDate(QStringLiteral("2010/3/5")), QDate(2010, 3, 5));
    EXPECT_FALSE(parseFixedDate(QStringLiteral("2010/02/30")));
    EXPECT_FALSE(parseFixedDate(QStringLiteral("")));
    EXPECT_FALSE(parseFixedDate(QStringLiteral("03-05-2010")));
}

TEST(CaptionGap, FindsRunsOfTwoOrMoreSpacesOfEitherWidth)
{
    const QString caption = QStringLiteral("データの　　　  　　　　　列目の値を、  　　　　　　コマ目に表示する。");
    const QList<TextRun> runs = spaceRuns(caption);
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0], (TextRun{4, 10}));
    EXPECT_EQ(runs[1], (TextRun{20, 8}));
    // A single space is part of the wording, not room for a list.
    EXPECT_TRUE(spaceRuns(QStringLiteral("a b　c")).isEmpty());
}

TEST(PageButtonCaption, BreaksAtAPhraseOrAWideSpaceOnlyWhenItMustAndDropsTheSpaces)
{
    const QFontMetrics metrics(QFont(QStringLiteral("IPAPGothic"), 9));
    const QString folders = QStringLiteral("運賃データと　放送用データ");
    EXPECT_EQ(captionLines(folders, metrics, 1000), folders);
    EXPECT_EQ(captionLines(folders, metrics, metrics.horizontalAdvance(folders) / 2 + 20),
              QStringLiteral("運賃データと\n放送用データ"));
    EXPECT_EQ(captionLines(QStringLiteral("　　整理券　　　プレビュー"), metrics, 95),
              QStringLiteral("整理券\nプレビュー"));
    EXPECT_EQ(captionLines(QStringLiteral("パネルと整理券番号表示"), metrics, 95),
              QStringLiteral("パネルと\n整理券番号表示"));
}
