#include "Application.h"

#include "announce/mdlM_Tape.h"
#include "announce/mdlSndAPI.h"
#include "app/AppTapeHost.h"
#include "board/Form1.h"
#include "console/frmCtl.h"
#include "controls/digit/M_Degit.h"
#include "options/ColorButton.h"
#include "options/frmOption.h"
#include "platform/glyphs/HostGlyphSource.h"
#include "platform/speech/SpeechEngine.h"

#include <QApplication>
#include <QCheckBox>
#include <QScreen>

namespace fareboard {

Application::Application(PlatformServices services, ApplicationConfig config)
    : services_(std::move(services)), config_(std::move(config)), glyphs_(std::make_shared<HostGlyphSource>())
{
    sound_ = std::make_unique<mdlSndAPI>(services_.audio, services_.sleeper, config_.exeBaseName);
    board_ = std::make_unique<Form1>(services_.library, services_.clock, glyphs_);
    options_ = std::make_unique<frmOption>(services_.library, services_.shell, services_.clock, services_.messageBox);
    options_->setApplyHandler([this] { SetProp(); });
    console_ = std::make_unique<frmCtl>(ConsoleContext{services_, dataIo_, *board_, *options_, *sound_,
                                                       config_.exeBaseName, title(), [this] { SaveIni(); },
                                                       [] { QCoreApplication::quit(); }});
    board_->setConsoleEnabler([this](bool on) { console_->setEnabled(on); });
    tapeHost_ = std::make_unique<AppTapeHost>(*console_, *options_, services_.library);
    tape_ = std::make_unique<mdlM_Tape>(*tapeHost_, *sound_, services_.makeSpeechEngine);
    console_->setTape(tape_.get());
}

Application::~Application()
{
    // The tape speaks through the console's tape group; it goes first.
    tape_.reset();
    console_.reset();
}

void Application::start()
{
    sound_->SndCloseAll();
    InitDegitValues();
    InitPanel();
    console_->Form_Load();
    console_->show();
    console_->raise();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    board_->move(desk.topLeft());
    // The console's outer size includes the frame the window manager gives it.
    const QSize outer = console_->frameGeometry().size();
    console_->move(desk.right() + 1 - outer.width(), desk.bottom() + 1 - outer.height());
    board_->ShapeToClient();
    board_->show();
    board_->update();
    LoadIni();
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
    SetProp();
}

void Application::SetProp()
{
    // The board follows the dialog's look: label colours and panel through the backlight switch.
    console_->Option4_Click(console_->selectedBacklight());
}

void Application::LoadIni() {}

void Application::SaveIni() {}

}  // namespace fareboard
