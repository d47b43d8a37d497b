#include "board/BoardLayout.h"
#include "board/Form1.h"
#include "board/SettingsStore.h"
#include "controls/digit/DegitText.h"
#include "controls/digit/M_Degit.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QTest>

using namespace fareboard;
using namespace fareboard::test;

namespace {

struct Board {
    FakeServices fakes;
    Form1 form{fakes.library, fakes.clock};
    std::vector<bool> consoleEnabled;
    Board()
    {
        form.setConsoleEnabler([this](bool on) { consoleEnabled.push_back(on); });
    }
};

int16_t asInt(const DegitValue& v) { return std::get<int16_t>(v); }

}  // namespace

TEST(Form1, ControlsSitOnThePanelGrid)
{
    Board b;
    EXPECT_EQ(b.form.size(), QSize(487, 269));
    EXPECT_TRUE(b.form.windowFlags() & Qt::FramelessWindowHint);
    for (int i = 1; i <= 24; ++i) {
        EXPECT_EQ(b.form.Degit(i)->geometry(), BoardLayout::degitRect(i)) << i;
        EXPECT_EQ(b.form.Degit(i)->Keta(), 3);
        EXPECT_EQ(b.form.Degit(i)->DegitSize(), 2);
        EXPECT_EQ(b.form.Degit(i)->DegitStyle(), 1);
        EXPECT_EQ(b.form.lblSeiriNum(i)->geometry(), BoardLayout::seiriNumRect(i)) << i;
        EXPECT_EQ(b.form.findChild<M_Degit*>(QStringLiteral("Degit(%1)").arg(i)), b.form.Degit(i));
    }
    EXPECT_EQ(b.form.Degit(0)->geometry(), QRect(140, 2, 52, 20));
    EXPECT_EQ(b.form.Degit(0)->Keta(), 4);
    EXPECT_EQ(b.form.lblSeiriNum(0)->geometry(), QRect(79, 3, 52, 16));
    EXPECT_EQ(b.form.TimeDegit(0)->geometry(), QRect(363, 2, 26, 20));
    EXPECT_EQ(b.form.TimeDegit(1)->geometry(), QRect(390, 2, 26, 20));
    EXPECT_EQ(b.form.TimeDegit(1)->Keta(), 2);
    EXPECT_EQ(b.form.ChimeiCtl()->geometry(), QRect(29, 41, 35, 192));
    EXPECT_EQ(b.form.Timer1().interval(), 1000);
    EXPECT_TRUE(b.form.Timer1().isActive());
    EXPECT_EQ(b.form.Picture().size(), QSize(488, 270));
}

TEST(Form1, ClockShowsHoursAndMinutesAsNumbers)
{
    Board b;
    b.fakes.clock.time = QDateTime(QDate(2026, 12, 8), QTime(9, 5, 59));
    b.form.Timer1_Timer();
    EXPECT_EQ(asInt(b.form.TimeDegit(0)->Value()), 9);
    EXPECT_EQ(asInt(b.form.TimeDegit(1)->Value()), 5);
    EXPECT_EQ(b.form.TimeDegit(0)->FillZero(), 0);
    EXPECT_EQ(b.form.TimeDegit(1)->FillZero(), 2) << "minutes show 05";
    b.fakes.clock.time = QDateTime(QDate(2026, 12, 8), QTime(23, 59, 0));
    b.form.Timer1_Timer();
    EXPECT_EQ(asInt(b.form.TimeDegit(0)->Value()), 23);
    EXPECT_EQ(asInt(b.form.TimeDegit(1)->Value()), 59);
}

TEST(Form1, ClockNeverGoesDarkAtZero)
{
    Board b;
    auto shown = [&](int i) {
        const M_Degit* d = b.form.TimeDegit(i);
        return degitDisplayText(d->Value(), {d->ZeroMode(), d->FillZero(), d->Shift(), d->Keta()});
    };
    const struct {
        QTime time;
        const char* hours;
        const char* minutes;
    } cases[] = {{QTime(0, 0), "0", "00"}, {QTime(0, 5), "0", "05"}, {QTime(9, 5), "9", "05"},
                 {QTime(12, 0), "12", "00"}, {QTime(23, 59), "23", "59"}};
    for (const auto& c : cases) {
        b.fakes.clock.time = QDateTime(QDate(2026, 12, 8), c.time);
        b.form.Timer1_Timer();
        EXPECT_EQ(shown(0), QString::fromLatin1(c.hours)) << c.time.toString().toStdString();
        EXPECT_EQ(shown(1), QString::fromLatin1(c.minutes)) << c.time.toString().toStdString();
    }
    // The display-clear switch blanks the clock with the empty text.
    b.form.TimeDegit(0)->setValue(QString());
    EXPECT_EQ(shown(0), QString());
}

