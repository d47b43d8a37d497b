#include "controls/stopname/ChimeiLayout.h"

#include <gtest/gtest.h>

using namespace fareboard;

namespace {

std::vector<int> tops(int characters, int mode)
{
    const ChimeiLayout l = chimeiLayout(characters, mode);
    std::vector<int> out;
    for (int i = 0; i < characters; ++i)
        out.push_back(l.firstTop + i * l.pitch);
    return out;
}

}  // namespace

TEST(ChimeiLayout, shortNamesStandCentredInTheColumn)
{
    EXPECT_EQ(tops(1, 2), (std::vector<int>{80}));
    EXPECT_EQ(tops(2, 2), (std::vector<int>{48, 112}));
    EXPECT_EQ(tops(2, 0), (std::vector<int>{32, 128}));
    EXPECT_EQ(tops(2, 1), (std::vector<int>{32, 128}));
    EXPECT_EQ(tops(3, 2), (std::vector<int>{16, 80, 144}));
    EXPECT_EQ(tops(4, 2), (std::vector<int>{8, 56, 104, 152}));
    EXPECT_EQ(tops(5, 2), (std::vector<int>{4, 42, 80, 118, 156}));
    EXPECT_EQ(tops(6, 2), (std::vector<int>{0, 32, 64, 96, 128, 160}));
    for (int d = 0; d <= 6; ++d) {
        const ChimeiLayout l = chimeiLayout(d, 2);
        EXPECT_FALSE(l.scrolls) << d;
        EXPECT_EQ(l.stripHeight, 192) << d;
        // The last character's 31 pixels end inside the column, the margins are equal.
        if (d > 0) {
            const int bottomMargin = 192 - (tops(d, 2).back() + 32);
            EXPECT_EQ(bottomMargin, l.firstTop) << d;
        }
    }
}

TEST(ChimeiLayout, longNamesGetAStripOf32PixelsACharacterAndScroll)
{
    const ChimeiLayout seven = chimeiLayout(7, 2);
    EXPECT_TRUE(seven.scrolls);
    EXPECT_EQ(seven.stripHeight, 224);
    EXPECT_EQ(tops(7, 2).back(), 192);
    EXPECT_EQ(chimeiLayout(20, 0).stripHeight, 640);
}

TEST(ChimeiLayout, unitsAreBytePairsOfTheShiftJisForm)
{
    EXPECT_EQ(chimeiUnits(QStringLiteral("本町")),
              (QStringList{QStringLiteral("本"), QStringLiteral("町"), QString(), QString()}));
    // Single-byte characters pair up with their neighbours, whole or cut.
    EXPECT_EQ(chimeiUnits(QStringLiteral("AB駅")),
              (QStringList{QStringLiteral("AB"), QStringLiteral("駅"), QString(), QString()}));
    const QStringList odd = chimeiUnits(QStringLiteral("駅A"));
    ASSERT_EQ(odd.size(), 3);
    EXPECT_EQ(odd.at(0), QStringLiteral("駅"));
    EXPECT_EQ(odd.at(1), QStringLiteral("A"));
    EXPECT_TRUE(odd.at(2).isEmpty());
    const QStringList cut = chimeiUnits(QStringLiteral("A駅"));
    ASSERT_EQ(cut.size(), 3);
    EXPECT_EQ(cut.at(0).left(1), QStringLiteral("A"));
    EXPECT_FALSE(cut.at(1).isEmpty());
    EXPECT_TRUE(chimeiUnits(QString()).isEmpty());
}
