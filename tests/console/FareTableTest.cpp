#include "console/FareTable.h"
#include "platform/AppError.h"

#include "support/ErrorOf.h"

#include <gtest/gtest.h>

using namespace fareboard;
using namespace fareboard::test;

TEST(FareTable, SetCellAddressesNameTicketAndValueColumnsWithinBounds)
{
    FareTable t;
    t.SetCell(301, 1, QStringLiteral("終点"));
    t.SetCell(301, 2, 24);
    t.SetCell(301, 3, -1);     // data column 1
    t.SetCell(301, 152, 150);  // data column 150
    EXPECT_EQ(t.row(301).StopName, QStringLiteral("終点"));
    EXPECT_EQ(t.row(301).TicketNo, 24);
    EXPECT_EQ(t.row(301).value(1), -1);
    EXPECT_EQ(t.row(301).value(150), 150);

    EXPECT_EQ(errorOf([&] { t.SetCell(0, 1, 1); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { t.SetCell(302, 1, 1); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { t.SetCell(1, 0, 1); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { t.SetCell(1, 153, 1); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { t.row(302); }), ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { t.SetCell(1, 3, 40000); }), ErrorNumber::Overflow);
}

TEST(FareTable, ClearTableEmptiesEveryRow)
{
    FareTable t;
    t.SetCell(1, 1, QStringLiteral("A"));
    t.SetCell(150, 2, 7);
    t.SetCell(301, 40, 99);
    t.ClearTable();
    for (int r : {1, 150, 301}) {
        EXPECT_TRUE(t.row(r).StopName.isEmpty());
        EXPECT_EQ(t.row(r).TicketNo, 0);
        for (int k = 1; k <= 150; ++k)
            ASSERT_EQ(t.row(r).value(k), 0);
    }
}
