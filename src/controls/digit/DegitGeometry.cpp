#include "DegitGeometry.h"

namespace fareboard {

DegitCellSize degitCellSize(int16_t degitSize)
{
    switch (degitSize) {
    case 1: return {17, 26};
    case 2: return {19, 29};
    case 3: return {11, 15};
    default: return {13, 20};
    }
}

QString degitFaceName(int16_t degitStyle)
{
    switch (degitStyle) {
    case 1: return QStringLiteral("M_DegitB");
    case 2: return QStringLiteral("M_DegitC");
    default: return QStringLiteral("M_DegitA");
    }
}

QString degitFontFamily(int16_t degitStyle)
{
    // Classic has the bevelled segments of older boards, Modern the square ones, and Classic
    // Mini the thin segments of small displays.
    switch (degitStyle) {
    case 1: return QStringLiteral("DSEG7 Modern");
    case 2: return QStringLiteral("DSEG7 Classic Mini");
    default: return QStringLiteral("DSEG7 Classic");
    }
}

}  // namespace fareboard
