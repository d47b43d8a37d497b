#pragma once

class QWindow;

namespace fareboard {

// How a frameless window is moved with the mouse: by the window manager, as if its title bar
// were dragged; by hand where there is none; or not at all, when the button is already up.
enum class WindowMove { ByWindowManager, ByHand, Over };

// Starts the move of `window` from a left-button press, if that button is still held on the
// display. A tap (a touchpad's, or a click with almost no hold) is over before its press is
// handled; a move started then is one the window manager goes on with, no button held, until
// the next click.
WindowMove startWindowMove(QWindow* window);

// Tells the window manager that the move is over: the button came up before it took hold of
// the pointer, and it would not see the release itself.
void cancelWindowMove(QWindow* window);

}  // namespace fareboard
