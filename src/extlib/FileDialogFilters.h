#pragma once

#include <QString>
#include <QStringList>

namespace fareboard {

// Turns a chooser's filter list (description and pattern strings, each ended by a NUL, the
// list ended by one more NUL) into the name filters a Qt file dialog offers, in the same order.
// Windows patterns are separated by ";", Qt's by spaces. A description that already ends in
// its own pattern in brackets ("Waveサウンド(*.wav)") is used as it stands, so the user sees the
// wording the caller chose; otherwise the patterns are added in brackets after it.
QStringList fileDialogNameFilters(const QString& filterList);

}  // namespace fareboard
