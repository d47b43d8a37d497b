#include "FuzzTarget.h"

#include "operation/RunSchedule.h"
#include "operation/Timetable.h"

#include <vector>

using namespace fareboard;

std::vector<QByteArray> fuzzSeeds()
{
    return {QByteArray("21000-0-001,平日,末吉橋矢向循環,6:27:00,6:29:00,6:30:00,6:30:00,,6:33:00\n"
                       "21000-0-002,平日,\"川崎駅西口, 矢向経由\",23:58:00,24:01:00,25:10:30\n"),
            QByteArray("\xEF\xBB\xBFt,s,h,,,,\r\nt2,s,h,99:59:59\r\n"),
            QByteArray("t,s,h,6:27:00,6:7:00\n")};
}

// Reads the bytes as the operation panel reads a route's timetable, then plans each trip over
// routes shorter and longer than it, as a run would.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Timetable table = parseTimetable(bytes, QStringLiteral("1times.csv"));
    for (const TimetableTrip& trip : table.trips) {
        for (int rows : {2, 5, 301}) {
            const RunPlan plan = planTrip(trip.departures, rows);
            double before = plan.begin;
            for (const RunStep& step : plan.steps) {
                if (step.at < before)
                    __builtin_trap();  // a run never steps back in time
                before = step.at;
            }
        }
    }
    return 0;
}
