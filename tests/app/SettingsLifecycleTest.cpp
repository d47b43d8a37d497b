#include "announce/mdlM_Tape.h"
#include "app/Application.h"
#include "app/DemoData.h"
#include "board/Form1.h"
#include "board/SeirikenNumSet.h"
#include "board/SettingsFile.h"
#include "board/mdlIniIo.h"
#include "console/frmCtl.h"
#include "controls/digit/M_Degit.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "extlib/QtKobuRes.h"
#include "options/ColorButton.h"
#include "options/frmOption.h"
#include "support/Bytes.h"
#include "support/Fakes.h"
#include "support/FullDisk.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace fareboard;
using namespace fareboard::test;

namespace {

// A settings file a user could have left, written field by field. Every value is one the
// controls accept, and differs from the defaults, so a field that is not restored shows.
struct StoredSettings {
    int16_t autoSeiriNum = 1;
    int16_t panelListIndex = 3;
    int16_t panelOpt0 = 0, panelOpt1 = -1;
    int16_t chimeiBold = 1;
    int16_t infoDigitCol3 = 5;
    QString pluginPath;
    QByteArray fareDir = "/srv/fares/";

    QByteArray bytes() const
    {
        Bytes b;
        b.i2(int(fareDir.size())).raw(fareDir).ascii("/srv/tapes/");
        b.i2(autoSeiriNum).i4(0x0000FF).i4(0x00FF00).i4(0xFF0000).i2(panelListIndex).i2(1);
        b.i2(panelOpt0).i2(panelOpt1).i2(0).i2(-1).i2(-1).i2(0).i2(-1).i2(0);  // 0, 1, 7, 6, 3, 2, 4, 5
        b.ascii("/p/off.png").ascii("/p/on1.png").ascii("/p/on2.png");
        b.i4(0x000000).i4(0x202020).i4(0x00A0FF);
        b.i2(1).i2(2).i2(1).i2(1).i2(23).i2(0).i2(4).i2(1).i2(149).i2(infoDigitCol3);
        b.i4(0x101010).i4(0x40C0FF).i2(3).i2(chimeiBold);
        b.ascii("/s/route.wav").ascii("/s/key.wav").i2(0).i2(-1).i2(-1).i2(0).ascii("/s/step.mid").i2(41);
        b.ascii("/s/1.wav").ascii("/s/2.wav").ascii("/s/3.mp3").i2(0).i2(-1).i2(0).i2(-1);
        b.ascii("/s/t3.wav").ascii("/s/t4.wav").ascii("/s/t5.wav").ascii("/s/t6.wav");
        b.i2(1);
        b.i2(pluginPath.size()).raw(pluginPath.toUtf8());
        b.i2(0).i2(0).i2(-1).ascii("2010/03/05");
        b.i2(0).i4(5).i4(1200).i2(1).i2(1).i4(600 * 15).i4(400 * 15);
        b.i4(30 * 15).i4(45 * 15);
        for (int k = 0; k < 17; ++k)
            b.i4(0x010101 * k);
        b.i2(24);
        for (int k = 0; k < 24; ++k)
            b.i2(k % 3).i2(k % 4 == 0 ? 1 : 0).i2(k % 2);
        return b.data();
    }
};

struct AppRun {
    QTemporaryDir dir;
    FakeServices fakes;
    std::unique_ptr<Application> app;

    QString settingsPath() const { return dir.filePath(QStringLiteral("fareboard.in4")); }
    void start(PlatformServices services)
    {
        app = std::make_unique<Application>(services, ApplicationConfig{QStringLiteral("fareboard"), settingsPath()});
        app->start();
    }
    void start() { start(fakes.services()); }
};

}  // namespace

