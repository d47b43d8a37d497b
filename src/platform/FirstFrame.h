#pragma once

#include <QObject>

class QEventLoop;
#include <QPointer>
#include <QWidget>

namespace fareboard {

// Gets a top-level window just shown its first frame on screen while the program goes on
// building the rest of itself, which would otherwise leave the window blank until the end.
// The window system exposes a window only once the window manager has framed it; until then
// painting it is pointless. Waiting lets timers run and windows paint, while clicks and keys
// stay queued for later.
class FirstFrame final : public QObject {
public:
    // `window` has just been shown.
    explicit FirstFrame(QWidget* window);

    // Waits for the window to be exposed, at most `maxWaitMs`, and paints it then; 0 only looks
    // whether it has been exposed meanwhile. Nothing happens once it has been painted.
    void waitFor(int maxWaitMs);
    bool painted() const { return painted_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    QEventLoop* waiting_ = nullptr;
    bool painted_ = false;
};

}  // namespace fareboard
