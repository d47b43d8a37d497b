#pragma once

#include <QObject>

namespace fareboard {

class frmCtl;

// Lets the console be driven from the keyboard (see ConsoleKeys.h). It watches the key presses
// of the console's window ahead of the focused child, so that Space or Enter press the button
// they stand for rather than whichever button has the focus. Made by the console, as its child.
class ConsoleKeyboard final : public QObject {
public:
    explicit ConsoleKeyboard(frmCtl& console);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmCtl& console_;
};

}  // namespace fareboard
