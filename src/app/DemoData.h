#pragma once

#include <QString>

#include <cstdint>

namespace fareboard::DemoData {

// The demo route that ships with the program (its folder: demoFolder() in
// platform/InstallPaths.h). Fare data "1.hy3" and broadcast data "1tp.csv" lie there together
// with the chimes named below, so one folder serves as both the fare and the broadcast folder.

inline constexpr int Route = 1;
inline constexpr int StopCount = 15;

// The fare data column that chooses the stepping chime: 1 ordinary stop, 2 main stop,
// 3 terminus. Its list index in the options dialog's column choice is ChimeColumn - 1.
inline constexpr int ChimeColumn = 25;

// The demo sound for the options dialog's txtSelectSound(index), a file name inside the demo
// folder; empty for a sound the demo leaves unset.
inline QString soundFile(int index)
{
    switch (index) {
    // The two entry sounds go by what plays them, not by their captions: the reset plays
    // txtSelectSound(0) (系統設定時) and the keypad keys and digit lists txtSelectSound(1) (リセット時).
    case 0: return QStringLiteral("reset.wav");
    case 1: return QStringLiteral("key.wav");
    case 3: return QStringLiteral("tape2.wav");  // before every announcement, when always
    case 4: return QStringLiteral("tape1.mid");  // before an announcement with chime flag 1
    case 5: return QStringLiteral("tape2.wav");  // ... flag 2
    case 6: return QStringLiteral("tape3.wav");  // ... flag 3
    case 7: return QStringLiteral("step1.wav");  // every data step, when always
    case 8: return QStringLiteral("step1.wav");  // data step, chime column 1
    case 9: return QStringLiteral("step2.wav");  // ... 2
    case 10: return QStringLiteral("step3.wav"); // ... 3
    default: return QString();
    }
}

// The stop-request bell's chime, a file name inside the demo folder.
inline QString stopRequestSound() { return QStringLiteral("bell.wav"); }

// The first start's look, that of a real fare board (colours 0x00BBGGRR): dark cell glass,
// amber segments whose unlit ones glow faintly, amber dots on a black stop-name column.
inline constexpr int32_t DigitGlass = 0x0E1012;
inline constexpr int32_t UnlitSegments = 0x0C2436;
inline constexpr int32_t LitSegments = 0x1298FF;
inline constexpr int32_t ColumnBack = 0x000000;
inline constexpr int32_t ColumnDots = 0x1298FF;

}  // namespace fareboard::DemoData
