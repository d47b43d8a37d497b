#include "FontWarmup.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace fareboard {

std::thread warmUpFonts(QList<QFont> fonts)
{
    return std::thread([fonts = std::move(fonts)] {
        // Text in threads needs a font system that supports it, as fontconfig's does.
        if (!QFontDatabase::families().isEmpty()) {
            for (const QFont& font : fonts)
                (void)QFontMetrics(font).horizontalAdvance(QStringLiteral("運賃表示器　整理券0123"));
        }
    });
}

}  // namespace fareboard
