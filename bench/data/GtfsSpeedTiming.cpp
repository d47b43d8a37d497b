// Times `fareboard-data gtfs` against a plain Python csv.reader pass over the same files, on
// generated feeds of 250, 500 and 1000 routes. Each run of a size takes its turn at the Python
// pass, the import and `--list`, so a busy machine slows all three alike; the figures are the
// medians. Peak memory is each process's own ru_maxrss.
//
// Usage: gtfs_speed_timing [--runs N] [--routes 250,500,1000] [--before TOOL]
//   --before TOOL  also times another build of fareboard-data (the one before a change) in the
//                  same runs, and checks that both write the same files and the same list.
// Exit status 1 when a goal is missed: the import no slower than the Python pass; for feeds up to
// 500 routes (59 MB) at most 150 MB, `--list` at most 75 MB; time and memory growing no faster
// than the feed; 2 when something cannot run.
#include "FeedGenerator.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Reads every row of every .txt of the folder and does nothing with it but count it.
const char* const kPythonPass =
    "import csv, glob, os, sys\n"
    "rows = 0\n"
    "for path in sorted(glob.glob(os.path.join(sys.argv[1], '*.txt'))):\n"
    "    with open(path, newline='', encoding='utf-8') as f:\n"
    "        for row in csv.reader(f):\n"
    "            rows += 1\n";

// What making the import's files costs the file system alone: as many new files, each written
// and closed, in a new folder. On a file system slow to find free inodes this is a good part
// of the import's time, which the reading pass above does not have to spend.
const char* const kPythonCreate =
    "import os, sys\n"
    "os.makedirs(sys.argv[1])\n"
    "for i in range(int(sys.argv[2])):\n"
    "    with open(os.path.join(sys.argv[1], '%d.csv' % i), 'wb') as f:\n"
    "        f.write(b'x')\n";

struct Run {
    double wall = 0;  // seconds
    double cpu = 0;   // user + system seconds
    double system = 0;
    long peakKb = 0;
    int status = -1;
};

// Runs the command with its output going to `output` and measures it. The figures of the
// process come from /usr/bin/time (its wait4's rusage): a process started from this one
// directly would count this one's memory as its own, since the kernel carries the largest
// resident size over an exec.
Run measure(const std::vector<std::string>& command, const std::string& stats, const char* output = "/dev/null")
{
    std::vector<std::string> timed{"/usr/bin/time", "-f", "%U %S %M", "-o", stats};
    timed.insert(timed.end(), command.begin(), command.end());
    std::vector<char*> argv;
    for (const std::string& a : timed)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    double user = 0, system = 0;
    if (FILE* f = std::fopen(stats.c_str(), "r")) {
        // A killed command makes time write a line of its own first; the figures are the last line.
        char line[256];
        while (std::fgets(line, sizeof line, f))
            std::sscanf(line, "%lf %lf %ld", &user, &system, &run.peakKb);
        std::fclose(f);
    }
    run.cpu = user + system;
    run.system = system;
    return run;
}

struct Summary {
    double wall = 0, cpu = 0, system = 0;
    double peakMb = 0;
    bool failed = false;
};

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

Summary summarise(const std::vector<Run>& runs)
{
    Summary s;
    std::vector<double> wall, cpu, system;
    for (const Run& r : runs) {
        wall.push_back(r.wall);
        cpu.push_back(r.cpu);
        system.push_back(r.system);
        s.peakMb = std::max(s.peakMb, r.peakKb / 1024.0);
        s.failed |= r.status != 0;
    }
    s.wall = medianOf(wall);
    s.cpu = medianOf(cpu);
    s.system = medianOf(system);
    return s;
}

std::map<QString, QByteArray> filesIn(const QString& dir)
{
    std::map<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden); it.hasNext();) {
        const QString path = it.next();
        QFile f(path);
        files[QDir(dir).relativeFilePath(path)] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }
    return files;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qint64 folderBytes(const QString& dir)
{
    qint64 total = 0;
    for (const auto& [name, bytes] : filesIn(dir))
        total += bytes.size();
    return total;
}

struct Tool {
    const char* label;
    std::string path;
    std::vector<Run> import, list;
};