TEST(SettingsLifecycle, StoredFileComesBackByteForByteAndRestoresEveryWindow)
{
    AppRun run;
    const QByteArray stored = StoredSettings{}.bytes();
    writeFile(run.settingsPath(), stored);
    run.start();
    EXPECT_TRUE(run.fakes.messageBox.shown.empty());

    Application& app = *run.app;
    frmOption& o = app.options();
    EXPECT_EQ(o.Text2(0)->text(), QStringLiteral("/srv/fares/"));
    EXPECT_TRUE(o.Option3(1)->isChecked());
    EXPECT_TRUE(o.Option3(6)->isChecked());
    EXPECT_EQ(o.Combo4(3)->currentIndex(), 5);
    EXPECT_EQ(o.Combo4(4)->currentIndex(), 149);
    EXPECT_TRUE(o.Option6(0)->isChecked());
    EXPECT_TRUE(o.Option4(2)->isChecked());
    EXPECT_EQ(o.Label10()->text(), QStringLiteral("2010/03/05"));
    EXPECT_EQ(o.CustomColors()[16], 0x101010);
    EXPECT_EQ(app.console().pos(), QPoint(600, 400));
    EXPECT_EQ(app.board().pos(), QPoint(30, 45));
    EXPECT_EQ(app.console().HScroll1(0)->value(), 5);
    EXPECT_EQ(app.console().Label1(1)->text(), QStringLiteral("1200"));
    EXPECT_EQ(app.board().ChimeiCtl()->Speed(), 5);
    EXPECT_TRUE(app.console().Check2()->isChecked());
    EXPECT_EQ(app.console().Check4()->text(), QStringLiteral("<<"));
    EXPECT_EQ(app.board().Degit(1)->ZeroMode(), 1);
    EXPECT_EQ(app.board().Degit(2)->Shift(), 1);
    EXPECT_EQ(app.board().Degit(24)->DegitForeColor(), 0x00A0FF);
    EXPECT_EQ(app.board().TimeDegit(1)->BackColor(), 0x000000);
    // Numbering scheme 3: label 1 reads "な し", the others 2..24, zero-padded.
    EXPECT_EQ(app.board().lblSeiriNum(1)->text(), QStringLiteral("な し"));
    EXPECT_EQ(app.board().lblSeiriNum(2)->text(), QStringLiteral("０２"));
    EXPECT_EQ(app.board().lblSeiriNum(24)->text(), QStringLiteral("２４"));
    EXPECT_TRUE(app.board().ChimeiCtl()->FontBold());

    app.SaveIni();
    EXPECT_EQ(readFile(run.settingsPath()), stored);
}

// The console is on screen before the rest of the program is built; it must not show the
// defaults first and jump to the stored place and values a moment later.
TEST(SettingsLifecycle, TheConsoleAppearsAsTheSettingsLeaveIt)
{
    struct AtFirstShow final : QObject {
        QPoint pos;
        int speed = 0;
        QString wait;
        bool lateNight = false;
        QString previewKey;
        int width = 0;
        bool seen = false;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            auto* console = qobject_cast<frmCtl*>(watched);
            if (console && event->type() == QEvent::Show && !seen) {
                seen = true;
                pos = console->pos();
                speed = console->HScroll1(0)->value();
                wait = console->Label1(1)->text();
                lateNight = console->Check2()->isChecked();
                previewKey = console->Check4()->text();
                width = console->width();
            }
            return false;
        }
    };
    for (const bool stored : {true, false}) {
        SCOPED_TRACE(stored ? "stored settings" : "first start");
        AppRun run;
        if (stored)
            writeFile(run.settingsPath(), StoredSettings{}.bytes());
        AtFirstShow first;
        run.app = std::make_unique<Application>(run.fakes.services(),
                                                ApplicationConfig{QStringLiteral("fareboard"), run.settingsPath()});
        run.app->console().installEventFilter(&first);
        run.app->start();
        frmCtl& console = run.app->console();
        ASSERT_TRUE(first.seen);
        EXPECT_EQ(first.pos, console.pos());
        EXPECT_EQ(first.speed, console.HScroll1(0)->value());
        EXPECT_EQ(first.wait, console.Label1(1)->text());
        EXPECT_EQ(first.lateNight, console.Check2()->isChecked());
        EXPECT_EQ(first.previewKey, console.Check4()->text());
        EXPECT_EQ(first.width, console.width());
        EXPECT_EQ(first.wait, stored ? QStringLiteral("1200") : QStringLiteral("1500"));
    }
}

TEST(SettingsLifecycle, FirstStartIsSilentAndTheCloseCreatesTheFile)
{
    AppRun run;
    run.start();
    EXPECT_TRUE(run.fakes.messageBox.shown.empty());
    EXPECT_EQ(run.app->board().pos(), QPoint(0, 0));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(run.app->console().frameGeometry().bottomRight(), screen.bottomRight());
    EXPECT_TRUE(run.app->console().isVisible());
    EXPECT_FALSE(run.app->options().isVisible());
    EXPECT_EQ(run.app->board().mask(), QRegion(0, 0, 487, 269));
    EXPECT_EQ(run.app->board().windowTitle(), QStringLiteral("運賃表示器アプリケーション - 型番:fareboard"));
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(std::get<int16_t>(run.app->board().Degit(i)->Value()), 0);
    EXPECT_FALSE(QFile::exists(run.settingsPath()));

    // Closing asks first; "No" keeps everything and writes nothing.
    run.fakes.messageBox.answers.push_back(MessageBox::Answer::No);
    run.app->console().show();
    EXPECT_FALSE(run.app->console().close());
    EXPECT_FALSE(QFile::exists(run.settingsPath()));
    EXPECT_EQ(run.fakes.messageBox.shown.back().text, QStringLiteral("運賃表示器アプリを終了しますか？"));

    run.app->SaveIni();
    SettingsStore saved;
    mdlIniIo::ReadSettingsFile(run.settingsPath(), saved);
    EXPECT_EQ(saved.Panel.AutoSeiriNum, 1);
    EXPECT_EQ(saved.Panel.PanelColor1, 0xC0FFC0);
    EXPECT_EQ(saved.Degit.DegitBackColor, 0x808080);
}

