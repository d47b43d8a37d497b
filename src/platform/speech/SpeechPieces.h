#pragma once

#include <QString>
#include <QStringList>

namespace fareboard {

// A text cut into pieces a voice that reads a bounded line takes whole, each at most
// `maxUtf8Bytes` bytes of UTF-8: after sentence ends (。！？!? and line breaks) where it can,
// a piece holding as many whole sentences as fit; a sentence longer than that after its last
// pause (、，, and spaces) that fits, else after the last whole character that fits, never
// between the two halves of a surrogate pair. Joined, the pieces are the text again.
QStringList speechPieces(const QString& text, qsizetype maxUtf8Bytes);

}  // namespace fareboard
