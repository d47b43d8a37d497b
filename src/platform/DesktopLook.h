#pragma once

#include <QIcon>

class QTranslator;

namespace fareboard {

// How the program meets the desktop around its own windows.

// The program's icon, drawn rather than shipped: a fare board's dark glass with an amber
// segment digit, at the sizes window managers and task bars ask for.
QIcon programIcon();

// Qt's own dialogs (file and colour choosers, their buttons and labels) in Japanese, as the
// rest of the program is, whatever the desktop's language: a chooser that spoke English on one
// start and Japanese on the next would be stranger than one that always matches the program.
// False when the translations are not installed; the dialogs then stay in English.
bool loadQtJapanese(QTranslator& translator);

}  // namespace fareboard
