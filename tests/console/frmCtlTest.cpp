// The console driven through its real windows: keys clicked, routes reset, stops stepped, and
// the board, the sound channels and the tape read back as a user would notice them.
#include "announce/mdlM_Tape.h"
#include "app/Application.h"
#include "board/Form1.h"
#include "board/SettingsStore.h"
#include "console/frmCtl.h"
#include "controls/digit/M_Degit.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "options/ColorButton.h"
#include "options/frmOption.h"
#include "platform/OleColor.h"
#include "platform/ShiftJis.h"
#include "support/Fakes.h"
#include "support/SampleFiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace fareboard;
using namespace fareboard::test;

namespace {

// Records the waits like the shared fake, and lets a test look at the board while one runs.
class WatchingSleeper final : public Sleeper {
public:
    std::vector<int> calls;
    std::function<void(int)> during;
    void sleep(int milliseconds) override
    {
        calls.push_back(milliseconds);
        if (during)
            during(milliseconds);
    }
};

// Pixels of the lit-segment colour in a digit's picture.
int litPixels(M_Degit* digit)
{
    const QRgb lit = oleColorToQColor(digit->DegitForeColor()).rgb();
    const QImage img = digit->surface().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (lit & 0xFFFFFF);
    return n;
}

class Console : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeServices fakes;
    WatchingSleeper sleeper;
    std::unique_ptr<Application> app;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        PlatformServices base = fakes.services();
        PlatformServices services{fakes.messageBox, sleeper,      fakes.clock,
                                  fakes.library,    fakes.shell,  fakes.audio,
                                  base.makeSpeechEngine};
        app = std::make_unique<Application>(services,
                                            ApplicationConfig{QStringLiteral("fareboard"), settingsPath()});
        app->start();
        // Routes live in a folder of their own; the folders are typed without a separator.
        QDir(dir.path()).mkdir(QStringLiteral("routes"));
        options().Text2(0)->setText(routes());
        options().Text2(1)->setText(routes());
        // Every board update asks the plug-in to draw, so the draw calls count the updates.
        options().chkUseSeiriPrev()->setChecked(true);
        options().txtSeiriPlgDir()->setText(dir.filePath(QStringLiteral("ticket.4SP")));
        setSound(0, "route.wav");
        setSound(1, "key.wav");
        setSound(3, "chime.wav");
        setSound(7, "step.wav");
        setSound(8, "col1.wav");
        setSound(9, "col2.wav");
        setSound(10, "col3.wav");
        fakes.audio.calls.clear();
        fakes.messageBox.shown.clear();
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("fareboard.in4")); }
    QString routes() const { return dir.filePath(QStringLiteral("routes")); }
    frmCtl& console() { return app->console(); }
    Form1& board() { return app->board(); }
    frmOption& options() { return app->options(); }
    RouteState& route() { return app->dataIo().Route; }

    QString soundPath(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void setSound(int index, const char* name)
    {
        QFile f(soundPath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
        options().txtSelectSound(index)->setText(soundPath(name));
    }

    void writeRoute(const QString& key, int count, const std::vector<SampleRow>& rows)
    {
        QFile f(routes() + QLatin1Char('/') + key + QStringLiteral(".hy3"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(fareFileBytes(count, rows));
    }
    void writeRoute(const QString& key, int rows) { writeRoute(key, rows, numberedRows(rows)); }

    // Lines of "text,step flag,chime flag", stored as the announcement tools write them.
    void writeTape(const QString& key, const QStringList& lines)
    {
        QFile f(routes() + QLatin1Char('/') + key + QStringLiteral("tp.csv"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(toShiftJis(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }

    // Clicks keypad keys: digits, 'R' for "系統", 'S' for "区間".
    void type(const char* keys)
    {
        for (const char* k = keys; *k; ++k) {
            const int index = *k == 'R' ? 10 : (*k == 'S' ? 11 : *k - '0');
            QTest::mouseClick(console().CommandButton1(index), Qt::LeftButton, {}, QPoint(15, 13));
        }
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void keypadReset(const char* keys)
    {
        type(keys);
        click(console().Command1(1));
    }
    void forward() { click(console().Command2(1)); }
    void back() { click(console().Command2(0)); }

    QString shown(int digit) { return degitValueText(board().Degit(digit)->Value()); }

    // The stop-name column as it looks with `name` on it.
    QImage columnWith(const QString& name)
    {
        const ChimeiCtl_B* live = board().ChimeiCtl();
        ChimeiCtl_B reference;
        reference.setBackColor(live->BackColor());
        reference.setForeColor(live->ForeColor());
        reference.setMode(live->Mode());
        reference.setFontMode(live->FontMode());
        reference.setFontBold(live->FontBold());
        reference.SetChimei(name);
        return reference.strip().copy();
    }
    bool columnShows(const QString& name) { return board().ChimeiCtl()->strip() == columnWith(name); }

    QStringList opened(const QString& channel) const
    {
        QStringList files;
        const QString tail = QStringLiteral(" alias fareboard") + channel;
        for (const QString& call : fakes.audio.calls)
            if (call.startsWith(QStringLiteral("open ")) && call.endsWith(tail))
                files << call.section(QLatin1Char('"'), 1, 1).section(QLatin1Char('/'), -1);
        return files;
    }
    size_t updates() const { return fakes.library.drawCalls.size(); }
};

TEST_F(Console, KeypadFillsTheDisplaysWithinTheirLengths)
{
    type("7");
    EXPECT_EQ(console().Label2(2)->text(), QStringLiteral("7")) << "digits before 系統 go to the section";
    EXPECT_EQ(console().Label2(0)->text(), QString());

    type("R123456");
    EXPECT_EQ(console().Label2(0)->text(), QStringLiteral("12345"));
    type("S");
    EXPECT_EQ(console().Label2(2)->text(), QString());
    EXPECT_EQ(console().Label2(0)->text(), QStringLiteral("12345")) << "区間 clears only the section";
    type("9087");
    EXPECT_EQ(console().Label2(2)->text(), QStringLiteral("908"));
    type("R012");
    EXPECT_EQ(console().Label2(0)->text(), QStringLiteral("012"));
    EXPECT_EQ(console().Label2(2)->text(), QStringLiteral("908"));

    // Every key plays the key sound on the entry channel; nothing else happens yet.
    EXPECT_EQ(opened(QStringLiteral("S1")), QStringList(17, QStringLiteral("key.wav")));
    EXPECT_TRUE(opened(QStringLiteral("S2")).isEmpty());
    EXPECT_FALSE(console().Command2(1)->isEnabled());
    EXPECT_EQ(updates(), 0u);
}

TEST_F(Console, ResetRunsTheLampTestThenShowsTheSection)
{
    writeRoute(QStringLiteral("12"), 10);
    std::vector<int> litDuringWait;
    std::vector<QImage> picturesDuringWait;
    QImage columnDuringWait;
    sleeper.during = [&](int ms) {
        if (ms != 3000)
            return;
        for (int i = 1; i <= 24; ++i)
            picturesDuringWait.push_back(board().Degit(i)->surface().copy());
        columnDuringWait = board().ChimeiCtl()->strip().copy();
    };
    EXPECT_FALSE(console().Check1()->isEnabled());

    keypadReset("R12S5");

    ASSERT_EQ(std::count(sleeper.calls.begin(), sleeper.calls.end(), 3000), 1);
    EXPECT_EQ(columnDuringWait, columnWith(QStringLiteral("系統選別中")));
    ASSERT_EQ(picturesDuringWait.size(), 24u);
    for (int i = 1; i <= 24; ++i) {
        // The same digit with every segment lit, as it draws that on its own.
        M_Degit* d = board().Degit(i);
        const DegitValue keep = d->Value();
        d->ResetDegit(-1);
        EXPECT_EQ(picturesDuringWait[size_t(i - 1)], d->surface()) << "Degit(" << i << ") not all lit";
        d->setValue(keep);
    }

    // Section 5: tickets 1..4 show the 0 the lamp test left, 5..24 the fares of row 5.
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(shown(i), QStringLiteral("0")) << i;
    for (int i = 5; i <= 24; ++i)
        EXPECT_EQ(shown(i), QString::number(50 + i)) << i;
    EXPECT_TRUE(columnShows(QStringLiteral("S5")));
    EXPECT_TRUE(console().Command2(0)->isEnabled());
    EXPECT_TRUE(console().Command2(1)->isEnabled());
    EXPECT_TRUE(console().Check1()->isEnabled());
    EXPECT_EQ(opened(QStringLiteral("S1")).last(), QStringLiteral("route.wav"));
    ASSERT_EQ(updates(), 1u);
    EXPECT_EQ(fakes.library.drawCalls[0].section, 5);
    EXPECT_EQ(fakes.library.drawCalls[0].stopName, QStringLiteral("S5"));
    EXPECT_EQ(fakes.library.drawCalls[0].date, QStringLiteral("03-05-2010"));
    EXPECT_EQ(fakes.library.drawCalls[0].time, QStringLiteral("09:05:00"));
    EXPECT_TRUE(fakes.messageBox.shown.empty());
    // The keypad keeps what was typed.
    EXPECT_EQ(console().Label2(0)->text(), QStringLiteral("12"));
    EXPECT_EQ(console().Label2(2)->text(), QStringLiteral("5"));
}

TEST_F(Console, SectionIsClampedAndRouteReadWithoutLeadingZeros)
{
    writeRoute(QStringLiteral("12"), 301);
    writeTape(QStringLiteral("12"), {QStringLiteral("十二番,0,0")});

    keypadReset("R00012S0");
    EXPECT_EQ(route().SectionNo, 1);
    EXPECT_EQ(shown(1), QStringLiteral("11")) << "section 0 is the first";
    EXPECT_EQ(app->tape().TapeCount(), 1) << "route 00012 reads the tape of route 12";
    EXPECT_EQ(fakes.library.drawCalls.back().routeNo, 12);

    keypadReset("S");  // empty section
    EXPECT_EQ(route().SectionNo, 1);
    EXPECT_TRUE(columnShows(QStringLiteral("S1")));

    keypadReset("S999");
    EXPECT_EQ(route().SectionNo, 300);
    EXPECT_EQ(fakes.library.drawCalls.back().section, 300);
    EXPECT_TRUE(columnShows(QStringLiteral("S300")));
    // Beyond ticket 24 no fare is written: the lamp test's 0 stays.
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(shown(i), QStringLiteral("0")) << i;
    // The last row of a full table is reachable, and no further.
    forward();
    EXPECT_TRUE(columnShows(QStringLiteral("S301")));
    const size_t before = updates();
    forward();
    EXPECT_EQ(updates(), before);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
}

TEST_F(Console, ListPanelResetsFromTheSelectedDigits)
{
    writeRoute(QStringLiteral("305"), 8);
    // A double-click on a display of the keypad swaps nothing; one on its background sends it
    // behind the lists.
    QTest::mouseDClick(console().Label2(0), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(console().frontPanel(), 0);
    QTest::mouseDClick(console().Frame1(1), Qt::LeftButton, {}, QPoint(3, 100));
    EXPECT_EQ(console().frontPanel(), 1);
    QWidget* front = console().childAt(QPoint(70, 120));
    EXPECT_TRUE(front == console().Frame1(0) || console().Frame1(0)->isAncestorOf(front));

    auto choose = [](QListWidget* list, int digit) {
        QListWidgetItem* item = list->item(digit);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    };
    const int routeDigits[5] = {0, 0, 3, 0, 5};
    for (int i = 0; i < 5; ++i)
        choose(console().List2(i), routeDigits[i]);
    choose(console().List3(2), 4);
    EXPECT_EQ(opened(QStringLiteral("S1")),
              (QStringList(5, QStringLiteral("key.wav")) << QStringLiteral("route.wav")))
        << "route lists play the key sound, section lists the route-setting sound";

    click(console().Command1(0));
    EXPECT_EQ(route().RouteText, QStringLiteral("00305"));
    EXPECT_EQ(route().SectionNo, 4);
    EXPECT_EQ(shown(4), QStringLiteral("44"));
    EXPECT_TRUE(columnShows(QStringLiteral("S4")));

    QTest::mouseDClick(console().findChild<QLabel*>(QStringLiteral("Label5")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(console().frontPanel(), 1) << "a heading is not the panel";
    QTest::mouseDClick(console().Frame1(0), Qt::LeftButton, {}, QPoint(3, 100));
    EXPECT_EQ(console().frontPanel(), 0);
    front = console().childAt(QPoint(70, 120));
    EXPECT_TRUE(front == console().Frame1(1) || console().Frame1(1)->isAncestorOf(front));
}

TEST_F(Console, SteppingStaysWithinTheRouteAndPlaysTheStepSound)
{
    writeRoute(QStringLiteral("12"), 4);

    // Before any reset the buttons take no clicks, and the step itself has nothing to do.
    forward();
    back();
    console().Command2_Click(1);
    console().Command2_Click(0);
    EXPECT_TRUE(fakes.audio.calls.isEmpty());
    EXPECT_EQ(updates(), 0u);

    keypadReset("R12S1");
    fakes.audio.calls.clear();
    const size_t afterReset = updates();
    back();  // at the first row
    EXPECT_TRUE(fakes.audio.calls.isEmpty());
    EXPECT_EQ(updates(), afterReset);
    EXPECT_EQ(shown(1), QStringLiteral("11"));

    forward();
    forward();
    forward();  // row 4, the last
    EXPECT_TRUE(columnShows(QStringLiteral("S4")));
    EXPECT_EQ(shown(1), QStringLiteral("41"));
    EXPECT_EQ(opened(QStringLiteral("S2")), QStringList(3, QStringLiteral("step.wav")));
    // Stepping does not wait for its sound unless the options say so.
    EXPECT_TRUE(fakes.audio.calls.contains(QStringLiteral("play fareboardS2 from 0")));
    fakes.audio.calls.clear();
    const size_t atEnd = updates();
    forward();
    EXPECT_TRUE(fakes.audio.calls.isEmpty());
    EXPECT_EQ(updates(), atEnd);
    EXPECT_EQ(route().StopIndex, 3);

    options().Option6(0)->setChecked(true);
    back();
    EXPECT_EQ(shown(1), QStringLiteral("31"));
    EXPECT_TRUE(fakes.audio.calls.contains(QStringLiteral("play fareboardS2 from 0 wait")));
}

TEST_F(Console, ColumnSoundModePlaysOnlyForValuesOneToThree)
{
    // Column 30 of rows 1..7 holds 1, 2, 3, 0, 4, -1, 1; column 1 the row number times 100.
    std::vector<SampleRow> rows = numberedRows(7);
    const int flags[7] = {1, 2, 3, 0, 4, -1, 1};
    for (int r = 0; r < 7; ++r) {
        rows[size_t(r)].values[29] = flags[r];
        rows[size_t(r)].values[0] = 100 * (r + 1);
    }
    writeRoute(QStringLiteral("8"), 7, rows);
    options().Option2(1)->setChecked(true);
    options().Combo1()->setCurrentIndex(29);

    keypadReset("R8S1");
    fakes.audio.calls.clear();
    QStringList expected;
    for (int r = 2; r <= 7; ++r) {
        const size_t before = updates();
        forward();
        EXPECT_EQ(updates(), before + 1) << "row " << r << " refreshed";
        EXPECT_EQ(shown(1), QString::number(100 * r));
        const int v = flags[r - 1];
        if (v >= 1 && v <= 3)
            expected << QStringLiteral("col%1.wav").arg(v);
        EXPECT_EQ(opened(QStringLiteral("S2")), expected) << "arriving at row " << r;
    }
    back();  // back to row 6 (-1): the rule looks at the row arrived at
    EXPECT_EQ(opened(QStringLiteral("S2")), expected);
    back();  // row 5 (4)
    back();  // row 4 (0)
    back();  // row 3 (3)
    EXPECT_EQ(opened(QStringLiteral("S2")), expected << QStringLiteral("col3.wav"));

    // No column chosen: silent, and the board still follows.
    options().Combo1()->setCurrentIndex(-1);
    fakes.audio.calls.clear();
    forward();
    EXPECT_TRUE(opened(QStringLiteral("S2")).isEmpty());
    EXPECT_EQ(shown(1), QStringLiteral("400"));
}

TEST_F(Console, SectionBeyondTheGridLeavesFaresButUpdatesTheRest)
{
    writeRoute(QStringLiteral("40"), 30);
    options().Check3(0)->setChecked(true);
    options().Combo4(0)->setCurrentIndex(-1);  // no digit chosen: the spare digit above the grid
    keypadReset("R40S25");
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(shown(i), QStringLiteral("0")) << i;
    EXPECT_EQ(shown(0), QStringLiteral("25"));
    EXPECT_TRUE(columnShows(QStringLiteral("S25")));
    forward();
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(shown(i), QStringLiteral("0")) << i;
    EXPECT_EQ(shown(0), QStringLiteral("26"));
    EXPECT_TRUE(columnShows(QStringLiteral("S26")));
    EXPECT_EQ(fakes.library.drawCalls.back().stopName, QStringLiteral("S26"));
}

// An imported route numbers its tickets by fare zone, not by stop: started in the middle, the
// board shows the tickets from the starting stop's own number on, and the tape's next entry is
// the one that steps the board on from there.
TEST_F(Console, ImportedRouteStartedMidwayShowsItsTicketsAndTheTapeKeepsStep)
{
    const QString sample = QStringLiteral(FAREBOARD_GTFS_SAMPLE_DIR);
    options().Text2(0)->setText(sample);
    options().Text2(1)->setText(sample);
    const FareTable& table = app->dataIo().Table;
    for (const char* keys : {"R2S9", "R2S20"}) {
        keypadReset(keys);
        ASSERT_TRUE(fakes.messageBox.shown.empty()) << keys;
        const int start = route().SectionNo;
        const int first = table.row(start).TicketNo;
        ASSERT_LT(first, start) << keys << ": the sample's zones should issue fewer tickets than stops";
        for (int i = 1; i <= 24; ++i) {
            const QString expected = i < first ? QStringLiteral("0") : QString::number(table.row(start).value(i));
            EXPECT_EQ(shown(i), expected) << keys << " ticket " << i;
        }
        EXPECT_NE(shown(first), QStringLiteral("0")) << keys << ": the starting stop's own ticket owes a fare";

        const mdlM_Tape& tape = app->tape();
        const TapeEntry* next = tape.entryAt(tape.TapePos() + 1);
        ASSERT_NE(next, nullptr) << keys;
        EXPECT_EQ(next->StepFlag, 1) << keys;
        EXPECT_TRUE(next->Text.contains(table.row(start + 1).StopName)) << keys << ": " << next->Text.toStdString();
        click(console().cmdTapeNext());
        EXPECT_EQ(route().StopIndex, start) << keys << ": the tape stepped the board to the next stop";
    }
    // Driven to the end, every ticket issued from the start on shows at the terminus.
    keypadReset("R2S9");
    while (route().StopIndex + 1 < route().RowCount)
        forward();
    const FareTable::Row& last = table.row(route().RowCount);
    for (int i = table.row(9).TicketNo; i <= std::min<int>(24, last.TicketNo); ++i)
        EXPECT_EQ(shown(i), QString::number(last.value(i))) << "terminus ticket " << i;
}

// The first row keeps the tape at its start: the first "送り" is the greeting.
TEST_F(Console, TapeStartsBeforeTheGreetingAtTheFirstSection)
{
    writeRoute(QStringLiteral("12"), 6);
    writeTape(QStringLiteral("12"), {QStringLiteral("ようこそ,0,0"), QStringLiteral("次は、S2です,1,1"),
                                     QStringLiteral("次は、S3です,1,1"), QStringLiteral("S3です,0,0"),
                                     QStringLiteral("次は、S4です,1,1")});
    keypadReset("R12S1");
    EXPECT_EQ(app->tape().TapePos(), 0);
    keypadReset("R12S3");
    EXPECT_EQ(app->tape().entryAt(app->tape().TapePos() + 1)->Text, QStringLiteral("次は、S4です"));
    keypadReset("R12S5");  // more rows than the tape steps through: as loaded
    EXPECT_EQ(app->tape().TapePos(), 0);
}

// The keyboard presses the console's buttons: whatever button holds the focus, Space is the
// tape's 送り and Enter the keypad's リセット.
TEST_F(Console, KeysDriveTheConsoleAsItsButtonsDo)
{
    writeRoute(QStringLiteral("12"), 6);
    writeTape(QStringLiteral("12"), {QStringLiteral("ようこそ,0,0"), QStringLiteral("次は、S2です,1,1")});
    console().show();
    QTest::keyClicks(&console(), QStringLiteral("s12k2"));
    EXPECT_EQ(console().Label2(0)->text(), QStringLiteral("12"));
    EXPECT_EQ(console().Label2(2)->text(), QStringLiteral("2"));
    QTest::keyClick(&console(), Qt::Key_PageDown);  // nothing to step before a route is set
    EXPECT_EQ(route().RowCount, 0);
    QTest::keyClick(&console(), Qt::Key_Return);
    EXPECT_EQ(route().StopIndex, 1);
    QTest::keyClick(&console(), Qt::Key_PageDown);
    EXPECT_EQ(route().StopIndex, 2);
    QTest::keyClick(&console(), Qt::Key_PageUp);
    EXPECT_EQ(route().StopIndex, 1);

    console().Command2(0)->setFocusPolicy(Qt::StrongFocus);
    console().Command2(0)->setFocus();
    keypadReset("R12S1");
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &console(), Qt::Key_Space);
    FakeSpeechEngine* speech = fakes.speech;
    ASSERT_NE(speech, nullptr);
    EXPECT_EQ(speech->spoken().size(), 1) << "Space is the tape's 送り, not a click of the focused button";
    EXPECT_EQ(route().StopIndex, 0);
    QTest::keyClick(&console(), Qt::Key_Escape);
    EXPECT_FALSE(speech->speaking());
    EXPECT_TRUE(console().Command2(1)->toolTip().contains(QStringLiteral("PageDown")));
}

TEST_F(Console, LateNightDoublesFaresButNotTheMissingOnes)
{
    std::vector<SampleRow> rows = numberedRows(3);
    rows[0].values[0] = 230;
    rows[0].values[1] = -1;
    rows[0].values[2] = 0;
    rows[0].values[3] = 20000;  // doubled beyond 16 bits
    writeRoute(QStringLiteral("5"), 3, rows);
    console().Check2()->setChecked(true);
    keypadReset("R5S1");
    EXPECT_EQ(shown(1), QStringLiteral("460"));
    EXPECT_EQ(shown(2), QStringLiteral("-1"));
    EXPECT_EQ(shown(3), QStringLiteral("0"));
    EXPECT_EQ(shown(4), QStringLiteral("40000"));
    EXPECT_EQ(shown(5), QStringLiteral("30"));

    click(console().Check2());  // off again: the next row shows day fares
    forward();
    EXPECT_EQ(shown(1), QStringLiteral("21"));
}

TEST_F(Console, InformationDigitsReplaceFares)
{
    writeRoute(QStringLiteral("12"), 5);
    options().Check3(0)->setChecked(true);
    options().Combo4(0)->setCurrentIndex(2);  // Degit(3)
    options().Check3(4)->setChecked(true);    // counted from 0
    options().Check3(2)->setChecked(true);
    options().Combo4(2)->setCurrentIndex(9);  // Degit(10)
    options().Check3(1)->setChecked(true);
    options().Combo4(1)->setCurrentIndex(23);  // Degit(24)
    keypadReset("R012S1");
    EXPECT_EQ(shown(3), QStringLiteral("0")) << "row 1 counted from 0 replaces ticket 3's fare";
    EXPECT_EQ(shown(4), QStringLiteral("14"));
    EXPECT_EQ(shown(10), QStringLiteral("012")) << "the route as typed";
    EXPECT_EQ(shown(24), QStringLiteral("1")) << "the row's ticket number";
    EXPECT_EQ(fakes.library.drawCalls.back().routeNo, 12);
    forward();
    EXPECT_EQ(shown(3), QStringLiteral("1"));
    EXPECT_EQ(shown(24), QStringLiteral("2"));

    options().Check3(4)->setChecked(false);
    forward();
    EXPECT_EQ(shown(3), QStringLiteral("3"));
}

TEST_F(Console, MissingFareFileKeepsTheBoardButTheTapeTakesTheNewRoute)
{
    writeRoute(QStringLiteral("12"), 8);
    writeTape(QStringLiteral("12"), {QStringLiteral("次は、S2です,1,1")});
    writeTape(QStringLiteral("34"), {QStringLiteral("三十四系統です,0,0"), QStringLiteral("次は終点です,0,0")});
    keypadReset("R12S2");
    forward();
    forward();  // row 4
    fakes.library.drawCalls.clear();

    keypadReset("R34S1");
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, QStringLiteral("指定した系統のデータがありません..."));
    EXPECT_EQ(updates(), 0u);
    EXPECT_EQ(std::count(sleeper.calls.begin(), sleeper.calls.end(), 3000), 1) << "no lamp test";
    EXPECT_TRUE(columnShows(QStringLiteral("S4")));
    EXPECT_EQ(shown(1), QStringLiteral("0"));
    EXPECT_EQ(shown(2), QStringLiteral("42"));
    ASSERT_EQ(app->tape().TapeCount(), 2);
    EXPECT_EQ(app->tape().entryAt(1)->Text, QStringLiteral("三十四系統です"));

    // Stepping goes on over route 12 from where it was.
    forward();
    EXPECT_TRUE(columnShows(QStringLiteral("S5")));
    EXPECT_EQ(shown(2), QStringLiteral("52"));
    EXPECT_EQ(shown(1), QStringLiteral("0"));
    EXPECT_EQ(fakes.library.drawCalls.back().routeNo, 12);
}

TEST_F(Console, TapeStepsTheFaresWhereItsEntrySaysSo)
{
    writeRoute(QStringLiteral("12"), 6);
    writeTape(QStringLiteral("12"), {QStringLiteral("\"この バスは、駅前行きです\",0,0"),
                                     QStringLiteral("次は、S2です,1,1"), QStringLiteral("次は、S3です,1,2")});
    keypadReset("R12S1");
    FakeSpeechEngine* speech = fakes.speech;
    ASSERT_NE(speech, nullptr);
    EXPECT_TRUE(console().grpM_Tape()->isEnabled());
    fakes.audio.calls.clear();

    click(console().cmdTapeNext());
    // The voice is given the entry with the bus words read out (行き after a name is ゆき).
    EXPECT_EQ(speech->spoken().last(), QStringLiteral("この バスは、駅前ユキです"));
    EXPECT_EQ(route().StopIndex, 0) << "step flag 0 stays";
    click(console().cmdTapeNext());
    EXPECT_EQ(speech->spoken().last(), QStringLiteral("ツギワ、エス2です"));
    EXPECT_EQ(route().StopIndex, 1);
    EXPECT_TRUE(columnShows(QStringLiteral("S2")));
    EXPECT_EQ(shown(1), QStringLiteral("21"));
    // The chime on the tape's channel, the step's sound on its own.
    EXPECT_EQ(opened(QStringLiteral("S3")), QStringList(2, QStringLiteral("chime.wav")));
    EXPECT_EQ(opened(QStringLiteral("S2")), QStringList{QStringLiteral("step.wav")});

    click(console().cmdTapeBack());  // entry 1, step flag 0
    EXPECT_EQ(route().StopIndex, 1);
    click(console().cmdTapeNext());
    click(console().cmdTapeNext());  // entry 3, step flag 1
    EXPECT_EQ(route().StopIndex, 3);
    click(console().cmdTapeBack());  // entry 2, step flag 1: steps back
    EXPECT_EQ(route().StopIndex, 2);
    EXPECT_TRUE(columnShows(QStringLiteral("S3")));

    // "■" silences the voice; "調整" opens the voice's adjustment over the console.
    ASSERT_TRUE(speech->speaking());
    click(console().cmdTapeStop());
    EXPECT_FALSE(speech->speaking());
    EXPECT_EQ(speech->calls.last(), QStringLiteral("stop"));
    click(console().cmdTapeSet());
    EXPECT_EQ(speech->calls.last(), QStringLiteral("adjust 音声の調節"));
    EXPECT_EQ(speech->adjustOwner, &console());
}

TEST_F(Console, BacklightSetsPictureAndRecoloursLabels)
{
    const QImage greenPanel = [] {
        QImage i(488, 270, QImage::Format_RGB32);
        i.fill(Qt::green);
        return i;
    }();
    QImage bluePanel = greenPanel;
    bluePanel.fill(Qt::blue);
    board().setImgRes(1, bluePanel);
    board().setPicture(greenPanel);
    options().Option3(1)->setChecked(true);  // each state set on its own
    options().Option3(2)->setChecked(true);  // ON1 uses the user's picture
    options().txtSelectPanel(1)->setText(dir.filePath(QStringLiteral("gone.bmp")));
    options().Command5(1)->setBackColor(0x0000FF);
    auto labelsAre = [&](const QColor& c) {
        for (int i = 1; i <= 24; ++i)
            if (board().lblSeiriNum(i)->palette().color(QPalette::WindowText) != c)
                return false;
        return true;
    };

    click(console().Option4(1));
    EXPECT_TRUE(console().Option4(1)->isChecked());
    EXPECT_EQ(board().Picture(), greenPanel) << "a missing picture leaves the panel as it was";
    EXPECT_TRUE(labelsAre(QColor(255, 0, 0)));
    EXPECT_TRUE(fakes.messageBox.shown.empty());

    // A file that is not a picture is reported, and the labels still change.
    QFile junk(dir.filePath(QStringLiteral("junk.bmp")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is no picture");
    junk.close();
    options().txtSelectPanel(1)->setText(junk.fileName());
    options().Command5(1)->setBackColor(0x00FF00);
    click(console().Option4(1));
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].text,
              QStringLiteral("エラーです。\r\n\r\nエラーコード：481　指定した画像の内容が不正です。この部分では扱えません。"));
    EXPECT_EQ(fakes.messageBox.shown[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(board().Picture(), greenPanel);
    EXPECT_TRUE(labelsAre(QColor(0, 255, 0)));

    // A real picture is shown.
    QImage userPanel = greenPanel;
    userPanel.fill(Qt::magenta);
    const QString userFile = dir.filePath(QStringLiteral("user.png"));
    ASSERT_TRUE(userPanel.save(userFile));
    options().txtSelectPanel(1)->setText(userFile);
    click(console().Option4(1));
    EXPECT_EQ(board().Picture().convertToFormat(QImage::Format_RGB32), userPanel);

    // The automatic panels take the state's built-in picture.
    options().Option3(0)->setChecked(true);
    click(console().Option4(1));
    EXPECT_EQ(board().Picture(), bluePanel);
    click(console().Option4(0));
    EXPECT_TRUE(console().Option4(0)->isChecked());
    EXPECT_FALSE(console().Option4(1)->isChecked());
    EXPECT_TRUE(labelsAre(oleColorToQColor(options().Command5(0)->BackColor())));
}

TEST_F(Console, DisplayClearDarkensTheBoardAndBringsTheRowBack)
{
    writeRoute(QStringLiteral("12"), 9);
    writeTape(QStringLiteral("12"), {QStringLiteral("発車します,0,0")});
    keypadReset("R12S3");
    for (int i = 0; i < 4; ++i)
        forward();  // row 7
    ASSERT_TRUE(columnShows(QStringLiteral("S7")));

    click(console().Check1());
    ASSERT_TRUE(console().Check1()->isChecked());
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(litPixels(board().Degit(i)), 0) << "Degit(" << i << ") still lit";
    EXPECT_FALSE(board().Timer1().isActive());
    EXPECT_EQ(board().TimeDegit(0)->Value(), DegitValue(QString()));
    EXPECT_EQ(board().TimeDegit(1)->Value(), DegitValue(QString()));
    EXPECT_TRUE(columnShows(QString()));
    for (QWidget* w : {static_cast<QWidget*>(console().Frame1(0)), static_cast<QWidget*>(console().Frame1(1)),
                       static_cast<QWidget*>(console().Command2(0)), static_cast<QWidget*>(console().Command2(1)),
                       static_cast<QWidget*>(console().grpM_Tape()), static_cast<QWidget*>(console().Frame6())})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    const size_t before = updates();
    forward();  // takes no click while the board is dark
    EXPECT_EQ(updates(), before);

    fakes.clock.time = QDateTime(QDate(2010, 3, 5), QTime(21, 47, 0));
    click(console().Check1());
    EXPECT_TRUE(columnShows(QStringLiteral("S7")));
    EXPECT_EQ(shown(3), QStringLiteral("73"));
    EXPECT_EQ(shown(24), QStringLiteral("94"));
    // Below the section nothing is written, so those digits stay dark.
    EXPECT_EQ(litPixels(board().Degit(1)), 0);
    EXPECT_EQ(litPixels(board().Degit(2)), 0);
    EXPECT_GT(litPixels(board().Degit(3)), 0);
    EXPECT_TRUE(board().Timer1().isActive());
    EXPECT_EQ(board().TimeDegit(0)->Value(), DegitValue(int16_t(21)));
    EXPECT_EQ(board().TimeDegit(1)->Value(), DegitValue(int16_t(47)));
    EXPECT_TRUE(console().grpM_Tape()->isEnabled());
    EXPECT_TRUE(console().Command2(1)->isEnabled());
    EXPECT_TRUE(console().Frame6()->isEnabled());
}

TEST_F(Console, ClosingWithNoKeepsEverythingRunning)
{
    writeRoute(QStringLiteral("12"), 4);
    writeTape(QStringLiteral("12"), {QStringLiteral("発車します,0,0")});
    keypadReset("R12S1");
    fakes.audio.calls.clear();
    fakes.messageBox.answers.push_back(MessageBox::Answer::No);

    EXPECT_FALSE(console().close());
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, QStringLiteral("運賃表示器アプリを終了しますか？"));
    EXPECT_EQ(fakes.messageBox.shown[0].title, QStringLiteral("運賃表示器アプリの終了確認"));
    EXPECT_EQ(fakes.messageBox.shown[0].icon, MessageBox::Icon::Question);
    EXPECT_EQ(fakes.messageBox.shown[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_TRUE(console().isVisible());
    EXPECT_TRUE(board().isVisible());
    EXPECT_FALSE(QFile::exists(settingsPath())) << "nothing saved";
    EXPECT_TRUE(fakes.audio.calls.isEmpty()) << "no channel closed";
    EXPECT_TRUE(columnShows(QStringLiteral("S1")));
    EXPECT_FALSE(console().CommandButton1(5)->mask().isEmpty()) << "keys keep their shape";

    // Still driving: the step and the announcement work.
    forward();
    EXPECT_TRUE(columnShows(QStringLiteral("S2")));
    click(console().cmdTapeNext());
    EXPECT_EQ(fakes.speech->spoken(), QStringList{QStringLiteral("発車します")});

    // Ctrl+Q, the way out without a window manager, asks the same question.
    fakes.messageBox.answers.push_back(MessageBox::Answer::No);
    console().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&console()));
    QTest::keyClick(&console(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(fakes.messageBox.shown.size(), 2u);
    EXPECT_EQ(fakes.messageBox.shown[1].text, QStringLiteral("運賃表示器アプリを終了しますか？"));
    EXPECT_TRUE(console().isVisible());
}

TEST_F(Console, StepClickedDuringTheLampTestLeavesNameAndFaresOfOneStop)
{
    writeRoute(QStringLiteral("12"), 6);
    keypadReset("R12S2");
    // A click on "データ送り" while the second reset's lamp test holds the console: it waits
    // until the reset lets events through again, in the middle of showing the section.
    sleeper.during = [&](int ms) {
        if (ms == 3000)
            QMetaObject::invokeMethod(&console(), [&] { click(console().Command2(1)); }, Qt::QueuedConnection);
    };
    keypadReset("S3");
    sleeper.during = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(route().StopIndex, 3);
    EXPECT_EQ(shown(4), QStringLiteral("44")) << "fares of stop 4";
    EXPECT_TRUE(columnShows(QStringLiteral("S4"))) << "the name must belong to the same stop as the fares";
}

TEST_F(Console, SlidersPreviewAndPanelSurviveTheSettingsStore)
{
    // A slider shows its value and hands both scroll values to the stop-name column at once.
    console().HScroll1(0)->setValue(250);
    EXPECT_EQ(console().Label1(0)->text(), QStringLiteral("250"));
    EXPECT_EQ(board().ChimeiCtl()->Speed(), 250);
    EXPECT_EQ(board().ChimeiCtl()->ScrollStartWait(), console().HScroll1(1)->value());
    console().HScroll1(1)->setValue(1200);
    EXPECT_EQ(console().Label1(1)->text(), QStringLiteral("1200"));
    EXPECT_EQ(board().ChimeiCtl()->Speed(), 250);
    EXPECT_EQ(board().ChimeiCtl()->ScrollStartWait(), 1200);

    // The preview opens to the right and closes again.
    EXPECT_EQ(console().width(), 353);
    click(console().Check4());
    EXPECT_EQ(console().width(), frmCtl::kPreviewClientWidth);
    EXPECT_EQ(console().Check4()->text(), QStringLiteral("<<"));
    EXPECT_EQ(console().Check4()->toolTip(), QStringLiteral("整理券プレビューを隠します"));
    EXPECT_TRUE(console().rect().contains(console().picSeirikenPrev()->geometry()));
    // A plug-in with a wider ticket widens the opened console; it keeps its margin.
    const int margin = console().width() - console().picSeirikenPrev()->geometry().right();
    console().setPreviewSize(300, 93);
    EXPECT_EQ(console().width() - console().picSeirikenPrev()->geometry().right(), margin);
    console().setPreviewSize(220, 93);
    EXPECT_EQ(console().width(), frmCtl::kPreviewClientWidth);

    QTest::mouseDClick(console().Frame1(1), Qt::LeftButton, {}, QPoint(3, 100));
    console().Check2()->setChecked(true);
    console().move(120, 90);
    SettingsStore saved;
    console().GetCtrlDataInfo(saved);

    // A later run put back from the store.
    FakeServices others;
    QTemporaryDir otherDir;
    Application later(others.services(), {QStringLiteral("fareboard"), otherDir.filePath(QStringLiteral("x.in4"))});
    later.start();
    later.console().SetCtrlDataInfo(saved);
    frmCtl& c = later.console();
    EXPECT_EQ(c.pos(), QPoint(120, 90));
    EXPECT_EQ(c.HScroll1(0)->value(), 250);
    EXPECT_EQ(c.Label1(1)->text(), QStringLiteral("1200"));
    EXPECT_EQ(later.board().ChimeiCtl()->Speed(), 250);
    EXPECT_EQ(later.board().ChimeiCtl()->ScrollStartWait(), 1200);
    EXPECT_TRUE(c.Check4()->isChecked());
    EXPECT_EQ(c.width(), frmCtl::kPreviewClientWidth);
    EXPECT_EQ(c.Check4()->text(), QStringLiteral("<<"));
    EXPECT_TRUE(c.Check2()->isChecked());
    EXPECT_EQ(c.frontPanel(), 1);
    QWidget* front = c.childAt(QPoint(70, 120));
    EXPECT_TRUE(front == c.Frame1(0) || c.Frame1(0)->isAncestorOf(front)) << "the list panel in front";
}

TEST_F(Console, VersionBoxNamesTheModelAndVersion)
{
    click(console().Command8());
    ASSERT_EQ(fakes.library.dlg110Calls.size(), 1u);
    EXPECT_EQ(fakes.library.dlg110Calls[0].owner, &console());
    EXPECT_EQ(fakes.library.dlg110Calls[0].kind, 1);
    EXPECT_TRUE(fakes.library.dlg110Calls[0].text.startsWith(
        QStringLiteral("型番：fareboard\r\nバージョン：%1\r\n").arg(QStringLiteral(FAREBOARD_VERSION))));
    EXPECT_TRUE(board().isEnabled());
}

}  // namespace
