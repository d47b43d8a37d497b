#include "platform/glyphs/HostGlyphSource.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace fareboard;

namespace {

QImage blankCell()
{
    QImage cell(16, 16, QImage::Format_RGB32);
    cell.fill(Qt::white);
    return cell;
}

QImage draw(GlyphSource& glyphs, const QString& text, GlyphFace face, bool bold, QPoint at = {0, 0})
{
    QImage cell = blankCell();
    glyphs.drawText(cell, at, text, face, bold);
    return cell;
}

int inkCount(const QImage& cell)
{
    int n = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            n += (cell.pixel(x, y) & 0xFFFFFF) == 0;
    return n;
}

bool onlyBlackAndWhite(const QImage& cell)
{
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb p = cell.pixel(x, y) & 0xFFFFFF;
            if (p != 0 && p != 0xFFFFFF)
                return false;
        }
    return true;
}

}  // namespace

TEST(HostGlyphSource, drawsSixteenDotGlyphsInPureBlackAtTheirOffset)
{
    HostGlyphSource glyphs;
    for (GlyphFace face : {GlyphFace::Gothic, GlyphFace::Mincho}) {
        for (bool bold : {false, true}) {
            const QImage cell = draw(glyphs, QStringLiteral("駅"), face, bold);
            EXPECT_GT(inkCount(cell), 30);
            EXPECT_TRUE(onlyBlackAndWhite(cell));
        }
    }
    // The 16-dot glyph fills its cell from the top row: the text line's top is the cell's top.
    const QImage hon = draw(glyphs, QStringLiteral("本"), GlyphFace::Gothic, false);
    const QImage moved = draw(glyphs, QStringLiteral("本"), GlyphFace::Gothic, false, {3, 2});
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(hon.pixel(x, y), moved.pixel(x + 3, y + 2)) << x << "," << y;
    // Small punctuation lies in the lower left of its cell; moved up, its ink is cut off
    // at the top rather than wrapping around.
    const QImage maru = draw(glyphs, QStringLiteral("。"), GlyphFace::Gothic, false, {0, -14});
    EXPECT_LT(inkCount(maru), inkCount(draw(glyphs, QStringLiteral("。"), GlyphFace::Gothic, false)));
}

TEST(HostGlyphSource, synthesisedMinchoBoldMatchesTheFamilysOwnBoldFile)
{
    const GlyphFontFiles files = GlyphFontFiles::installed();
    GlyphFontFiles boldFiles = files;
    boldFiles.mincho = QStringLiteral("/usr/share/fonts/X11/misc/shnmk16minb.pcf.gz");
    HostGlyphSource glyphs(files);
    HostGlyphSource boldFont(boldFiles);
    const QString sample = QStringLiteral("あいうえおアイウエオ本町駅前総合運動公園市役所ＡＢ０１（）。、");
    for (const QChar ch : sample) {
        const QImage made = draw(glyphs, ch, GlyphFace::Mincho, true);
        const QImage real = draw(boldFont, ch, GlyphFace::Mincho, false);
        EXPECT_EQ(made, real) << QString(ch).toStdString();
        EXPECT_GT(inkCount(made), inkCount(draw(glyphs, ch, GlyphFace::Mincho, false))) << QString(ch).toStdString();
    }
}

TEST(HostGlyphSource, charactersTheDotFontsLackComeFromTheOutlineFonts)
{
    HostGlyphSource glyphs;
    // ① and 髙 are NEC and IBM extensions; 丨 stands for the long vowel mark.
    for (const char* c : {"①", "髙", "丨", "A"}) {
        const QImage cell = draw(glyphs, QString::fromUtf8(c), GlyphFace::Gothic, false);
        EXPECT_GT(inkCount(cell), 5) << c;
        EXPECT_TRUE(onlyBlackAndWhite(cell)) << c;
    }
    // Two single-byte characters share one cell side by side.
    const QImage pair = draw(glyphs, QStringLiteral("AB"), GlyphFace::Gothic, false);
    int leftInk = 0, rightInk = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((pair.pixel(x, y) & 0xFFFFFF) == 0)
                (x < 8 ? leftInk : rightInk)++;
    EXPECT_GT(leftInk, 5);
    EXPECT_GT(rightInk, 5);
}

TEST(HostGlyphSource, missingFontFilesDrawNothing)
{
    GlyphFontFiles none;
    none.gothic = QStringLiteral("/nonexistent/shnmk16.pcf.gz");
    none.gothicFallback = QStringLiteral("/nonexistent/ipag.ttf");
    HostGlyphSource glyphs(none);
    EXPECT_EQ(inkCount(draw(glyphs, QStringLiteral("駅"), GlyphFace::Gothic, false)), 0);
    EXPECT_EQ(inkCount(draw(glyphs, QStringLiteral("駅"), GlyphFace::Mincho, true)), 0);
}
