#include "controls/digit/DegitText.h"

#include <gtest/gtest.h>

using namespace fareboard;

namespace {

QString shown(const DegitValue& value, int16_t zeroMode, int16_t fillZero = 0, int16_t shift = 0, int16_t keta = 3)
{
    return degitDisplayText(value, {zeroMode, fillZero, shift, keta});
}

}  // namespace

TEST(DegitValueText, numbersArePlainDecimal)
{
    EXPECT_EQ(plainDecimal(250), QStringLiteral("250"));
    EXPECT_EQ(plainDecimal(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(plainDecimal(-0.25), QStringLiteral("-0.25"));
    EXPECT_EQ(plainDecimal(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(plainDecimal(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(plainDecimal(0.00001), QStringLiteral("0.00001"));
    EXPECT_EQ(plainDecimal(-0.0), QStringLiteral("0"));
    EXPECT_EQ(plainDecimal(123456789012.0), QStringLiteral("123456789012"));
    EXPECT_EQ(degitValueText(int32_t(-70000)), QStringLiteral("-70000"));
    EXPECT_EQ(degitValueText(true), QStringLiteral("-1"));
    EXPECT_EQ(degitValueText(std::monostate{}), QString());
}

TEST(DegitValueText, textsReadAsNumbersOnlyWhenTheyAreDecimal)
{
    EXPECT_EQ(degitNumber(QStringLiteral(" -1 ")), -1.0);
    EXPECT_EQ(degitNumber(QStringLiteral("888")), 888.0);
    EXPECT_EQ(degitNumber(QStringLiteral("0.0")), 0.0);
    EXPECT_EQ(degitNumber(QStringLiteral("1e3")), 1000.0);
    EXPECT_FALSE(degitNumber(QStringLiteral("")));
    EXPECT_FALSE(degitNumber(QStringLiteral(" ")));
    EXPECT_FALSE(degitNumber(QStringLiteral("12a")));
    EXPECT_FALSE(degitNumber(QStringLiteral("０")));
    EXPECT_FALSE(degitNumber(std::monostate{}));
}

TEST(DegitText, zeroModesDecideWhatZeroMinusOneAndEmptyShow)
{
    const QString none;
    // Mode 0: zero and the empty text show nothing; -1 stays as it is.
    EXPECT_EQ(shown(int16_t(0), 0), none);
    EXPECT_EQ(shown(0.0, 0), none);
    EXPECT_EQ(shown(QStringLiteral(" 0 "), 0), none);
    EXPECT_EQ(shown(false, 0), none);
    EXPECT_EQ(shown(std::monostate{}, 0), none);
    EXPECT_EQ(shown(QStringLiteral(""), 0), none);
    EXPECT_EQ(shown(int32_t(-1), 0), QStringLiteral("-1"));
    // Mode 1: zero and the empty text show 0.
    EXPECT_EQ(shown(int16_t(0), 1), QStringLiteral("0"));
    EXPECT_EQ(shown(QStringLiteral(""), 1), QStringLiteral("0"));
    EXPECT_EQ(shown(int16_t(-1), 1), QStringLiteral("-1"));
    // Mode 2: -1 shows 0, zero shows nothing, others as they are; the empty text is neither.
    EXPECT_EQ(shown(int16_t(-1), 2), QStringLiteral("0"));
    EXPECT_EQ(shown(true, 2), QStringLiteral("0"));
    EXPECT_EQ(shown(QStringLiteral(" -1"), 2), QStringLiteral("0"));
    EXPECT_EQ(shown(int16_t(0), 2), none);
    EXPECT_EQ(shown(int16_t(7), 2), QStringLiteral("7"));
    // Mode 3: -1, zero and the empty text all show 0.
    EXPECT_EQ(shown(-1.0, 3), QStringLiteral("0"));
    EXPECT_EQ(shown(int32_t(0), 3), QStringLiteral("0"));
    EXPECT_EQ(shown(QStringLiteral(""), 3), QStringLiteral("0"));
    // Below 0 no rule applies.
    EXPECT_EQ(shown(int16_t(0), -1), QStringLiteral("0"));
    EXPECT_EQ(shown(QStringLiteral(""), -1), none);
}

TEST(DegitText, aSpaceIsDarkUnderEveryMode)
{
    for (int16_t mode : {-1, 0, 1, 2, 3})
        EXPECT_EQ(shown(QStringLiteral(" "), mode, 3), QStringLiteral(" ")) << mode;
}

TEST(DegitText, zeroFillRoundsHalvesAwayAndPutsTheMinusFirst)
{
    EXPECT_EQ(shown(int16_t(5), 0, 3), QStringLiteral("005"));
    EXPECT_EQ(shown(int16_t(-5), 0, 3, 0, 4), QStringLiteral("-005"));
    EXPECT_EQ(shown(2.5, 0, 3), QStringLiteral("003"));
    EXPECT_EQ(shown(-2.5, 0, 3, 0, 4), QStringLiteral("-003"));
    EXPECT_EQ(shown(2.49, 0, 3), QStringLiteral("002"));
    EXPECT_EQ(shown(-0.4, -1, 2), QStringLiteral("00"));
    EXPECT_EQ(shown(QStringLiteral("12.5"), 0, 3), QStringLiteral("013"));
    EXPECT_EQ(shown(QStringLiteral("888"), 0, 3), QStringLiteral("888"));
    // Zero made visible by its mode is filled like any number.
    EXPECT_EQ(shown(int16_t(0), 1, 3), QStringLiteral("000"));
    // Not numbers: nothing to fill.
    EXPECT_EQ(shown(QStringLiteral(""), -1, 3), QString());
    EXPECT_EQ(shown(QStringLiteral("AB"), 0, 3), QStringLiteral("AB"));
    // A negative fill (only from a stored control) is no fill.
    EXPECT_EQ(shown(int16_t(5), 0, -2), QStringLiteral("5"));
}

TEST(DegitText, shiftKeepsBlankCellsAndCutKeepsTheRight)
{
    EXPECT_EQ(shown(int16_t(120), 0, 0, 1), QStringLiteral("20 "));
    EXPECT_EQ(shown(int16_t(5), 0, 3, 1), QStringLiteral("05 "));
    EXPECT_EQ(shown(int32_t(12345), 0, 0, 0, 4), QStringLiteral("2345"));
    EXPECT_EQ(shown(int16_t(-12), 0, 0, 0, 2), QStringLiteral("12"));
    EXPECT_EQ(shown(int16_t(-12), 0, 0, 0, 3), QStringLiteral("-12"));
    EXPECT_EQ(shown(12.5, 0, 0, 0, 3), QStringLiteral("2.5"));
    EXPECT_EQ(shown(int16_t(7), 0, 0, 0, 0), QString());
}
