#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <variant>

namespace fareboard {

// What a digit control is given to show. Callers hand in whatever they hold: nothing, a 16- or
// 32-bit integer, a double, a flag or a text; the control keeps it as given, so reading the
// value back returns exactly what was assigned.
using DegitValue = std::variant<std::monostate, int16_t, int32_t, double, bool, QString>;

// A double written the way fares and clocks are read: plain decimal, at most 15 significant
// digits, no exponent, no grouping, no leading zeros, a minus sign when negative, and a point
// with fraction digits only when there is a fraction.
QString plainDecimal(double number);

// The text of a value: numbers in plain decimal, a flag as the number it stands for (-1 for
// true, 0 for false), a text as it is, nothing as the empty text.
QString degitValueText(const DegitValue& value);

// The number a value stands for: numbers and flags themselves, and texts that read as a
// decimal number with blanks around it allowed ("888", " -1 ", "12.5"). Nothing and texts that
// are not numbers (the empty text, a space) stand for none.
std::optional<double> degitNumber(const DegitValue& value);

// The value in a stored property, and back. Integer widths and flags keep their type.
DegitValue degitValueFromVariant(const QVariant& variant);
QVariant degitValueToVariant(const DegitValue& value);

}  // namespace fareboard
