#include "console/ConsoleRules.h"

#include <gtest/gtest.h>

using namespace fareboard;

namespace {

FareTable::Row rowWithFares(std::initializer_list<int16_t> firstValues)
{
    FareTable::Row row;
    size_t k = 0;
    for (int16_t v : firstValues)
        row.Values[k++] = v;
    return row;
}

std::map<int, DegitValue> finalValues(const std::vector<DigitWrite>& writes)
{
    std::map<int, DegitValue> out;
    for (const auto& w : writes)
        out[w.index] = w.value;
    return out;
}

}  // namespace

TEST(ConsoleRules, KeypadFillsRouteAndSectionWithinTheirLengths)
{
    KeypadEntry e;
    e.press(7);  // before any "系統" or "区間", digits go to the section
    EXPECT_EQ(e.section, QStringLiteral("7"));
    EXPECT_EQ(e.route, QString());

    e.press(KeypadEntry::kRouteKey);
    for (int d : {1, 2, 3, 4, 5, 6})
        e.press(d);
    EXPECT_EQ(e.route, QStringLiteral("12345"));

    e.press(KeypadEntry::kSectionKey);
    EXPECT_EQ(e.section, QString()) << "区間 clears the section only";
    EXPECT_EQ(e.route, QStringLiteral("12345"));
    for (int d : {9, 0, 8, 7})
        e.press(d);
    EXPECT_EQ(e.section, QStringLiteral("908"));

    e.press(KeypadEntry::kRouteKey);
    EXPECT_EQ(e.route, QString());
    EXPECT_EQ(e.section, QStringLiteral("908"));
}

TEST(ConsoleRules, ResetNumbersFromEnteredText)
{
    EXPECT_EQ(routeKey(QStringLiteral("00012")), QStringLiteral("12"));
    EXPECT_EQ(routeKey(QString()), QStringLiteral("0"));
    EXPECT_EQ(routeKey(QStringLiteral("99999")), QStringLiteral("99999"));
    EXPECT_EQ(clampSection(leadingNumber(QStringLiteral("0"))), 1);
    EXPECT_EQ(clampSection(leadingNumber(QString())), 1);
    EXPECT_EQ(clampSection(leadingNumber(QStringLiteral("999"))), 300);
    EXPECT_EQ(clampSection(leadingNumber(QStringLiteral("301"))), 300);
    EXPECT_EQ(clampSection(leadingNumber(QStringLiteral("300"))), 300);
    EXPECT_EQ(clampSection(leadingNumber(QStringLiteral("025"))), 25);
    EXPECT_EQ(leadingNumber(QStringLiteral(" 12ab3")), 12);
}

TEST(ConsoleRules, SteppingSoundFollowsTheModeAndTheChosenColumn)
{
    FareTable::Row row = rowWithFares({1, 2, 3, 0, 4, -1});
    EXPECT_EQ(steppingSoundFile(true, false, 0, row), 7);
    EXPECT_EQ(steppingSoundFile(false, true, 0, row), 8);
    EXPECT_EQ(steppingSoundFile(false, true, 1, row), 9);
    EXPECT_EQ(steppingSoundFile(false, true, 2, row), 10);
    for (int silent : {3, 4, 5})  // values 0, 4 and -1
        EXPECT_EQ(steppingSoundFile(false, true, silent, row), std::nullopt) << silent;
    EXPECT_EQ(steppingSoundFile(false, true, -1, row), std::nullopt) << "no column chosen";
    EXPECT_EQ(steppingSoundFile(false, true, 150, row), std::nullopt);
    EXPECT_EQ(steppingSoundFile(false, false, 0, row), std::nullopt);
}

TEST(ConsoleRules, BoardUpdateWritesFaresFromTheSectionThenInformation)
{
    FareTable::Row row;
    for (int k = 1; k <= 150; ++k)
        row.Values[static_cast<size_t>(k - 1)] = static_cast<int16_t>(100 + k);
    row.Values[5] = -1;       // ticket 6 has no fare
    row.Values[6] = 0;        // ticket 7 rides free
    row.Values[7] = 230;
    row.Values[8] = 20000;    // doubled beyond 16 bits
    row.TicketNo = 17;

    auto v = finalValues(boardDigitWrites(row, 3, 5, false, {}, QStringLiteral("012")));
    EXPECT_EQ(v.count(4), 0u) << "tickets below the section keep what they showed";
    EXPECT_EQ(v.size(), 20u);
    EXPECT_EQ(std::get<int16_t>(v[5]), 105);
    EXPECT_EQ(std::get<int16_t>(v[24]), 124);

    v = finalValues(boardDigitWrites(row, 3, 1, true, {}, QString()));
    EXPECT_EQ(std::get<int16_t>(v[8]), 460);
    EXPECT_EQ(std::get<int16_t>(v[6]), -1);
    EXPECT_EQ(std::get<int16_t>(v[7]), 0);
    EXPECT_EQ(std::get<int32_t>(v[9]), 40000);

    EXPECT_TRUE(boardDigitWrites(row, 3, 25, false, {}, QString()).empty());

    InfoDigitOptions info;
    info.rowNumber = true;
    info.rowNumberDigit = 2;  // Degit(3)
    info.countFromZero = true;
    info.ticketNumber = true;
    info.ticketNumberDigit = 23;
    info.routeNumber = true;
    info.routeNumberDigit = -1;  // no selection: the spare digit
    info.dataColumn = true;
    info.dataColumnDigit = 0;
    info.dataColumnIndex = 149;
    const auto writes = boardDigitWrites(row, 1, 1, false, info, QStringLiteral("012"));
    v = finalValues(writes);
    EXPECT_EQ(std::get<int16_t>(v[3]), 0) << "row 1 counted from 0 replaces ticket 3's fare";
    EXPECT_EQ(std::get<int16_t>(v[24]), 17);
    EXPECT_EQ(std::get<QString>(v[0]), QStringLiteral("012"));
    EXPECT_EQ(std::get<int16_t>(v[1]), 250);
    // Information comes after every fare.
    EXPECT_EQ(writes[24].index, 3);
}

TEST(ConsoleRules, TicketDateAndBacklightMessages)
{
    const QDate today(2010, 3, 5);
    EXPECT_EQ(ticketDateText(0, today, QStringLiteral("01-02-2009"), QStringLiteral("2011/12/01")),
              QStringLiteral("03-05-2010"));
    EXPECT_EQ(ticketDateText(1, today, QStringLiteral("01-02-2009"), QString()), QStringLiteral("01-02-2009"));
    EXPECT_EQ(ticketDateText(2, today, QString(), QStringLiteral("2011/12/01")), QStringLiteral("2011/12/01"));

    EXPECT_EQ(backlightErrorText(481),
              QStringLiteral("エラーです。\r\n\r\nエラーコード：481　指定した画像の内容が不正です。この部分では扱えません。"));
    EXPECT_TRUE(backlightErrorText(76).endsWith(QStringLiteral("指定している場所が不正です。")));
    EXPECT_EQ(backlightErrorText(5), QStringLiteral("エラーです。\r\n\r\nエラーコード：5"));
}
