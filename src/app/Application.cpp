#include "Application.h"

#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "app/AppTapeHost.h"
#include "app/DemoData.h"
#include "board/Form1.h"
#include "board/SeirikenNumSet.h"
#include "board/SettingsFile.h"
#include "board/mdlIniIo.h"
#include "controls/stopname/ChimeiCtl_B.h"
#include "extlib/KobuRes.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"
#include "platform/FirstFrame.h"
#include "platform/MessageBox.h"
#include "platform/WindowPlacement.h"
#include "console/ConsoleMenu.h"
#include "console/frmCtl.h"
#include "controls/digit/M_Degit.h"
#include "operation/GtfsFeedImporter.h"
#include "operation/RouteImport.h"
#include "options/ColorButton.h"
#include "operation/Operation.h"
#include "options/frmOption.h"
#include "platform/glyphs/HostGlyphSource.h"
#include "platform/speech/SpeechEngine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

namespace fareboard {
namespace {

// Long enough for the window system to expose the console on a display without a window
// manager, or with a quick one; a slower one exposes it while the options dialog and the board
// are built, and it is painted at the next look or once they are.
constexpr int kFirstFrameWaitMs = 30;

QRect desktop()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

Application::Application(PlatformServices services, ApplicationConfig config)
    : services_(std::move(services)), config_(std::move(config)), glyphs_(std::make_shared<HostGlyphSource>())
{
    sound_ = std::make_unique<mdlSndAPI>(services_.audio, services_.sleeper, config_.exeBaseName);
    board_ = std::make_unique<Form1>(services_.library, services_.clock, glyphs_);
    console_ = std::make_unique<frmCtl>(ConsoleContext{services_, dataIo_, *board_, *sound_, config_.exeBaseName, title(),
                                                       [this] {
                                                           SaveIni();
                                                           if (operation_)
                                                               operation_->save();
                                                       },
                                                       // exit, not quit: quit would ask every window to close, and the board refuses.
                                                       [] { QCoreApplication::exit(0); }});
    board_->setConsoleEnabler([this](bool on) { console_->setEnabled(on); });
    tapeHost_ = std::make_unique<AppTapeHost>(*console_, services_.library);
    tape_ = std::make_unique<mdlM_Tape>(*tapeHost_, *sound_, services_.makeSpeechEngine);
    console_->setTape(tape_.get());
    consoleMenu_ = new ConsoleMenu(*console_);
}

Application::~Application()
{
    // The operation panel drives the console, the board and the tape; it goes before them.
    operation_.reset();
    // The tape speaks through the console's tape group; it goes first.
    tape_.reset();
    console_.reset();
}

void Application::start()
{
    sound_->SndCloseAll();
    InitDegitValues();
    const StoredSettings stored = readStoredSettings();
    showConsole(stored);
    FirstFrame consoleFrame(console_.get());
    consoleFrame.waitFor(kFirstFrameWaitMs);
    // A first start shows the sample plug-in's ticket, a later one the plug-in its settings
    // name: either way the first plug-in call comes right after the options dialog is built. The
    // helper that answers it starts now, on the other core: earlier, its own start-up would
    // compete with building and painting the console.
    if (!config_.samplePlugin.isEmpty() || QFileInfo::exists(config_.settingsPath))
        services_.library.startPluginHost();
    // The options dialog is the largest window to build; the console is on screen meanwhile.
    buildOptions();
    // One more look before the first plug-in call, not after it: the message of a plug-in's
    // fault is queued, and is not to come up in the middle of the start.
    consoleFrame.waitFor(0);
    InitPanel();

    board_->move(desktop().topLeft());
    board_->ShapeToClient();
    board_->show();
    board_->update();
    // Shown after the console, the board would cover it where the two meet; the console stays on top.
    console_->raise();
    LoadIni(stored);
    buildOperation();
    buildRouteImport();
}

void Application::buildOperation()
{
    OperationSettings defaults;
    if (!config_.demoFolder.isEmpty())
        defaults.stopRequestSound = withTrailingSeparator(config_.demoFolder) + DemoData::stopRequestSound();
    operation_ = std::make_unique<Operation>(Operation::Parts{*console_, *board_, dataIo_, *options_, *tape_, *sound_,
                                                              services_.clock, services_.library, *consoleMenu_, glyphs_},
                                             config_.operationSettingsPath, defaults);
}

void Application::buildRouteImport()
{
    if (config_.routesHome.isEmpty())
        return;
    const QString home = QDir::cleanPath(config_.routesHome);
    routeImport_ = new RouteImport({*console_, *options_, *consoleMenu_, services_.messageBox, services_.library,
                                    std::make_shared<GtfsFeedImporter>(), title(), home,
                                    QFileInfo(home).dir().filePath(QStringLiteral("route-choices.txt"))});
}

Application::StoredSettings Application::readStoredSettings() const
{
    StoredSettings read;
    try {
        mdlIniIo::ReadSettingsFile(config_.settingsPath, read.store, &read.damaged);
    } catch (const AppError& e) {
        read.fault = e;
    }
    return read;
}

void Application::showConsole(const StoredSettings& stored)
{
    console_->Form_Load();
    // The console comes on screen first, and looks at once as the settings will leave it: in its
    // stored place, with its sliders, front panel and switches. Whatever is wrong with the file
    // is said by LoadIni, which applies the whole of it.
    if (!stored.fault) {
        console_->SetCtrlDataInfo(stored.store);
    } else {
        const QRect desk = desktop();
        // The console's outer frame, borders included, touches the screen's right and bottom edges.
        placeOuterFrame(console_.get(), [desk](const QSize& outer) {
            return QPoint(desk.right() + 1 - outer.width(), desk.bottom() + 1 - outer.height());
        });
        if (!QFileInfo::exists(config_.settingsPath))
            console_->showColumnScrolling();
    }
    console_->show();
    console_->raise();
}

void Application::buildOptions()
{
    options_ = std::make_unique<frmOption>(services_.library, services_.shell, services_.clock, services_.messageBox);
    options_->setApplyHandler([this] { SetProp(); });
    options_->setConsoleHooks({console_->Combo1(),
                               [this](int width, int height) { console_->setPreviewSize(width, height); },
                               [this] { console_->Option4_Click(console_->selectedBacklight()); }});
    console_->setOptions(options_.get());
    tapeHost_->setOptions(options_.get());
}

void Application::InitDegitValues()
{
    for (int i = 1; i <= 24; ++i)
        board_->Degit(i)->setValue(int16_t(0));
}

void Application::InitPanel()
{
    options_->Check1()->setChecked(true);
    options_->Command5(0)->setBackColor(0xFFFFFF);
    options_->Command5(1)->setBackColor(0xC0FFC0);
    options_->Command5(2)->setBackColor(0xC0FFC0);
    board_->setPicture(board_->imgRes(0));
    board_->setImgRes(1, board_->imgRes(0));
    board_->setImgRes(2, board_->imgRes(0));
    // Only a first start gets the demo: a settings file says exactly what the next start shows,
    // and the plug-in it names is validated once, when the settings are put in.
    if (!QFileInfo::exists(config_.settingsPath))
        InitDemoDefaults();
    SetProp();
}

void Application::InitDemoDefaults()
{
    frmOption& o = *options_;
    if (!config_.demoFolder.isEmpty()) {
        const QString folder = withTrailingSeparator(config_.demoFolder);
        o.Text2(0)->setText(folder);
        o.Text2(1)->setText(folder);
        for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10}) {
            const QString name = DemoData::soundFile(i);
            if (!name.isEmpty())
                o.txtSelectSound(i)->setText(folder + name);
        }
        // The demo's fare data carries the stepping chime in a column of its own, and its
        // announcements flag their chimes.
        o.Option2(1)->setChecked(true);
        o.Combo1()->setCurrentIndex(DemoData::ChimeColumn - 1);
        o.Option2(3)->setChecked(true);

