#include "db/Database.h"

#include <QSqlRecord>
#include <cmath>
#include <limits>

namespace db {

Cursor::Cursor(QSqlQuery q) : query_(std::move(q)), record_(query_.record()) {}

bool Cursor::next()
{
    return query_.next();
}

int Cursor::column(const QString& name) const
{
    // QSqlRecord::indexOf ignores case, which covers PostgreSQL folding
    // "Velmoran権限区分" to "velmoran権限区分".
    int i = record_.indexOf(name);
    if (i < 0) {
        // Drivers report bare column names: "DB0253.手配番号" is "手配番号".
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0) i = record_.indexOf(name.mid(dot + 1));
    }
    return i;
}

QVariant Cursor::value(int column) const
{
    if (column < 0 || column >= record_.count()) return QVariant();
    return query_.value(column);
}

QVariant Cursor::value(const QString& name) const
{
    return value(column(name));
}

bool Cursor::isNull(const QString& name) const
{
    const int c = column(name);
    return c < 0 || query_.isNull(c);
}

QString Cursor::text(int column) const
{
    const QVariant v = value(column);
    if (!v.isValid() || v.isNull()) return QString();
    return v.toString();
}

QString Cursor::text(const QString& name) const
{
    return text(column(name));
}

double numberFromText(const QString& text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

std::int64_t integerFromText(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (ok) return n;
    // Decimal texts ("61.0000", "2.5") round half to even, as the plant's
    // programs convert numbers to whole ones.
    const double d = numberFromText(t);
    if (std::fabs(d) >= 9.2e18) return 0;
    return static_cast<std::int64_t>(std::nearbyint(d));
}

double Cursor::number(int column) const
{
    return numberFromText(text(column));
}

double Cursor::number(const QString& name) const
{
    return number(column(name));
}

std::int64_t Cursor::integer(int column) const
{
    const QVariant v = value(column);
    if (!v.isValid() || v.isNull()) return 0;
    // 64-bit keys come back as integers; going through double would round them.
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return v.toLongLong();
    default:
        return integerFromText(v.toString());
    }
}

std::int64_t Cursor::integer(const QString& name) const
{
    return integer(column(name));
}

}  // namespace db
