#include "DataTool.h"

#include "BroadcastText.h"
#include "DataCheck.h"
#include "FareCsv.h"
#include "FareDataWriter.h"
#include "InputError.h"
#include "gtfs/GtfsImport.h"
#include "ReadingsCheck.h"
#include "SayCommand.h"
#include "TimetableCheck.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <map>

namespace fareboard::datatool {
namespace {

// Far above any real table (a full fare data file is under 20 MB), small enough to hold in memory.
constexpr qint64 kMaxInputBytes = 64 * 1024 * 1024;

const char* const kOverview =
    "Usage: fareboard-data COMMAND ARGUMENTS...\n"
    "Makes and checks the route files of fareboard.\n"
    "\n"
    "Commands:\n"
    "  import FARES.csv OUT.hy3   make a fare data file from a fare table in UTF-8 CSV\n"
    "  export IN.hy3 OUT.csv      write a fare data file as a UTF-8 CSV fare table\n"
    "  check FILE                 check a fare data file (.hy3), broadcast data (tp.csv),\n"
    "                             a timetable (times.csv) or readings (readings.csv)\n"
    "  sjis IN OUT                convert broadcast data from UTF-8 to Shift-JIS with CR LF\n"
    "  utf8 IN OUT                convert broadcast data from Shift-JIS to UTF-8\n"
    "  gtfs FEED OUTDIR           make routes from a GTFS-JP feed (.zip or folder)\n"
    "  say TEXT... [--folder DIR] print how the voice reads texts; --wav OUT.wav to listen\n"
    "\n"
    "'fareboard-data COMMAND --help' describes a command. Exit status: 0 done, 1 a file is\n"
    "wrong (nothing is written), 2 the command line is wrong.\n";

struct Command {
    int argumentCount;  // -1: the command checks its own arguments
    const char* usage;
    const char* help;
    std::function<int(const QStringList&, QTextStream&, QTextStream&)> run;
};

QString fileErrorText(const AppError& error)
{
    switch (error.number()) {
    case ErrorNumber::FileNotFound: return QStringLiteral("no such file");
    case ErrorNumber::PathNotFound: return QStringLiteral("no such folder");
    case ErrorNumber::PermissionDenied: return QStringLiteral("permission denied");
    case ErrorNumber::PathFileAccess: return QStringLiteral("is a folder");
    case ErrorNumber::DiskFull: return QStringLiteral("the disk is full");
    case ErrorNumber::BadFileName: return QStringLiteral("bad file name");
    default: return QStringLiteral("input/output error");
    }
}

QByteArray readInput(const QString& path)
{
    QByteArray bytes;
    try {
        bytes = readFileBytes(path, kMaxInputBytes + 1);
    } catch (const AppError& error) {
        throw InputError(path, 0, QStringLiteral("cannot read: %1").arg(fileErrorText(error)));
    }
    if (bytes.size() > kMaxInputBytes)
        throw InputError(path, 0, QStringLiteral("larger than %1 MB; this is not a route file").arg(kMaxInputBytes >> 20));
    return bytes;
}

void writeOutput(const QString& path, const QByteArray& bytes)
{
    try {
        writeFileWhole(path, bytes);
    } catch (const AppError& error) {
        throw InputError(path, 0, QStringLiteral("cannot write: %1").arg(fileErrorText(error)));
    }
}

bool endsWith(const QString& path, const char* suffix)
{
    return path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
}

int runImport(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (endsWith(args[0], ".hy3")) {
        err << "fareboard-data import: " << args[0] << " is a fare data file; the CSV table comes first\n";
        return kExitUsage;
    }
    FileSource source(args[0]);
    const auto rows = readFareCsv(source, args[0]);
    const QByteArray bytes = encodeFareData(rows, args[1]);
    // The names were fine for the file; say what the board will make of them before writing.
    const CheckReport report = checkFareData(bytes, args[1]);
    for (const QString& warning : report.warnings)
        err << "warning: " << warning << '\n';
    writeOutput(args[1], bytes);
    out << args[1] << ": " << rows.size() << " stops written\n";
    return kExitOk;
}

int runExport(const QStringList& args, QTextStream& out, QTextStream&)
{
    const auto rows = decodeFareData(readInput(args[0]), args[0]);
    writeOutput(args[1], writeFareCsv(rows));
    out << args[1] << ": " << rows.size() << " stops written\n";
    return kExitOk;
}

// The stops of the fare table beside a timetable ("12times.csv" beside "12.hy3"), which its
// trips' times are for; none when there is no such table, with a warning when it is unreadable.
std::optional<int> stopsBeside(const QString& timetable, CheckReport& report)
{
    const QFileInfo file(timetable);
    const QString table = resolveIgnoringCase(
        file.dir().filePath(file.fileName().chopped(int(qstrlen("times.csv"))) + QStringLiteral(".hy3")));
    if (!QFileInfo(table).isFile())
        return std::nullopt;
    try {
        return int(decodeFareData(readInput(table), table).size());
    } catch (const InputError& e) {
        report.warnings << QStringLiteral("the fare table beside it cannot be read (%1); the trips' stops are not checked")
                               .arg(e.message());
        return std::nullopt;
    }
}

int runCheck(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString& path = args[0];
    CheckReport report;
    if (endsWith(path, ".hy3")) {
        report = checkFareData(readInput(path), path);
    } else if (endsWith(path, "tp.csv")) {
        report = checkBroadcastData(readInput(path), path);
    } else if (endsWith(path, "readings.csv")) {
        report = checkReadingsFile(readInput(path), path);
    } else if (endsWith(path, "times.csv")) {
        report = checkTimetable(readInput(path), path, stopsBeside(path, report));
    } else {
        err << "fareboard-data check: " << path
            << ": the name ends neither in .hy3 (fare data), tp.csv (broadcast data), times.csv (timetable) nor "
               "readings.csv\n";
        return kExitUsage;
    }
    for (const QString& line : report.summary)
        out << line << '\n';
    for (const QString& warning : report.warnings)
        out << "warning: " << warning << '\n';
    for (const QString& error : report.errors)
        err << "error: " << error << '\n';
    out << (report.ok() ? QStringLiteral("OK") : QStringLiteral("%1 error(s)").arg(report.errors.size()))
        << (report.warnings.isEmpty() ? QString() : QStringLiteral(", %1 warning(s)").arg(report.warnings.size())) << '\n';
    return report.ok() ? kExitOk : kExitBadInput;
}

int runSjis(const QStringList& args, QTextStream& out, QTextStream&)
{
    writeOutput(args[1], broadcastToShiftJis(readInput(args[0]), args[0]));
    out << args[1] << ": written in Shift-JIS\n";
    return kExitOk;
}

int runUtf8(const QStringList& args, QTextStream& out, QTextStream&)
{
    writeOutput(args[1], broadcastToUtf8(readInput(args[0]), args[0]));
    out << args[1] << ": written in UTF-8\n";
    return kExitOk;
}

const std::map<QString, Command>& commands()
{
    static const std::map<QString, Command> table{
        {QStringLiteral("import"),
         {2, "fareboard-data import FARES.csv OUT.hy3",
          "Makes the fare data file OUT.hy3 from a fare table in UTF-8 CSV.\n"
          "\n"
          "The first row is a header: two labels (stop name, ticket number), then the data\n"
          "column numbers 1, 2, 3 ... in order, at most 150. Below it one row per stop in\n"
          "running order, 2 to 301 (a reset starts before the last stop): the stop name,\n"
          "its ticket number (整理券番号) and one whole number for each data column. Columns 1 to 24 are the fares shown under\n"
          "ticket numbers 1 to 24; any column can drive the stepping chimes or an information\n"
          "digit. Numbers run from -32768 to 32767; -1 marks a column without a fare.\n"
          "Every row has as many fields as the header. Stop names must be writable in\n"
          "Shift-JIS. On any fault the line is named and OUT.hy3 is left as it was.\n",
          runImport}},
        {QStringLiteral("export"),
         {2, "fareboard-data export IN.hy3 OUT.csv",
          "Writes the fare data file IN.hy3 as a UTF-8 CSV fare table that 'import' reads\n"
          "back: a header, then one row per stop with its name, ticket number and the data\n"
          "columns up to the last one that holds a value other than 0.\n",
          runExport}},
        {QStringLiteral("check"),
         {1, "fareboard-data check FILE",
          "Checks a fare data file (name ending in .hy3), broadcast data (tp.csv), a timetable\n"
          "(times.csv) or readings (readings.csv) the way the program will read it, and lists\n"
          "what it holds.\n"
          "\n"
          "Fare data: the stop count (1 to 301), the sections a reset accepts, every row\n"
          "complete, stop names that are empty, too long, not Shift-JIS or have half-width\n"
          "characters, fares wider than the board's three digits.\n"
          "Broadcast data: Shift-JIS text, three fields per line (text, step flag, chime flag):\n"
          "a line with fewer fields borrows them from the next line and shifts every later\n"
          "entry; quotes left open; flags that are not numbers; then the entries as the tape\n"
          "reads them.\n"
          "Readings (readings.csv): every line the tape would skip, as FILE:LINE: why.\n"
          "Timetable (Ntimes.csv): a line the operation panel refuses, the trips and when they\n"
          "leave, trips without a time, and trips whose times do not fit N.hy3 beside it.\n"
          "Exit status 1 when there are errors; warnings alone give 0.\n",
          runCheck}},
        {QStringLiteral("sjis"),
         {2, "fareboard-data sjis IN OUT",
          "Converts broadcast data written in UTF-8 (IN) to Shift-JIS with CR LF line ends\n"
          "(OUT), the form the program reads as <route>tp.csv. A character Shift-JIS cannot\n"
          "hold is named with its line, and nothing is written.\n",
          runSjis}},
        {QStringLiteral("utf8"),
         {2, "fareboard-data utf8 IN OUT",
          "Converts broadcast data in Shift-JIS (IN, e.g. 12tp.csv) to UTF-8 with LF line\n"
          "ends (OUT) for editing; 'sjis' turns it back.\n",
          runUtf8}},
        {QStringLiteral("gtfs"), {-1, gtfs::kGtfsUsage, gtfs::kGtfsHelp, gtfs::runGtfs}},
        {QStringLiteral("say"), {-1, kSayUsage, kSayHelp, runSay}},
    };
    return table;
}

bool isHelp(const QString& argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

}  // namespace

int runDataTool(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty()) {
        err << kOverview;
        return kExitUsage;
    }
    const QString& name = arguments[0];
    if (isHelp(name) || name == QLatin1String("help")) {
        const auto asked = arguments.size() > 1 ? commands().find(arguments[1]) : commands().end();
        if (asked != commands().end())
            out << "Usage: " << asked->second.usage << "\n\n" << asked->second.help;
        else
            out << kOverview;
        return kExitOk;
    }
    const auto command = commands().find(name);
    if (command == commands().end()) {
        err << "fareboard-data: unknown command '" << name << "'\n\n" << kOverview;
        return kExitUsage;
    }
    const QStringList rest = arguments.mid(1);
    if (std::any_of(rest.begin(), rest.end(), isHelp)) {
        out << "Usage: " << command->second.usage << "\n\n" << command->second.help;
        return kExitOk;
    }
    if (command->second.argumentCount >= 0 && rest.size() != command->second.argumentCount) {
        err << "Usage: " << command->second.usage << "\n('fareboard-data " << name << " --help' says more)\n";
        return kExitUsage;
    }
    try {
        return command->second.run(rest, out, err);
    } catch (const InputError& error) {
        err << "fareboard-data " << name << ": " << error.message() << '\n';
        return kExitBadInput;
    }
}

}  // namespace fareboard::datatool
