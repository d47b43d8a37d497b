#include "Application.h"

#include "board/Form1.h"

#include <QGuiApplication>
#include <QScreen>

namespace fareboard {

Application::Application(PlatformServices services, ApplicationConfig config)
    : services_(services), config_(std::move(config))
{
}

Application::~Application() = default;

Form1& Application::board()
{
    if (!board_)
        board_ = std::make_unique<Form1>();
    return *board_;
}

void Application::start()
{
    Form1& form = board();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form.move(screen->availableGeometry().topLeft());
    form.show();
}

}  // namespace fareboard
