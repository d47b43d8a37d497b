#pragma once

#include <thread>

namespace fareboard {

// Loads fontconfig's configuration and font cache on a thread of its own. Every window of the
// program shows Japanese text, so the first widget with a font waits for fontconfig to parse
// its configuration (about 10 ms here); started first thing in main, that work overlaps with
// the dynamic loader's and the display connection's on the other core. Qt's own use later
// finds the configuration ready. Join it before the program ends.
std::thread warmUpFontConfig();

}  // namespace fareboard