TEST(Form1, DigitSettingsSpreadToAllFaresOnlyWhenAccepted)
{
    Board b;
    for (int i = 1; i <= 24; ++i)
        b.form.Degit(i)->setValue(static_cast<int16_t>(i * 10));

    b.form.Degit(7)->setUserSet(false);
    b.form.Degit_DblClick(7);
    EXPECT_TRUE(b.fakes.library.dlg100Calls.empty());
    EXPECT_TRUE(b.consoleEnabled.empty());

    // Cancelled: nothing changes on any display, and the console is usable again.
    const QImage before = b.form.Degit(3)->surface();
    b.form.Degit_DblClick(5);
    ASSERT_EQ(b.fakes.library.dlg100Calls.size(), 1u);
    EXPECT_EQ(b.fakes.library.dlg100Calls[0].keta, 3);
    EXPECT_EQ(b.consoleEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(b.form.Degit(3)->surface(), before);
    EXPECT_EQ(b.form.Degit(3)->FillZero(), 0);

    b.fakes.library.dlg100Answer = FakeKobuRes::Dlg100Answer{1, 1, 0, 3};
    b.form.Degit_DblClick(5);
    for (int j = 1; j <= 24; ++j) {
        EXPECT_EQ(b.form.Degit(j)->ZeroMode(), 1) << j;
        EXPECT_EQ(b.form.Degit(j)->FillZero(), 3) << j;
        EXPECT_EQ(asInt(b.form.Degit(j)->Value()), j * 10) << j;
    }
    EXPECT_NE(b.form.Degit(3)->surface(), before) << "030 is drawn with its zero";
    EXPECT_EQ(b.consoleEnabled.back(), true);
}

TEST(Form1, OnlyTheLeftButtonDragsTheBoard)
{
    Board b;
    b.form.move(100, 100);
    b.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.form));
    const QPoint start = b.form.pos();
    QTest::mousePress(&b.form, Qt::RightButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 40), b.form.mapToGlobal(QPointF(60, 40)), Qt::NoButton,
                     Qt::RightButton, {});
    QApplication::sendEvent(&b.form, &move);
    EXPECT_EQ(b.form.pos(), start);
    QTest::mouseRelease(&b.form, Qt::RightButton, {}, QPoint(60, 40));

    QTest::mousePress(&b.form, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent drag(QEvent::MouseMove, QPointF(65, 45), b.form.mapToGlobal(QPointF(65, 45)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(&b.form, &drag);
    QTest::mouseRelease(&b.form, Qt::LeftButton, {}, QPoint(65, 45));
    EXPECT_EQ(b.form.pos(), start + QPoint(60, 40));

    // Digits, labels and the stop-name column keep their presses; only the panel drags.
    for (QWidget* child : {static_cast<QWidget*>(b.form.Degit(8)), static_cast<QWidget*>(b.form.lblSeiriNum(8)),
                           static_cast<QWidget*>(b.form.ChimeiCtl())}) {
        const QPoint before = b.form.pos();
        QTest::mousePress(child, Qt::LeftButton, {}, QPoint(3, 3));
        QMouseEvent pull(QEvent::MouseMove, QPointF(200, 200), b.form.mapToGlobal(QPointF(200, 200)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(&b.form, &pull);
        QTest::mouseRelease(child, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(b.form.pos(), before) << child->objectName().toStdString();
    }
}

TEST(Form1, ShapeAndPlaceRoundTripThroughTwips)
{
    Board b;
    b.form.ShapeToClient();
    EXPECT_EQ(b.form.mask(), QRegion(0, 0, 487, 269));
    // Only the console ends the program; the board refuses a close from the window manager.
    b.form.show();
    EXPECT_FALSE(b.form.close());
    EXPECT_TRUE(b.form.isVisible());

    SettingsStore s;
    s.Board.BoardLeft = 1507;  // 100.47 pixels
    s.Board.BoardTop = 308;    // 20.53 pixels
    b.form.SetFormInfo(s);
    EXPECT_EQ(b.form.pos(), QPoint(100, 21));
    b.form.GetFormInfo(s);
    EXPECT_EQ(s.Board.BoardLeft, 1500);
    EXPECT_EQ(s.Board.BoardTop, 315);
}
