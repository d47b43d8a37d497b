#include "MonoGlyph.h"

namespace fareboard {

void MonoGlyph::drawInto(QImage& surface, QPoint pen) const
{
    const QRgb black = qRgb(0, 0, 0);
    const int x0 = pen.x() + left;
    const int y0 = pen.y() + top;
    for (int r = 0; r < rows; ++r) {
        const int y = y0 + r;
        if (y < 0 || y >= surface.height())
            continue;
        for (int c = 0; c < width; ++c) {
            const int x = x0 + c;
            if (x >= 0 && x < surface.width() && inked(c, r))
                surface.setPixel(x, y, black);
        }
    }
}

MonoGlyph emboldened(const MonoGlyph& glyph)
{
    // One column more on the left takes the smear of the leftmost strokes.
    MonoGlyph bold = glyph;
    bold.left = glyph.left - 1;
    bold.width = glyph.width + 1;
    bold.ink.assign(static_cast<size_t>(bold.width * bold.rows), 0);
    auto at = [&glyph](int c, int r) { return c >= 0 && c < glyph.width && glyph.inked(c, r); };
    for (int r = 0; r < glyph.rows; ++r) {
        for (int c = -1; c < glyph.width; ++c) {
            const bool on = at(c, r) || (at(c + 1, r) && !at(c - 1, r));
            bold.ink[static_cast<size_t>(r * bold.width + c + 1)] = on ? 1 : 0;
        }
    }
    return bold;
}

}  // namespace fareboard
