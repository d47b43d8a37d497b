#include "announce/BroadcastData.h"
#include "platform/AppError.h"
#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

namespace fareboard {
namespace {

TEST(BroadcastData, LinesCountAsALineReaderCountsThem)
{
    EXPECT_EQ(broadcastLineCount(""), 0);
    EXPECT_EQ(broadcastLineCount("a,1,2\r\n"), 1);
    EXPECT_EQ(broadcastLineCount("a,1,2\r\nb,0,0"), 2);
    EXPECT_EQ(broadcastLineCount("a\r\n\r\nb\r\n"), 3);
    EXPECT_EQ(broadcastLineCount("a\nb\rc\r\n"), 3);
}

TEST(BroadcastData, FieldsAreReadAsOneStream)
{
    const QByteArray bytes = toShiftJis(QStringLiteral("  次は、市役所前です。 ,1,2\r\n"
                                                       "\"お降りの方は、ボタンで\" ,0,3\r\n"
                                                       "短い行,1\r\n"
                                                       "0\r\n"));
    BroadcastFieldReader reader(bytes);
    EXPECT_EQ(reader.nextText(), QStringLiteral("次は、市役所前です。"));
    EXPECT_EQ(reader.nextNumber(), 1);
    EXPECT_EQ(reader.nextNumber(), 2);
    // Quotes allow commas inside and are not part of the text.
    EXPECT_EQ(reader.nextText(), QStringLiteral("お降りの方は、ボタンで"));
    EXPECT_EQ(reader.nextNumber(), 0);
    EXPECT_EQ(reader.nextNumber(), 3);
    // A line with two fields takes its third from the next line.
    EXPECT_EQ(reader.nextText(), QStringLiteral("短い行"));
    EXPECT_EQ(reader.nextNumber(), 1);
    EXPECT_EQ(reader.nextNumber(), 0);
    EXPECT_TRUE(reader.atEnd());
    try {
        reader.nextField();
        FAIL() << "reading past the end must fail";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::InputPastEndOfFile);
    }
}

TEST(BroadcastData, BlankLinesAndTrailingCommasAreEmptyFields)
{
    BroadcastFieldReader reader("a,1,2,\r\n\r\nb");
    EXPECT_EQ(reader.nextField(), "a");
    EXPECT_EQ(reader.nextField(), "1");
    EXPECT_EQ(reader.nextField(), "2");
    EXPECT_EQ(reader.nextField(), "");
    EXPECT_EQ(reader.nextField(), "");
    EXPECT_EQ(reader.nextField(), "b");
    EXPECT_TRUE(reader.atEnd());

    BroadcastFieldReader tail("a,1,2\r\n\r\n  \r\n");
    for (int i = 0; i < 3; ++i)
        tail.nextField();
    EXPECT_FALSE(tail.atEnd());
    EXPECT_TRUE(tail.onlyBlankLeft());
}

TEST(BroadcastData, NumbersOutsideTheIntegerRangeOrNotNumbersReadAsZero)
{
    EXPECT_EQ(broadcastNumber("32767"), 32767);
    EXPECT_EQ(broadcastNumber(" -32768 "), -32768);
    EXPECT_EQ(broadcastNumber("32768"), 0);
    EXPECT_EQ(broadcastNumber("abc"), 0);
    EXPECT_EQ(broadcastNumber(""), 0);
    EXPECT_EQ(broadcastNumber("2.5"), 2);
    EXPECT_EQ(broadcastNumber("1.5"), 2);
}

}  // namespace
}  // namespace fareboard
