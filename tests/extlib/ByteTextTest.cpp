#include "extlib/ByteText.h"
#include "extlib/QtKobuRes.h"

#include <gtest/gtest.h>

using namespace fareboard;

TEST(ByteText, countsShiftJisBytesNotCharacters)
{
    EXPECT_EQ(LenB_ASCII(QStringLiteral("")), 0);
    EXPECT_EQ(LenB_ASCII(QStringLiteral("12A")), 3);
    EXPECT_EQ(LenB_ASCII(QStringLiteral("駅前")), 4);
    EXPECT_EQ(LenB_ASCII(QStringLiteral("ｴｷ")), 2);  // half-width kana are one byte each
    EXPECT_EQ(LenB_ASCII(QStringLiteral("市役所～")), 8);
}

TEST(ByteText, takesBytePairsAndStopsAtTheEnd)
{
    const QString name = QStringLiteral("市役所前");
    EXPECT_EQ(MidB_ASCII(name, 1, 2), QStringLiteral("市"));
    EXPECT_EQ(MidB_ASCII(name, 3, 4), QStringLiteral("役所"));
    EXPECT_EQ(MidB_ASCII(name, 7, 10), QStringLiteral("前"));
    EXPECT_EQ(MidB_ASCII(name, 9, 2), QString());
    EXPECT_EQ(MidB_ASCII(QStringLiteral("A駅"), 1, 2), QStringLiteral("A?"));  // half a kanji
    EXPECT_EQ(MidB_ASCII(name, 0, 2), QString());
}

TEST(ByteText, libraryOffersTheSameFunctions)
{
    QtKobuRes library;
    EXPECT_EQ(library.LenB_ASCII(QStringLiteral("駅A")), 3);
    EXPECT_EQ(library.MidB_ASCII(QStringLiteral("駅A"), 3, 1), QStringLiteral("A"));
}
