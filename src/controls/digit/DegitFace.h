#pragma once

#include "controls/digit/DegitGeometry.h"

#include <QColor>
#include <QHash>
#include <QPainterPath>
#include <QRawFont>

class QImage;

namespace fareboard {

// A segment face scaled to one cell size: the outline of each character placed in a cell whose
// top left is the origin. Outlines are used unhinted, so a digit's ink lies exactly on the ink
// of the 8 drawn under it at every size; hinting would snap each glyph's stems on its own.
class DegitFace {
public:
    DegitFace(int16_t degitStyle, int16_t degitSize, DegitRenderVariant variant);

    // False when the DSEG7 fonts are not installed; nothing is drawn then but the background.
    bool isValid() const { return font_.isValid(); }
    DegitCellSize cell() const { return cell_; }
    const QString& familyName() const { return family_; }

    // Empty for blanks ("!" and the space are blank cells) and for characters the face lacks,
    // which keeps a stray character from being drawn in some other font.
    QPainterPath glyph(QChar ch) const;

    // The whole picture: background, then `keta` dim eights from the left edge, then `text`
    // lit and right-aligned on the surface, each character in a cell of its own.
    void paint(QImage& surface, const QString& text, int keta, QColor back, QColor base, QColor lit) const;

private:
    DegitCellSize cell_;
    QString family_;
    QRawFont font_;
    double scaleX_ = 1;
    double scaleY_ = 1;
    double inkTop_ = 0;
    double advance_ = 0;
    // Outlines are made on first use; a control meets only a dozen characters.
    mutable QHash<char16_t, QPainterPath> glyphs_;
};

}  // namespace fareboard
