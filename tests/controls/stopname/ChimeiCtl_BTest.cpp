#include "controls/stopname/ChimeiCtl_B.h"
#include "platform/glyphs/HostGlyphSource.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <memory>
#include <set>
#include <utility>

using namespace fareboard;

namespace {

using Dot = std::pair<int, int>;  // x, y
using Dots = std::set<Dot>;

// The pixels of `image` in `colour`, as the dots a viewer would see lit.
Dots litPixels(const QImage& image, QColor colour)
{
    Dots out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour.rgb() & 0xFFFFFF))
                out.insert({x, y});
    return out;
}

const QColor kDefaultFore(255, 192, 128);  // 0x80C0FF
const QColor kDefaultBack(0x40, 0x40, 0x40);

Dots stripDots(const ChimeiCtl_B& c) { return litPixels(c.strip(), kDefaultFore); }

Dots shifted(const Dots& dots, int dx, int dy)
{
    Dots out;
    for (const auto& [x, y] : dots)
        out.insert({x + dx, y + dy});
    return out;
}

// The dots one character makes on its own, with its top-left dot at (0, 0).
Dots characterDots(const QString& character, int fontMode = 0, bool bold = false)
{
    ChimeiCtl_B c;
    c.setFontMode(static_cast<int16_t>(fontMode));
    c.setFontBold(bold);
    QString ch = character;
    c.DrawDot16(0, 0, ch);
    return stripDots(c);
}

// What the control shows on screen, rendered offscreen.
QImage rendered(ChimeiCtl_B& c)
{
    QImage image(c.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    c.render(&image);
    return image;
}

struct FakeTime {
    double now = 0;
    void attach(ChimeiCtl_B& c)
    {
        c.setScrollClock([this] { return now; });
    }
    // Frames of 16 ms, as the frame timer would deliver them.
    void run(ChimeiCtl_B& c, double ms)
    {
        for (double t = 0; t < ms; t += 16) {
            now += std::min(16.0, ms - t);
            c.scrollFrame();
        }
    }
};

// Draws its own test pattern: black ink in the cell's top row, a grey (smoothed) pixel below.
class GreyEdgeGlyphs final : public GlyphSource {
public:
    void drawText(QImage& surface, QPoint, const QString&, GlyphFace, bool) override
    {
        surface.setPixel(3, 0, qRgb(0, 0, 0));
        surface.setPixel(3, 1, qRgb(1, 1, 1));
        surface.setPixel(3, 2, qRgb(128, 128, 128));
    }
};

}  // namespace

TEST(ChimeiCtl_B, newControlHasItsDefaultsAndAnEmptyColumn)
{
    ChimeiCtl_B c;
    EXPECT_EQ(c.BackColor(), 0x404040);
    EXPECT_EQ(c.ForeColor(), 0x80C0FF);
    EXPECT_EQ(c.Speed(), 5);
    EXPECT_EQ(c.ScrollStartWait(), 1500);
    EXPECT_EQ(c.Mode(), 2);
    EXPECT_EQ(c.Appearance(), 1);
    EXPECT_EQ(c.FontMode(), 0);
    EXPECT_FALSE(c.FontBold());
    EXPECT_EQ(c.windowSize(), QSize(36, 192));
    EXPECT_EQ(c.strip().size(), QSize(37, 192));
    const QImage shown = rendered(c);
    EXPECT_EQ(litPixels(shown, kDefaultBack).size(), size_t(36 * 192));
}

TEST(ChimeiCtl_B, oneCharacterStandsInTheMiddleOfTheColumn)
{
    ChimeiCtl_B c;
    c.SetChimei(QStringLiteral("港"));
    EXPECT_EQ(c.stripTop(), 0);
    EXPECT_FALSE(c.isScrolling());
    const Dots shown = litPixels(rendered(c), kDefaultFore);
    ASSERT_FALSE(shown.empty());
    for (const auto& [x, y] : shown) {
        EXPECT_GE(y, 80);
        EXPECT_LE(y, 110);
        EXPECT_GE(x, 2);
        EXPECT_LE(x, 32);
        // Dots sit on the two-pixel grid, with background between them.
        EXPECT_EQ(x % 2, 0);
        EXPECT_EQ(y % 2, 0);
    }
    EXPECT_EQ(shown, shifted(characterDots(QStringLiteral("港")), 2, 80));
}

