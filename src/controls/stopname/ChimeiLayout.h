#pragma once

#include <QString>
#include <QStringList>

namespace fareboard {

// Where the characters of a name go in the column: the first character's top, the distance
// from one character's top to the next, and the height of the strip they are drawn on.
struct ChimeiLayout {
    int firstTop = 0;
    int pitch = 0;
    int stripHeight = 192;
    bool scrolls = false;  // too long to stand still; drawn below the window and moved through it
};

inline constexpr int kChimeiColumnHeight = 192;
// Each character takes 16 dots at a pitch of two pixels.
inline constexpr int kChimeiSlot = 32;

// Layout for a name of `characters` double-byte characters; `mode` 2 sets two-character names
// closer together than any other mode does.
ChimeiLayout chimeiLayout(int characters, int mode);

// The drawing units of a name: its Shift-JIS form cut into byte pairs 1-2, 3-4, ..., one unit
// for each byte, so the list ends in empty units that draw nothing. A pair that splits a
// double-byte character comes back as whatever the conversion makes of the loose byte.
QStringList chimeiUnits(const QString& name);

}  // namespace fareboard
