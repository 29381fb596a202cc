#pragma once
// Working-time arithmetic on the machines' calendars: production minutes of a
// job, the end of a job of N working minutes, grid rounding and the
// production-day rules. All moments are exact (whole seconds); durations are
// whole minutes.

#include "core/Calendar.h"
#include "core/RowTable.h"
#include "core/TimeTypes.h"

#include <QString>
#include <cstdint>

namespace core {

// The values the arithmetic reads: the display period, the day change, the grid
// unit, the row table and the calendars built for it.
struct Planner {
    Date PeriodStart;
    Date PeriodEnd;
    TimeOfDay DayChangeTime = TimeOfDay::fromHms(8, 0);
    int GridMinutes = 1;
    RowTable rows;
    CalendarTables calendar;

    int CalendarDays() const { return calendar.CalendarDays(); }
    int calendarMachineCount() const { return rows.CalendarMachineCount; }
};

// Production minutes of a job: ceiling(|cycle × quantity ÷ 60|) ÷ divisor, halves to even.
// A cycle of 0 takes 5 seconds per piece; a divisor below 1 counts as 1.
std::int32_t FunCalcProcessMinutes(double cycleSeconds, std::int64_t quantity, std::int64_t divisor);

// End of a job of `minutes` working minutes starting at `start` on the machine
// with code `machineCode`. A blank code gives start + minutes on the clock.
Moment FunCalcEndTime(const Planner& p, Moment start, std::int64_t minutes, const QString& machineCode);

// Working minutes from the moment to the end of its production day; nextDayStart
// always receives the start of the following production day.
std::int64_t FunDayWorkMinutes(const Planner& p, Moment moment, int machineIndex, Moment& nextDayStart);

// Moment at which `minutes` working minutes are used up within the moment's production day.
Moment FunAddWorkMinutesInDay(const Planner& p, Moment moment, int machineIndex, std::int64_t minutes);

// Whole minutes from time of day a to b (b = 00:00:00 counts as 24:00); 0 when negative.
std::int32_t FunMinutesBetween(TimeOfDay a, TimeOfDay b);

// Rounds the time of day up to the grid (GridMinutes); may move to the next date.
Moment SubRoundUpToGrid(const Planner& p, Moment m);
void SubRoundUpDateTime(const Planner& p, Date& date, TimeOfDay& time);
// Rounds up to a multiple of `unitMinutes` (the arranging time unit).
Moment funRoundUpToUnit(Moment m, int unitMinutes);

// Production-day-relative time in seconds (0 .. 86400) and back.
std::int32_t SubToShiftedTime(TimeOfDay dayChangeTime, TimeOfDay t, bool wrap);
TimeOfDay SubFromShiftedTime(TimeOfDay dayChangeTime, std::int32_t relativeSeconds);

// Production-day facts of a moment.
int dayIndexOf(const Planner& p, Moment m);       // (production-day date − PeriodStart) + 2
bool isEarly(const Planner& p, Moment m);         // time of day before the day change
Moment nextDayStartOf(const Planner& p, Moment m);

// Brings a start onto the machine's working time: the first working moment at or after it.
Moment snapToWorkingTime(const Planner& p, Moment start, const QString& machineCode);

// Text helpers for fixed-width lists (Shift-JIS byte widths).
QString FunFitByteWidth(const QString& text, int width, const QString& alignment);
QString FunPadRight(const QString& text, int width, const QString& pad);
int shiftJisByteWidth(const QString& text);

}  // namespace core