TEST(ChimeiCtl_B, fiveCharactersUseThePitchOf38)
{
    ChimeiCtl_B c;
    const QString name = QStringLiteral("東西南北駅");
    c.SetChimei(name);
    Dots expected;
    const int tops[] = {4, 42, 80, 118, 156};
    for (int i = 0; i < 5; ++i) {
        const Dots one = shifted(characterDots(name.mid(i, 1)), 2, tops[i]);
        ASSERT_FALSE(one.empty());
        expected.insert(one.begin(), one.end());
    }
    EXPECT_EQ(stripDots(c), expected);
}

TEST(ChimeiCtl_B, twoCharactersFollowMode)
{
    ChimeiCtl_B c;
    c.SetChimei(QStringLiteral("本町"));
    const Dots hon = characterDots(QStringLiteral("本"));
    const Dots machi = characterDots(QStringLiteral("町"));
    Dots mode2 = shifted(hon, 2, 48);
    for (const Dot& d : shifted(machi, 2, 112))
        mode2.insert(d);
    EXPECT_EQ(stripDots(c), mode2);

    c.setMode(0);
    c.SetChimei(QStringLiteral("本町"));
    Dots mode0 = shifted(hon, 2, 32);
    for (const Dot& d : shifted(machi, 2, 128))
        mode0.insert(d);
    EXPECT_EQ(stripDots(c), mode0);
}

TEST(ChimeiCtl_B, longVowelMarkIsAVerticalStrokeAndIsWrittenBack)
{
    ChimeiCtl_B c;
    QString ch = QStringLiteral("ー");
    c.DrawDot16(2, 0, ch);
    EXPECT_EQ(ch, QStringLiteral("丨"));
    const Dots dots = stripDots(c);
    std::set<int> xs, ys;
    for (const auto& [x, y] : dots) {
        xs.insert(x);
        ys.insert(y);
    }
    EXPECT_LE(xs.size(), 2u);
    EXPECT_GE(ys.size(), 10u);
}

TEST(ChimeiCtl_B, bracketsAreTransposedAndSmallPunctuationMovesUpRight)
{
    // The upright glyph, straight from the fonts.
    HostGlyphSource glyphs;
    QImage cell(16, 16, QImage::Format_RGB32);
    cell.fill(Qt::white);
    glyphs.drawText(cell, {0, 0}, QStringLiteral("（"), GlyphFace::Gothic, false);
    Dots transposed;
    for (int r = 0; r < 16; ++r)
        for (int col = 0; col < 16; ++col)
            if ((cell.pixel(col, r) & 0xFFFFFF) == 0)
                transposed.insert({2 * r, 2 * col});
    ASSERT_FALSE(transposed.empty());
    const Dots paren = characterDots(QStringLiteral("（"));
    EXPECT_EQ(paren, transposed);
    // An arch open towards the bottom: the top row is ink in the middle only.
    int minY = 99;
    for (const auto& d : paren)
        minY = std::min(minY, d.second);
    for (const auto& [x, y] : paren) {
        if (y == minY) {
            EXPECT_TRUE(x > 6 && x < 26) << x;
        }
    }

    const Dots maru = characterDots(QStringLiteral("。"));
    ASSERT_FALSE(maru.empty());
    for (const auto& [x, y] : maru) {
        EXPECT_GE(x, 16);
        EXPECT_LT(y, 16);
    }
}

TEST(ChimeiCtl_B, fontModesTwoAndThreePickOppositeFacesForKanjiAndKana)
{
    const QString kanji = QStringLiteral("駅");
    const QString kana = QStringLiteral("あ");
    const Dots gothicKanji = characterDots(kanji, 0), minchoKanji = characterDots(kanji, 1);
    const Dots gothicKana = characterDots(kana, 0), minchoKana = characterDots(kana, 1);
    ASSERT_NE(gothicKanji, minchoKanji);
    ASSERT_NE(gothicKana, minchoKana);
    EXPECT_EQ(characterDots(kanji, 2), gothicKanji);
    EXPECT_EQ(characterDots(kana, 2), minchoKana);
    EXPECT_EQ(characterDots(kanji, 3), minchoKanji);
    EXPECT_EQ(characterDots(kana, 3), gothicKana);
    // Mode 4: full-width Latin in gothic, kana in mincho.
    EXPECT_EQ(characterDots(QStringLiteral("Ａ"), 4), characterDots(QStringLiteral("Ａ"), 0));
    EXPECT_EQ(characterDots(kana, 4), minchoKana);
    // 山 moves one dot right where it is gothic, and not where it is mincho.
    EXPECT_EQ(characterDots(QStringLiteral("山"), 2), characterDots(QStringLiteral("山"), 0));
    HostGlyphSource glyphs;
    QImage cell(16, 16, QImage::Format_RGB32);
    cell.fill(Qt::white);
    glyphs.drawText(cell, {0, 0}, QStringLiteral("山"), GlyphFace::Gothic, false);
    Dots upright;
    for (int r = 0; r < 16; ++r)
        for (int col = 0; col < 15; ++col)
            if ((cell.pixel(col, r) & 0xFFFFFF) == 0)
                upright.insert({2 * col, 2 * r});
    EXPECT_EQ(characterDots(QStringLiteral("山"), 0), shifted(upright, 2, 0));
    // Bold adds ink and keeps the plain ink.
    const Dots bold = characterDots(kanji, 0, true);
    EXPECT_GT(bold.size(), gothicKanji.size());
    for (const Dot& d : gothicKanji)
        EXPECT_TRUE(bold.count(d)) << d.first << "," << d.second;
}

