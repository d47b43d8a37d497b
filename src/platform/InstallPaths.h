#pragma once

#include <QString>

namespace fareboard {

// Files shipped with the program sit beside the executable in a build tree and under the
// install prefix once installed (<prefix>/share/fareboard for data, <prefix>/lib/fareboard for
// plug-ins, found relative to <prefix>/bin, so the prefix can be moved).

// The path of the shipped file `name`: beside the executable when it is there, otherwise in
// the installed data or plug-in folder when it is there, otherwise beside the executable (so a
// missing file is reported under the name a developer expects).
QString shippedFile(const QString& exeDir, const QString& name);

// The folder of the bundled demo route with its chimes, ending in "/": <exe dir>/demo/ in a
// build tree, <prefix>/share/fareboard/demo/ when installed; empty when neither exists.
QString demoFolder(const QString& exeDir);

}  // namespace fareboard
