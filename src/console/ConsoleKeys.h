#pragma once

#include <Qt>

#include <optional>

namespace fareboard {

// The console's keyboard, laid out as a driver's hands find it: the digits and S/K type on the
// keypad, Enter sets the route, Page Down/Up step the stops, Space plays the next announcement
// and Escape silences it. Each key presses the button it names, so what it does is exactly
// what the button does (nothing while the button is disabled).
enum class ConsoleButton { Keypad, KeypadReset, StepForward, StepBack, TapeNext, TapeStop };

struct ConsoleKeyTarget {
    ConsoleButton button;
    int index = 0;  // the keypad key for ConsoleButton::Keypad: 0..9, 10 系統, 11 区間

    bool operator==(const ConsoleKeyTarget&) const = default;
};

// The button a key press stands for; nothing for keys the console leaves alone (with Ctrl,
// Alt or Meta held, too, so that shortcuts of the desktop and the program keep working).
std::optional<ConsoleKeyTarget> consoleKeyTarget(int key, Qt::KeyboardModifiers modifiers);

// The key's name as a tool tip shows it ("キー: PageDown").
const char* consoleKeyName(ConsoleButton button);

}  // namespace fareboard
