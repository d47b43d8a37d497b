#include "DegitFace.h"

#include <QFont>
#include <QImage>
#include <QPainter>

namespace fareboard {

namespace {

// Outlines are taken at this size and scaled into the cell; the size only sets the precision.
constexpr int kOutlinePixelSize = 200;
// Rows left free above and below the segments, so neighbouring controls do not touch.
constexpr int kVerticalMargin = 1;

quint32 glyphIndex(const QRawFont& font, QChar ch)
{
    const QList<quint32> indexes = font.glyphIndexesForString(QString(ch));
    return indexes.isEmpty() ? 0 : indexes.constFirst();
}

}  // namespace

DegitFace::DegitFace(int16_t degitStyle, int16_t degitSize, DegitRenderVariant variant)
    : cell_(degitCellSize(degitSize)), family_(degitFontFamily(degitStyle))
{
    QFont font(family_);
    font.setWeight(variant.bold ? QFont::Bold : QFont::Normal);
    font.setPixelSize(kOutlinePixelSize);
    font.setStyleStrategy(QFont::NoFontMerging);
    font_ = QRawFont::fromFont(font);
    if (font_.isValid() && !font_.familyName().startsWith(QStringLiteral("DSEG7")))
        font_ = QRawFont();  // some other face was substituted; its digits would not fit the cells
    if (!font_.isValid())
        return;

    // The 8 lights every segment: its advance fills the cell less the extra spacing, and its
    // ink fills the cell's height less the margins.
    const quint32 eight = glyphIndex(font_, u'8');
    const QList<QPointF> advances = font_.advancesForGlyphIndexes(QList<quint32>{eight});
    advance_ = advances.isEmpty() ? 0 : advances.constFirst().x();
    const QRectF ink = font_.pathForGlyph(eight).boundingRect();
    if (advance_ <= 0 || ink.height() <= 0) {
        font_ = QRawFont();
        return;
    }
    scaleX_ = (cell_.width - variant.extraSpacing) / advance_;
    scaleY_ = (cell_.height - 2 * kVerticalMargin) / ink.height();
    inkTop_ = ink.top();
}

QPainterPath DegitFace::glyph(QChar ch) const
{
    if (!font_.isValid() || ch == u' ' || ch == u'!')
        return {};
    const auto cached = glyphs_.constFind(ch.unicode());
    if (cached != glyphs_.cend())
        return *cached;

    QPainterPath path;
    if (const quint32 index = glyphIndex(font_, ch); index != 0) {
        path = font_.pathForGlyph(index);
        // The point has no advance of its own (it sits after the digit before it); here it
        // gets a cell of its own, so it is moved to the middle of that cell.
        const double shift = ch == u'.' ? advance_ / 2 : 0.0;
        QTransform toCell;
        toCell.translate(0, kVerticalMargin);
        toCell.scale(scaleX_, scaleY_);
        toCell.translate(shift, -inkTop_);
        path = toCell.map(path);
    }
    glyphs_.insert(ch.unicode(), path);
    return path;
}

void DegitFace::paint(QImage& surface, const QString& text, int keta, QColor back, QColor base, QColor lit) const
{
    surface.fill(back);
    if (!font_.isValid())
        return;
    QPainter painter(&surface);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    // Only ink is painted: what lies between the segments keeps the colour beneath it.
    const QPainterPath eight = glyph(u'8');
    painter.setBrush(base);
    for (int i = 0; i < keta; ++i)
        painter.drawPath(eight.translated(i * cell_.width, 0));

    // Every character advances by one cell, so the text's width is its length in cells and it
    // ends exactly at the right edge of the surface.
    painter.setBrush(lit);
    const int left = surface.width() - int(text.size()) * cell_.width;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QPainterPath path = glyph(text.at(i));
        if (!path.isEmpty())
            painter.drawPath(path.translated(left + i * cell_.width, 0));
    }
}

}  // namespace fareboard
