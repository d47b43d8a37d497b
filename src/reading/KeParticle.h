#pragma once

#include <QString>
#include <QStringList>

namespace fareboard {

// The ヶ of place names (夢見ヶ崎, 霞ヶ関) is the old particle が, and ケ and ヵ are written for it
// too. A voice's dictionary reads the names it holds as they are said (霞ヶ関 かすみがせき,
// 八ヶ岳 やつがたけ, 一ヶ月 いっかげつ, 三ヶ日 みっかび); a name it does not know leaves the ヶ a
// word of its own, which Open JTalk says as a pause (ゆめみ、さき) and the fallback voice as ケ.
// Such a ヶ, ケ or ヵ between kanji (ヶ and ヵ also after kana: あざみヶ丘) is written が: the
// voice then says ゆめみがさき, and finds the names its dictionary spells with が (夢見が崎).
//
// `words` are the text's words as the voice's analyser split it, in order. The text comes
// back as it was when they do not hold every ヶ, ケ and ヵ of it.
QString withKeReadAsGa(const QString& text, const QStringList& words);

// True when the text has a ヶ, ケ or ヵ where it may be the particle, so only then is the
// analyser asked.
bool mayHaveKeParticle(const QString& text);

}  // namespace fareboard
