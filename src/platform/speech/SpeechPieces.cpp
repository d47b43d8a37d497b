#include "SpeechPieces.h"

namespace fareboard {
namespace {

bool endsSentence(QChar c)
{
    return c == u'。' || c == u'！' || c == u'？' || c == u'!' || c == u'?' || c == u'\n';
}

bool isPause(QChar c)
{
    return c == u'、' || c == u'，' || c == u',' || c.isSpace();
}

qsizetype utf8Bytes(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return 1;
    if (u < 0x800)
        return 2;
    // Each half of a surrogate pair is half of the pair's four bytes.
    return c.isSurrogate() ? 2 : 3;
}

// Where a piece of `text` from `from` has to end: the end of the last sentence that fits,
// else the last pause that fits, else the last whole character that fits.
qsizetype pieceEnd(const QString& text, qsizetype from, qsizetype maxBytes)
{
    qsizetype bytes = 0, sentence = -1, pause = -1, fits = from;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype width = pair ? 4 : utf8Bytes(c);
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        i += pair ? 1 : 0;
        fits = i + 1;
        if (endsSentence(c))
            sentence = fits;
        else if (isPause(c))
            pause = fits;
    }
    if (fits == text.size())
        return fits;
    if (sentence > from)
        return sentence;
    if (pause > from)
        return pause;
    // Even one character is wider than a piece: it goes alone rather than never.
    if (fits == from)
        return from + (text[from].isHighSurrogate() && from + 1 < text.size() ? 2 : 1);
    return fits;
}

}  // namespace

QStringList speechPieces(const QString& text, qsizetype maxUtf8Bytes)
{
    QStringList pieces;
    for (qsizetype from = 0; from < text.size();) {
        const qsizetype end = pieceEnd(text, from, maxUtf8Bytes);
        pieces << text.mid(from, end - from);
        from = end;
    }
    return pieces;
}

}  // namespace fareboard
