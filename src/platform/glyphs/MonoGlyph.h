#pragma once

#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

namespace fareboard {

// One rendered one-bit glyph, placed relative to a pen at the top of the text line, which is
// where text drawing puts the pen (the baseline lies one ascent lower, and differs by face).
struct MonoGlyph {
    int left = 0;     // pixels from the pen to the first column
    int top = 0;      // pixels from the top of the text line down to the first row
    int width = 0;
    int rows = 0;
    int advance = 0;  // pen movement to the next character
    std::vector<uint8_t> ink;  // rows × width, 1 where the glyph is inked

    bool inked(int column, int row) const { return ink[static_cast<size_t>(row * width + column)] != 0; }

    // Paints the inked pixels black into `surface` (a 32-bit format) with the pen at `pen`.
    void drawInto(QImage& surface, QPoint pen) const;
};

// The bold of the Shinonome family, made from its regular face: each inked pixel also inks its
// left neighbour, unless that would close a one-pixel gap to the next stroke on the left. The
// family's own bold files are made this way, so a synthesised bold matches them dot for dot.
MonoGlyph emboldened(const MonoGlyph& glyph);

}  // namespace fareboard