TEST(SettingsLifecycle, ASaveThatCannotBeWrittenKeepsTheOldFileAndSaysSo)
{
    AppRun run;
    run.start();
    run.app->SaveIni();
    const QByteArray before = [&] {
        QFile f(run.settingsPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(before.isEmpty());

    run.app->console().HScroll1(0)->setValue(700);
    {
        FileSizeLimit limit(before.size() / 2);
        run.app->SaveIni();
    }
    QFile after(run.settingsPath());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    ASSERT_EQ(run.fakes.messageBox.shown.size(), 1u);
    const QString text = run.fakes.messageBox.shown.back().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("エラー Code:"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n内容:"))) << text.toStdString();
}

TEST(SettingsLifecycle, StoredChoicesThatShapeTheBoard)
{
    {
        AppRun run;
        StoredSettings s;
        s.autoSeiriNum = 0;
        s.chimeiBold = 2;            // greyed is not bold
        s.panelOpt0 = -1;            // both stored as selected: the later one wins
        s.panelOpt1 = -1;
        writeFile(run.settingsPath(), s.bytes());
        run.start();
        for (int i = 1; i <= 24; ++i)
            EXPECT_TRUE(run.app->board().lblSeiriNum(i)->isHidden()) << i;
        EXPECT_FALSE(run.app->options().Frame3()->isEnabled());
        EXPECT_FALSE(run.app->board().ChimeiCtl()->FontBold());
        EXPECT_TRUE(run.app->options().Option3(1)->isChecked());
        EXPECT_FALSE(run.app->options().Option3(0)->isChecked());
    }
    {
        // A list index outside its list stops the exchange at that row, with the loader's message.
        AppRun run;
        StoredSettings s;
        s.infoDigitCol3 = 24;  // Combo4(3) holds 24 entries: 0..23
        writeFile(run.settingsPath(), s.bytes());
        run.start();
        ASSERT_EQ(run.fakes.messageBox.shown.size(), 1u);
        EXPECT_EQ(run.fakes.messageBox.shown[0].text,
                  QStringLiteral("エラー Code:380\r\n内容:プロパティの値が無効です。\r\nモジュール:mdlIniIo.LoadIni()"));
        EXPECT_EQ(run.app->options().Combo4(4)->currentIndex(), 149) << "rows before the bad one are done";
        EXPECT_EQ(run.app->options().Command9(0)->BackColor(), 0x808080) << "rows after it are not";
        EXPECT_EQ(run.app->board().pos(), QPoint(0, 0)) << "nothing after the failing step runs";
    }
}

// The file's layout as a newer or damaged program may have filled it: every integer field one
// value, every string the same bytes. "S" a string, "2" and "4" the integer sizes.
QByteArray settingsFilledWith(int16_t i2, int32_t i4, const QByteArray& string)
{
    const QString layout = QStringLiteral("SS") + "2444" + "2222222222" + "SSS" + "444" + "2222222222" + "4422"
                           + "SS2222S2SSS2222SSSS" + "2S222S" + "2442244" + "44" + QString(17, u'4') + "2"
                           + QString(72, u'2');
    Bytes b;
    for (QChar field : layout) {
        if (field == u'S')
            b.i2(int(string.size())).raw(string);
        else if (field == u'2')
            b.i2(i2);
        else
            b.i4(i4);
    }
    return b.data();
}

TEST(SettingsLifecycle, FileOfANewerOrDamagedProgramLoadsAsFarAsItIsSound)
{
    {
        // Bytes after the last record, strings that are not Shift-JIS and digit entries whose
        // Shift, ZeroMode and FillZero no four-cell digit can take.
        AppRun run;
        StoredSettings stored;
        stored.fareDir = QByteArray("\x81\x7F\xFF\xA0/x", 6);
        QByteArray bytes = stored.bytes();
        const qsizetype attrs = bytes.size() - 24 * 6;
        for (int k = 0; k < 24; ++k) {
            const int16_t hostile[] = {k % 2 ? int16_t(32767) : int16_t(-32768), int16_t(-3), int16_t(99)};
            for (int f = 0; f < 3; ++f) {
                bytes[attrs + 6 * k + 2 * f] = char(uint16_t(hostile[f]) & 0xFF);
                bytes[attrs + 6 * k + 2 * f + 1] = char(uint16_t(hostile[f]) >> 8);
            }
        }
        bytes += QByteArray(300, '\x5A');
        writeFile(run.settingsPath(), bytes);
        run.start();
        EXPECT_TRUE(run.fakes.messageBox.shown.empty());
        Application& app = *run.app;
        EXPECT_TRUE(app.options().Text2(0)->text().endsWith(QStringLiteral("/x"))) << "the good bytes are kept";
        EXPECT_TRUE(app.options().Text2(0)->text().contains(u'?')) << "the bad ones show as \"?\"";
        EXPECT_EQ(app.options().Text2(1)->text(), QStringLiteral("/srv/tapes/")) << "fields after it are in place";
        for (int i = 1; i <= 24; ++i) {
            M_Degit* d = app.board().Degit(i);
            EXPECT_GE(d->Shift(), 0);
            EXPECT_LT(d->Shift(), d->Keta());
            d->setValue(int16_t(1234));
            EXPECT_FALSE(d->grab().isNull());
        }
        EXPECT_EQ(app.board().pos(), QPoint(30, 45)) << "everything after the digits was applied";
        app.SaveIni();
        SettingsStore saved;
        mdlIniIo::ReadSettingsFile(run.settingsPath(), saved);
        EXPECT_EQ(saved.DataDir.TapeDataDir, QStringLiteral("/srv/tapes/"));
    }
    // Every field at an extreme: the program starts, says at most once what it could not take,
    // and writes a file it reads back.
    const int16_t i2s[] = {32767, -32768, -1};
    const int32_t i4s[] = {2147483647, int32_t(0x80000000), -1};
    for (int v = 0; v < 3; ++v) {
        SCOPED_TRACE(v);
        AppRun run;
        writeFile(run.settingsPath(), settingsFilledWith(i2s[v], i4s[v], QByteArray("\xFC\xFC\x81", 3)));
        run.start();
        EXPECT_LE(run.fakes.messageBox.shown.size(), 1u);
        for (const auto& shown : run.fakes.messageBox.shown)
            EXPECT_TRUE(shown.text.endsWith(QStringLiteral("モジュール:mdlIniIo.LoadIni()")));
        run.app->SaveIni();
        SettingsStore saved;
        EXPECT_NO_THROW(mdlIniIo::ReadSettingsFile(run.settingsPath(), saved));
    }
}

TEST(SettingsLifecycle, TicketNumberingSchemes)
{
    FakeServices fakes;
    Form1 board(fakes.library, fakes.clock);
    auto text = [&](int i) { return board.lblSeiriNum(i)->text(); };
    SeirikenNumSet(board, 0, 0, fakes.messageBox);
    EXPECT_EQ(text(1), QStringLiteral("１"));
    EXPECT_EQ(text(24), QStringLiteral("２４"));
    const QString numberFace = board.lblSeiriNum(1)->font().family();

    SeirikenNumSet(board, 1, 1, fakes.messageBox);
    EXPECT_EQ(text(1), QStringLiteral("００"));
    EXPECT_EQ(text(10), QStringLiteral("０９"));
    EXPECT_EQ(text(24), QStringLiteral("２３"));

    SeirikenNumSet(board, 3, 0, fakes.messageBox);
    EXPECT_EQ(text(1), QStringLiteral("な し"));
    EXPECT_NE(board.lblSeiriNum(1)->font().family(), numberFace);
    EXPECT_EQ(text(2), QStringLiteral("２"));
    EXPECT_EQ(text(24), QStringLiteral("２４"));

    SeirikenNumSet(board, 2, 0, fakes.messageBox);
    EXPECT_EQ(text(2), QStringLiteral("１"));
    EXPECT_EQ(text(24), QStringLiteral("２３"));

    SeirikenNumSet(board, 10, 0, fakes.messageBox);
    EXPECT_EQ(text(1), QString());

    SeirikenNumSet(board, 12, 0, fakes.messageBox);  // unknown: nothing changes
    EXPECT_EQ(text(2), QStringLiteral("１"));

    SeirikenNumSet(board, 0, 0, fakes.messageBox);
    EXPECT_EQ(text(1), QStringLiteral("１"));
    EXPECT_EQ(board.lblSeiriNum(1)->font().family(), numberFace);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
}

TEST(SettingsLifecycle, PluginPropertiesAndCompanies)
{
    AppRun run;
    run.start();
    frmOption& o = run.app->options();
    FakeKobuRes& lib = run.fakes.library;
    PlgInfo info{};
    info.PreviewWidth = 200;
    info.PreviewHeight = 90;
    info.CanPrintDate = 2;  // only exactly 1 counts
    info.CanPrintTime = 1;
    info.CorpSwitch = 5;
    lib.plgInfo = info;
    lib.corpNames = {QStringLiteral("綿雲バス"), QStringLiteral("月見坂交通")};
    lib.chosenFile = QStringLiteral("/plugins/a.4SP");

    o.Command1_Click();
    ASSERT_EQ(o.List1()->count(), 6);
    EXPECT_EQ(o.List1()->item(0)->text(), QStringLiteral("日付の印字 ---> 不可"));
    EXPECT_EQ(o.List1()->item(1)->text(), QStringLiteral("時刻の印字 ---> 可能"));
    EXPECT_EQ(o.List1()->item(5)->text(), QStringLiteral("社名切り替え:---> 可能"));
    EXPECT_EQ(o.txtSeiriPlgDir()->text(), QStringLiteral("/plugins/a.4SP"));
    EXPECT_EQ(run.app->console().picSeirikenPrev()->size(), QSize(200, 90));
    EXPECT_EQ(lib.fileCalls.back().title, QStringLiteral("プラグインの選択"));
    EXPECT_EQ(lib.fileCalls.back().filters, QStringLiteral("整理券プラグイン(*.4SP)") + QChar(0) +
                                                QStringLiteral("*.4SP") + QChar(0) + QChar(0));

    // Chosen again: the companies are not doubled.
    o.Command1_Click();
    EXPECT_EQ(run.app->console().Combo1()->count(), 2);

    info.CanPrintBarcode = 1;
    info.BarcodeCount = 24;
    info.BarcodeRouteMode = 0;
    info.MaxRouteNo = 999;
    info.StopRangeFrom = 1;
    info.StopRangeTo = 300;
    lib.plgInfo = info;
    o.Command1_Click();
    ASSERT_EQ(o.List1()->count(), 10);
    EXPECT_EQ(o.List1()->item(5)->text(), QStringLiteral("バーコード本数 ---> 24"));
    EXPECT_EQ(o.List1()->item(6)->text(), QStringLiteral("バーコード系統方式 ---> 系統番号＋往復フラグ"));
    EXPECT_EQ(o.List1()->item(7)->text(), QStringLiteral("設定可能な系統範囲 ---> 1 ～ 999"));
    EXPECT_EQ(o.List1()->item(8)->text(), QStringLiteral("停留所認識範囲 ---> 1 ～ 300"));

    // A file that is not a plug-in: the message, the company list emptied, the rest kept.
    lib.plgInfo.reset();
    lib.chosenFile = QStringLiteral("/plugins/readme.4SP");
    o.Command1_Click();
    EXPECT_EQ(run.fakes.messageBox.shown.back().text, QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"));
    EXPECT_EQ(run.fakes.messageBox.shown.back().title, QStringLiteral("プラグインロードエラー"));
    EXPECT_EQ(o.txtSeiriPlgDir()->text(), QStringLiteral("/plugins/a.4SP"));
    EXPECT_EQ(o.List1()->count(), 10);
    EXPECT_EQ(run.app->console().Combo1()->count(), 0);
}

namespace {

// Dialogs answered by the fake, plug-ins loaded for real.
class RealPlugins final : public KobuRes {
public:
    explicit RealPlugins(FakeKobuRes& dialogs) : dialogs_(dialogs) {}
    int32_t Call_dlg100(QWidget* o, int16_t k, int16_t& z, int16_t& s, int16_t& f) override
    {
        return dialogs_.Call_dlg100(o, k, z, s, f);
    }
    void Call_dlg110(QWidget* o, int32_t k, const QString& t) override { dialogs_.Call_dlg110(o, k, t); }
    int32_t Call_dlg111(QWidget* o, DateRecord& d) override { return dialogs_.Call_dlg111(o, d); }
    int32_t TmlChooseColor(QWidget* o, int32_t& c, std::span<int32_t> cc) override
    {
        return dialogs_.TmlChooseColor(o, c, cc);
    }
    QString TmlFileDlg(QWidget* o, int32_t f, const QString& fl, const QString& i, const QString& t) override
    {
        return dialogs_.TmlFileDlg(o, f, fl, i, t);
    }
    QString TmlFolderDlg(QWidget* o, const QString& t) override { return dialogs_.TmlFolderDlg(o, t); }
    QString GetOsInfo() override { return dialogs_.GetOsInfo(); }
    int32_t KBU_GetPlgInfo(const QString& p, PlgInfo& i) override { return real_.KBU_GetPlgInfo(p, i); }
    void KBU_SetPlgComment(const QString& p, QWidget* b) override { real_.KBU_SetPlgComment(p, b); }
    void KBU_SetCorpAddList(const QString& p, QComboBox* c) override { real_.KBU_SetCorpAddList(p, c); }
    void KBU_DrawSeiriken(const QString& p, QImage& s, const QString& n, const QString& d, const QString& t,
                          int32_t r, int16_t k, int16_t sec, int16_t c) override
    {
        real_.KBU_DrawSeiriken(p, s, n, d, t, r, k, sec, c);
    }
    void KBU_DrawSeirikenLater(QObject* o, const QString& p, const QImage& s, const QString& n, const QString& d,
                               const QString& t, int32_t r, int16_t k, int16_t sec, int16_t c,
                               std::function<void(const QImage&)> drawn) override
    {
        real_.KBU_DrawSeirikenLater(o, p, s, n, d, t, r, k, sec, c, std::move(drawn));
    }

private:
    FakeKobuRes& dialogs_;
    QtKobuRes real_;
};

int inked(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

// The plug-in answers through the event loop; the preview gets ink once it has.
bool ticketDrawn(const frmCtl& console)
{
    QElapsedTimer timer;
    timer.start();
    while (inked(console.previewImage()) == 0 && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return inked(console.previewImage()) > 0;
}

// A start whose settings name `plugin`, loaded for real.
void startWithPlugin(AppRun& run, KobuRes& library, const QString& plugin)
{
    PlatformServices services = run.fakes.services();
    PlatformServices withPlugins{services.messageBox, services.sleeper, services.clock, library,
                                 services.shell,      services.audio,   services.makeSpeechEngine};
    StoredSettings s;
    s.pluginPath = plugin;
    writeFile(run.settingsPath(), s.bytes());
    run.start(withPlugins);
}

// Route 7, two stops "A" and "B", every fare 100 at A and 200 at B.
void writeRoute7(const QString& folder)
{
    Bytes fare;
    fare.i2(2);
    for (const char* name : {"A", "B"}) {
        fare.ascii(name).i2(name[0] - 'A' + 1);
        for (int k = 0; k < 150; ++k)
            fare.i2(100 * (name[0] - 'A' + 1));
    }
    writeFile(folder + QStringLiteral("/7.hy3"), fare.data());
}

}  // namespace

TEST(SettingsLifecycle, SamplePluginDrawsIntoThePreviewAtEveryUpdate)
{
    AppRun run;
    RealPlugins library(run.fakes.library);
    startWithPlugin(run, library, QStringLiteral(FAREBOARD_SAMPLE_PLUGIN));
    frmOption& o = run.app->options();
    EXPECT_EQ(o.List1()->count(), 10) << "the sample prints a barcode";
    EXPECT_GT(run.app->console().Combo1()->count(), 0);

    // A route of two stops; the preview shows a ticket with ink on it, different per stop.
    QTemporaryDir routes;
    writeRoute7(routes.path());
    o.Text2(0)->setText(routes.path());
    frmCtl& console = run.app->console();
    for (int key : {10, 7, 11, 1})
        console.CommandButton1_Click(key);
    console.Reset(1);
    ASSERT_TRUE(ticketDrawn(console));
    const QImage first = console.previewImage();
    EXPECT_GT(inked(first), 200);
    console.Command2_Click(1);
    ASSERT_TRUE(ticketDrawn(console));
    EXPECT_NE(console.previewImage(), first);

    // Without the preview switch every update leaves the area blank.
    o.chkUseSeiriPrev()->setChecked(false);
    console.Command2_Click(0);
    EXPECT_EQ(inked(console.previewImage()), 0);
}

TEST(SettingsLifecycle, FirstStartOffersTheDemoRouteWithItsChimes)
{
    QTemporaryDir dir;
    FakeServices fakes;
    const QString demo = QStringLiteral(FAREBOARD_DEMO_DIR);
    Application app(fakes.services(), ApplicationConfig{QStringLiteral("fareboard"),
                                                        dir.filePath(QStringLiteral("fareboard.in4")), demo,
                                                        QStringLiteral(FAREBOARD_SAMPLE_PLUGIN)});
    app.start();
    frmOption& o = app.options();
    EXPECT_EQ(o.Text2(0)->text(), demo);
    EXPECT_EQ(o.Text2(1)->text(), demo);
    for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10})
        EXPECT_TRUE(QFile::exists(o.txtSelectSound(i)->text())) << i << ": " << o.txtSelectSound(i)->text().toStdString();
    EXPECT_EQ(o.txtSeiriPlgDir()->text(), QStringLiteral(FAREBOARD_SAMPLE_PLUGIN));
    ASSERT_FALSE(fakes.library.plgInfoCalls.empty());
    EXPECT_EQ(fakes.library.plgInfoCalls.back(), QStringLiteral(FAREBOARD_SAMPLE_PLUGIN));
    EXPECT_EQ(o.chkUseSeiriPrev()->checkState(), Qt::Checked) << "the preview shows the sample's ticket";

    frmCtl& console = app.console();
    auto played = [&] {
        const QString all = fakes.audio.calls.filter(QStringLiteral("open ")).join(QLatin1Char('\n'));
        fakes.audio.calls.clear();
        return all;
    };
    played();
    // Each key clicks; the reset sounds its longer chime.
    for (int key : {10, 1, 11, 1})
        QTest::mouseClick(console.CommandButton1(key), Qt::LeftButton, {}, QPoint(15, 13));
    QString sounds = played();
    EXPECT_EQ(sounds.count(QStringLiteral("/key.wav")), 4) << sounds.toStdString();
    EXPECT_FALSE(sounds.contains(QStringLiteral("reset.wav")));
    QTest::mouseClick(console.Command1(1), Qt::LeftButton);
    sounds = played();
    EXPECT_TRUE(sounds.contains(QStringLiteral("/reset.wav"))) << sounds.toStdString();
    EXPECT_FALSE(sounds.contains(QStringLiteral("key.wav")));
    EXPECT_TRUE(fakes.messageBox.shown.empty());
    EXPECT_EQ(app.dataIo().Route.RowCount, 15);
    EXPECT_EQ(app.tape().TapeCount(), 16);

    // The tape's "送り" moves the board along with the announcements.
    console.cmdTapeNext_Click();
    console.cmdTapeNext_Click();
    EXPECT_EQ(app.dataIo().Route.StopIndex, 1);
    EXPECT_TRUE(fakes.audio.calls.join(QLatin1Char('\n')).contains(QRegularExpression(QStringLiteral("/step[123]\\.wav"))));

    // A saved file replaces these defaults at the next start.
    app.SaveIni();
    SettingsStore saved;
    mdlIniIo::ReadSettingsFile(dir.filePath(QStringLiteral("fareboard.in4")), saved);
    EXPECT_EQ(saved.DataDir.FareDataDir, demo);
    EXPECT_EQ(saved.Sound.SoundListIndex, 24);
}

TEST(SettingsLifecycle, ConfirmedCloseSavesAndEndsTheProgram)
{
    AppRun run;
    run.start();
    run.fakes.messageBox.answers.push_back(MessageBox::Answer::Yes);
    // The board refuses to close on its own; the console's confirmed close must still end the
    // event loop, and a stuck one fails here instead of hanging.
    QTimer::singleShot(0, &run.app->console(), [&run] { run.app->console().close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(QFile::exists(run.settingsPath()));
    EXPECT_EQ(run.fakes.audio.calls.filter(QStringLiteral("close")).isEmpty(), false);
}

TEST(SettingsLifecycle, TheNextStartShowsExactlyWhatWasSaved)
{
    QTemporaryDir dir;
    FakeServices fakes;
    RealPlugins library(fakes.library);
    PlatformServices services = fakes.services();
    PlatformServices withPlugins{services.messageBox, services.sleeper, services.clock, library,
                                 services.shell,      services.audio,   services.makeSpeechEngine};
    const ApplicationConfig config{QStringLiteral("fareboard"), dir.filePath(QStringLiteral("fareboard.in4")),
                                   QStringLiteral(FAREBOARD_DEMO_DIR), QStringLiteral(FAREBOARD_SAMPLE_PLUGIN)};
    auto start = [&] {
        auto app = std::make_unique<Application>(withPlugins, config);
        app->start();
        return app;
    };

    auto app = start();
    frmCtl* console = &app->console();
    EXPECT_EQ(console->Combo1()->count(), 4);
    // The sliders show what the stop-name column runs; moving one changes only its own value.
    const ChimeiCtl_B* column = app->board().ChimeiCtl();
    EXPECT_EQ(console->HScroll1(0)->value(), column->Speed());
    EXPECT_EQ(console->HScroll1(1)->value(), column->ScrollStartWait());
    EXPECT_EQ(console->Label1(1)->text(), QString::number(column->ScrollStartWait()));
    const int wait = column->ScrollStartWait();
    console->HScroll1(0)->setValue(console->HScroll1(0)->value() + 1);
    EXPECT_EQ(column->ScrollStartWait(), wait);
    // The first start looks like a real board.
    EXPECT_EQ(app->board().Degit(1)->BackColor(), DemoData::DigitGlass);
    EXPECT_EQ(app->board().Degit(1)->DegitForeColor(), DemoData::LitSegments);
    EXPECT_EQ(column->BackColor(), DemoData::ColumnBack);
    app->SaveIni();
    app.reset();

    app = start();
    EXPECT_EQ(app->console().Combo1()->count(), 4) << "the companies doubled";
    EXPECT_EQ(app->options().List1()->count(), 10);
    EXPECT_EQ(app->board().Degit(1)->BackColor(), DemoData::DigitGlass);

    // A plug-in removed, or gone from the disk: nothing of the sample shows any more.
    for (const QString& saved : {QString(), dir.filePath(QStringLiteral("gone.4SP"))}) {
        app->options().txtSeiriPlgDir()->setText(saved);
        app->SaveIni();
        app.reset();
        app = start();
        EXPECT_EQ(app->options().txtSeiriPlgDir()->text(), saved);
        EXPECT_EQ(app->options().List1()->count(), 0) << saved.toStdString();
        EXPECT_TRUE(app->options().txtPlginComment()->toPlainText().isEmpty());
        EXPECT_EQ(app->console().Combo1()->count(), 0);
        EXPECT_EQ(app->console().picSeirikenPrev()->size(), QSize(220, 93));
    }
    EXPECT_TRUE(fakes.messageBox.shown.empty());
}

TEST(SettingsLifecycle, ASlowPluginHoldsNeitherTheFaresNorTheStopItsTicketComesWhenDrawn)
{
    AppRun run;
    RealPlugins library(run.fakes.library);
    startWithPlugin(run, library, QStringLiteral(FAREBOARD_SLOW_PLUGIN));  // a second over every ticket
    QTemporaryDir routes;
    writeRoute7(routes.path());
    run.app->options().Text2(0)->setText(routes.path());
    frmCtl& console = run.app->console();
    for (int key : {10, 7, 11, 1})
        console.CommandButton1_Click(key);
    console.Reset(1);
    ASSERT_TRUE(ticketDrawn(console));

    // The step shows stop B's fares at once; its ticket is not there yet, and comes later.
    console.Command2_Click(1);
    int showingB = 0;
    for (int i = 1; i <= 24; ++i)
        showingB += degitValueText(run.app->board().Degit(i)->Value()) == QStringLiteral("200");
    EXPECT_GT(showingB, 0) << "the step waited for the plug-in";
    EXPECT_EQ(inked(console.previewImage()), 0) << "the step waited for the plug-in";
    EXPECT_TRUE(ticketDrawn(console)) << "the ticket never came";
    EXPECT_TRUE(run.fakes.messageBox.shown.empty());
}

TEST(SettingsLifecycle, ADamagedFileKeepsWhatCouldBeReadAndIsKeptAsideBeforeTheSave)
{
    AppRun run;
    const QByteArray whole = StoredSettings().bytes();
    const QByteArray damaged = whole.chopped(2);
    writeFile(run.settingsPath(), damaged);
    writeFile(run.settingsPath() + QStringLiteral(".damaged"), "an older one");
    run.start();
    ASSERT_EQ(run.fakes.messageBox.shown.size(), 1u);
    const QString said = run.fakes.messageBox.shown.front().text;
    EXPECT_TRUE(said.startsWith(QStringLiteral("エラー Code:62"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("fareboard.in4.damaged"))) << said.toStdString();
    Application& app = *run.app;
    EXPECT_EQ(app.options().Text2(0)->text(), QStringLiteral("/srv/fares/"));
    EXPECT_EQ(app.options().txtSelectSound(7)->text(), QStringLiteral("/s/step.mid"));
    EXPECT_EQ(app.board().pos(), QPoint(30, 45));
    EXPECT_EQ(readFile(run.settingsPath()), damaged) << "nothing is written before the close";

    app.SaveIni();
    EXPECT_EQ(readFile(run.settingsPath() + QStringLiteral(".damaged")), damaged);
    SettingsStore saved;
    mdlIniIo::ReadSettingsFile(run.settingsPath(), saved);
    const SettingsStore original = SettingsFile::decode(whole);
    EXPECT_EQ(saved.DataDir.FareDataDir, original.DataDir.FareDataDir);
    EXPECT_EQ(saved.Sound.SoundFile6, original.Sound.SoundFile6);
    EXPECT_EQ(saved.SeiriPrev.FixedDate, original.SeiriPrev.FixedDate);
    EXPECT_EQ(saved.CustomColors, original.CustomColors);
    // The copy is made once, of the damaged file, not of the good one written over it.
    app.SaveIni();
    EXPECT_EQ(readFile(run.settingsPath() + QStringLiteral(".damaged")), damaged);
}

TEST(SettingsLifecycle, WindowsSavedOffScreenComeBackWithinReach)
{
    AppRun run;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    SettingsStore s = SettingsFile::decode(StoredSettings().bytes());
    s.Board.BoardLeft = -300 * 15;
    s.Board.BoardTop = -150 * 15;
    // Its title bar and a strip of 50 pixels on screen: the buttons are out of reach.
    s.Ctl.CtlLeft = (screen.right() - 179) * 15;
    s.Ctl.CtlTop = (screen.bottom() - 49) * 15;
    const QByteArray stored = SettingsFile::encode(s);
    writeFile(run.settingsPath(), stored);
    run.start();
    EXPECT_TRUE(screen.contains(run.app->board().frameGeometry())) << "the board is out of reach";
    EXPECT_TRUE(screen.contains(run.app->console().frameGeometry())) << "the console is out of reach";
    EXPECT_EQ(readFile(run.settingsPath()), stored) << "the file keeps what the user saved";
}
