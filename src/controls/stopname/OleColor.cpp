#include "OleColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace fareboard {

QColor colorFromOle(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    if ((v & 0x80000000u) == 0)
        return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
    // The desktop colours the controls are likely to be given, taken from the toolkit's palette.
    const QPalette pal = QGuiApplication::palette();
    switch (v & 0xFF) {
    case 5:  // window background
        return pal.color(QPalette::Base);
    case 8:  // window text
    case 18:  // button text
        return pal.color(QPalette::Text);
    case 13:  // highlight
        return pal.color(QPalette::Highlight);
    case 14:  // highlighted text
        return pal.color(QPalette::HighlightedText);
    case 15:  // button face
        return pal.color(QPalette::Button);
    default:
        return pal.color(QPalette::Window);
    }
}

}  // namespace fareboard
