#include "controls/digit/M_Degit.h"
#include "support/FakeKobuRes.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

using namespace fareboard;
using fareboard::test::FakeKobuRes;

namespace {

constexpr int32_t kBack = 0x000000;
constexpr int32_t kBase = 0x0000FF;  // red
constexpr int32_t kLit = 0x00FF00;   // green

struct Look {
    int16_t style = 1;
    int16_t size = 2;
};

// A control in plain colours, so that background, dim and lit pixels tell themselves apart.
void setUp(M_Degit& d, int16_t keta, Look look)
{
    d.setKeta(keta);
    d.setDegitSize(look.size);
    d.setDegitStyle(look.style);
    d.setBackColor(kBack);
    d.setBaseForeColor(kBase);
    d.setDegitForeColor(kLit);
}

bool hasGreen(QRgb p) { return qGreen(p) > 0; }
bool isBackground(QRgb p) { return (p & 0xFFFFFF) == 0; }

// The picture of one cell.
QImage cellOf(const QImage& picture, int index, int width) { return picture.copy(index * width, 0, width, picture.height()); }

// Reads the characters a control shows by comparing each cell with one-cell controls showing a
// single character each; "?" where no character matches.
QString readCells(const M_Degit& shown, Look look)
{
    FakeKobuRes library;
    const QString alphabet = QStringLiteral(" 0123456789-");
    std::vector<QImage> references;
    for (QChar c : alphabet) {
        M_Degit one(library);
        setUp(one, 1, look);
        one.setZeroMode(-1);
        one.setValue(QString(c));
        references.push_back(one.surface());
    }
    const int width = references.front().width();
    QString text;
    for (int i = 0; i < shown.Keta(); ++i) {
        const QImage cell = cellOf(shown.surface(), i, width);
        qsizetype found = -1;
        for (size_t r = 0; r < references.size(); ++r)
            if (references[r] == cell)
                found = qsizetype(r);
        text.append(found < 0 ? QChar(u'?') : alphabet.at(found));
    }
    return text;
}

class DegitDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFontDatabase::families().contains(QStringLiteral("DSEG7 Classic")))
            GTEST_SKIP() << "the DSEG7 fonts (fonts-dseg) are not installed";
    }
    FakeKobuRes library;
};

}  // namespace

TEST_F(DegitDrawing, sevenLightsOnlyTheRightCellAndOnlyOnTheDimEight)
{
    M_Degit dim(library);
    setUp(dim, 3, {});
    dim.setValue(QString());
    M_Degit seven(library);
    setUp(seven, 3, {});
    seven.setValue(int16_t(7));
    ASSERT_EQ(seven.surface().size(), QSize(57, 29));

    int lit = 0;
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 57; ++x) {
            const QRgb p = seven.surface().pixel(x, y);
            if (!hasGreen(p)) {
                EXPECT_EQ(p, dim.surface().pixel(x, y)) << x << "," << y;
                continue;
            }
            ++lit;
            EXPECT_GE(x, 38) << "lit ink outside the right cell at " << x << "," << y;
            EXPECT_FALSE(isBackground(dim.surface().pixel(x, y))) << "lit off the dim 8 at " << x << "," << y;
        }
    EXPECT_GT(lit, 40);
    EXPECT_EQ(readCells(seven, {}), QStringLiteral("  7"));
}

