#pragma once

#include <QFont>

namespace fareboard {

// The Windows faces the program's windows name, and the faces that stand in for them here.
enum class Typeface {
    NumC2,          // the ticket-number digit face
    PGothic,        // "ＭＳ Ｐゴシック"
    Gothic,         // "ＭＳ ゴシック"
    Mincho,         // "ＭＳ 明朝"
};

QFont typeface(Typeface face, int pointSize, bool bold = false);

}  // namespace fareboard
