#pragma once

#include "GlyphSource.h"

#include <QString>

#include <memory>

namespace fareboard {

// Where the host keeps the fonts. The 16-dot files give real LED-board glyphs; the outline
// fonts stand in for the characters those files lack (NEC and IBM extensions such as ① or 丨).
struct GlyphFontFiles {
    QString gothic;          // Shinonome 16-dot gothic, PCF
    QString gothicBold;      // Shinonome 16-dot gothic bold, PCF
    QString mincho;          // Shinonome 16-dot mincho, PCF (its bold is synthesised)
    QString gothicFallback;  // outline gothic, rendered one-bit at 16 pixels
    QString minchoFallback;  // outline mincho, rendered one-bit at 16 pixels

    // The files the Debian font packages install.
    static GlyphFontFiles installed();
};

// Glyphs from the host's font files through FreeType. Rendered glyphs are kept, so each
// character costs a font look-up only once. A missing file draws nothing rather than failing:
// the board must keep running with whatever glyphs it has.
class HostGlyphSource final : public GlyphSource {
public:
    explicit HostGlyphSource(GlyphFontFiles files = GlyphFontFiles::installed());
    ~HostGlyphSource() override;
    HostGlyphSource(const HostGlyphSource&) = delete;
    HostGlyphSource& operator=(const HostGlyphSource&) = delete;

    void drawText(QImage& surface, QPoint origin, const QString& text, GlyphFace face,
                  bool bold) override;

private:
    struct Fonts;
    std::unique_ptr<Fonts> fonts_;
};

}  // namespace fareboard
