#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace fareboard {
namespace {

// Long enough for a window manager to frame a window just shown, even on a busy machine.
constexpr int kSettleMs = 3000;
// What has to show of a window for the user to take hold of it and use it: its top edge, where
// the title bar is, and this much of it down and across.
constexpr int kReachable = 100;

class FrameKeeper final : public QObject {
public:
    FrameKeeper(QWidget* window, FramePlace place) : QObject(window), window_(window), place_(std::move(place))
    {
        setObjectName(QStringLiteral("FrameKeeper"));
        window->installEventFilter(this);
        // The frame may appear around a client that stays put, which Qt reports as no move at
        // all; so it is also looked at on a timer.
        auto* look = new QTimer(this);
        connect(look, &QTimer::timeout, this, [this] { apply(); });
        look->start(50);
        QTimer::singleShot(kSettleMs, this, [this] { deleteLater(); });
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        // A press starts the user's own drag, which is not to be undone.
        if (event->type() == QEvent::MouseButtonPress)
            deleteLater();
        else if (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show)
            apply();
        return false;
    }

private:
    // Places the frame at first, and again only when the frame itself changed (the window
    // manager framed the window, or its size changed): a move by anyone else is left alone.
    void apply()
    {
        if (applying_)
            return;
        applying_ = true;
        const QRect outer = window_->frameGeometry();
        const QPoint margins = window_->geometry().topLeft() - outer.topLeft();
        if (!applied_ || margins != margins_ || outer.size() != size_) {
            applied_ = true;
            margins_ = margins;
            size_ = outer.size();
            const QPoint wanted = place_(outer.size());
            if (outer.topLeft() != wanted)
                window_->move(wanted);
        }
        applying_ = false;
    }

    QWidget* window_;
    FramePlace place_;
    bool applying_ = false;
    bool applied_ = false;
    QPoint margins_;
    QSize size_;
};

}  // namespace

void placeOuterFrame(QWidget* window, FramePlace place)
{
    const QObjectList children = window->children();
    for (QObject* child : children)
        if (child->objectName() == QLatin1String("FrameKeeper"))
            delete child;
    new FrameKeeper(window, std::move(place));
}

void placeOuterFrame(QWidget* window, const QPoint& topLeft)
{
    placeOuterFrame(window, [topLeft](const QSize&) { return topLeft; });
}

QPoint reachablePlace(const QRect& frame, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return frame.topLeft();
    const int across = std::min(kReachable, frame.width());
    const int down = std::min(kReachable, frame.height());
    const QRect* most = &screens.front();
    qint64 mostArea = -1;
    for (const QRect& screen : screens) {
        const QRect overlap = screen & frame;
        if (!overlap.isEmpty() && overlap.top() == frame.top() && overlap.width() >= across && overlap.height() >= down)
            return frame.topLeft();
        const qint64 area = overlap.isEmpty() ? 0 : qint64(overlap.width()) * overlap.height();
        if (area > mostArea) {
            mostArea = area;
            most = &screen;
        }
    }
    // Inside that screen, its top left corner kept in view when the window is larger.
    const int x = std::max(most->left(), std::min(frame.left(), most->right() + 1 - frame.width()));
    const int y = std::max(most->top(), std::min(frame.top(), most->bottom() + 1 - frame.height()));
    return {x, y};
}

void placeOuterFrameWithinReach(QWidget* window, const QPoint& topLeft)
{
    placeOuterFrame(window, [topLeft](const QSize& outer) {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens << screen->geometry();
        return reachablePlace(QRect(topLeft, outer), screens);
    });
}

}  // namespace fareboard
