#pragma once

#include "controls/digit/DegitValue.h"

#include <cstdint>

namespace fareboard {

// The presentation settings that turn a value into the characters a digit control lights.
struct DegitTextRules {
    int16_t zeroMode = 0;  // 0..3, see degitDisplayText; anything else applies no zero rule
    int16_t fillZero = 0;  // minimum digits of a number, padded with zeros; 0 (or less) is off
    int16_t shift = 0;     // blank cells kept at the right end
    int16_t keta = 4;      // number of cells
};

// The characters to show, right-aligned, at most `keta` of them. The value itself is not
// changed. In this order:
//  1. zero handling by zeroMode:
//       0: 0 or the empty text shows nothing;  1: 0 or the empty text shows 0;
//       2: -1 shows 0, else 0 shows nothing;   3: -1, 0 or the empty text shows 0.
//     Numbers compare by value (0.0 is 0, true is -1); a text compares as the number it reads
//     as; a value that was never set counts as 0. Only a text of length 0 is "the empty text".
//  2. zero fill: a value that stands for a number is rounded to a whole number (halves away
//     from zero) and written with at least fillZero digits, a minus sign before the zeros;
//  3. shift: that many blanks are added at the right;
//  4. cut: only the rightmost keta characters remain.
QString degitDisplayText(const DegitValue& value, const DegitTextRules& rules);

}  // namespace fareboard
