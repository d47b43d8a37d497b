#include "FirstFrame.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace fareboard {
namespace {

// Ends the wait once the window has handled its expose, which paints it.
class ExposeWatch final : public QObject {
public:
    ExposeWatch(QWindow* window, QEventLoop& loop) : window_(window), loop_(loop) { window_->installEventFilter(this); }
    ~ExposeWatch() override { window_->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Expose)
            QMetaObject::invokeMethod(&loop_, &QEventLoop::quit, Qt::QueuedConnection);
        return false;
    }

private:
    QWindow* window_;
    QEventLoop& loop_;
};

}  // namespace

void showFirstFrame(QWidget* window, int maxWaitMs)
{
    QWindow* handle = window->windowHandle();
    if (!handle || !window->isVisible())
        return;
    // Exposed at once, as on a display without a window manager's frame: paint now rather than at
    // the next turn of the event loop, which comes only after the caller's work.
    if (handle->isExposed()) {
        window->repaint();
        return;
    }
    QEventLoop loop;
    ExposeWatch watch(handle, loop);
    QTimer::singleShot(maxWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace fareboard
