#include "operation/RouteKeying.h"
#include "operation/RouteTable.h"
#include "operation/RouteTableModel.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace fareboard;
using namespace fareboard::test;

namespace {

RouteRow row(int number, QString shortName, QString first, QString last, QStringList stops = {})
{
    RouteRow r;
    r.number = number;
    r.shortName = std::move(shortName);
    r.firstStop = std::move(first);
    r.lastStop = std::move(last);
    r.stopNames = std::move(stops);
    return r;
}

}  // namespace

TEST(RouteTable, ReadsAnImportsRoutesFileByItsHeadings)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("routes.csv"));
    // Columns in another order and one the reader does not know, a name with a comma quoted.
    writeFile(path, QByteArray("route_id,系統,extra,route_short_name,route_long_name,direction_id,headsign,first_stop,last_stop,stops,ticket_numbers\n"
                               "21000-0,12,x,川57,\"末吉橋,矢向\",0,末吉橋矢向循環,川崎駅西口５９番のりば,川崎駅西口１番のりば,21,10\n"
                               "25000-1,3,y,川56,矢向末吉橋循環,1,,A,B,22,1\n"));
    const RouteTableRead read = readRouteTable(path);
    ASSERT_TRUE(read.fault.isEmpty()) << read.fault.toStdString();
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].number, 12);
    EXPECT_EQ(read.rows[0].routeId, QStringLiteral("21000-0"));
    EXPECT_EQ(read.rows[0].longName, QStringLiteral("末吉橋,矢向"));
    EXPECT_EQ(read.rows[0].stops, 21);
    EXPECT_EQ(read.rows[0].tickets, 10);
    EXPECT_EQ(runText(read.rows[0]), QStringLiteral("川崎駅西口５９番のりば → 川崎駅西口１番のりば"));

    std::vector<RouteRow> rows = read.rows;
    sortByNumber(rows);
    EXPECT_EQ(rows[0].number, 3);
    EXPECT_EQ(rows[1].number, 12);

    // A line the importer never writes names itself; nothing of the file is shown then.
    writeFile(path, QByteArray("系統,route_id,first_stop,last_stop\n1,a,b,c\nx,a,b,c\n"));
    const RouteTableRead bad = readRouteTable(path);
    EXPECT_TRUE(bad.rows.empty());
    EXPECT_TRUE(bad.fault.startsWith(QStringLiteral("routes.csv:3: "))) << bad.fault.toStdString();
    EXPECT_FALSE(readRouteTable(dir.filePath(QStringLiteral("none.csv"))).fault.isEmpty());
}

TEST(RouteTable, FilterFindsRoutesByNumberNameOrAnyStopWhateverTheWidth)
{
    const RouteRow kawa57 = row(2, QStringLiteral("川57"), QStringLiteral("川崎駅西口５９番のりば"), QStringLiteral("川崎駅西口１番のりば"),
                                {QStringLiteral("川崎駅西口５９番のりば"), QStringLiteral("末吉橋"), QStringLiteral("矢向駅")});
    EXPECT_TRUE(routeMatches(kawa57, QString()));
    EXPECT_TRUE(routeMatches(kawa57, QStringLiteral("  ")));
    EXPECT_TRUE(routeMatches(kawa57, QStringLiteral("川５７")));  // full-width digits typed
    EXPECT_TRUE(routeMatches(kawa57, QStringLiteral("59")));     // half-width for the feed's full-width
    EXPECT_TRUE(routeMatches(kawa57, QStringLiteral("末吉")));   // a stop on the way
    EXPECT_TRUE(routeMatches(kawa57, QStringLiteral("矢向　川57")));  // every word, a full-width space between
    EXPECT_FALSE(routeMatches(kawa57, QStringLiteral("矢向 川56")));
    EXPECT_FALSE(routeMatches(kawa57, QStringLiteral("鶴見")));

    RouteRow latin = row(7, QStringLiteral("Kawa"), QStringLiteral("Ａ"), QStringLiteral("b"));
    EXPECT_TRUE(routeMatches(latin, QStringLiteral("kAWA")));
    EXPECT_TRUE(routeMatches(latin, QStringLiteral("a")));

    // The model's filter is the same rule, over the rows it holds.
    RouteTableModel model(true);
    RouteRow refused = row(0, QStringLiteral("川99"), QStringLiteral("x"), QStringLiteral("y"));
    refused.refused = QStringLiteral("a single stop");
    model.setRows({kawa57, latin, refused});
    RouteFilterModel shown;
    shown.setSourceModel(&model);
    shown.setFilterText(QStringLiteral("末吉"));
    ASSERT_EQ(shown.rowCount(), 1);
    EXPECT_EQ(shown.index(0, RouteTableModel::ShortName).data().toString(), QStringLiteral("川57"));

    // Every importable pattern is chosen at first; one that cannot be imported never is.
    EXPECT_EQ(model.checkedNumbers(), (std::vector<int>{2, 7}));
    EXPECT_FALSE(model.flags(model.index(2, 0)) & Qt::ItemIsUserCheckable);
    model.setChecked({0, 2}, false);
    EXPECT_EQ(model.checkedNumbers(), (std::vector<int>{7}));
    model.setChecked({0, 1, 2}, true);
    EXPECT_EQ(model.checkedNumbers(), (std::vector<int>{2, 7}));
    EXPECT_EQ(model.index(2, RouteTableModel::Number).data().toString(), QStringLiteral("-"));
}

TEST(RouteTable, TheKeysOfARouteAreTheDriversOwn)
{
    EXPECT_EQ(keypadKeysFor(2), (std::vector<int>{10, 2, 11, 1}));
    EXPECT_EQ(keypadKeysFor(10502), (std::vector<int>{10, 1, 0, 5, 0, 2, 11, 1}));
}
