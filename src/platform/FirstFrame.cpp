#include "FirstFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

namespace fareboard {

FirstFrame::FirstFrame(QWidget* window) : window_(window) { window->installEventFilter(this); }

bool FirstFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Paint) {
        painted_ = true;
        // The frame is flushed to the screen right after the paint, inside the same event.
        if (waiting_)
            QMetaObject::invokeMethod(waiting_, &QEventLoop::quit, Qt::QueuedConnection);
    }
    return false;
}

void FirstFrame::waitFor(int maxWaitMs)
{
    if (painted_ || !window_ || !window_->isVisible() || !window_->windowHandle())
        return;
    const QWindow* handle = window_->windowHandle();
    if (!handle->isExposed()) {
        if (maxWaitMs > 0) {
            QEventLoop loop;
            QTimer::singleShot(maxWaitMs, &loop, &QEventLoop::quit);
            waiting_ = &loop;
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            waiting_ = nullptr;
        } else {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    // Exposed at once (a display without a window manager's frame) or meanwhile without a
    // paint: paint now rather than at the next turn of the event loop, after all the work.
    if (!painted_ && handle->isExposed())
        window_->repaint();
}

}  // namespace fareboard
