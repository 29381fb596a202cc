#include "plan/loading/FieldValues.h"

#include <QDebug>
#include <cmath>

namespace plan::loading {

namespace {

bool isNumericType(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isIntegralType(const QVariant& v)
{
    const int t = v.typeId();
    return t == QMetaType::Int || t == QMetaType::UInt || t == QMetaType::LongLong || t == QMetaType::ULongLong
        || t == QMetaType::Short || t == QMetaType::UShort;
}

// A finite value, or nullopt for garbage.
std::optional<double> parseNumber(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return std::nullopt;
    if (isNumericType(v)) {
        const double d = v.toDouble();
        return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    }
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

// Digits of a whole, non-negative value (a number or a text holding one); "" otherwise.
QString wholeDigits(const QVariant& v)
{
    if (isIntegralType(v)) {
        const qlonglong n = v.toLongLong();
        return n < 0 ? QString() : QString::number(n);
    }
    QString t = isNumericType(v) ? QString() : v.toString().trimmed();
    if (!t.isEmpty()) {
        bool digitsOnly = true;
        for (QChar c : t)
            if (c < u'0' || c > u'9') { digitsOnly = false; break; }
        if (digitsOnly) return t;
    }
    // 80000.0 or "080000.00": numeric columns of some drivers.
    const auto d = parseNumber(v);
    if (!d || *d < 0 || *d >= 1e15 || std::floor(*d) != *d) return QString();
    return QString::number(qlonglong(*d));
}

}  // namespace

bool isBlank(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return true;
    if (isNumericType(v)) return false;
    return v.toString().trimmed().isEmpty();
}

QString textOf(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return QString();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (std::isfinite(d) && std::floor(d) == d && std::fabs(d) < 1e15) return QString::number(qlonglong(d));
        return QString::number(d, 'g', 15);
    }
    return v.toString();
}

double numberOf(const QVariant& v) { return parseNumber(v).value_or(0.0); }

std::int64_t integerOf(const QVariant& v)
{
    if (isIntegralType(v)) return v.toLongLong();
    const double d = numberOf(v);
    if (std::fabs(d) >= 9.0e18) return 0;
    return std::int64_t(std::nearbyint(d));  // default rounding: half to even
}

core::Date dateOf(const QVariant& v)
{
    if (isBlank(v)) return core::Date();
    if (isNumericType(v)) return core::Date::fromYmdText(wholeDigits(v));
    return core::Date::fromDisplayText(v.toString());  // "yyyymmdd", also "yyyy/mm/dd" and ISO dates
}

std::optional<core::TimeOfDay> timeOf(const QVariant& v)
{
    if (isBlank(v)) return core::TimeOfDay();
    if (!isNumericType(v) && v.toString().contains(u':')) return core::TimeOfDay::fromDisplayText(v.toString());
    const QString digits = wholeDigits(v);
    if (digits.isEmpty() || digits.size() > 6) return std::nullopt;
    return core::TimeOfDay::fromHhnnss(digits.rightJustified(6, u'0'));
}

core::TimeOfDay timeOrMidnight(const QVariant& v, const char* column, const QString& where)
{
    if (const auto t = timeOf(v)) return *t;
    qWarning().noquote() << where << ":" << column << "holds" << textOf(v) << "which is no time of day; 00:00:00 is used";
    return core::TimeOfDay();
}

QString groupedNumber(std::int64_t n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (int i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, u',');
    return n < 0 ? QStringLiteral("-") + digits : digits;
}

}  // namespace plan::loading
