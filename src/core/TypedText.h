#pragma once
// What planners type into boxes, read the way the plant's programs read it:
// dates and times in the usual Japanese forms (also with full-width digits),
// numbers by their leading value, and full-width text narrowed.

#include "core/TimeTypes.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace core {

// mDateChr: the typed date as "yyyy/mm/dd", or "" when it is no valid date.
// Takes full-width digits and separators, "yyyymmdd", "yymmdd", "yyyy/m/d",
// "yyyy-mm-dd", "yyyy.mm.dd" and "yyyy年m月d日".
QString mDateChr(const QString& typed);
// The typed date; null when it is no valid date (mDateChr gives "").
Date typedDate(const QString& typed);
// The typed time of day: "h:mm" or "h:mm:ss", full-width digits and colon
// taken; nullopt when it is no valid time.
std::optional<TimeOfDay> typedTime(const QString& typed);

// Full-width letters, digits, signs and blanks to their half-width forms, and
// full-width katakana to half-width katakana (voiced marks as separate
// characters), as the plant's programs narrow text. Anything else stays.
QString toHalfWidth(const QString& text);

// The leading numeric value of a box: blanks anywhere are ignored, then an
// optional sign, digits and a decimal fraction are read up to the first other
// character. Empty text or text that starts otherwise gives 0.
double leadingValue(const QString& text);
// A whole number as typed or as a spreadsheet shows it: blanks around it,
// full-width digits and thousands separators taken; nullopt when it is none.
std::optional<std::int64_t> typedWholeNumber(const QString& typed);
// A whole number as a 32-bit conversion makes it: to the nearest, halves to
// even, held within the 32-bit range.
std::int32_t roundToInt32(double v);
// The same within the 64-bit range.
std::int64_t roundToInt64(double v);

// A number with thousands separators and a fixed count of decimals
// ("#,##0" for 0 decimals, "#,##0.000" for 3).
QString groupedText(double value, int decimals);

}  // namespace core
