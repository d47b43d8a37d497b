#include "ConsoleKeys.h"

namespace fareboard {

std::optional<ConsoleKeyTarget> consoleKeyTarget(int key, Qt::KeyboardModifiers modifiers)
{
    // The number pad's keys come with KeypadModifier and type digits all the same.
    if (modifiers & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return std::nullopt;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return ConsoleKeyTarget{ConsoleButton::Keypad, key - Qt::Key_0};
    switch (key) {
    case Qt::Key_S: return ConsoleKeyTarget{ConsoleButton::Keypad, 10};
    case Qt::Key_K: return ConsoleKeyTarget{ConsoleButton::Keypad, 11};
    case Qt::Key_Return:
    case Qt::Key_Enter: return ConsoleKeyTarget{ConsoleButton::KeypadReset};
    case Qt::Key_PageDown: return ConsoleKeyTarget{ConsoleButton::StepForward};
    case Qt::Key_PageUp: return ConsoleKeyTarget{ConsoleButton::StepBack};
    case Qt::Key_Space: return ConsoleKeyTarget{ConsoleButton::TapeNext};
    case Qt::Key_Escape: return ConsoleKeyTarget{ConsoleButton::TapeStop};
    default: return std::nullopt;
    }
}

const char* consoleKeyName(ConsoleButton button)
{
    switch (button) {
    case ConsoleButton::Keypad: return "";
    case ConsoleButton::KeypadReset: return "Enter";
    case ConsoleButton::StepForward: return "PageDown";
    case ConsoleButton::StepBack: return "PageUp";
    case ConsoleButton::TapeNext: return "Space";
    case ConsoleButton::TapeStop: return "Esc";
    }
    return "";
}

}  // namespace fareboard
