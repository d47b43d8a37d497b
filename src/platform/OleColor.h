#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <cstdint>

namespace fareboard {

// Colours are stored and exchanged as 0x00BBGGRR (red in the lowest byte), the way the
// settings file and the properties hold them. A value with the top bit set names one of the
// desktop's own colours by its index in the low byte; we answer those from the palette so a
// stored system colour still looks like part of the desktop.
inline QColor oleColorToQColor(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    if (v & 0x80000000u) {
        const QPalette palette = QGuiApplication::palette();
        switch (v & 0xFFu) {
        case 5: return palette.color(QPalette::Base);         // window background
        case 8: return palette.color(QPalette::Text);         // window text
        case 9: return palette.color(QPalette::HighlightedText);  // caption text
        case 13: return palette.color(QPalette::Highlight);
        case 14: return palette.color(QPalette::HighlightedText);
        case 16: return palette.color(QPalette::Dark);        // button shadow
        case 17: return palette.color(QPalette::PlaceholderText);  // grey text
        case 18: return palette.color(QPalette::ButtonText);
        case 20: return palette.color(QPalette::Light);       // button highlight
        case 23: return palette.color(QPalette::ToolTipText);
        case 24: return palette.color(QPalette::ToolTipBase);
        default: return palette.color(QPalette::Button);      // 15, button face, and the rest
        }
    }
    return QColor(int(v & 0xFFu), int((v >> 8) & 0xFFu), int((v >> 16) & 0xFFu));
}

inline int32_t qColorToOleColor(const QColor& color)
{
    return int32_t(uint32_t(color.red()) | (uint32_t(color.green()) << 8) | (uint32_t(color.blue()) << 16));
}

}  // namespace fareboard