TEST(ChimeiCtl_B, onlyExactlyBlackCellPixelsBecomeDots)
{
    ChimeiCtl_B c(nullptr, std::make_shared<GreyEdgeGlyphs>());
    QString ch = QStringLiteral("駅");
    c.DrawDot16(4, 10, ch);
    EXPECT_EQ(stripDots(c), (Dots{{4 + 6, 10}}));
    // An empty character clears the cell and leaves the strip alone.
    QString none;
    c.DrawDot16(4, 10, none);
    EXPECT_EQ(c.glyphCell().pixel(3, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(stripDots(c), (Dots{{4 + 6, 10}}));
}

TEST(ChimeiCtl_B, sevenCharactersScrollUpThroughTheWindow)
{
    ChimeiCtl_B c;
    FakeTime time;
    time.attach(c);
    c.SetChimei(QStringLiteral("総合運動公園前"));
    EXPECT_EQ(c.strip().height(), 224);
    EXPECT_EQ(c.stripTop(), 192);
    EXPECT_TRUE(c.isScrolling());
    // All seven characters are on the strip, the last one at 192.
    const Dots all = stripDots(c);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const Dot& d) { return d.second >= 192; }));
    // Hidden during the start wait; the frame timer sleeps through the wait.
    EXPECT_GT(c.frameTimerInterval(), 1000);
    EXPECT_TRUE(litPixels(rendered(c), kDefaultFore).empty());
    time.run(c, 1490);
    EXPECT_EQ(c.stripTop(), 192);
    time.run(c, 10);
    time.run(c, 1000);
    EXPECT_EQ(c.stripTop(), 142);
    EXPECT_LT(c.frameTimerInterval(), 50);
    // What is shown is the strip at its place.
    const Dots shown = litPixels(rendered(c), kDefaultFore);
    Dots visible;
    for (const auto& [x, y] : all)
        if (y + 142 < 192 && x < 36)
            visible.insert({x, y + 142});
    EXPECT_EQ(shown, visible);
    // Speed is read anew.
    c.setSpeed(10);
    time.run(c, 1000);
    EXPECT_EQ(c.stripTop(), 42);
}

TEST(ChimeiCtl_B, speedZeroBecomesOneWhenTheScrollStarts)
{
    ChimeiCtl_B c;
    FakeTime time;
    time.attach(c);
    c.setSpeed(0);
    QStringList changed;
    QObject::connect(&c, &ChimeiCtl_B::PropertyChanged, [&changed](const QString& n) { changed << n; });
    c.SetChimei(QStringLiteral("総合運動公園前"));
    time.run(c, 1500);
    time.run(c, 1000);
    EXPECT_EQ(c.Speed(), 1);
    EXPECT_EQ(changed, QStringList{QStringLiteral("Speed")});
    EXPECT_EQ(c.stripTop(), 182);
}

TEST(ChimeiCtl_B, aNewNameEndsTheScrollAtOnce)
{
    ChimeiCtl_B c;
    FakeTime time;
    time.attach(c);
    c.SetChimei(QStringLiteral("総合運動公園前"));
    time.run(c, 3000);
    ASSERT_LT(c.stripTop(), 192);

    c.SetChimei(QStringLiteral("本町"));
    EXPECT_FALSE(c.isScrolling());
    EXPECT_EQ(c.frameTimerInterval(), 0);
    EXPECT_EQ(c.stripTop(), 0);
    time.run(c, 1000);
    EXPECT_EQ(c.stripTop(), 0);

    c.SetChimei(QStringLiteral("総合運動公園前"));
    time.run(c, 3000);
    c.SetChimei(QString());
    EXPECT_FALSE(c.isScrolling());
    EXPECT_EQ(c.stripTop(), 0);
    EXPECT_TRUE(stripDots(c).empty());
    const QImage shown = rendered(c);
    EXPECT_EQ(litPixels(shown, kDefaultBack).size(), size_t(36 * 192));
}

