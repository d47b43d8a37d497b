#pragma once

#include <QImage>

namespace fareboard {

// The board's built-in panel picture (488 x 270): the housing, the header with the clock window,
// the stop-name window at the left and the 6 x 4 fare cells with their ticket-number strips,
// drawn around the board's layout so every control sits in its cell.
QImage makeBuiltinPanel();

// The same picture as drawn when the program was built (it is what every start shows, and
// decoding it is far quicker than drawing it); drawn now if the build's copy is missing.
QImage builtinPanel();

}  // namespace fareboard
