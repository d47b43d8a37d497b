// The GTFS-JP import run as a user runs it, on the sample feed the project ships and on
// damaged copies of it.
#include "ToolRun.h"
#include "announce/BroadcastData.h"
#include "console/FareDataFile.h"
#include "operation/Timetable.h"
#include "platform/ShiftJis.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

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

QByteArray keep(const QString&, QByteArray bytes) { return bytes; }

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
    EXPECT_EQ(lines[1], QStringLiteral("1\t25000-1\t川56\t矢向末吉橋循環\t1\t矢向末吉橋循環\t川崎駅西口５７番のりば\t川崎駅西口１番のりば\t22\t1"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("2\t21000-0\t川57\t末吉橋矢向循環\t0\t末吉橋矢向循環\t川崎駅西口５９番のりば\t川崎駅西口１番のりば\t21\t")))
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

    // The stops of the busiest trip of each route, from the feed itself.
    std::map<QString, QString> nameOf, zoneOf;
    for (const QStringList& s : table(QStringLiteral("stops.txt"))) {
        nameOf[s[0]] = s[1];
        zoneOf[s[0]] = s[5];
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

    // The tape: a greeting, then each next stop, the last as the terminus, every one a step.
    const auto entries = tape(out + "/2tp.csv");
    ASSERT_EQ(entries.size(), rows2.size());
    EXPECT_EQ(entries[0].Text, QStringLiteral("ご乗車ありがとうございます。このバスは、末吉橋矢向循環行きです。"));
    EXPECT_EQ(entries[0].StepFlag, 0);
    EXPECT_EQ(entries[1].Text, QStringLiteral("次は、") + rows2[1].stopName + QStringLiteral("です。"));
    EXPECT_EQ(entries[1].StepFlag, 1);
    EXPECT_EQ(entries[1].ChimeFlag, 2);
    EXPECT_EQ(entries.back().Text,
              QStringLiteral("次は、終点、") + rows2.back().stopName + QStringLiteral("です。お忘れ物のないようご注意ください。"));
    EXPECT_EQ(entries.back().ChimeFlag, 3);
    EXPECT_TRUE(readFile(out + "/2tp.csv").endsWith("\r\n"));

    // Readings for the names the routes show, Japanese only.
    const QString readings = QString::fromUtf8(readFile(out + "/readings.csv"));
    for (const char* line : {"\n川崎駅西口,かわさきえきにしぐち\n", "\n番のりば,ばんのりば\n", "\n矢向,やこう\n", "\n循環,じゅんかん\n"})
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
            out += f[5] + ",\"" + f[1] + "\",extra," + f[0] + '\n';
        }
        return out.replace("\"stop_name\",extra", "stop_name,platform_code");
    });
    const ToolRun run = runTool({"gtfs", path("other"), path("other-out")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (const char* file : {"1.hy3", "1tp.csv", "2.hy3", "2tp.csv", "routes.csv"})
        EXPECT_EQ(readFile(path("other-out/") + file), readFile(path("plain/") + file)) << file;
    EXPECT_EQ(readFile(path("other-out/readings.csv")).split('\n').mid(1),
              (QList<QByteArray>{"川崎駅西口,かわさきえきにしぐち", "南幸町１番のりば,みなみさいわいちょう", ""}));

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
