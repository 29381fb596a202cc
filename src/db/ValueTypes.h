#pragma once
// Which values the drivers hand over as numbers, so that readers and writers
// treat a numeric column the same way on every database kind.

#include <QMetaType>
#include <QVariant>

namespace db {

inline bool isIntegralType(QMetaType t)
{
    switch (t.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

inline bool isNumericType(QMetaType t)
{
    return isIntegralType(t) || t.id() == QMetaType::Double || t.id() == QMetaType::Float;
}

inline bool isIntegralValue(const QVariant& v) { return isIntegralType(v.metaType()); }
inline bool isNumericValue(const QVariant& v) { return isNumericType(v.metaType()); }

}  // namespace db
