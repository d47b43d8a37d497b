#pragma once

#include <thread>

namespace fareboard {

// Fills Qt's font database (the installed faces, read through fontconfig) on a thread of its
// own. The database is shared by every thread and filled at first use, which the first window
// with text would otherwise wait for; started right after the application object, the work
// overlaps with building the windows on the other core. Only the database: font engines are
// made per thread and under the database's lock, so making them here would hold up the
// windows instead. Join it before the program ends.
std::thread warmUpFontDatabase();

}  // namespace fareboard
