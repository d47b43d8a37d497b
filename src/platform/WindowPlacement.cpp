#include "WindowPlacement.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace fareboard {
namespace {

// Long enough for a window manager to frame a window just shown, even on a busy machine.
constexpr int kSettleMs = 3000;

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

}  // namespace fareboard
