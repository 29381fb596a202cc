#pragma once
// Reading the production database's loosely typed columns.
//
// The plant's tables hold numbers as numbers or as text depending on the
// program that wrote them, dates as "yyyymmdd" text (or numbers), times of day
// as "hhnnss" text or numbers such as 80000 for 08:00:00. Other programs have
// left NULLs, blanks and garbage behind; none of that may stop a load.

#include "core/TimeTypes.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

namespace store {

// NULL or an empty / blank text.
bool isBlank(const QVariant& v);
// The text of a field; "" for NULL. Integral numbers print without a fraction.
QString textOf(const QVariant& v);
// The numeric value read through the text form; NULL, blank and garbage give 0.
double numberOf(const QVariant& v);
// numberOf rounded half to even (the whole-number fields); out of range gives 0.
std::int64_t integerOf(const QVariant& v);
// The date of a "yyyymmdd" value; a null Date for "00000000", blanks and garbage.
core::Date dateOf(const QVariant& v);
// The time of day of an "hhnnss" value left-padded to six digits (80000 is
// 08:00:00); also "hh:mm:ss". nullopt when it is no time of day (NULL gives 00:00:00).
std::optional<core::TimeOfDay> timeOf(const QVariant& v);
// timeOf, with 00:00:00 and a logged reason for values that are no time of day.
core::TimeOfDay timeOrMidnight(const QVariant& v, const char* column, const QString& where);

// "#,##0" formatting of progress counts.
QString groupedNumber(std::int64_t n);

}  // namespace store
