// The pure steps of the GTFS-JP import on hand-made patterns: ticket zones, cells, names, tape.
#include "CsvReader.h"
#include "InputError.h"
#include "StrictText.h"
#include "fuzz/GtfsFuzzFeed.h"
#include "gtfs/BoardText.h"
#include "gtfs/FareLookup.h"
#include "gtfs/PatternConversion.h"

#include <gtest/gtest.h>

#include <map>

using namespace fareboard;
using namespace fareboard::datatool;
using namespace fareboard::datatool::gtfs;

namespace {

PatternInput pattern(int stops, std::function<std::optional<int>(int, int)> fare)
{
    PatternInput input;
    for (int i = 0; i < stops; ++i)
        input.names.push_back(QStringLiteral("停留所%1").arg(QChar(0x4E00 + i)));
    input.fare = std::move(fare);
    return input;
}

TEST(GtfsConversion, StopsSharingEveryFareShareATicketNumber)
{
    // Fare zones of two stops each: 200 within a zone's reach, 50 more per zone crossed.
    // Stop 4 (0-based) has no fare to stop 5 in the feed.
    const auto fare = [](int from, int to) -> std::optional<int> {
        if (from == 4 && to == 5)
            return std::nullopt;
        if (from == to)
            return std::nullopt;  // a distance feed has no rule from a stop to itself
        return 200 + 50 * (to / 2 - from / 2);
    };
    const ConvertedPattern c = convertPattern(pattern(6, fare));
    // Stops 0 and 1 share every fare to later stops; so do 2 and 3; 4 differs by its hole;
    // the last stop never issues a number.
    EXPECT_EQ(ticketZones(6, fare), (std::vector<int>{0, 2, 4}));
    ASSERT_EQ(c.rows.size(), 6u);
    ASSERT_EQ(c.ticketCount, 3);
    const int tickets[] = {1, 1, 2, 2, 3, 3};
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(c.rows[std::size_t(r)].ticketNo, tickets[r]) << "row " << r + 1;
    // Row 1: ticket 1 issued here, owes the ride to the next stop; later numbers dark.
    EXPECT_EQ(c.rows[0].values[0], 200);
    EXPECT_EQ(c.rows[0].values[1], 0);
    EXPECT_EQ(c.rows[3].values[0], 250);  // from stop 0 to stop 3
    EXPECT_EQ(c.rows[3].values[1], 200);
    EXPECT_EQ(c.rows[3].values[2], 0);
    EXPECT_EQ(c.rows[5].values[0], 300);
    EXPECT_EQ(c.rows[5].values[2], -1);  // 4 → 5 is missing in the feed
    EXPECT_EQ(c.rows[4].values[2], -1);  // at stop 4 nothing to fall back on either
    EXPECT_EQ(c.missingFares, 2);
    // Column 25 chooses the stepping chime, as the options read it by default: an ordinary
    // stop, then the terminus.
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(c.rows[std::size_t(r)].values[24], r == 5 ? 3 : 1) << "row " << r + 1;
    for (const auto& row : c.rows)
        for (std::size_t k = 3; k < 150; ++k)
            ASSERT_EQ(row.values[k], k == 24 ? row.values[k] : 0);
}

TEST(GtfsConversion, ManyZonesAreAllWrittenAndTheBoardLimitIsSaid)
{
    // Every stop its own zone: 29 ticket numbers on 30 stops.
    const auto fare = [](int from, int to) -> std::optional<int> { return 100 + 10 * (to - from); };
    const ConvertedPattern c = convertPattern(pattern(30, fare));
    EXPECT_EQ(c.ticketCount, 29);
    EXPECT_EQ(c.rows[29].values[28], 110);
    EXPECT_EQ(c.rows[29].values[0], 390);
    EXPECT_TRUE(c.warnings.join('\n').contains(QStringLiteral("29 ticket numbers: all are in the file, but the board shows only the first 24")))
        << c.warnings.join('\n').toStdString();
    EXPECT_EQ(c.missingFares, 0);
    // Ticket 25's fares keep column 25, so there is no room for the chime, and that is said.
    EXPECT_EQ(c.rows[29].values[24], 100 + 10 * 5);
    EXPECT_TRUE(c.warnings.join('\n').contains(QStringLiteral("no stepping chime is written")));
    // 390 yen fits the board's three digits.
    EXPECT_FALSE(c.warnings.join('\n').contains(QStringLiteral("digits")));
}

TEST(GtfsConversion, TapeStepsTheBoardFromTheFirstStopToTheLast)
{
    PatternInput input = pattern(3, [](int, int) -> std::optional<int> { return 210; });
    input.names = {QStringLiteral("川崎駅西口59番のりば"), QStringLiteral("Ａ町"), QStringLiteral("終点前")};
    input.headsign = QStringLiteral("矢向末吉橋循環");
    const ConvertedPattern c = convertPattern(input);
    ASSERT_EQ(c.tape.size(), 4u);
    EXPECT_EQ(c.tape[0].Text, QStringLiteral("ご乗車ありがとうございます。このバスは、矢向末吉橋循環です。"));
    EXPECT_EQ(c.tape[0].StepFlag, 0);
    EXPECT_EQ(c.tape[0].ChimeFlag, 1);
    EXPECT_EQ(c.tape[1].Text, QStringLiteral("次は、Ａ町です。お降りの方はボタンでお知らせください。"));
    EXPECT_EQ(c.tape[1].StepFlag, 1);
    EXPECT_EQ(c.tape[1].ChimeFlag, 2);
    EXPECT_EQ(c.tape[2].Text, QStringLiteral("次は、終点、終点前です。"));
    EXPECT_EQ(c.tape[2].StepFlag, 1);
    EXPECT_EQ(c.tape[2].ChimeFlag, 3);
    // Arriving moves nothing: the board is at the terminus already.
    EXPECT_EQ(c.tape[3].Text, QStringLiteral("終点、終点前です。お忘れ物のないようご注意ください。"));
    EXPECT_EQ(c.tape[3].StepFlag, 0);
    EXPECT_EQ(c.rows[0].stopName, QStringLiteral("川崎駅西口５９番のりば"));

    input.headsign.clear();  // without a headsign the last stop names where the bus goes
    EXPECT_EQ(convertPattern(input).tape[0].Text, QStringLiteral("ご乗車ありがとうございます。このバスは、終点前行きです。"));

    // What a headsign already says is said once.
    const std::pair<const char16_t*, const char16_t*> greetings[] = {
        {u"六本木ヒルズ行", u"六本木ヒルズ行き"}, {u"熊谷駅南口行き", u"熊谷駅南口行き"},
        {u"さくら台ゆき", u"さくら台ゆき"},       {u"駅前方面", u"駅前方面行き"},
        {u"左回り", u"左回り"},                   {u"Aルート", u"Ａルート"},
        {u"青凪線", u"青凪線"},                   {u"青凪港", u"青凪港行き"},
    };
    for (const auto& [headsign, says] : greetings) {
        input.headsign = QString::fromUtf16(headsign);
        EXPECT_EQ(convertPattern(input).tape[0].Text,
                  QStringLiteral("ご乗車ありがとうございます。このバスは、%1です。").arg(QString::fromUtf16(says)));
    }
}

TEST(GtfsConversion, NamesTakeTheBoardsForm)
{
    EXPECT_EQ(toBoardText(QStringLiteral("JR 川崎 2-1")).text, QStringLiteral("ＪＲ　川崎　２－１"));
    const BoardText missing = toBoardText(QStringLiteral("바다前\U0001F68C"));
    EXPECT_EQ(missing.text, QStringLiteral("〓〓前〓"));
    EXPECT_EQ(missing.replaced, QStringLiteral("바다\U0001F68C"));
    // Half-width katakana take two bytes like every other character, sound marks joined where
    // Shift-JIS has the joined form.
    EXPECT_EQ(toBoardText(QStringLiteral("江南総合文化会館ﾋﾟﾋﾟｱ前")).text, QStringLiteral("江南総合文化会館ピピア前"));
    EXPECT_EQ(toBoardText(QStringLiteral("ｶﾞｽﾀﾝｸ･ｳﾞｨﾗ ﾜﾞｰ ﾟ¥")).text, QStringLiteral("ガスタンク・ヴィラ　ワ゛ー　゜￥"));

    PatternInput input = pattern(2, [](int, int) -> std::optional<int> { return 100; });
    input.names[1] = QStringLiteral("とても長い名前の停留所前とても長い名前の停留所");
    input.names[0] = QStringLiteral("髙바");
    const QString warnings = convertPattern(input).warnings.join('\n');
    EXPECT_TRUE(warnings.contains(QStringLiteral("stop 1 \"髙바\": Shift-JIS cannot hold \"바\""))) << warnings.toStdString();
    EXPECT_TRUE(warnings.contains(QStringLiteral("stop 2 \"とても長い名前の停留所前とても長い名前の停留所\" has 23 characters")))
        << warnings.toStdString();
}

TEST(GtfsConversion, TheClosestFareRuleWins)
{
    // Zones 0..2; route 7 has its own fare from 0 to 1; a flat fare covers the rest.
    const FareLookup fares({{300, -1, -1, -1}, {180, -1, 0, 1}, {170, 7, 0, 1}, {190, -1, 0, 1}, {250, -1, 2, -1}});
    EXPECT_EQ(fares.fare(7, 0, 1), 170);
    EXPECT_EQ(fares.fare(3, 0, 1), 180);  // the cheaper of two rules for any route
    EXPECT_EQ(fares.fare(3, 2, 0), 250);  // origin only
    EXPECT_EQ(fares.fare(3, 1, 2), 300);  // flat
    EXPECT_EQ(fares.fare(3, -1, 0), 300);  // a stop without zone still pays the flat fare
    EXPECT_EQ(FareLookup({{180, -1, 0, 1}}).fare(0, 1, 0), std::nullopt);
}

TEST(CsvReader, ReadsWhatSpreadsheetsAndFeedToolsWrite)
{
    MemorySource source(QByteArray("\xEF\xBB\xBF" "a,\"b,\"\"c\"\"\"\r\n\r\n\"multi\nline\",x\rlast,") );
    CsvReader reader(source, QStringLiteral("f.txt"));
    CsvRecord record;
    ASSERT_TRUE(reader.next(record));
    EXPECT_EQ(record.line, 1);
    EXPECT_EQ(record.fields, (QList<QByteArray>{"a", "b,\"c\""}));
    ASSERT_TRUE(reader.next(record));
    EXPECT_EQ(record.line, 3);
    EXPECT_EQ(record.fields, (QList<QByteArray>{"multi\nline", "x"}));
    ASSERT_TRUE(reader.next(record));
    EXPECT_EQ(record.line, 5);
    EXPECT_EQ(record.fields, (QList<QByteArray>{"last", ""}));
    EXPECT_FALSE(reader.next(record));

    const std::pair<QByteArray, QString> bad[] = {
        {"a\nb,\"open\n\n", QStringLiteral("f.txt:2: a quoted field is never closed")},
        {"a\n\"b\"c\n", QStringLiteral("f.txt:2: text follows the closing quote")},
        {"a\nb\"c\n", QStringLiteral("f.txt:2: a quote inside an unquoted field")},
        {"a\n" + QByteArray(2000, ','), QStringLiteral("f.txt:2: more than 100 fields")},
        {"a\n" + QByteArray(5000, 'x') + "\nb\n", QStringLiteral("f.txt:2: the record is longer than 4096 bytes")},
    };
    for (const auto& [bytes, says] : bad) {
        MemorySource s(bytes);
        CsvReader r(s, QStringLiteral("f.txt"), {4096, 100});
        try {
            while (r.next(record)) {
            }
            ADD_FAILURE() << "accepted: " << says.toStdString();
        } catch (const InputError& e) {
            EXPECT_TRUE(e.message().startsWith(says)) << e.message().toStdString();
        }
    }
}

// The bytes of a file a few at a time, as a zip entry may hand them out.
class TrickleSource : public ByteSource {
public:
    explicit TrickleSource(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 read(char* buffer, qint64 max) override { return bytes_.read(buffer, std::min<qint64>(max, 1 + reads_++ % 5)); }

private:
    MemorySource bytes_;
    int reads_ = 0;
};

TEST(CsvReader, RecordsDoNotDependOnHowTheBytesArrive)
{
    // Every kind of line end, quote and field where a read may cut it; a field longer than a
    // read; a short record after a long one.
    const QByteArray text = "\xEF\xBB\xBF" "id,name\r\n\r\n1,\"a \"\"b\"\"\r\nc\"\r2,\"\"\n\n" + QByteArray(70000, 'x') +
                            ",\"\r\"\r\nlast\r";
    const auto readAll = [](ByteSource& source) {
        CsvReader reader(source, QStringLiteral("f.txt"));
        std::vector<std::pair<int, QList<QByteArray>>> records;
        CsvRecord record;
        while (reader.next(record))
            records.emplace_back(record.line, record.fields);
        return records;
    };
    MemorySource whole(text);
    const auto expected = readAll(whole);
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(expected[0], (std::pair<int, QList<QByteArray>>{1, {"id", "name"}}));
    EXPECT_EQ(expected[1], (std::pair<int, QList<QByteArray>>{3, {"1", "a \"b\"\r\nc"}}));
    EXPECT_EQ(expected[2], (std::pair<int, QList<QByteArray>>{5, {"2", ""}}));
    EXPECT_EQ(expected[3].first, 7);
    EXPECT_EQ(expected[3].second.value(1), "\r");
    EXPECT_EQ(expected[4], (std::pair<int, QList<QByteArray>>{9, {"last"}}));
    TrickleSource trickle(text);
    EXPECT_EQ(readAll(trickle), expected);

    TrickleSource open("a\nb,\"open\n\n");
    EXPECT_THROW(readAll(open), InputError);
}

TEST(StrictText, OnlyWellFormedUtf8IsText)
{
    EXPECT_EQ(decodeUtf8("川崎駅西口 51"), QStringLiteral("川崎駅西口 51"));
    EXPECT_EQ(decodeUtf8("\xF0\x9F\x9A\x8C"), QStringLiteral("\U0001F68C"));
    // Cut off, overlong, a surrogate, past U+10FFFF (which Qt would have turned into U+FFFD).
    for (const QByteArray bad : {"\xE5\xB7", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80"})
        EXPECT_FALSE(decodeUtf8("a" + bad + "b")) << bad.toHex().toStdString();
}

TEST(GtfsFeed, IdsMatchAsTheirTrimmedTextAndRepeatedRulesAreKeptOnce)
{
    // Ids with spaces around them (an ideographic one too) and numbers written loosely.
    QByteArray rules = "fare_id,route_id,origin_id,destination_id\n";
    QByteArray prices = "fare_id,price\n";
    const QByteArray zones[] = {"", "Z1", "Z2", "Z3"};
    for (int price = 100; price < 200; ++price) {
        prices += "F" + QByteArray::number(price) + ',' + QByteArray::number(price) + '\n';
        for (int twice = 0; twice < 2; ++twice)
            for (const QByteArray route : {"", " R1"})
                for (const QByteArray& from : zones)
                    for (const QByteArray& to : zones)
                        rules += "F" + QByteArray::number(price) + ',' + route + ',' + from + ',' + to + '\n';
    }
    fuzzfeed::MemoryFeed source({
        {"stops.txt", "stop_id,stop_name,zone_id\nA,一,Z1\nB,二,Z2\n\xE3\x80\x80" "C,三,Z3\n"},
        {"routes.txt", "route_id\nR1\n"},
        {"trips.txt", "route_id,trip_id\nR1,T1\n"},
        {"stop_times.txt", "trip_id,stop_id,stop_sequence\n T1 ,C\xE3\x80\x80,12\nT1,\"B \",007\nT1,A,+3\n"},
        {"fare_attributes.txt", prices},
        {"fare_rules.txt", rules},
    });
    const Feed feed = readFeed(source);
    ASSERT_EQ(feed.trips.size(), 1u);
    std::vector<std::pair<int, int>> calls;
    for (const Trip::Call& call : feed.trips[0].stops)
        calls.emplace_back(call.sequence, call.stop);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{3, 0}, {7, 1}, {12, 2}}));
    EXPECT_EQ(feed.fareRules.size(), 100u * 2 * 4 * 4);
}

}  // namespace