TEST(ChimeiCtl_B, backColorAndAppearanceEraseTheDots)
{
    ChimeiCtl_B c;
    QStringList changed;
    QObject::connect(&c, &ChimeiCtl_B::PropertyChanged, [&changed](const QString& n) { changed << n; });
    c.SetChimei(QStringLiteral("本町"));
    c.setForeColor(0x0000FF);
    // Dots already drawn keep their colour.
    EXPECT_FALSE(stripDots(c).empty());
    c.setBackColor(0x00FF00);
    EXPECT_TRUE(stripDots(c).empty());
    EXPECT_EQ(litPixels(rendered(c), QColor(0, 255, 0)).size(), size_t(36 * 192));

    c.SetChimei(QStringLiteral("本町"));
    EXPECT_FALSE(litPixels(c.strip(), QColor(255, 0, 0)).empty());
    c.setAppearance(0);
    EXPECT_TRUE(litPixels(c.strip(), QColor(255, 0, 0)).empty());
    EXPECT_EQ(c.windowSize(), QSize(35, 185));
    c.setAppearance(1);
    EXPECT_EQ(c.windowSize(), QSize(37, 195));

    EXPECT_EQ(changed, (QStringList{"ForeColor", "BackColor", "Appearance", "Appearance"}));
}

TEST(ChimeiCtl_B, storedPropertiesUseTheirOwnDefaultsAndLeaveThemOut)
{
    ChimeiCtl_B c;
    c.ReadProperties({});
    EXPECT_EQ(c.BackColor(), 8421504);
    EXPECT_EQ(c.ForeColor(), 48895);
    EXPECT_TRUE(c.WriteProperties().isEmpty());
    EXPECT_EQ(litPixels(rendered(c), QColor(128, 128, 128)).size(), size_t(36 * 192));

    // The board's own instance.
    c.ReadProperties({{"ForeColor", 0x80C0FF}, {"Appearance", 0}, {"FontBold", true}, {"Speed", 9}});
    EXPECT_EQ(c.Appearance(), 0);
    EXPECT_EQ(c.windowSize(), QSize(36, 192));  // reading the style does not resize the window
    EXPECT_TRUE(c.FontBold());
    c.setScrollStartWait(800);
    c.setBackColor(0x404040);
    const auto written = c.WriteProperties();
    QStringList keys;
    for (const auto& kv : written)
        keys << kv.first;
    EXPECT_EQ(keys, (QStringList{"BackColor", "ForeColor", "Speed", "ScrollStartWait", "Appearance", "FontBold"}));
    EXPECT_EQ(written.at(1).second.toInt(), 0x80C0FF);
    EXPECT_EQ(written.at(3).second.toInt(), 800);
    EXPECT_EQ(written.at(5).second.toBool(), true);
}

TEST(ChimeiCtl_B, aNameSetWhileAnotherIsBeingSetWins)
{
    // A data step clicked while the column lets pending events run sets its own name inside
    // the earlier call; the earlier name must not be drawn over it afterwards.
    ChimeiCtl_B reference;
    reference.SetChimei(QStringLiteral("図書館前"));

    ChimeiCtl_B c;
    QTimer::singleShot(0, &c, [&c] { c.SetChimei(QStringLiteral("図書館前")); });
    c.SetChimei(QStringLiteral("青凪駅"));
    EXPECT_EQ(c.strip(), reference.strip());
    EXPECT_EQ(c.stripTop(), reference.stripTop());

    // A short name set meanwhile leaves no scroll of the interrupted long name running.
    ChimeiCtl_B d;
    d.SetChimei(QStringLiteral("凪の浜海水浴場入口"));
    EXPECT_TRUE(d.isScrolling());
    QTimer::singleShot(0, &d, [&d] { d.SetChimei(QStringLiteral("港")); });
    d.SetChimei(QStringLiteral("凪の浜海水浴場入口"));
    EXPECT_FALSE(d.isScrolling());
}
