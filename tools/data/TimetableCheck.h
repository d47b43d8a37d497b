#pragma once

#include "DataCheck.h"

#include <optional>

namespace fareboard::datatool {

// A route's timetable, "<route>times.csv", as the operation panel reads it: a fault refuses the
// whole file (the panel then runs a minute a stop), named with its line. Then what a timetable
// run makes of it: the trips and when they leave, trips without a time, and, where the route's
// fare table has `stops` rows, trips whose times are more or fewer than its stops.
CheckReport checkTimetable(const QByteArray& bytes, const QString& fileName, std::optional<int> stops);

}  // namespace fareboard::datatool
