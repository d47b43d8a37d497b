#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

namespace fareboard {

// The two type faces the stop-name column chooses between, character by character.
enum class GlyphFace { Gothic, Mincho };

// Draws text as one-bit glyphs: every pixel a glyph covers becomes exactly black, nothing else
// is touched, so a reader of the surface can tell ink from paper by comparing with black.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;

    // Draws `text` into `surface` with the top of its text line at `origin` (x right, y down),
    // one character after the other. Parts that fall outside the surface are lost.
    virtual void drawText(QImage& surface, QPoint origin, const QString& text, GlyphFace face,
                          bool bold) = 0;
};

}  // namespace fareboard
