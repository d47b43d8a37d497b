#include "ChimeiLayout.h"

#include "extlib/ByteText.h"

namespace fareboard {

ChimeiLayout chimeiLayout(int characters, int mode)
{
    // Names of up to six characters are centred in the 192-pixel column.
    switch (characters) {
    case 0:
        return {0, 0, kChimeiColumnHeight, false};
    case 1:
        return {80, 0, kChimeiColumnHeight, false};
    case 2:
        return mode == 2 ? ChimeiLayout{48, 64, kChimeiColumnHeight, false}
                         : ChimeiLayout{32, 96, kChimeiColumnHeight, false};
    case 3:
        return {16, 64, kChimeiColumnHeight, false};
    case 4:
        return {8, 48, kChimeiColumnHeight, false};
    case 5:
        return {4, 38, kChimeiColumnHeight, false};
    case 6:
        return {0, kChimeiSlot, kChimeiColumnHeight, false};
    default:
        if (characters < 0)
            return {0, 0, kChimeiColumnHeight, false};
        return {0, kChimeiSlot, characters * kChimeiSlot, true};
    }
}

QStringList chimeiUnits(const QString& name)
{
    const int bytes = LenB_ASCII(name);
    QStringList units;
    units.reserve(bytes);
    for (int i = 1; i <= bytes; ++i)
        units << MidB_ASCII(name, 2 * i - 1, 2);
    return units;
}

}  // namespace fareboard
