#include "options/ColorButton.h"

#include "platform/OleColor.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace fareboard {

ColorButton::ColorButton(int32_t color, QWidget* parent) : QPushButton(parent), color_(color)
{
    setAutoDefault(false);
}

void ColorButton::setBackColor(int32_t color)
{
    color_ = color;
    update();
}

void ColorButton::paintEvent(QPaintEvent*)
{
    // Styles paint a button's face with gradients of their own; draw the bevel from the style and
    // the colour flat inside it, so the user sees the exact colour that will be used.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const int inset = isDown() || isChecked() ? 4 : 3;
    QRect face = rect().adjusted(inset, inset, -inset, -inset);
    // A disabled button still shows its colour, a little faded, so the setting stays readable.
    QColor color = oleColorToQColor(color_);
    if (!isEnabled())
        color = QColor::fromRgbF(0.5f * color.redF() + 0.25f, 0.5f * color.greenF() + 0.25f, 0.5f * color.blueF() + 0.25f);
    painter.fillRect(face, color);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(face.adjusted(0, 0, -1, -1));
}

}  // namespace fareboard
