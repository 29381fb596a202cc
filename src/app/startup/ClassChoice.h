#pragma once
// What the start selection dialog (KBunSelect) shows and the rules of its
// fields, apart from the widgets: the factory label, the process class lines,
// the default period and the date-character conversion.

#include "core/TimeTypes.h"
#include "db/Database.h"

#include <QString>
#include <QStringList>

namespace app {

struct ClassChoiceList {
    QString factoryLabel;  // Label2: factory code "00", "：", department name
    QStringList lines;     // "code name", in code order
};

// Reads DB0370 (department of the factory) and DB0399 (process classes). Throws db::Error.
ClassChoiceList loadClassChoices(db::Database& db, int kojoCode);

// The class code of a list line: its text up to the first blank, trimmed.
QString classCodeOfLine(const QString& line);
// True when two class codes name the same class: equal numbers when both are
// numeric ("1" and "01"), equal trimmed text otherwise.
bool sameClassCode(const QString& a, const QString& b);
// The line to select: the one whose code is the current class; the first line
// when there is no current class or it is no longer listed; -1 for an empty list.
int preselectedLine(const QStringList& lines, const QString& currentClassCode);

// mDateChr: the typed date as "yyyy/mm/dd", or "" when it is no valid date (core::mDateChr).
// Takes full-width digits and separators, "yyyymmdd", "yymmdd", "yyyy/m/d",
// "yyyy-mm-dd", "yyyy.mm.dd" and "yyyy年m月d日".
QString mDateChr(const QString& typed);

struct PeriodTexts {
    QString start;  // "yyyy/mm/dd" or ""
    QString end;
};
// The dialog's default period: the command line's first eight characters as
// yyyymmdd, and that plus DisplayMonths calendar months. Empty when the
// command line is "1", empty, or does not start with a valid date.
PeriodTexts defaultPeriod(const QString& commandLineText, int displayMonths);

// The end must lie at least 29 days after the start.
constexpr int MinimumPeriodDays = 29;
bool periodLongEnough(core::Date start, core::Date end);
// Calendars, rows and the chart grow with the period: a year at most.
constexpr int MaximumPeriodDays = 366;
// The calendar reaches one day past the period's end, and every date is
// written as yyyymmdd: the period ends on 9999/12/30 at the latest.
core::Date latestPeriodEnd();
// start plus `months` calendar months, but never past latestPeriodEnd().
core::Date periodEndAfter(core::Date start, int months);

enum class PeriodCheck { Ok, Missing, TooShort, TooLong, TooLate };
PeriodCheck checkPeriod(core::Date start, core::Date end);
// The message for a period that is not Ok.
QString periodMessage(PeriodCheck check);

// The dialog's texts.
QString periodTooShortMessage();  // "指定期間は29日間以上を入力してください。"
QString enterDateMessage();       // "日付を入力してください"

}  // namespace app
