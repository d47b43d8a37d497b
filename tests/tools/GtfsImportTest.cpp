// The GTFS-JP import run as a user runs it, on the sample feed the project ships and on
// damaged copies of it.
#include "ToolRun.h"
#include "announce/BroadcastData.h"
#include "app/DemoData.h"
#include "gtfs/OutputFolder.h"
#include "console/FareDataFile.h"
#include "operation/Timetable.h"
#include "platform/ShiftJis.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <map>

#include <zip.h>

using namespace fareboard;
using namespace fareboard::test;

namespace {

const QString kSample = QStringLiteral(FAREBOARD_GTFS_SAMPLE);

// The sample's tables read the simplest way (it has no quoted fields), apart from the tool.
std::vector<QStringList> table(const QString& name)
{
    std::vector<QStringList> rows;
    for (const QByteArray& line : readFile(kSample + '/' + name).split('\n')) {
        if (!line.trimmed().isEmpty())
            rows.push_back(QString::fromUtf8(line.trimmed()).split(','));
    }
    return rows;
}

std::vector<FareDataFile::Record> fareRows(const QString& path)
{
    const QByteArray bytes = readFile(path);
    return FareDataFile::readRecords(bytes, FareDataFile::readCount(bytes));
}

std::vector<TapeEntry> tape(const QString& path)
{
    BroadcastFieldReader reader(readFile(path));
    std::vector<TapeEntry> entries;
    while (!reader.atEnd() && !reader.onlyBlankLeft()) {
        TapeEntry e;
        e.Text = reader.nextText();
        e.StepFlag = reader.nextNumber();
        e.ChimeFlag = reader.nextNumber();
        entries.push_back(e);
    }
    return entries;
}

QString boardForm(QString name)
{
    for (QChar& c : name)
        if (c.unicode() > 0x20 && c.unicode() < 0x7F)
            c = QChar(char16_t(c.unicode() - 0x21 + 0xFF01));
    return name;
}

// Copies the sample into `dir`, passing each file through `edit` (name, bytes → bytes; an
// empty result leaves the file out).
void copySample(const QString& dir, const std::function<QByteArray(const QString&, QByteArray)>& edit)
{
    QDir().mkpath(dir);
    for (const QString& name : QDir(kSample).entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        const QByteArray bytes = edit(name, readFile(kSample + '/' + name));
        if (!bytes.isEmpty())
            writeFile(dir + '/' + name, bytes);
    }
}

// A feed of a few lines, file name → text, written as its own folder.
using SmallFeed = std::map<QString, QByteArray>;
void writeFeed(const QString& dir, const SmallFeed& files)
{
    for (const auto& [name, text] : files)
        writeFile(dir + '/' + name, text);
}

// Every file in a folder with its bytes, hidden ones too, and what its subfolders hold.
std::map<QString, QByteArray> snapshot(const QString& folder)
{
    std::map<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (entry.isDir()) {
            for (const auto& [name, bytes] : snapshot(entry.filePath()))
                files[entry.fileName() + '/' + name] = bytes;
            files[entry.fileName() + '/'] = QByteArray();
        } else {
            files[entry.fileName()] = readFile(entry.filePath());
        }
    }
    return files;
}

