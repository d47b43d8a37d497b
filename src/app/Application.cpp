#include "Application.h"

#include "board/Form1.h"
#include "platform/glyphs/HostGlyphSource.h"

#include <QGuiApplication>
#include <QScreen>

namespace fareboard {

Application::Application(PlatformServices services, ApplicationConfig config)
    : services_(services), config_(std::move(config)), glyphs_(std::make_shared<HostGlyphSource>())
{
}

Application::~Application() = default;

Form1& Application::board()
{
    if (!board_)
        board_ = std::make_unique<Form1>(services_.library, services_.clock, glyphs_);
    return *board_;
}

void Application::start()
{
    Form1& form = board();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form.move(screen->geometry().topLeft());
    form.ShapeToClient();
    form.show();
}

}  // namespace fareboard
