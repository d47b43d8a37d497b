#include "DesktopLook.h"

#include <algorithm>

#include <QLibraryInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTranslator>

namespace fareboard {
namespace {

QPixmap iconAt(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath glass;
    glass.addRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s / 8, s / 8);
    p.fillPath(glass, QColor(0x20, 0x20, 0x20));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), std::max(1.0, s / 32)));
    p.drawPath(glass);

    // An amber "8" of seven bars, lit as a 1 would be on the board: two bars bright, the rest
    // the dim unlit segments of a real digit.
    const QColor lit(0xF8, 0xD2, 0x72), unlit(0x4A, 0x40, 0x28);
    const qreal w = s * 0.44, h = s * 0.7, x0 = (s - w) / 2, y0 = (s - h) / 2, t = std::max(1.5, s / 10);
    struct Bar { QRectF r; bool on; };
    const Bar bars[] = {
        {{x0 + t / 2, y0, w - t, t}, false},                     // top
        {{x0 + w - t, y0 + t / 2, t, h / 2 - t}, true},          // upper right
        {{x0 + w - t, y0 + h / 2 + t / 2, t, h / 2 - t}, true},  // lower right
        {{x0 + t / 2, y0 + h - t, w - t, t}, false},             // bottom
        {{x0, y0 + h / 2 + t / 2, t, h / 2 - t}, false},         // lower left
        {{x0, y0 + t / 2, t, h / 2 - t}, false},                 // upper left
        {{x0 + t / 2, y0 + (h - t) / 2, w - t, t}, false},       // middle
    };
    p.setPen(Qt::NoPen);
    for (const Bar& bar : bars) {
        p.setBrush(bar.on ? lit : unlit);
        p.drawRoundedRect(bar.r, t / 3, t / 3);
    }
    return pixmap;
}

}  // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(iconAt(size));
    return icon;
}

bool loadQtJapanese(QTranslator& translator)
{
    return translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace fareboard