TEST_F(DegitDrawing, everyCharacterLiesOnItsEightInEveryStyleAndSize)
{
    for (int16_t style : {0, 1, 2})
        for (int16_t size : {0, 1, 2, 3}) {
            M_Degit dim(library);
            setUp(dim, 1, {style, size});
            dim.setValue(QString());
            const QImage& eight = dim.surface();
            // The dim 8 fills its cell from top to bottom and stays clear of both side edges,
            // so neighbouring cells never touch.
            int top = eight.height(), bottom = -1, left = eight.width(), right = -1;
            for (int y = 0; y < eight.height(); ++y)
                for (int x = 0; x < eight.width(); ++x)
                    if (!isBackground(eight.pixel(x, y))) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            EXPECT_LE(top, 1) << style << "/" << size;
            EXPECT_GE(bottom, eight.height() - 2) << style << "/" << size;
            EXPECT_GT(left, 0) << style << "/" << size;
            EXPECT_LT(right, eight.width() - 1) << style << "/" << size;

            for (QChar c : QStringLiteral("0123456789-")) {
                M_Degit one(library);
                setUp(one, 1, {style, size});
                one.setZeroMode(-1);
                one.setValue(QString(c));
                for (int y = 0; y < eight.height(); ++y)
                    for (int x = 0; x < eight.width(); ++x)
                        if (hasGreen(one.surface().pixel(x, y))) {
                            ASSERT_FALSE(isBackground(eight.pixel(x, y)))
                                << "'" << c.toLatin1() << "' style " << style << " size " << size << " at " << x
                                << "," << y;
                        }
            }
        }
}

TEST_F(DegitDrawing, cellsShowWhatTheRulesLeave)
{
    M_Degit d(library);
    setUp(d, 3, {});
    d.setValue(int16_t(0));
    EXPECT_EQ(readCells(d, {}), QStringLiteral("   "));  // zero shows nothing in mode 0
    d.setValue(int16_t(250));
    EXPECT_EQ(readCells(d, {}), QStringLiteral("250"));
    d.setShift(1);
    d.setValue(int16_t(120));
    EXPECT_EQ(readCells(d, {}), QStringLiteral("20 "));
    d.setShift(0);
    d.setFillZero(3);
    d.setValue(int16_t(5));
    EXPECT_EQ(readCells(d, {}), QStringLiteral("005"));
    d.setValue(int16_t(-5));
    EXPECT_EQ(readCells(d, {}), QStringLiteral("005"));  // the minus falls off the left

    d.setFillZero(0);
    d.setKeta(4);
    d.setValue(int32_t(12345));
    EXPECT_EQ(readCells(d, {}), QStringLiteral("2345"));
    d.setValue(int16_t(-12));
    EXPECT_EQ(readCells(d, {}), QStringLiteral(" -12"));
    for (int16_t mode : {-1, 0, 1, 2, 3}) {
        d.setZeroMode(mode);
        d.setValue(QStringLiteral(" "));
        EXPECT_EQ(readCells(d, {}), QStringLiteral("    ")) << mode;
    }
}

TEST_F(DegitDrawing, resetLightsEveryCellWhateverTheModes)
{
    M_Degit d(library);
    setUp(d, 3, {});
    d.setZeroMode(2);
    d.setShift(2);
    d.setFillZero(1);
    d.ResetDegit(-1);
    EXPECT_EQ(readCells(d, {}), QStringLiteral("888"));
    d.ResetDegit(0);
    EXPECT_EQ(readCells(d, {}), QStringLiteral("   "));
}

TEST_F(DegitDrawing, styleAndColourChangesRedrawAtOnce)
{
    M_Degit d(library);
    setUp(d, 3, {0, 2});
    d.setValue(int16_t(7));
    const QImage classic = d.surface();
    d.setDegitStyle(2);
    EXPECT_NE(d.surface(), classic);
    EXPECT_EQ(readCells(d, {2, 2}), QStringLiteral("  7"));

    // A new dim colour recolours only the dim segments.
    const QImage before = d.surface();
    d.setBaseForeColor(0xFF0000);  // blue
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            const QRgb was = before.pixel(x, y);
            const QRgb now = d.surface().pixel(x, y);
            if (qGreen(was) == 255) {
                EXPECT_EQ(now, was) << x << "," << y;  // fully lit
            } else if (qRed(was) > 0 && !hasGreen(was)) {
                EXPECT_GT(qBlue(now), 0) << x << "," << y;  // dim only
            }
        }
}

TEST_F(DegitDrawing, aRepaintShowsTheKeptPicture)
{
    M_Degit d(library);
    setUp(d, 3, {});
    d.setValue(int16_t(250));
    EXPECT_EQ(d.grab().toImage().convertToFormat(QImage::Format_RGB32), d.surface());
}
