#pragma once

#include <QString>

#include <cstdint>

namespace fareboard {

// One digit cell in pixels. A control is `Keta` cells wide and one cell high.
struct DegitCellSize {
    int width;
    int height;
};

// 0 (and anything other than 1 to 3): 13 x 20, 1: 17 x 26, 2: 19 x 29, 3: 11 x 15.
DegitCellSize degitCellSize(int16_t degitSize);

// The segment face of a style, by the name the program gives it ("M_DegitA" for style 0 and
// anything other than 1 or 2, "M_DegitB" for 1, "M_DegitC" for 2), and the installed DSEG7
// family that draws it.
QString degitFaceName(int16_t degitStyle);
QString degitFontFamily(int16_t degitStyle);

// How glyphs fill a cell, fixed when a control is made. Hosts of the old generation drew the
// faces regular with one pixel of extra spacing after each character; every current host
// draws them bold with none. In both, the advance plus the spacing is exactly one cell.
struct DegitRenderVariant {
    bool bold = true;
    int extraSpacing = 0;

    static constexpr DegitRenderVariant modern() { return {true, 0}; }
    static constexpr DegitRenderVariant classic() { return {false, 1}; }
    friend bool operator==(const DegitRenderVariant&, const DegitRenderVariant&) = default;
};

}  // namespace fareboard
