#include "controls/digit/M_Degit.h"
#include "support/FakeKobuRes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

using namespace fareboard;
using fareboard::test::FakeKobuRes;

namespace {

// Every property change the holder hears of, with the stored value at that moment.
struct ChangeLog {
    QStringList names;
    QList<int> ketaSeen;
    explicit ChangeLog(M_Degit& d)
    {
        QObject::connect(&d, &M_Degit::propertyChanged, [this, &d](const QString& name) {
            names.append(name);
            ketaSeen.append(d.Keta());
        });
    }
};

}  // namespace

TEST(M_Degit, newControlHasTheDefaultsAndShowsOnlyItsBackground)
{
    FakeKobuRes library;
    M_Degit d(library);
    EXPECT_EQ(d.BaseForeColor(), 0x969696);
    EXPECT_EQ(d.DegitForeColor(), 0x72D2F8);
    EXPECT_EQ(d.BackColor(), 0x808080);
    EXPECT_EQ(d.FillZero(), 0);
    EXPECT_EQ(d.ZeroMode(), 0);
    EXPECT_EQ(d.Shift(), 0);
    EXPECT_EQ(d.Keta(), 4);
    EXPECT_EQ(d.DegitSize(), 0);
    EXPECT_EQ(d.DegitStyle(), 0);
    EXPECT_EQ(d.Value(), DegitValue(int16_t(0)));
    EXPECT_TRUE(d.UserSet());
    EXPECT_EQ(d.size(), QSize(52, 20));
    QImage plain(d.surface().size(), d.surface().format());
    plain.fill(QColor(128, 128, 128));
    EXPECT_EQ(d.surface(), plain);
    EXPECT_TRUE(d.WriteProperties().isEmpty());
}

TEST(M_Degit, ketaAndSizeAreReportedAsGivenThenCorrectedAndResize)
{
    FakeKobuRes library;
    M_Degit d(library);
    ChangeLog log(d);
    d.setKeta(0);
    EXPECT_EQ(d.Keta(), 4);
    EXPECT_EQ(d.size(), QSize(52, 20));
    d.setKeta(16);
    EXPECT_EQ(d.Keta(), 4);
    EXPECT_EQ(log.names, QStringList({QStringLiteral("Keta"), QStringLiteral("Keta")}));
    EXPECT_EQ(log.ketaSeen, QList<int>({0, 16}));

    d.setKeta(3);
    d.setDegitSize(2);
    EXPECT_EQ(d.size(), QSize(57, 29));
    EXPECT_EQ(d.surface().size(), QSize(57, 29));
    d.setDegitSize(7);
    EXPECT_EQ(d.DegitSize(), 0);
    EXPECT_EQ(d.size(), QSize(39, 20));
    d.setDegitSize(1);
    EXPECT_EQ(d.size(), QSize(51, 26));
    d.setDegitSize(3);
    EXPECT_EQ(d.size(), QSize(33, 15));
}

TEST(M_Degit, fillShiftAndZeroModeAreLimitedByKeta)
{
    FakeKobuRes library;
    M_Degit d(library);
    d.setKeta(3);
    d.setFillZero(9);
    EXPECT_EQ(d.FillZero(), 3);
    d.setFillZero(-3);  // no lower limit
    EXPECT_EQ(d.FillZero(), -3);
    d.setShift(5);
    EXPECT_EQ(d.Shift(), 2);
    d.setShift(-2);
    EXPECT_EQ(d.Shift(), 0);
    d.setZeroMode(4);
    EXPECT_EQ(d.ZeroMode(), 0);
    d.setZeroMode(-1);
    EXPECT_EQ(d.ZeroMode(), -1);
    d.setZeroMode(3);
    EXPECT_EQ(d.ZeroMode(), 3);
}

TEST(M_Degit, modeChangesWaitForTheNextValue)
{
    FakeKobuRes library;
    M_Degit d(library);
    d.setKeta(3);
    d.setValue(int16_t(0));  // ZeroMode 0: all dark
    const QImage dark = d.surface();
    ChangeLog log(d);
    d.setZeroMode(1);
    d.setFillZero(3);
    d.setShift(1);
    EXPECT_EQ(log.names,
              QStringList({QStringLiteral("ZeroMode"), QStringLiteral("FillZero"), QStringLiteral("Shift")}));
    EXPECT_EQ(d.surface(), dark);
    d.setValue(int16_t(0));
    EXPECT_NE(d.surface(), dark);
}

TEST(M_Degit, valueReadsBackExactlyAsAssigned)
{
    FakeKobuRes library;
    M_Degit d(library);
    d.setKeta(3);
    d.setFillZero(3);
    d.setZeroMode(1);
    for (const DegitValue& v : {DegitValue(int16_t(5)), DegitValue(int32_t(12345)), DegitValue(2.5), DegitValue(true),
                                DegitValue(QStringLiteral(" ")), DegitValue(QString()), DegitValue(std::monostate{})}) {
        d.setValue(v);
        EXPECT_EQ(d.Value(), v);
    }
}

