#pragma once

#include <QColor>

#include <cstdint>

namespace fareboard {

// Colours are stored as 0x00BBGGRR, red in the lowest byte; with the top bit set the low byte
// names one of the desktop's own colours instead.
QColor colorFromOle(int32_t value);

}  // namespace fareboard
