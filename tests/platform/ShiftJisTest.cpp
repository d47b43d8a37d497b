#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

using namespace fareboard;

namespace {
QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(static_cast<char>(b));
    return out;
}
}  // namespace

TEST(ShiftJis, WindowsCodePageCharactersRoundTrip)
{
    EXPECT_EQ(toShiftJis(QStringLiteral("内容")), bytes({0x93, 0xE0, 0x97, 0x65}));
    // These are what set code page 932 apart from plain Shift-JIS; files from Windows hold them.
    EXPECT_EQ(toShiftJis(QStringLiteral("～")), bytes({0x81, 0x60}));
    EXPECT_EQ(toShiftJis(QStringLiteral("①")), bytes({0x87, 0x40}));
    EXPECT_EQ(toShiftJis(QStringLiteral("－")), bytes({0x81, 0x7C}));
    EXPECT_EQ(toShiftJis(QStringLiteral("ｶﾅ")), bytes({0xB6, 0xC5}));
    const QString mixed = QStringLiteral("A1系統～①ｶﾅ駅前（北口）ー");
    EXPECT_EQ(fromShiftJis(toShiftJis(mixed)), mixed);
    EXPECT_EQ(shiftJisLength(mixed), 2 + 4 + 2 + 2 + 2 + 4 + 8 + 2);
    EXPECT_EQ(shiftJisLength(QString()), 0);
}

TEST(ShiftJis, UnrepresentableCharactersBecomeOneQuestionMarkEach)
{
    // An emoji and a Hangul syllable are not in code page 932.
    EXPECT_EQ(toShiftJis(QStringLiteral("A😀B한C")), QByteArray("A?B?C"));
    // A stray lead byte or a lone trail byte decodes to "?" and the rest is kept.
    EXPECT_EQ(fromShiftJis(bytes({'a', 0x93, 0xE0, 0x81})), QStringLiteral("a内?"));
    EXPECT_EQ(fromShiftJis(bytes({0xFF, 'b'})), QStringLiteral("?b"));
}
