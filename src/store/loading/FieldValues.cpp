#include "store/loading/FieldValues.h"

#include "db/ValueTypes.h"

#include <QDebug>
#include <cmath>

namespace store {

namespace {

// A finite value, or nullopt for garbage.
std::optional<double> parseNumber(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return std::nullopt;
    if (db::isNumericValue(v)) {
        const double d = v.toDouble();
        return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    }
    bool ok = false;
    const QString t = v.toString();
    const double d = QStringView(t).trimmed().toDouble(&ok);
    return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

int decimalDigits(qint64 n)
{
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

// The value of a text made of 1..15 ASCII digits (surrounding blanks allowed); -1 otherwise.
// Dates and times are read for every row of a load: this avoids any allocation.
qint64 digitsValue(QStringView t, int* digitCount = nullptr)
{
    t = t.trimmed();
    if (t.isEmpty() || t.size() > 15) return -1;
    qint64 n = 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    if (digitCount) *digitCount = int(t.size());
    return n;
}

// A whole, non-negative value (a number or a text holding one) with its digit
// count; -1 otherwise. "080000.00" and 80000.0 count as 80000.
qint64 wholeValue(const QVariant& v, int* digitCount)
{
    if (db::isIntegralValue(v)) {
        const qlonglong n = v.toLongLong();
        if (n < 0) return -1;
        *digitCount = decimalDigits(n);
        return n;
    }
    if (!db::isNumericValue(v)) {
        const QString t = v.toString();
        const qint64 n = digitsValue(t, digitCount);
        if (n >= 0) return n;
    }
    const auto d = parseNumber(v);
    if (!d || *d < 0 || *d >= 1e15 || std::floor(*d) != *d) return -1;
    const qint64 n = qint64(*d);
    *digitCount = decimalDigits(n);
    return n;
}

}  // namespace

bool isBlank(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return true;
    if (db::isNumericValue(v)) return false;
    const QString t = v.toString();  // shares the text; trimming a view allocates nothing
    return QStringView(t).trimmed().isEmpty();
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
    if (db::isIntegralValue(v)) return v.toLongLong();
    const double d = numberOf(v);
    if (std::fabs(d) >= 9.0e18) return 0;
    return std::int64_t(std::nearbyint(d));  // default rounding: half to even
}

core::Date dateOf(const QVariant& v)
{
    if (isBlank(v)) return core::Date();
    int digits = 0;
    const qint64 n = wholeValue(v, &digits);
    if (n >= 0) return digits == 8 ? core::Date::fromYmd(int(n / 10000), int(n / 100 % 100), int(n % 100)) : core::Date();
    return core::Date::fromDisplayText(v.toString());  // "yyyy/mm/dd" and ISO dates
}

std::optional<core::TimeOfDay> timeOf(const QVariant& v)
{
    if (isBlank(v)) return core::TimeOfDay();
    if (!db::isNumericValue(v)) {
        const QString t = v.toString();
        if (t.contains(u':')) return core::TimeOfDay::fromDisplayText(t);
    }
    int digits = 0;
    const qint64 n = wholeValue(v, &digits);  // "hhnnss" left-padded: 80000 is 08:00:00
    if (n < 0 || digits > 6) return std::nullopt;
    const int h = int(n / 10000), m = int(n / 100 % 100), sec = int(n % 100);
    if (h > 23 || m > 59 || sec > 59) return std::nullopt;
    return core::TimeOfDay::fromHms(h, m, sec);
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

}  // namespace store