class GtfsImport : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList filesIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(GtfsImport, ListsTheSamplesPatterns)
{
    const ToolRun run = runTool({"gtfs", kSample, "--list"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("系統\troute_id\troute_short_name\troute_long_name\tdirection_id\theadsign\tfirst_stop\tlast_stop\tstops\tticket_numbers"));
    // The first and last stops are poles of the station 川崎駅西口, which riders know them by.
    EXPECT_EQ(lines[1], QStringLiteral("1\t25000-1\t川56\t矢向末吉橋循環\t1\t矢向末吉橋循環\t川崎駅西口\t川崎駅西口\t22\t1"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("2\t21000-0\t川57\t末吉橋矢向循環\t0\t末吉橋矢向循環\t川崎駅西口\t川崎駅西口\t21\t")))
        << lines[2].toStdString();
}

TEST_F(GtfsImport, TheSampleBecomesRoutesTheProgramDrives)
{
    const QString out = path(QStringLiteral("routes"));
    const ToolRun run = runTool({"gtfs", kSample, out});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(filesIn(out), (QStringList{"1.hy3", "1times.csv", "1tp.csv", "2.hy3", "2times.csv", "2tp.csv", "readings.csv",
                                         "routes.csv"}));
    for (const char* file : {"1.hy3", "2.hy3", "1tp.csv", "2tp.csv"}) {
        const ToolRun check = runTool({"check", out + '/' + file});
        EXPECT_EQ(check.status, 0) << file << check.err.toStdString();
    }

    // The stops of the busiest trip of each route, from the feed itself; a pole is shown by
    // its station's name, or by its own without the boarding place the sample adds to it.
    std::map<QString, QString> nameOf, zoneOf, parentOf;
    for (const QStringList& s : table(QStringLiteral("stops.txt"))) {
        nameOf[s[0]] = s[1];
        zoneOf[s[0]] = s[5];
        parentOf[s[0]] = s.value(8);
    }
    for (auto& [id, name] : nameOf) {
        if (!parentOf[id].isEmpty())
            name = nameOf[parentOf[id]];
        else
            name.remove(QRegularExpression(QStringLiteral("[０-９]番のりば$")));
    }
    auto stopsOf = [](const QString& trip) {
        QStringList stops;
        for (const QStringList& st : table(QStringLiteral("stop_times.txt")))
            if (st[0] == trip)
                stops << st[3];
        return stops;
    };
    std::map<std::pair<QString, QString>, int> price;
    std::map<QString, int> priceOf;
    for (const QStringList& a : table(QStringLiteral("fare_attributes.txt")))
        priceOf[a[0]] = a[1].toInt();
    for (const QStringList& r : table(QStringLiteral("fare_rules.txt")))
        price[{r[2], r[3]}] = priceOf[r[0]];

    // 系統 1, the flat fare: one ticket number, 210 everywhere. (Its one rule names only the
    // first stop's zone; the import says it takes that as the route's flat fare.)
    EXPECT_TRUE(run.err.contains(QStringLiteral("1.hy3: the feed's only fare for route 25000-1 is 210 yen"))) << run.err.toStdString();
    const QStringList flat = stopsOf(QStringLiteral("25000-1-平日（月～金）-001"));
    const auto rows1 = fareRows(out + "/1.hy3");
    ASSERT_EQ(rows1.size(), std::size_t(flat.size()));
    for (std::size_t r = 0; r < rows1.size(); ++r) {
        EXPECT_EQ(rows1[r].stopName, boardForm(nameOf[flat[int(r)]]));
        EXPECT_EQ(rows1[r].ticketNo, 1);
        EXPECT_EQ(rows1[r].values[0], 210);
        EXPECT_EQ(rows1[r].values[1], 0);
    }

    // 系統 2, fares by origin and destination: every cell is the feed's fare from the stop
    // that issues the ticket number to the row's stop.
    const QStringList distance = stopsOf(QStringLiteral("21000-0-平日（月～金）-001"));
    const auto rows2 = fareRows(out + "/2.hy3");
    ASSERT_EQ(rows2.size(), std::size_t(distance.size()));
    std::map<int, int> issuedAt;  // ticket number → row
    for (std::size_t r = 0; r < rows2.size(); ++r)
        issuedAt.emplace(rows2[r].ticketNo, int(r));
    EXPECT_EQ(rows2[0].ticketNo, 1);
    for (std::size_t r = 1; r < rows2.size(); ++r)
        EXPECT_GE(rows2[r].ticketNo, rows2[r - 1].ticketNo);
    for (const auto& [ticket, from] : issuedAt) {
        for (std::size_t r = 0; r < rows2.size(); ++r) {
            SCOPED_TRACE(QStringLiteral("ticket %1 row %2").arg(ticket).arg(r + 1).toStdString());
            const int cell = rows2[r].values[std::size_t(ticket - 1)];
            if (int(r) < from)
                EXPECT_EQ(cell, 0);
            else if (int(r) == from)
                EXPECT_EQ(cell, price.at({zoneOf[distance[from]], zoneOf[distance[from + 1]]}));
            else
                EXPECT_EQ(cell, price.at({zoneOf[distance[from]], zoneOf[distance[int(r)]]}));
        }
    }
    // A stop gets a ticket number of its own exactly when its fares to later stops differ.
    for (std::size_t r = 1; r + 1 < rows2.size(); ++r) {
        const int issuing = issuedAt[rows2[r - 1].ticketNo];
        bool same = true;
        for (std::size_t j = r + 1; j < rows2.size(); ++j)
            same &= price[{zoneOf[distance[issuing]], zoneOf[distance[int(j)]]}] == price[{zoneOf[distance[int(r)]], zoneOf[distance[int(j)]]}];
        EXPECT_EQ(rows2[r].ticketNo == rows2[r - 1].ticketNo, same) << "row " << r + 1;
    }
    EXPECT_FALSE(run.out.contains(QStringLiteral("missing"))) << run.out.toStdString();

    // The tape: a greeting, then each next stop, the last as the terminus, every one a step;
    // then the arrival.
    const auto entries = tape(out + "/2tp.csv");
    ASSERT_EQ(entries.size(), rows2.size() + 1);
    EXPECT_EQ(entries[0].Text, QStringLiteral("ご乗車ありがとうございます。このバスは、末吉橋矢向循環です。"));
    EXPECT_EQ(entries[0].StepFlag, 0);
    EXPECT_EQ(entries[1].Text, QStringLiteral("次は、") + rows2[1].stopName + QStringLiteral("です。お降りの方はボタンでお知らせください。"));
    EXPECT_EQ(entries[1].StepFlag, 1);
    EXPECT_EQ(entries[1].ChimeFlag, 2);
    EXPECT_EQ(entries[rows2.size() - 1].Text, QStringLiteral("次は、終点、川崎駅西口です。"));
    EXPECT_EQ(entries[rows2.size() - 1].ChimeFlag, 3);
    EXPECT_EQ(entries.back().StepFlag, 0);
    EXPECT_TRUE(readFile(out + "/2tp.csv").endsWith("\r\n"));

    // Readings for the names the routes show, Japanese only.
    const QString readings = QString::fromUtf8(readFile(out + "/readings.csv"));
    for (const char* line : {"\n川崎駅西口,かわさきえきにしぐち\n", "\n矢向,やこう\n", "\n循環,じゅんかん\n"})
        EXPECT_TRUE(readings.contains(QString::fromUtf8(line))) << line << readings.toStdString();
    EXPECT_FALSE(readings.contains(QStringLiteral("Kawasaki")));

    const QString routes = QString::fromUtf8(readFile(out + "/routes.csv"));
    EXPECT_TRUE(routes.startsWith(QStringLiteral("系統,route_id,"))) << routes.toStdString();
    EXPECT_TRUE(routes.contains(QStringLiteral("\n2,21000-0,川57,末吉橋矢向循環,0,")));
}

TEST_F(GtfsImport, FeedsFromOtherToolsGiveTheSameRoutes)
{
    ASSERT_EQ(runTool({"gtfs", kSample, path("plain")}).status, 0);
    // A byte order mark, LF line ends, quoted fields, columns in another order and one more,
    // and readings in the newer layout, by text and by record.
    copySample(path("other"), [](const QString& name, QByteArray bytes) {
        bytes.replace("\r\n", "\n");
        if (name == QLatin1String("translations.txt"))
            return QByteArray("table_name,field_name,language,translation,record_id,record_sub_id,field_value\n"
                              "stops,stop_name,ja-Hrkt,かわさきえきにしぐち,,,川崎駅西口\n"
                              "stops,stop_name,en,Kawasaki,,,川崎駅西口\n"
                              "stops,stop_name,ja-Hrkt,みなみさいわいちょう,1535-01,,\n");
        if (name != QLatin1String("stops.txt"))
            return "\xEF\xBB\xBF" + bytes;
        QByteArray out;
        for (const QByteArray& line : bytes.split('\n')) {
            const QList<QByteArray> f = line.split(',');
            if (f.size() < 9)
                continue;
            out += f[5] + ",\"" + f[1] + "\",extra," + f[0] + ',' + f[8] + ',' + f[7] + '\n';
        }
        return out.replace("\"stop_name\",extra", "stop_name,platform_code");
    });
    const ToolRun run = runTool({"gtfs", path("other"), path("other-out")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (const char* file : {"1.hy3", "1tp.csv", "2.hy3", "2tp.csv", "routes.csv"})
        EXPECT_EQ(readFile(path("other-out/") + file), readFile(path("plain/") + file)) << file;
    EXPECT_EQ(readFile(path("other-out/readings.csv")).split('\n').mid(1),
              (QList<QByteArray>{"川崎駅西口,かわさきえきにしぐち", "南幸町,みなみさいわいちょう", ""}));

    // Optional files left empty, as some exporters write them.
    copySample(path("empty"), [](const QString& name, QByteArray bytes) {
        return name == QLatin1String("translations.txt") ? QByteArray() : bytes;
    });
    writeFile(path("empty/translations.txt"), QByteArray());
    const ToolRun empty = runTool({"gtfs", path("empty"), path("empty-out")});
    ASSERT_EQ(empty.status, 0) << empty.err.toStdString();
    EXPECT_EQ(readFile(path("empty-out/2.hy3")), readFile(path("plain/2.hy3")));

    // The feed as published: zipped, with its folder.
    zip_t* zip = zip_open(QFile::encodeName(path("feed.zip")).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_NE(zip, nullptr);
    std::vector<QByteArray> kept;
    for (const QString& name : QDir(kSample).entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        kept.push_back(readFile(kSample + '/' + name));
        zip_source_t* s = zip_source_buffer(zip, kept.back().constData(), zip_uint64_t(kept.back().size()), 0);
        ASSERT_GE(zip_file_add(zip, ("feed/" + name).toUtf8().constData(), s, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
    const ToolRun zipped = runTool({"gtfs", path("feed.zip"), path("zip-out")});
    ASSERT_EQ(zipped.status, 0) << zipped.err.toStdString();
    for (const char* file : {"1.hy3", "1tp.csv", "2.hy3", "2tp.csv", "routes.csv"})
        EXPECT_EQ(readFile(path("zip-out/") + file), readFile(path("plain/") + file)) << file;
    const auto readingLines = [](const QString& file) { return readFile(file).split('\n').mid(1); };
    EXPECT_EQ(readingLines(path("zip-out/readings.csv")), readingLines(path("plain/readings.csv")));
}

TEST_F(GtfsImport, EveryReadingWrittenIsOneTheTapeTakes)
{
    // Readings as feeds give them: lang in lower case, pauses, a stray period, annotations on
    // two names that differ only in them, and a reading that is the name itself.
    copySample(path("feed"), [](const QString& name, QByteArray bytes) {
        if (name == QLatin1String("stops.txt"))
            return bytes.replace("小倉１番のりば", "小倉（旧道）").replace("小倉２番のりば", "小倉（新道）");
        if (name != QLatin1String("translations.txt"))
            return bytes;
        return QByteArray("trans_id,lang,translation\n"
                          "川崎駅西口,ja-hrkt,かわさきえき・にしぐち\n"
                          "番のりば,JA-HRKT,ばんのりば.\n"
                          "矢向,ja-Hrkt,矢向\n"
                          "小倉（旧道）,ja-Hrkt,おぐら（旧道）\n"
                          "小倉（新道）,ja-Hrkt,こくら（新道）\n");
    });
    const ToolRun run = runTool({"gtfs", path("feed"), path("out")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(path("feed/translations.txt") +
                                 QStringLiteral(":4: the reading \"矢向\" of \"矢向\" is not in kana; left out")))
        << run.err.toStdString();
    EXPECT_EQ(readFile(path("out/readings.csv")).split('\n').mid(1),
              (QList<QByteArray>{"川崎駅西口,かわさきえき、にしぐち", "小倉,おぐら", "小倉（新道）,こくら", ""}));
    const ToolRun check = runTool({"check", path("out/readings.csv")});
    EXPECT_EQ(check.status, 0);
    EXPECT_TRUE(check.err.isEmpty()) << check.err.toStdString();
}

struct BrokenFeed {
    const char* fault;
    std::function<QByteArray(const QString&, QByteArray)> edit;
    const char* says;
};

TEST_F(GtfsImport, ABrokenFeedNamesTheLineAndWritesNothing)
{
    const auto in = [](const char* file, std::function<QByteArray(QByteArray)> change) {
        return [=](const QString& name, QByteArray bytes) {
            return name == QLatin1String(file) ? change(bytes) : bytes;
        };
    };
    const BrokenFeed cases[] = {
        {"no stops.txt", in("stops.txt", [](QByteArray) { return QByteArray(); }),
         "stops.txt: the feed has no stops.txt, which the import needs"},
        {"no stop_sequence column", in("stop_times.txt", [](QByteArray b) { return b.replace("stop_sequence", "seq"); }),
         "stop_times.txt:1: the header has no column stop_sequence"},
        {"a quote left open", in("trips.txt", [](QByteArray b) { return b.insert(b.indexOf("\n21000-0,") + 1, '"'); }),
         "trips.txt:5: a quoted field is never closed"},
        {"a stop stops.txt lacks", in("stop_times.txt", [](QByteArray b) { return b.replace(",1530-03,1,", ",9999-99,1,"); }),
         "stop_times.txt:3: stop_id 9999-99 is not in stops.txt"},
        {"a stop sequence that is no number", in("stop_times.txt", [](QByteArray b) { return b.replace(",1530-03,1,", ",1530-03,x,"); }),
         "stop_times.txt:3: stop_sequence \"x\" is not a whole number"},
        {"a price that is no amount", in("fare_attributes.txt", [](QByteArray b) { return b.replace("FA_190,190,", "FA_190,ten,"); }),
         "fare_attributes.txt:3: price \"ten\" is not an amount"},
        {"a stop sequence given twice",
         in("stop_times.txt", [](QByteArray b) { return b + "21000-0-平日（月～金）-001,6:40:00,6:40:00,1535-01,3,,0,0,0,\r\n"; }),
         "stop_times.txt:131: trip_id 21000-0-平日（月～金）-001 has stop_sequence 3 here and at line 71"},
    };
    for (const BrokenFeed& bad : cases) {
        SCOPED_TRACE(bad.fault);
        QTemporaryDir scratch;
        const QString feed = scratch.filePath("feed");
        copySample(feed, bad.edit);
        const QString out = scratch.filePath("out");
        writeFile(out + "/1.hy3", "previous");
        const ToolRun run = runTool({"gtfs", feed, out});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(bad.says))) << run.err.toStdString();
        EXPECT_EQ(filesIn(out), QStringList{"1.hy3"});
        EXPECT_EQ(readFile(out + "/1.hy3"), QByteArray("previous"));
    }
}

TEST_F(GtfsImport, RoutesTheBoardCannotHoldAreRefused)
{
    // One trip of 302 stops beside the sample's routes, which still import.
    copySample(path("long"), [](const QString& name, QByteArray bytes) {
        if (name == QLatin1String("routes.txt"))
            bytes += "L1,5020001072478,,長い路線,,3,,,,\r\n";
        if (name == QLatin1String("trips.txt"))
            bytes += "L1,平日（月～金）,L1-1,長い路線,,0,,,,,,,\r\n";
        if (name == QLatin1String("stop_times.txt"))
            for (int i = 0; i < 302; ++i)
                bytes += "L1-1,6:00:00,6:00:00," + QByteArray(i % 2 ? "1530-01" : "1535-01") + "," + QByteArray::number(i) + ",,0,0,0,\r\n";
        return bytes;
    });
    const ToolRun run = runTool({"gtfs", path("long"), path("out"), "--route", "L1", "21000-0"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("route L1 (1 trips): 302 stops; a fare table holds at most 301; not imported")))
        << run.err.toStdString();
    EXPECT_EQ(filesIn(path("out")), (QStringList{"2.hy3", "2times.csv", "2tp.csv", "readings.csv", "routes.csv"}));

    EXPECT_EQ(runTool({"gtfs", path("long"), path("out2"), "--route", "L1"}).status, 1);
    EXPECT_FALSE(QFileInfo::exists(path("out2/routes.csv")));
    EXPECT_EQ(runTool({"gtfs", path("long"), path("out3"), "--route", "nope"}).status, 1);
    EXPECT_EQ(runTool({"gtfs", path("long")}).status, 2);
}

TEST_F(GtfsImport, TheBoardShowsTheStopAsRidersKnowIt)
{
    // A pole under a station, a name in half-width katakana, and a fare of four digits.
    writeFeed(path("feed"), {
        {"stops.txt", "stop_id,stop_name,zone_id,location_type,parent_station\n"
                      "P1,青凪駅1番のりば,Z1,0,S\n"
                      "S,青凪駅,,1,\n"
                      "P2,江南総合文化会館ﾋﾟﾋﾟｱ前,Z2,,\n"
                      "P3,ｶﾞｽ橋２番のりば,Z3,0,P2\n"},  // a parent that is no station names nothing
        {"routes.txt", "route_id,route_short_name,route_long_name\nR,,\n"},
        {"trips.txt", "route_id,trip_id,trip_headsign\nR,T,青凪港行\n"},
        {"stop_times.txt", "trip_id,stop_id,stop_sequence\nT,P1,1\nT,P2,2\nT,P3,3\n"},
        {"fare_attributes.txt", "fare_id,price\nF,1020\nG,180\n"},
        {"fare_rules.txt", "fare_id,origin_id,destination_id\nF,Z1,Z3\nG,Z1,Z2\nG,Z2,Z3\n"},
        {"translations.txt", "trans_id,lang,translation\nｶﾞｽ橋２番のりば,ja-Hrkt,がすばしにばんのりば\n"},
    });
    const ToolRun run = runTool({"gtfs", path("feed"), path("out")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const auto rows = fareRows(path("out/1.hy3"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].stopName, QStringLiteral("青凪駅"));
    EXPECT_EQ(rows[1].stopName, QStringLiteral("江南総合文化会館ピピア前"));
    EXPECT_EQ(rows[2].stopName, QStringLiteral("ガス橋"));
    EXPECT_EQ(rows[2].values[0], 1020);  // the fare is the pole's zone's
    // The pole's reading reads the stop, as its name does.
    EXPECT_TRUE(QString::fromUtf8(readFile(path("out/readings.csv"))).contains(QStringLiteral("\nガス橋,がすばし\n")));
    EXPECT_TRUE(QString::fromUtf8(readFile(path("out/routes.csv"))).contains(QStringLiteral(",青凪駅,ガス橋,3,2\n")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("1.hy3: the largest fare, 1020, needs 4 digits; the board's fares have 3, so it shows \"020\"")))
        << run.err.toStdString();

    // What the tool wrote, the tool's own check takes without a word on the names.
    const ToolRun check = runTool({"check", path("out/1.hy3")});
    EXPECT_EQ(check.status, 0);
    EXPECT_FALSE(check.out.contains(QStringLiteral("the stop name"))) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("the largest fare, 1020, needs 4 digits"))) << check.out.toStdString();

    // Each stop is announced, the terminus on the way and on arrival; every stop the board steps
    // to chimes from the column the options read by default.
    const auto entries = tape(path("out/1tp.csv"));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].Text, QStringLiteral("ご乗車ありがとうございます。このバスは、青凪港行きです。"));
    EXPECT_EQ(entries[1].Text, QStringLiteral("次は、江南総合文化会館ピピア前です。お降りの方はボタンでお知らせください。"));
    EXPECT_EQ(entries[2].Text, QStringLiteral("次は、終点、ガス橋です。"));
    EXPECT_EQ(entries[3].Text, QStringLiteral("終点、ガス橋です。お忘れ物のないようご注意ください。"));
    EXPECT_EQ(entries[3].StepFlag, 0);
    for (std::size_t r = 1; r < rows.size(); ++r)
        EXPECT_EQ(rows[r].values[DemoData::ChimeColumn - 1], r + 1 == rows.size() ? 3 : 1);
}

TEST_F(GtfsImport, FareRulesThatMatchNoStopAreSaidAndStillCount)
{
    // R1 charges by distance, one of its rules to a zone no stop has; R2's only rule names such a
    // zone; one rule names a route the feed lacks.
    writeFeed(path("feed"), {
        {"stops.txt", "stop_id,stop_name,zone_id\nA,甲,ZA\nB,乙,ZB\nC,丙,ZC\n"},
        {"routes.txt", "route_id,route_short_name\nR1,1\nR2,2\n"},
        {"trips.txt", "route_id,trip_id\nR1,T1\nR2,T2\n"},
        {"stop_times.txt", "trip_id,stop_id,stop_sequence\nT1,A,1\nT1,B,2\nT1,C,3\nT2,A,1\nT2,B,2\n"},
        {"fare_attributes.txt", "fare_id,price\nF150,150\nF200,200\nF210,210\n"},
        {"fare_rules.txt", "fare_id,route_id,origin_id,destination_id\n"
                           "F150,R1,ZA,ZB\n"
                           "F200,R1,ZA,ZX\n"
                           "F150,R9,ZA,ZB\n"
                           "F210,R2,ZQ,ZQ\n"
                           "F200,R1,ZB,ZX\n"},
    });
    const ToolRun run = runTool({"gtfs", path("feed"), path("out")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    // R1 has two prices, so it is no flat-fare route: A to C has no fare.
    const auto distance = fareRows(path("out/1.hy3"));
    EXPECT_EQ(distance[1].values[0], 150);
    EXPECT_EQ(distance[2].values[0], -1);
    EXPECT_FALSE(run.err.contains(QStringLiteral("route R1 is"))) << run.err.toStdString();
    // R2's one price is its flat fare.
    const auto flat = fareRows(path("out/2.hy3"));
    EXPECT_EQ(flat[1].values[0], 210);
    EXPECT_TRUE(run.err.contains(QStringLiteral("the feed's only fare for route R2 is 210 yen"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("fare_rules.txt:3: 3 rule(s) name an origin_id or destination_id that no stop's zone_id is")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("fare_rules.txt:4: 1 rule(s) name a route_id that routes.txt lacks")))
        << run.err.toStdString();
}

TEST_F(GtfsImport, TheOutputFolderIsAllOldOrAllNew)
{
    // An earlier import of three routes, beside a table of the user's own and a note.
    const QString out = path("out");
    writeFile(out + "/routes.csv", "系統,route_id,route_short_name,route_long_name,direction_id,headsign,first_stop,"
                                   "last_stop,stops,ticket_numbers\n1,a,,,,,,,2,1\n2,b,,,,,,,2,1\n3,c,,,,,,,2,1\n");
    for (const char* name : {"1.hy3", "1tp.csv", "2.hy3", "3.hy3", "3tp.csv", "9.hy3", "readings.csv", "notes.txt"})
        writeFile(out + '/' + name, QByteArray("earlier ") + name);
    QDir().mkpath(out + "/2tp.csv");  // where the import puts a file, a folder: the run fails there
    const auto before = snapshot(out);

    ToolRun run = runTool({"gtfs", kSample, out});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(out + QStringLiteral("/2tp.csv: cannot put the file in place: Is a directory; nothing was changed")))
        << run.err.toStdString();
    EXPECT_EQ(snapshot(out), before);

    // Without the folder in the way, route 3 of the earlier import goes; the user's files stay,
    // and a link planted where the run writes is not written through.
    QDir(out).rmdir("2tp.csv");
    writeFile(path("victim"), "victim");
    ASSERT_TRUE(QFile::link(path("victim"), out + "/.1.hy3.importing"));
    run = runTool({"gtfs", kSample, out});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(path("victim")), QByteArray("victim"));
    EXPECT_EQ(filesIn(out), (QStringList{"1.hy3", "1times.csv", "1tp.csv", "2.hy3", "2times.csv", "2tp.csv", "9.hy3", "notes.txt",
                                        "readings.csv", "routes.csv"}));
    EXPECT_EQ(readFile(out + "/notes.txt"), QByteArray("earlier notes.txt"));

    // A full disk is named as the host names it.
    EXPECT_EQ(datatool::gtfs::writeFileBytes(QStringLiteral("/dev/full"), "x"), QString::fromLocal8Bit(std::strerror(ENOSPC)));
}

TEST_F(GtfsImport, AZipOfTwoFeedsIsRefused)
{
    zip_t* zip = zip_open(QFile::encodeName(path("two.zip")).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_NE(zip, nullptr);
    std::vector<QByteArray> kept;
    for (const char* folder : {"a/", "b/"}) {
        for (const QString& name : QDir(kSample).entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            kept.push_back(readFile(kSample + '/' + name));
            zip_source_t* s = zip_source_buffer(zip, kept.back().constData(), zip_uint64_t(kept.back().size()), 0);
            ASSERT_GE(zip_file_add(zip, (folder + name).toUtf8().constData(), s, ZIP_FL_ENC_UTF_8), 0);
        }
    }
    ASSERT_EQ(zip_close(zip), 0);
    const ToolRun run = runTool({"gtfs", path("two.zip"), path("out")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("two.zip: the zip holds two feeds, a/stops.txt and b/stops.txt"))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("out")));
}

// Rewrites the sizes a zip's headers claim for every entry.
void forgeSizes(const QString& zipPath, quint32 claimed)
{
    QByteArray bytes = readFile(zipPath);
    auto put32 = [&](qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    for (qsizetype at = 0; (at = bytes.indexOf("PK\x01\x02", at)) >= 0; at += 4)
        put32(at + 24, claimed);  // central directory: uncompressed size
    for (qsizetype at = 0; (at = bytes.indexOf("PK\x03\x04", at)) >= 0; at += 4)
        put32(at + 22, claimed);  // local header
    writeFile(zipPath, bytes);
}

TEST_F(GtfsImport, ForgedZipSizesAreRefusedBeforeMemoryRunsOut)
{
    const QByteArray zeros(8 << 20, '0');
    auto makeZip = [&](const QString& file) {
        zip_t* zip = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
        ASSERT_NE(zip, nullptr);
        zip_source_t* s = zip_source_buffer(zip, zeros.constData(), zip_uint64_t(zeros.size()), 0);
        ASSERT_GE(zip_file_add(zip, "stops.txt", s, 0), 0);
        ASSERT_EQ(zip_close(zip), 0);
    };
    makeZip(path("big.zip"));
    forgeSizes(path("big.zip"), 0xFFFFFFF0u);  // "4 GB" from a few KB
    ToolRun run = runTool({"gtfs", path("big.zip"), path("out")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("big.zip/stops.txt: the zip entry unpacks to 4095 MB"))) << run.err.toStdString();

    makeZip(path("small.zip"));
    forgeSizes(path("small.zip"), 1000);  // claims 1000 bytes, unpacks to 8 MB
    run = runTool({"gtfs", path("small.zip"), path("out")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("small.zip/stops.txt: the zip entry"))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("out")));
}

TEST_F(GtfsImport, EachPatternGetsItsTripsTimetableByFirstDeparture)
{
    // 川57's first trip moved past midnight (6:27 becomes 24:27), one call without a time and
    // one whose time is not a time.
    copySample(path("feed"), [](const QString& name, QByteArray bytes) {
        if (name != QLatin1String("stop_times.txt"))
            return bytes;
        QList<QByteArray> lines = bytes.split('\n');
        for (QByteArray& line : lines) {
            if (line.startsWith("21000-0-\xE5\xB9\xB3\xE6\x97\xA5\xEF\xBC\x88\xE6\x9C\x88\xEF\xBD\x9E\xE9\x87\x91\xEF\xBC\x89-001,"))
                line.replace(",6:", ",24:");
        }
        bytes = lines.join('\n');
        bytes.replace(",6:41:00,6:41:00,1535-01,", ",,,1535-01,");
        bytes.replace(",6:52:00,6:52:00,1535-01,", ",6:52,6:52,1535-01,");
        return bytes;
    });
    const ToolRun run = runTool({"gtfs", path("feed"), path("out")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("2times.csv: 1 time(s) that are not H:MM:SS are left empty"))) << run.err.toStdString();

    // As the program reads it back.
    const Timetable times = parseTimetable(readFile(path("out/2times.csv")), QStringLiteral("2times.csv"));
    ASSERT_TRUE(times.fault.isEmpty()) << times.fault.toStdString();
    ASSERT_EQ(times.trips.size(), 3u);
    EXPECT_TRUE(times.trips[0].id.endsWith(QStringLiteral("-002")));
    EXPECT_TRUE(times.trips[1].id.endsWith(QStringLiteral("-003")));
    EXPECT_TRUE(times.trips[2].id.endsWith(QStringLiteral("-001")));
    for (const TimetableTrip& trip : times.trips) {
        EXPECT_EQ(trip.service, QStringLiteral("平日（月～金）"));
        EXPECT_EQ(trip.headsign, QStringLiteral("末吉橋矢向循環"));
        EXPECT_EQ(trip.departures.size(), 21u) << "one time for each stop of the pattern";
    }
    EXPECT_EQ(times.trips[0].departures[1], (6 * 60 + 40) * 60);
    EXPECT_FALSE(times.trips[0].departures[2].has_value());
    EXPECT_FALSE(times.trips[1].departures[2].has_value());
    EXPECT_EQ(times.trips[2].departures[0], (24 * 60 + 27) * 60);
    EXPECT_EQ(times.trips[2].departures[20], (24 * 60 + 54) * 60);
    EXPECT_TRUE(readFile(path("out/2times.csv")).contains(",24:27:00,24:29:00,"));
}

}  // namespace