        o.Command8(0)->setBackColor(DemoData::DigitGlass);
        o.Command8(1)->setBackColor(DemoData::UnlitSegments);
        o.Command8(2)->setBackColor(DemoData::LitSegments);
        Form1::setDigitColours(o.M_Degit1(), DemoData::DigitGlass, DemoData::UnlitSegments, DemoData::LitSegments);
        o.Command9(0)->setBackColor(DemoData::ColumnBack);
        o.Command9(1)->setBackColor(DemoData::ColumnDots);
    }
    if (!config_.samplePlugin.isEmpty()) {
        o.txtSeiriPlgDir()->setText(config_.samplePlugin);
        o.SetPlgin(config_.samplePlugin);
        // With a plug-in to draw it, ">>" shows a ticket rather than an empty box.
        o.chkUseSeiriPrev()->setChecked(true);
    }
}

void Application::SetProp()
{
    frmOption& o = *options_;
    Form1& b = *board_;
    const bool numbersShown = o.Check1()->checkState() != Qt::Unchecked;
    for (int i = 1; i <= 24; ++i)
        b.lblSeiriNum(i)->setVisible(numbersShown);
    SeirikenNumSet(b, static_cast<int16_t>(o.Combo2()->currentIndex()),
                   static_cast<int16_t>(o.Check2()->checkState() != Qt::Unchecked ? 1 : 0),
                   services_.messageBox);

    b.setSeiriNumColour(o.Command5(console_->selectedBacklight())->BackColor());
    b.setFareAndClockColours(o.Command8(0)->BackColor(), o.Command8(1)->BackColor(), o.Command8(2)->BackColor());

    ChimeiCtl_B* column = b.ChimeiCtl();
    column->setBackColor(o.Command9(0)->BackColor());
    column->setForeColor(o.Command9(1)->BackColor());
    column->setFontMode(static_cast<int16_t>(o.Combo3()->currentIndex()));
    column->setFontBold(o.Check4()->checkState() == Qt::Checked);

    console_->Option4_Click(console_->selectedBacklight());
    if (operation_)
        operation_->applyOptions();
}

