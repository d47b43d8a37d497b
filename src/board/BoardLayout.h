#pragma once

#include <QRect>

namespace fareboard::BoardLayout {

// Where everything sits on the board, in pixels from the client area's top left. The panel
// picture is drawn around these rectangles, so the two always agree.

inline constexpr int kClientWidth = 487;
inline constexpr int kClientHeight = 269;
inline constexpr int kPanelWidth = 488;   // the built-in picture is one pixel larger each way
inline constexpr int kPanelHeight = 270;

inline constexpr int kFareColumns = 6;
inline constexpr int kFareRows = 4;
// Cells of each fare: a fare of more digits shows only its last ones.
inline constexpr int kFareDigits = 3;

// Degit(1..24), left to right, top to bottom; 57 x 29.
QRect degitRect(int index);
// lblSeiriNum(1..24), just above the matching digit; 52 x 16.
QRect seiriNumRect(int index);

inline constexpr QRect kDegit0Rect{140, 2, 52, 20};
inline constexpr QRect kSeiriNum0Rect{79, 3, 52, 16};
inline constexpr QRect kTimeDegitRect[2] = {{363, 2, 26, 20}, {390, 2, 26, 20}};
inline constexpr QRect kChimeiRect{29, 41, 35, 192};

}  // namespace fareboard::BoardLayout