struct Row {
    int routes = 0;
    double feedMb = 0;
    Summary python;
    Summary creating;  // as many files as the import writes
    int files = 0;
    std::vector<std::pair<Summary, Summary>> tools;  // (import, list) per tool
    bool same = true;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 5;
    std::vector<int> sizes{250, 500, 1000};
    std::vector<Tool> tools{{"now", FAREBOARD_DATA_TOOL, {}, {}}};
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else if (a == QLatin1String("--routes") && i + 1 < args.size()) {
            sizes.clear();
            for (const QString& n : args[++i].split(QLatin1Char(',')))
                sizes.push_back(std::max(1, n.toInt()));
        } else if (a == QLatin1String("--before") && i + 1 < args.size()) {
            tools.push_back({"before", args[++i].toStdString(), {}, {}});
        } else {
            std::fprintf(stderr, "Usage: gtfs_speed_timing [--runs N] [--routes 250,500,1000] [--before TOOL]\n");
            return 2;
        }
    }

    if (!QFile::exists(QStringLiteral("/usr/bin/time"))) {
        std::fprintf(stderr, "/usr/bin/time is missing (Debian package time)\n");
        return 2;
    }
    QTemporaryDir scratch;
    const std::string stats = scratch.filePath(QStringLiteral("time.txt")).toStdString();
    std::vector<Row> rows;
    for (int routes : sizes) {
        const QString feed = scratch.filePath(QStringLiteral("feed-%1").arg(routes));
        if (!fareboard::bench::writeGeneratedFeed(feed, routes)) {
            std::fprintf(stderr, "cannot write the feed of %d routes\n", routes);
            return 2;
        }
        Row row;
        row.routes = routes;
        row.feedMb = folderBytes(feed) / 1e6;
        std::vector<Run> python, creating;
        for (Tool& tool : tools) {
            tool.import.clear();
            tool.list.clear();
        }
        for (int r = 0; r < runs; ++r) {
            python.push_back(measure({"python3", "-c", kPythonPass, feed.toStdString()}, stats));
            for (Tool& tool : tools) {
                // A new folder each run, all removed at the end: files deleted just before make
                // the file system look longer for free inodes, which would be charged to the import.
                const QString out = scratch.filePath(QStringLiteral("out-%1-%2-%3").arg(tool.label).arg(routes).arg(r));
                tool.import.push_back(measure({tool.path, "gtfs", feed.toStdString(), out.toStdString()}, stats));
                const QString listed = out + QStringLiteral(".list");
                tool.list.push_back(
                    measure({tool.path, "gtfs", feed.toStdString(), "--list"}, stats, listed.toLocal8Bit().constData()));
            }
            if (r == 0)
                row.files = int(filesIn(scratch.filePath(QStringLiteral("out-now-%1-0").arg(routes))).size());
            const QString made = scratch.filePath(QStringLiteral("made-%1-%2").arg(routes).arg(r));
            creating.push_back(
                measure({"python3", "-c", kPythonCreate, made.toStdString(), std::to_string(row.files)}, stats));
        }
        row.python = summarise(python);
        row.creating = summarise(creating);
        for (const Tool& tool : tools)
            row.tools.emplace_back(summarise(tool.import), summarise(tool.list));
        if (tools.size() > 1) {
            const QString now = scratch.filePath(QStringLiteral("out-now-%1-0").arg(routes));
            const QString before = scratch.filePath(QStringLiteral("out-before-%1-0").arg(routes));
            row.same = filesIn(now) == filesIn(before) && fileBytes(now + ".list") == fileBytes(before + ".list");
        }
        rows.push_back(row);
        std::fprintf(stderr, "%d routes done\n", routes);
    }

    std::printf("%d runs each, medians; wall s / cpu s (user+system, of which system); peak = ru_maxrss\n\n", runs);
    std::printf("routes  feed MB  tool    python wall/cpu   import wall/cpu (sys)    ratio w/c    import peak  "
                "list wall/cpu  list peak\n");
    bool ok = true;
    for (const Row& row : rows) {
        for (std::size_t t = 0; t < tools.size(); ++t) {
            const auto& [import, list] = row.tools[t];
            std::printf("%6d  %7.1f  %-6s  %6.3f / %6.3f   %6.3f / %6.3f (%5.3f)  %4.2f / %4.2f  %8.1f MB  %5.3f / %5.3f  "
                        "%6.1f MB%s\n",
                        row.routes, row.feedMb, tools[t].label, row.python.wall, row.python.cpu, import.wall, import.cpu,
                        import.system, import.wall / row.python.wall, import.cpu / row.python.cpu, import.peakMb, list.wall,
                        list.cpu, list.peakMb, import.failed || list.failed ? "  (FAILED)" : "");
        }
        std::printf("        python making the import's %d files alone: %.3f s wall / %.3f cpu (%.3f sys)\n", row.files,
                    row.creating.wall, row.creating.cpu, row.creating.system);
        const auto& [import, list] = row.tools.front();
        ok &= !import.failed && !list.failed && import.wall <= row.python.wall;
        // The memory budget is for a feed of 500 routes; larger feeds may take more in proportion.
        if (row.routes <= 500)
            ok &= import.peakMb <= 150 && list.peakMb <= 75;
        if (tools.size() > 1) {
            std::printf("        outputs of both tools %s\n", row.same ? "identical" : "DIFFER");
            ok &= row.same;
        }
    }
    // Twice the feed may cost twice the time and memory; a little more is noise, much more is not.
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const double size = double(rows[i].routes) / rows[i - 1].routes;
        const Summary& a = rows[i - 1].tools.front().first;
        const Summary& b = rows[i].tools.front().first;
        const double time = b.cpu / a.cpu, memory = b.peakMb / a.peakMb;
        std::printf("%d -> %d routes (x%.2f): import cpu x%.2f, peak x%.2f\n", rows[i - 1].routes, rows[i].routes, size,
                    time, memory);
        ok &= time <= size * 1.25 && memory <= size * 1.25;
    }
    std::printf("%s (goals: import <= python pass; up to 500 routes <= 150 MB, --list <= 75 MB; growth linear)\n",
                ok ? "goals met" : "GOALS MISSED");
    return ok ? 0 : 1;
}
