#include "KeParticle.h"

#include "ReadingsFile.h"

#include <vector>

namespace fareboard {
namespace {

bool isKe(QChar c)
{
    return c == u'ヶ' || c == u'ケ' || c == u'ヵ';
}

bool particlePlace(const QString& text, qsizetype at)
{
    if (at == 0 || at + 1 >= text.size() || !isKanji(text[at + 1]))
        return false;
    const QChar before = text[at - 1];
    // A large ケ after kana is as likely a part of a word (タケ山) as the particle.
    return isKanji(before) || (text[at] != u'ケ' && isReadingKana(before));
}

}  // namespace

QString withKeReadAsGa(const QString& text, const QStringList& words)
{
    std::vector<bool> alone;  // for each ヶ of the words, whether it is a word by itself
    for (const QString& word : words) {
        for (QChar c : word) {
            if (isKe(c))
                alone.push_back(word.size() == 1);
        }
    }
    QString out = text;
    std::size_t seen = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isKe(text[i]))
            continue;
        if (seen == alone.size())
            return text;
        if (alone[seen++] && particlePlace(text, i))
            out[i] = u'が';
    }
    return seen == alone.size() ? out : text;
}

bool mayHaveKeParticle(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isKe(text[i]) && particlePlace(text, i))
            return true;
    }
    return false;
}

}  // namespace fareboard
