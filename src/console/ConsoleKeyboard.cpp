#include "ConsoleKeyboard.h"

#include "ConsoleKeys.h"
#include "frmCtl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace fareboard {
namespace {

QPushButton* buttonOf(const frmCtl& console, const ConsoleKeyTarget& target)
{
    switch (target.button) {
    case ConsoleButton::Keypad: return console.CommandButton1(target.index);
    case ConsoleButton::KeypadReset: return console.Command1(1);
    case ConsoleButton::StepForward: return console.Command2(1);
    case ConsoleButton::StepBack: return console.Command2(0);
    case ConsoleButton::TapeNext: return console.cmdTapeNext();
    case ConsoleButton::TapeStop: return console.cmdTapeStop();
    }
    return nullptr;
}

void addKeyToTip(QPushButton* button, const QString& key)
{
    const QString tip = QStringLiteral("キー: ") + key;
    button->setToolTip(button->toolTip().isEmpty() ? tip : button->toolTip() + QLatin1Char('\n') + tip);
}

}  // namespace

ConsoleKeyboard::ConsoleKeyboard(frmCtl& console) : QObject(&console), console_(console)
{
    for (int k = 0; k <= 11; ++k)
        addKeyToTip(console.CommandButton1(k), k < 10 ? QString::number(k) : QLatin1String(k == 10 ? "S" : "K"));
    for (ConsoleButton b : {ConsoleButton::KeypadReset, ConsoleButton::StepForward, ConsoleButton::StepBack,
                            ConsoleButton::TapeNext, ConsoleButton::TapeStop})
        addKeyToTip(buttonOf(console, {b}), QString::fromLatin1(consoleKeyName(b)));
    QCoreApplication::instance()->installEventFilter(this);
}

bool ConsoleKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &console_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto target = consoleKeyTarget(key->key(), key->modifiers());
    if (!target)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claims the key, so no shortcut of a child (a button's mnemonic) takes it first.
        event->accept();
        return true;
    }
    // A key held down presses its button once, as a finger on the button would.
    if (type == QEvent::KeyPress && !key->isAutoRepeat()) {
        if (QPushButton* button = buttonOf(console_, *target); button && button->isEnabled())
            button->click();
    }
    return true;
}

}  // namespace fareboard
