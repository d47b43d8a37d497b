#include "DegitText.h"

#include <cmath>

namespace fareboard {

namespace {

bool equalsNumber(const DegitValue& value, double number)
{
    // A value never set compares equal to 0, like an unset variable in an expression.
    if (std::holds_alternative<std::monostate>(value))
        return number == 0.0;
    const std::optional<double> own = degitNumber(value);
    return own && *own == number;
}

bool isEmptyText(const DegitValue& value)
{
    const auto* text = std::get_if<QString>(&value);
    return text && text->isEmpty();
}

DegitValue applyZeroMode(const DegitValue& value, int16_t zeroMode)
{
    const DegitValue zero = int16_t(0);
    const DegitValue nothing = QString();
    switch (zeroMode) {
    case 0: return equalsNumber(value, 0) || isEmptyText(value) ? nothing : value;
    case 1: return equalsNumber(value, 0) || isEmptyText(value) ? zero : value;
    case 2:
        if (equalsNumber(value, -1))
            return zero;
        return equalsNumber(value, 0) ? nothing : value;
    case 3: return equalsNumber(value, -1) || equalsNumber(value, 0) || isEmptyText(value) ? zero : value;
    default: return value;
    }
}

QString zeroFilled(double number, int digits)
{
    const double whole = std::round(number);  // halves away from zero
    QString text = plainDecimal(whole);       // a rounded -0.4 is plain 0, with no sign
    const bool negative = text.startsWith(u'-');
    if (negative)
        text.remove(0, 1);
    if (text.size() < digits)
        text.prepend(QString(digits - text.size(), u'0'));
    return negative ? u'-' + text : text;
}

}  // namespace

QString degitDisplayText(const DegitValue& value, const DegitTextRules& rules)
{
    DegitValue shown = applyZeroMode(value, rules.zeroMode);

    // A negative fill can only come from a stored control; it means no fill.
    if (rules.fillZero > 0) {
        if (const std::optional<double> number = degitNumber(shown))
            shown = zeroFilled(*number, rules.fillZero);
    }

    QString text = degitValueText(shown);
    if (rules.shift >= 1)
        text.append(QString(rules.shift, u' '));
    if (rules.keta <= 0)
        return {};
    return text.right(rules.keta);
}

}  // namespace fareboard
