#include "BoardStopLamp.h"

#include "platform/OleColor.h"
#include "platform/glyphs/GlyphSource.h"

#include <QPainter>

namespace fareboard {
namespace {

const QColor kShadow(8, 8, 9);
const QColor kHighlight(86, 89, 95);
constexpr int kTextTop = 3;

}  // namespace

BoardStopLamp::BoardStopLamp(QWidget* board, std::shared_ptr<GlyphSource> glyphs)
    : QWidget(board), glyphs_(std::move(glyphs))
{
    setObjectName(QStringLiteral("StopLamp"));
    setGeometry(kPlace);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void BoardStopLamp::light(int32_t backColour, int32_t dotColour)
{
    const QColor back = oleColorToQColor(backColour);
    const QColor dot = oleColorToQColor(dotColour);
    const int textWidth = 16 * int(text().size());
    QImage ink(textWidth, 16, QImage::Format_RGB32);
    ink.fill(Qt::white);
    if (glyphs_)
        glyphs_->drawText(ink, QPoint(0, 0), text(), GlyphFace::Gothic, false);

    surface_ = QImage(size(), QImage::Format_RGB32);
    surface_.fill(back);
    const QPoint origin((width() - textWidth) / 2, kTextTop);
    const QRgb lit = dot.rgb();
    for (int y = 0; y < ink.height(); ++y)
        for (int x = 0; x < ink.width(); ++x)
            if (ink.pixel(x, y) == qRgb(0, 0, 0))
                surface_.setPixel(origin.x() + x, origin.y() + y, lit);
    QPainter p(&surface_);
    p.setPen(kShadow);
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(kHighlight);
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    p.end();
    show();
    raise();
    update();
}

void BoardStopLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

}  // namespace fareboard
