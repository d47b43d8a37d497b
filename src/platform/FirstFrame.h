#pragma once

class QWidget;

namespace fareboard {

// Waits until the top-level window just shown has its first frame on screen, at most
// `maxWaitMs`, so that work the caller does next does not leave it blank. The window system
// answers a map only when the window manager has framed the window, which costs nothing here
// but time. Meanwhile windows paint and timers run; clicks and keys stay queued for later.
void showFirstFrame(QWidget* window, int maxWaitMs);

}  // namespace fareboard
