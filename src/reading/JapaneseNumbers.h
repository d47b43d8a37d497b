#pragma once

#include <QString>
#include <QStringView>

namespace fareboard {

// The reading of a whole number written in ASCII digits, in katakana: "1200" → "センニヒャク",
// "300" → "サンビャク". Leading zeros are dropped; more than sixteen digits are read one by one.
// The synthesiser drops full-width digits and misreads hundreds and thousands, so numbers are
// turned into words before it sees them.
QString japaneseNumber(QStringView digits);

// Replaces every number in the text by its reading: digits with thousands separators
// ("1,200") and a decimal part ("2.5" → "ニテンゴ"). Expects full-width digits already folded.
QString spellOutNumbers(const QString& text);

}  // namespace fareboard