TEST(M_Degit, settingsDialogValuesAreTakenAsReturned)
{
    FakeKobuRes library;
    M_Degit d(library);
    d.setKeta(3);
    d.setZeroMode(2);
    d.setShift(1);
    d.setFillZero(3);
    d.setValue(int16_t(0));
    const QImage before = d.surface();

    library.dlg100Answer = FakeKobuRes::Dlg100Answer{2, 7, 2, -4};
    ChangeLog log(d);
    EXPECT_EQ(d.ShowSetDlg(), 2);
    ASSERT_EQ(library.dlg100Calls.size(), 1u);
    const auto& call = library.dlg100Calls.front();
    EXPECT_EQ(call.owner, &d);
    EXPECT_EQ(call.keta, 3);
    EXPECT_EQ(call.zeroMode, 2);
    EXPECT_EQ(call.shift, 1);
    EXPECT_EQ(call.fillZero, 3);
    // No limits and no change report; the picture follows at once.
    EXPECT_EQ(d.ZeroMode(), 7);
    EXPECT_EQ(d.Shift(), 2);
    EXPECT_EQ(d.FillZero(), -4);
    EXPECT_TRUE(log.names.isEmpty());
    EXPECT_NE(d.surface(), before);  // mode 7 applies no rule, so 0 is lit now in the left cell

    library.dlg100Answer.reset();  // the user cancels
    EXPECT_EQ(d.ShowSetDlg(), 0);
    EXPECT_EQ(d.ZeroMode(), 7);
}

TEST(M_Degit, resetLightsOrDarkensAllCellsAndKeepsTheModes)
{
    FakeKobuRes library;
    M_Degit d(library);
    d.setKeta(3);
    d.setZeroMode(2);
    d.setShift(1);
    d.setFillZero(3);
    d.ResetDegit(-1);
    EXPECT_EQ(d.Value(), DegitValue(QStringLiteral("888")));
    EXPECT_EQ(d.ZeroMode(), 2);
    EXPECT_EQ(d.Shift(), 1);
    EXPECT_EQ(d.FillZero(), 3);
    d.ResetDegit(0);
    EXPECT_EQ(d.Value(), DegitValue(QString()));
    EXPECT_EQ(d.Shift(), 1);
}

TEST(M_Degit, doubleClickIsPassedOn)
{
    FakeKobuRes library;
    M_Degit d(library);
    int clicks = 0;
    QObject::connect(&d, &M_Degit::DblClick, [&] { ++clicks; });
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&d, &event);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(library.dlg100Calls.empty());  // whether to open the dialog is the holder's call
}

TEST(M_Degit, storedPropertiesAreReadAsTheyAreAndWrittenWithoutDefaults)
{
    FakeKobuRes library;
    M_Degit d(library);
    const QImage before = d.surface();
    d.ReadProperties({{QStringLiteral("Keta"), 3}, {QStringLiteral("DegitSize"), 2},
                      {QStringLiteral("DegitStyle"), 1}, {QStringLiteral("Shift"), 9},
                      {QStringLiteral("Value"), QStringLiteral("250")}, {QStringLiteral("UserSet"), false}});
    EXPECT_EQ(d.Keta(), 3);
    EXPECT_EQ(d.Shift(), 9);  // no limits on loading
    EXPECT_EQ(d.Value(), DegitValue(QStringLiteral("250")));
    EXPECT_FALSE(d.UserSet());
    EXPECT_EQ(d.BaseForeColor(), 0x969696);
    EXPECT_EQ(d.size(), QSize(52, 20));  // the holder sizes it
    EXPECT_EQ(d.surface(), before);      // and nothing is drawn yet

    const M_Degit::SavedProperties saved = d.WriteProperties();
    QStringList keys;
    for (const auto& [key, value] : saved)
        keys.append(key);
    EXPECT_EQ(keys, QStringList({QStringLiteral("Shift"), QStringLiteral("Keta"), QStringLiteral("DegitSize"),
                                 QStringLiteral("DegitStyle"), QStringLiteral("Value"), QStringLiteral("UserSet")}));

    // What was written reads back to the same control.
    QVariantMap bag;
    for (const auto& [key, value] : saved)
        bag.insert(key, value);
    M_Degit copy(library);
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.WriteProperties(), saved);
    EXPECT_EQ(copy.Value(), d.Value());
}

TEST(M_Degit, backColorClearsThePictureToTheNewColour)
{
    FakeKobuRes library;
    M_Degit d(library);
    d.setKeta(1);
    d.setValue(QString());
    d.setBackColor(0x0000FF);  // red
    EXPECT_EQ(d.surface().pixelColor(0, 0), QColor(255, 0, 0));
    d.ReadProperties({{QStringLiteral("BackColor"), 0x00FF00}});
    QImage green(d.surface().size(), d.surface().format());
    green.fill(QColor(0, 255, 0));
    EXPECT_EQ(d.surface(), green);  // loading clears but does not draw the eights
}
