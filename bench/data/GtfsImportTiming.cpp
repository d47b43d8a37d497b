// Times fareboard-data gtfs on the sample feed and on a large feed made here from the sample's
// shape: its two routes plus routes of 300 stops whose fares go by origin and destination
// stop, each pair a rule, until fare_rules.txt passes 10 MB. Both runs go through
// /usr/bin/time -v, which reports wall time and peak memory of the tool alone.
//
// Usage: gtfs_import_timing [runs, default 3]. Exit status 1 when a budget is missed:
// the sample under 1 s, the large feed under 10 s and 500 MB.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Measure {
    double seconds = 0;
    long peakKb = 0;
    int status = -1;
};

Measure timeImport(const QString& feed, const QString& out)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/time"), {QStringLiteral("-v"), QStringLiteral(FAREBOARD_DATA_TOOL), QStringLiteral("gtfs"), feed, out});
    p.waitForFinished(120000);
    const QString report = QString::fromUtf8(p.readAllStandardError());
    Measure m;
    m.status = p.exitCode();
    const auto elapsed = QRegularExpression(QStringLiteral("Elapsed \\(wall clock\\) time.*: (?:(\\d+):)?(\\d+):([\\d.]+)")).match(report);
    if (elapsed.hasMatch())
        m.seconds = elapsed.captured(1).toDouble() * 3600 + elapsed.captured(2).toDouble() * 60 + elapsed.captured(3).toDouble();
    const auto peak = QRegularExpression(QStringLiteral("Maximum resident set size \\(kbytes\\): (\\d+)")).match(report);
    if (peak.hasMatch())
        m.peakKb = peak.captured(1).toLong();
    return m;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray sampleFile(const QString& name)
{
    QFile f(QStringLiteral(FAREBOARD_GTFS_SAMPLE) + '/' + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The sample with routes B1, B2 ... of 300 stops each added, every stop its own zone, fares
// rising by section of three stops, and one trip per route.
bool makeLargeFeed(const QString& dir, qint64 fareRulesBytes)
{
    QDir().mkpath(dir);
    for (const QString& name : QDir(QStringLiteral(FAREBOARD_GTFS_SAMPLE)).entryList({QStringLiteral("*.txt")}, QDir::Files))
        if (!write(dir + '/' + name, sampleFile(name)))
            return false;
    QByteArray stops = sampleFile(QStringLiteral("stops.txt"));
    QByteArray routes = sampleFile(QStringLiteral("routes.txt"));
    QByteArray trips = sampleFile(QStringLiteral("trips.txt"));
    QByteArray times = sampleFile(QStringLiteral("stop_times.txt"));
    QByteArray attributes = sampleFile(QStringLiteral("fare_attributes.txt"));
    QByteArray rules = sampleFile(QStringLiteral("fare_rules.txt"));
    constexpr int kStops = 300;
    for (int price = 150; price <= 150 + 10 * kStops; price += 10)
        attributes += "B_" + QByteArray::number(price) + ',' + QByteArray::number(price) + ",JPY,0,0,\r\n";
    for (int route = 1; rules.size() < fareRulesBytes; ++route) {
        const QByteArray id = "B" + QByteArray::number(route);
        routes += id + ",5020001072478,," + id + "線,,3,,,,\r\n";
        trips += id + ",平日（月～金）," + id + "-1," + id + "終点,,0,,,,,,,\r\n";
        for (int s = 0; s < kStops; ++s) {
            const QByteArray stop = id + "-" + QByteArray::number(s);
            stops += stop + ",停留所" + stop + "前,,35.5,139.7," + stop + ",,0,\r\n";
            times += id + "-1,7:00:00,7:00:00," + stop + ',' + QByteArray::number(s) + ",,0,0,,\r\n";
        }
        for (int a = 0; a < kStops; ++a)
            for (int b = a + 1; b < kStops; ++b)
                rules += "B_" + QByteArray::number(150 + 10 * (b / 3 - a / 3)) + ',' + id + ',' + id + '-' +
                         QByteArray::number(a) + ',' + id + '-' + QByteArray::number(b) + ",\r\n";
    }
    return write(dir + "/stops.txt", stops) && write(dir + "/routes.txt", routes) && write(dir + "/trips.txt", trips) &&
           write(dir + "/stop_times.txt", times) && write(dir + "/fare_attributes.txt", attributes) &&
           write(dir + "/fare_rules.txt", rules);
}

Measure median(std::vector<Measure> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Measure& a, const Measure& b) { return a.seconds < b.seconds; });
    Measure m = runs[runs.size() / 2];
    for (const Measure& r : runs)
        m.peakKb = std::max(m.peakKb, r.peakKb);
    return m;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    if (!QFile::exists(QStringLiteral("/usr/bin/time"))) {
        std::fprintf(stderr, "/usr/bin/time is missing (Debian package time)\n");
        return 2;
    }
    QTemporaryDir scratch;
    const QString large = scratch.filePath(QStringLiteral("large"));
    if (!makeLargeFeed(large, 10 * 1000 * 1000)) {
        std::fprintf(stderr, "cannot write the large feed\n");
        return 2;
    }
    const qint64 rulesBytes = QFileInfo(large + "/fare_rules.txt").size();

    std::vector<Measure> sample, big;
    for (int i = 0; i < runs; ++i) {
        sample.push_back(timeImport(QStringLiteral(FAREBOARD_GTFS_SAMPLE), scratch.filePath(QStringLiteral("out-sample"))));
        big.push_back(timeImport(large, scratch.filePath(QStringLiteral("out-large"))));
    }
    const Measure s = median(sample), b = median(big);
    std::printf("feed                         fare_rules   median time   peak memory   exit\n");
    std::printf("sample (kawasaki-rinko)      %7.2f MB   %9.3f s   %8.1f MB   %d\n",
                QFileInfo(QStringLiteral(FAREBOARD_GTFS_SAMPLE "/fare_rules.txt")).size() / 1e6, s.seconds, s.peakKb / 1024.0, s.status);
    std::printf("large (sample + 300-stop)    %7.2f MB   %9.3f s   %8.1f MB   %d\n", rulesBytes / 1e6, b.seconds,
                b.peakKb / 1024.0, b.status);
    const bool ok = s.status == 0 && b.status == 0 && s.seconds < 1.0 && b.seconds < 10.0 && b.peakKb < 500 * 1024;
    std::printf("%s (budgets: sample < 1 s; large < 10 s and < 500 MB)\n", ok ? "within budget" : "OVER BUDGET");
    return ok ? 0 : 1;
}
