#include "Typefaces.h"

namespace fareboard {

QFont typeface(Typeface face, int pointSize, bool bold)
{
    QString family;
    switch (face) {
    // The ticket numbers are full-width digits; IPA Gothic's are even and upright, which is what
    // the board's own number face looks like from a passenger's seat.
    case Typeface::NumC2: family = QStringLiteral("IPAGothic"); bold = true; break;
    case Typeface::PGothic: family = QStringLiteral("IPAPGothic"); break;
    case Typeface::Gothic: family = QStringLiteral("IPAGothic"); break;
    case Typeface::Mincho: family = QStringLiteral("IPAMincho"); break;
    }
    QFont font(family);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace fareboard
