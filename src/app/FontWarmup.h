#pragma once

#include <QFont>
#include <QList>

#include <thread>

namespace fareboard {

// Resolves `fonts` and shapes a line of Japanese in each on a thread of its own. Qt's font
// database (the installed faces, fontconfig's matches and fallback lists) is shared by every
// thread and filled at first use, which is most of what the first windows with Japanese text
// wait for; started right after the application object, that work overlaps with building the
// windows on the other core. Join it before the program ends.
std::thread warmUpFonts(QList<QFont> fonts);

}  // namespace fareboard
