#include "DegitValue.h"

#include <QRegularExpression>

#include <cmath>

namespace fareboard {

QString plainDecimal(double number)
{
    if (!std::isfinite(number))
        return QString::number(number);
    if (number == 0.0)
        return QStringLiteral("0");  // also for -0.0: a sign on nothing would show as a lit minus

    // Fifteen significant digits is what a double holds reliably, and what keeps 0.1 + 0.2 a
    // plain 0.3; the digits are then placed around the point by hand so no exponent appears.
    const QString scientific = QString::number(std::fabs(number), 'e', 14);  // d.dddddddddddddde±x
    const qsizetype e = scientific.indexOf(u'e');
    QString digits = scientific.left(e).remove(u'.');
    const int exponent = scientific.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    const qsizetype pointAt = exponent + 1;  // digits before the point
    QString text;
    if (pointAt <= 0)
        text = QStringLiteral("0.") + QString(-pointAt, u'0') + digits;
    else if (pointAt >= digits.size())
        text = digits + QString(pointAt - digits.size(), u'0');
    else
        text = digits.left(pointAt) + u'.' + digits.mid(pointAt);
    return number < 0 ? u'-' + text : text;
}

QString degitValueText(const DegitValue& value)
{
    struct Text {
        QString operator()(std::monostate) const { return {}; }
        QString operator()(int16_t v) const { return QString::number(v); }
        QString operator()(int32_t v) const { return QString::number(v); }
        QString operator()(double v) const { return plainDecimal(v); }
        QString operator()(bool v) const { return v ? QStringLiteral("-1") : QStringLiteral("0"); }
        QString operator()(const QString& v) const { return v; }
    };
    return std::visit(Text{}, value);
}

std::optional<double> degitNumber(const DegitValue& value)
{
    struct Number {
        std::optional<double> operator()(std::monostate) const { return std::nullopt; }
        std::optional<double> operator()(int16_t v) const { return v; }
        std::optional<double> operator()(int32_t v) const { return v; }
        std::optional<double> operator()(double v) const { return v; }
        std::optional<double> operator()(bool v) const { return v ? -1.0 : 0.0; }
        std::optional<double> operator()(const QString& v) const
        {
            // ASCII digits only: a full-width "０" is text to show, not a number to pad.
            static const QRegularExpression decimal(
                QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
            const QString trimmed = v.trimmed();
            if (!decimal.match(trimmed).hasMatch())
                return std::nullopt;
            bool ok = false;
            const double d = trimmed.toDouble(&ok);
            if (!ok || !std::isfinite(d))
                return std::nullopt;
            return d;
        }
    };
    return std::visit(Number{}, value);
}

DegitValue degitValueFromVariant(const QVariant& variant)
{
    switch (variant.metaType().id()) {
    case QMetaType::UnknownType: return std::monostate{};
    case QMetaType::Bool: return variant.toBool();
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return int16_t(variant.toInt());
    case QMetaType::Int: return int32_t(variant.toInt());
    case QMetaType::Double:
    case QMetaType::Float: return variant.toDouble();
    case QMetaType::QString: return variant.toString();
    default: break;
    }
    // Wider integers and anything else that converts: keep the number, else the text.
    bool ok = false;
    const qlonglong whole = variant.toLongLong(&ok);
    if (ok && whole >= INT32_MIN && whole <= INT32_MAX)
        return int32_t(whole);
    const double d = variant.toDouble(&ok);
    if (ok)
        return d;
    return variant.toString();
}

QVariant degitValueToVariant(const DegitValue& value)
{
    struct ToVariant {
        QVariant operator()(std::monostate) const { return {}; }
        QVariant operator()(int16_t v) const { return QVariant::fromValue<short>(v); }
        QVariant operator()(int32_t v) const { return QVariant::fromValue<int>(v); }
        QVariant operator()(double v) const { return v; }
        QVariant operator()(bool v) const { return v; }
        QVariant operator()(const QString& v) const { return v; }
    };
    return std::visit(ToVariant{}, value);
}

}  // namespace fareboard
