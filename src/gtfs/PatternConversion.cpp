#include "PatternConversion.h"

#include "BoardText.h"
#include "FareDataWriter.h"
#include "app/DemoData.h"

#include <algorithm>

namespace fareboard::datatool::gtfs {
namespace {

constexpr int kColumns = 150;
constexpr int kBoardTickets = 24;
// The stepping chime: the column the options read it from by default, and what it holds.
constexpr int kChimeColumn = DemoData::ChimeColumn;
constexpr int16_t kOrdinaryStopChime = 1;
constexpr int16_t kTerminusChime = 3;

QString boardName(const QString& name, const QString& what, QStringList& warnings)
{
    const BoardText board = toBoardText(name);
    if (!board.replaced.isEmpty())
        warnings << QStringLiteral("%1 \"%2\": Shift-JIS cannot hold \"%3\"; the board shows 〓 instead")
                        .arg(what, name, board.replaced);
    return board.text;
}

}  // namespace

QString boundFor(const QString& headsign)
{
    // Blinds often carry the wording already (六本木ヒルズ行, 熊谷駅南口行き).
    if (headsign.endsWith(QStringLiteral("行き")) || headsign.endsWith(QStringLiteral("ゆき")))
        return headsign;
    if (headsign.endsWith(QStringLiteral("行")))
        return headsign + QStringLiteral("き");
    // A loop or a line is what the bus is, not where it goes.
    for (const char16_t* way : {u"循環", u"回り", u"ルート", u"線"}) {
        if (headsign.endsWith(QString::fromUtf16(way)))
            return headsign;
    }
    return headsign + QStringLiteral("行き");
}

std::vector<int> ticketZones(int stopCount, const std::function<std::optional<int>(int, int)>& fare)
{
    std::vector<int> issued;
    if (stopCount <= 0)
        return issued;
    issued.push_back(0);
    for (int r = 1; r + 1 < stopCount; ++r) {
        const int current = issued.back();
        for (int j = r + 1; j < stopCount; ++j) {
            if (fare(current, j) != fare(r, j)) {
                issued.push_back(r);
                break;
            }
        }
    }
    return issued;
}

ConvertedPattern convertPattern(const PatternInput& input)
{
    ConvertedPattern out;
    const int n = int(input.names.size());
    std::vector<QString> names;
    for (int r = 0; r < n; ++r) {
        const QString what = QStringLiteral("stop %1").arg(r + 1);
        names.push_back(boardName(input.names[std::size_t(r)], what, out.warnings));
        if (names.back().size() > kLongNameCharacters)
            out.warnings << QStringLiteral("%1 \"%2\" has %3 characters; the board scrolls it")
                                .arg(what, names.back())
                                .arg(names.back().size());
        else if (names.back().isEmpty())
            out.warnings << QStringLiteral("%1 has no name; the board shows nothing").arg(what);
    }

    // Zones compare every stop's fares with every later stop's; asking the feed once per pair
    // keeps a 301-stop route to a blink.
    std::vector<std::optional<int>> matrix(std::size_t(n) * std::size_t(n));
    for (int i = 0; i < n; ++i)
        for (int j = i; j < n; ++j)
            matrix[std::size_t(i) * std::size_t(n) + std::size_t(j)] = input.fare(i, j);
    const auto fare = [&](int from, int to) { return matrix[std::size_t(from) * std::size_t(n) + std::size_t(to)]; };

    const std::vector<int> issued = ticketZones(n, fare);
    out.ticketCount = int(issued.size());
    if (out.ticketCount > kColumns)
        out.warnings << QStringLiteral("%1 ticket numbers, but a fare table has %2 columns; the rest are left out")
                            .arg(out.ticketCount)
                            .arg(kColumns);
    else if (out.ticketCount > kBoardTickets)
        out.warnings << QStringLiteral("%1 ticket numbers: all are in the file, but the board shows only the first %2")
                            .arg(out.ticketCount)
                            .arg(kBoardTickets);
    const bool chimes = out.ticketCount < kChimeColumn;
    if (!chimes)
        out.warnings << QStringLiteral("column %1, where the stepping chime is read, holds the fares of ticket number %1; "
                                       "no stepping chime is written")
                            .arg(kChimeColumn);

    int ticket = 0;
    int largestFare = 0;
    // A feed's thousand patterns hold all their tables at once until they are written.
    out.rows.reserve(std::size_t(n));
    out.tape.reserve(std::size_t(n) + 1);
    for (int r = 0; r < n; ++r) {
        while (ticket < out.ticketCount && issued[std::size_t(ticket)] <= r)
            ++ticket;
        FareDataFile::Record row;
        row.stopName = names[std::size_t(r)];
        row.ticketNo = int16_t(ticket);
        for (int k = 0; k < std::min(out.ticketCount, kColumns); ++k) {
            const int from = issued[std::size_t(k)];
            if (from > r)
                break;  // not issued yet: 0, a dark cell
            std::optional<int> owed = fare(from, r);
            if (!owed && from == r && r + 1 < n)
                owed = fare(r, r + 1);
            if (!owed)
                ++out.missingFares;
            row.values[std::size_t(k)] = int16_t(owed.value_or(-1));
            if (k < kBoardTickets)
                largestFare = std::max(largestFare, owed.value_or(0));
        }
        if (chimes)
            row.values[kChimeColumn - 1] = r + 1 == n ? kTerminusChime : kOrdinaryStopChime;
        out.rows.push_back(std::move(row));
    }
    if (const QString wide = fareWiderThanBoard(largestFare); !wide.isEmpty())
        out.warnings << wide;

    if (n > 0) {
        const QString bound = input.headsign.isEmpty()
                                  ? names.back() + QStringLiteral("行き")
                                  : boundFor(boardName(input.headsign, QStringLiteral("headsign"), out.warnings));
        out.tape.push_back({QStringLiteral("ご乗車ありがとうございます。このバスは、%1です。").arg(bound), 0, 1});
        for (int r = 1; r < n; ++r) {
            const QString& name = names[std::size_t(r)];
            if (r + 1 < n)
                out.tape.push_back({QStringLiteral("次は、%1です。お降りの方はボタンでお知らせください。").arg(name), 1, 2});
            else
                out.tape.push_back({QStringLiteral("次は、終点、%1です。").arg(name), 1, 3});
        }
        // Arriving is said when the bus stands at the terminus, after the stop was announced;
        // the board is there already.
        out.tape.push_back({QStringLiteral("終点、%1です。お忘れ物のないようご注意ください。").arg(names.back()), 0, 0});
    }
    return out;
}

}  // namespace fareboard::datatool::gtfs
