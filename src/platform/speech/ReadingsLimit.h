#pragma once

#include <QtGlobal>

namespace fareboard {

// The largest readings file the tape, `fareboard-data check` and `say` take, all three alike.
// Every stop of a large region with its reading is a few megabytes; a file past this is
// refused whole and said to be, never read in part.
inline constexpr qint64 kMaxReadingsBytes = 32 * 1024 * 1024;

}  // namespace fareboard
