#include "controls/stopname/VerticalForm.h"

#include <gtest/gtest.h>

using namespace fareboard;

TEST(VerticalForm, shenAndShanMoveRightOnlyWhereTheyAreGothic)
{
    for (const char* k : {"申", "山"}) {
        const QString c = QString::fromUtf8(k);
        EXPECT_EQ(verticalForm(c, 0).offset, QPoint(1, 0));
        EXPECT_EQ(verticalForm(c, 2).offset, QPoint(1, 0));
        EXPECT_EQ(verticalForm(c, 1).offset, QPoint(0, 0));
        EXPECT_EQ(verticalForm(c, 3).offset, QPoint(0, 0));
        EXPECT_EQ(verticalForm(c, 4).offset, QPoint(0, 0));
    }
    // Whole units are compared: a bracket paired with another byte is drawn as it stands.
    EXPECT_FALSE(verticalForm(QStringLiteral("(A"), 0).transposed);
    EXPECT_EQ(verticalForm(QStringLiteral("、"), 3).offset, QPoint(10, -10));
}

TEST(VerticalForm, faceFollowsFontModeAndTheShiftJisCode)
{
    const QString kanji = QStringLiteral("駅");   // 0x8977
    const QString kana = QStringLiteral("あ");    // 0x82A0
    const QString latinA = QStringLiteral("Ａ");  // 0x8260
    EXPECT_EQ(shiftJisCode(kana), 0x82A0);
    EXPECT_EQ(shiftJisCode(latinA), 0x8260);
    EXPECT_EQ(shiftJisCode(QStringLiteral("亜")), 0x889F);
    EXPECT_EQ(shiftJisCode(QStringLiteral("A")), 0x41);
    EXPECT_EQ(shiftJisCode(QStringLiteral("あ駅")), 0x82A0);
    EXPECT_EQ(shiftJisCode(QString()), 0);

    using F = GlyphFace;
    struct Case {
        int mode;
        F kanji, kana, latin, ascii;
    };
    const Case cases[] = {
        {0, F::Gothic, F::Gothic, F::Gothic, F::Gothic},
        {1, F::Mincho, F::Mincho, F::Mincho, F::Mincho},
        {2, F::Gothic, F::Mincho, F::Mincho, F::Gothic},
        {3, F::Mincho, F::Gothic, F::Gothic, F::Mincho},
        {4, F::Mincho, F::Mincho, F::Gothic, F::Mincho},
        {7, F::Gothic, F::Gothic, F::Gothic, F::Gothic},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chimeiFace(kanji, c.mode), c.kanji) << c.mode;
        EXPECT_EQ(chimeiFace(kana, c.mode), c.kana) << c.mode;
        EXPECT_EQ(chimeiFace(latinA, c.mode), c.latin) << c.mode;
        EXPECT_EQ(chimeiFace(QStringLiteral("A"), c.mode), c.ascii) << c.mode;
    }
    // The first kanji code is where mode 2 and 3 switch; the stroke that stands for the long
    // vowel mark sits among the IBM kanji, far above it.
    EXPECT_EQ(chimeiFace(QStringLiteral("亜"), 2), F::Gothic);
    EXPECT_EQ(chimeiFace(QStringLiteral("丨"), 2), F::Gothic);
    EXPECT_EQ(chimeiFace(QStringLiteral("丨"), 3), F::Mincho);
    // Mode 4's range ends at ｚ (0x829A).
    EXPECT_EQ(chimeiFace(QStringLiteral("ｚ"), 4), F::Gothic);
    EXPECT_EQ(chimeiFace(QStringLiteral("０"), 4), F::Gothic);
    EXPECT_EQ(chimeiFace(QStringLiteral("ぁ"), 4), F::Mincho);
}