void Application::applySettings(const SettingsStore& s)
{
    for (int i = 1; i <= 24; ++i) {
        M_Degit* d = board_->Degit(i);
        const DegitAttr& a = s.DegitAttrs[static_cast<size_t>(i - 1)];
        d->setZeroMode(a.ZeroMode);
        d->setShift(a.Shift);
        d->setFillZero(a.FillZero);
        Form1::setDigitColours(d, s.Degit.DegitBackColor, s.Degit.DegitBaseForeColor, s.Degit.DegitForeColor);
        d->setValue(QStringLiteral(" "));
    }
    for (int j = 0; j < 2; ++j)
        Form1::setDigitColours(board_->TimeDegit(j), s.Degit.DegitBackColor, s.Degit.DegitBaseForeColor,
                               s.Degit.DegitForeColor);
    board_->ChimeiCtl()->setBackColor(s.Chimei.ChimeiBackColor);
    board_->ChimeiCtl()->setForeColor(s.Chimei.ChimeiForeColor);
    options_->CustomColors() = s.CustomColors;
    options_->SetOptionInfo(s);
    console_->SetCtrlDataInfo(s);
    board_->SetFormInfo(s);
    options_->SetProp();
}

void Application::LoadIni(const StoredSettings& read)
{
    try {
        // Both LoadIni and SaveIni start from 24 zeroed digit entries.
        settings_.DegitAttrs = {};
        if (read.fault)
            throw *read.fault;
        settings_ = read.store;
        applySettings(settings_);
    } catch (const AppError& e) {
        // A first start has no file yet: the windows keep their defaults without a word.
        if (e.number() == ErrorNumber::FileNotFound || e.number() == ErrorNumber::BadFileName)
            return;
        QString text = QStringLiteral("エラー Code:") + QString::number(e.number()) + QStringLiteral("\r\n内容:") +
                       e.description() + QStringLiteral("\r\nモジュール:mdlIniIo.LoadIni()");
        if (read.fault) {
            // The file holds the user's settings however it was damaged: what could be read is
            // used, the windows' defaults fill in the rest, and the file itself is kept aside
            // before the first save replaces it.
            if (!read.damaged.isEmpty()) {
                try {
                    SettingsStore readable;
                    gatherSettings(readable);
                    SettingsFile::decodeOver(read.damaged, readable);
                    settings_ = readable;
                    applySettings(settings_);
                } catch (const AppError&) {
                    // The fields applied before the one that failed stay applied.
                }
            }
            keepDamagedFile_ = true;
            text += QStringLiteral("\r\n\r\n");
            if (!read.damaged.isEmpty())
                text += QStringLiteral("途中まで読み込めた設定を使います。");
            text += QStringLiteral("設定を保存する前に、このファイルを %1 として残します。")
                        .arg(QFileInfo(mdlIniIo::damagedCopyPath(config_.settingsPath)).fileName());
        }
        services_.messageBox.show(text, title(), MessageBox::Icon::None, MessageBox::Buttons::Ok);
    }
}

void Application::gatherSettings(SettingsStore& s)
{
    s.DegitAttrs = {};
    for (int i = 1; i <= 24; ++i) {
        const M_Degit* d = board_->Degit(i);
        DegitAttr& a = s.DegitAttrs[static_cast<size_t>(i - 1)];
        a.ZeroMode = d->ZeroMode();
        a.Shift = d->Shift();
        a.FillZero = d->FillZero();
    }
    options_->GetOptionInfo(s);
    s.CustomColors = options_->CustomColors();
    console_->GetCtrlDataInfo(s);
    board_->GetFormInfo(s);
}

void Application::SaveIni()
{
    try {
        gatherSettings(settings_);
        if (keepDamagedFile_) {
            mdlIniIo::KeepDamagedFile(config_.settingsPath);
            keepDamagedFile_ = false;
        }
        mdlIniIo::WriteSettingsFile(config_.settingsPath, settings_);
    } catch (const AppError& e) {
        services_.messageBox.show(QStringLiteral("エラー Code:") + QString::number(e.number()) + QStringLiteral("\r\n内容:") +
                                      e.description(),
                                  title(), MessageBox::Icon::None, MessageBox::Buttons::Ok);
    }
}

}  // namespace fareboard
