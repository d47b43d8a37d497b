#include "board/BoardLayout.h"
#include "board/BuiltinPanel.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace fareboard;
using namespace fareboard::BoardLayout;

namespace {
bool isDark(QRgb c) { return qRed(c) < 12 && qGreen(c) < 12 && qBlue(c) < 12; }
}  // namespace

TEST(BuiltinPanel, EveryFareDigitAndLabelSitsInItsOwnCell)
{
    const QImage panel = makeBuiltinPanel();
    ASSERT_EQ(panel.size(), QSize(kPanelWidth, kPanelHeight));
    for (int i = 1; i <= 24; ++i) {
        const QRect d = degitRect(i);
        const QRect l = seiriNumRect(i);
        ASSERT_EQ(d.size(), QSize(57, 29));
        ASSERT_EQ(l.size(), QSize(52, 16));
        // The label strip lies just above its digit and inside its column.
        EXPECT_LT(l.bottom(), d.top()) << i;
        EXPECT_LE(d.top() - l.bottom(), 6) << i;
        EXPECT_GE(l.left(), d.left()) << i;
        EXPECT_LE(l.right(), d.right() + 1) << i;
        // The whole digit rectangle is dark cell glass, and its frame is lit below it.
        for (int y = d.top(); y <= d.bottom(); ++y)
            for (int x = d.left(); x <= d.right(); ++x)
                ASSERT_TRUE(isDark(panel.pixel(x, y))) << i << " at " << x << "," << y;
        EXPECT_FALSE(isDark(panel.pixel(d.center().x(), d.bottom() + 1))) << i;
        // No two cells overlap.
        for (int j = i + 1; j <= 24; ++j)
            EXPECT_FALSE(d.intersects(degitRect(j))) << i << "/" << j;
    }
    // Rows two to four: the right four columns sit one pixel right of the first row's.
    EXPECT_EQ(degitRect(3).left(), 226);
    EXPECT_EQ(degitRect(9).left(), 227);
    EXPECT_EQ(degitRect(24).topLeft(), QPoint(414, 208));
    EXPECT_EQ(seiriNumRect(22).topLeft(), QPoint(292, 189));
    EXPECT_EQ(seiriNumRect(20).topLeft(), QPoint(167, 189));
    EXPECT_TRUE(degitRect(0).isNull());
    EXPECT_TRUE(degitRect(25).isNull());
}

// The program shows the picture drawn at build time; a build step that went wrong, or a change
// to the drawing that the build did not pick up, would show a different board.
TEST(BuiltinPanel, TheCarriedPictureIsTheDrawnOne)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(":/board/builtin-panel.rgb32"))) << "the build's picture is missing";
    EXPECT_EQ(builtinPanel(), makeBuiltinPanel());
}
