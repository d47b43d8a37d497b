#include "HostGlyphSource.h"

#include "MonoGlyph.h"
#include "platform/ShiftJis.h"

#include <QFile>
#include <QHash>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <initializer_list>

namespace fareboard {
namespace {

constexpr int kFallbackPixels = 16;

QString firstExisting(std::initializer_list<const char*> paths)
{
    for (const char* p : paths) {
        if (QFile::exists(QString::fromUtf8(p)))
            return QString::fromUtf8(p);
    }
    return QString::fromUtf8(*paths.begin());
}

// The 16-dot fonts are indexed by JIS X 0208 row and cell, which Shift-JIS folds into its two
// bytes; 0 when the bytes are not a JIS X 0208 position (single bytes, NEC and IBM rows).
unsigned jisFromShiftJis(const QByteArray& sjis)
{
    if (sjis.size() != 2)
        return 0;
    const unsigned s1 = static_cast<unsigned char>(sjis[0]);
    const unsigned s2 = static_cast<unsigned char>(sjis[1]);
    if (!((s1 >= 0x81 && s1 <= 0x9F) || (s1 >= 0xE0 && s1 <= 0xEF)) || s2 < 0x40 || s2 > 0xFC || s2 == 0x7F)
        return 0;
    unsigned j1 = (s1 - (s1 <= 0x9F ? 0x70 : 0xB0)) * 2;
    unsigned j2;
    if (s2 >= 0x9F) {
        j2 = s2 - 0x7E;
    } else {
        j1 -= 1;
        j2 = s2 - (s2 > 0x7F ? 0x20 : 0x1F);
    }
    if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E)
        return 0;
    return j1 * 256 + j2;
}

class Face {
public:
    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face()
    {
        if (face_)
            FT_Done_Face(face_);
    }

    // Opened on first use, so a board that never shows a mincho name never reads that file.
    FT_Face get(FT_Library lib, const QString& path, bool dotFont)
    {
        if (tried_)
            return face_;
        tried_ = true;
        if (!lib || path.isEmpty() || FT_New_Face(lib, QFile::encodeName(path).constData(), 0, &face_) != 0) {
            face_ = nullptr;
            return nullptr;
        }
        bool ok;
        if (dotFont) {
            // The PCF files carry one charmap, JIS X 0208, and one strike of 16 pixels.
            ok = face_->num_charmaps > 0 && FT_Set_Charmap(face_, face_->charmaps[0]) == 0
                 && face_->num_fixed_sizes > 0 && FT_Select_Size(face_, 0) == 0;
        } else {
            ok = FT_Select_Charmap(face_, FT_ENCODING_UNICODE) == 0
                 && FT_Set_Pixel_Sizes(face_, 0, kFallbackPixels) == 0;
        }
        if (!ok) {
            FT_Done_Face(face_);
            face_ = nullptr;
        }
        return face_;
    }

private:
    FT_Face face_ = nullptr;
    bool tried_ = false;
};

// Renders one glyph without smoothing; false when the face has no such character.
bool render(FT_Face face, FT_ULong code, MonoGlyph& out)
{
    if (!face)
        return false;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0)
        return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    // GDI puts the top of the text line one ascent above the baseline.
    const int ascent = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
    out.left = slot->bitmap_left;
    out.top = ascent - slot->bitmap_top;
    out.width = static_cast<int>(bm.width);
    out.rows = static_cast<int>(bm.rows);
    out.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    out.ink.assign(static_cast<size_t>(out.width * out.rows), 0);
    for (int r = 0; r < out.rows; ++r) {
        const unsigned char* row = bm.buffer + r * bm.pitch;
        for (int c = 0; c < out.width; ++c) {
            bool on;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                on = (row[c / 8] >> (7 - c % 8)) & 1;
            else
                on = row[c] >= 128;  // a font that ignores the one-bit request
            out.ink[static_cast<size_t>(r * out.width + c)] = on ? 1 : 0;
        }
    }
    return true;
}

}  // namespace

GlyphFontFiles GlyphFontFiles::installed()
{
    GlyphFontFiles f;
    f.gothic = QStringLiteral("/usr/share/fonts/X11/misc/shnmk16.pcf.gz");
    f.gothicBold = QStringLiteral("/usr/share/fonts/X11/misc/shnmk16b.pcf.gz");
    f.mincho = QStringLiteral("/usr/share/fonts/X11/misc/shnmk16min.pcf.gz");
    f.gothicFallback = firstExisting({"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
                                      "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf"});
    f.minchoFallback = firstExisting({"/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf",
                                      "/usr/share/fonts/truetype/fonts-japanese-mincho.ttf"});
    return f;
}

namespace {

class Library {
public:
    Library()
    {
        if (FT_Init_FreeType(&lib_) != 0)
            lib_ = nullptr;
    }
    ~Library()
    {
        if (lib_)
            FT_Done_FreeType(lib_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    FT_Library get() const { return lib_; }

private:
    FT_Library lib_ = nullptr;
};

}  // namespace

struct HostGlyphSource::Fonts {
    GlyphFontFiles files;
    // Declared before the faces, so it is released after them, as FreeType requires.
    Library library;
    Face gothic, gothicBold, mincho, gothicFallback, minchoFallback;
    QHash<quint64, MonoGlyph> cache;

    explicit Fonts(GlyphFontFiles f) : files(std::move(f)) {}

    MonoGlyph make(char32_t ch, GlyphFace face, bool bold)
    {
        const FT_Library lib = library.get();
        const QByteArray sjis = toShiftJis(QString::fromUcs4(&ch, 1));
        MonoGlyph g;
        if (const unsigned jis = jisFromShiftJis(sjis)) {
            FT_Face dot;
            if (face == GlyphFace::Gothic)
                dot = bold ? gothicBold.get(lib, files.gothicBold, true) : gothic.get(lib, files.gothic, true);
            else
                dot = mincho.get(lib, files.mincho, true);
            if (render(dot, jis, g))
                return bold && face == GlyphFace::Mincho ? emboldened(g) : g;
        }
        FT_Face outline = face == GlyphFace::Gothic ? gothicFallback.get(lib, files.gothicFallback, false)
                                                    : minchoFallback.get(lib, files.minchoFallback, false);
        if (render(outline, ch, g))
            return bold ? emboldened(g) : g;
        // Nothing has the character: keep its place so the next one lands where it would.
        g = MonoGlyph{};
        g.advance = sjis.size() == 2 ? kFallbackPixels : kFallbackPixels / 2;
        return g;
    }

    const MonoGlyph& glyph(char32_t ch, GlyphFace face, bool bold)
    {
        const quint64 key = (quint64(ch) << 2) | (face == GlyphFace::Mincho ? 2u : 0u) | (bold ? 1u : 0u);
        auto it = cache.find(key);
        if (it == cache.end())
            it = cache.insert(key, make(ch, face, bold));
        return *it;
    }
};

HostGlyphSource::HostGlyphSource(GlyphFontFiles files) : fonts_(std::make_unique<Fonts>(std::move(files))) {}

HostGlyphSource::~HostGlyphSource() = default;

void HostGlyphSource::drawText(QImage& surface, QPoint origin, const QString& text, GlyphFace face, bool bold)
{
    QPoint pen = origin;
    for (const char32_t ch : text.toUcs4()) {
        const MonoGlyph& g = fonts_->glyph(ch, face, bold);
        g.drawInto(surface, pen);
        pen.rx() += g.advance;
    }
}

}  // namespace fareboard
