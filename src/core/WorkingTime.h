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

    int calendarDays() const { return calendar.calendarDays(); }
    int calendarMachineCount() const { return rows.CalendarMachineCount; }
};

// Production minutes of a job: ceiling(|cycle × quantity ÷ 60|) ÷ divisor, halves to even.
// A cycle of 0 takes 5 seconds per piece; a divisor below 1 counts as 1. A product
// within a billionth of a whole minute counts as that minute (decimal cycle times
// such as 12.3 s are not exact in binary and must not gain a minute from it).
std::int32_t calcProcessMinutes(double cycleSeconds, std::int64_t quantity, std::int64_t divisor);

// End of a job of `minutes` working minutes starting at `start` on the machine
// with code `machineCode` (the caller resolves a plan record's code). A blank code
// gives start + minutes on the clock. A code that is no machine row with a
// calendar (row 1, unknown codes, suppliers) counts clock minutes, 960 of them
// per production day at most. Negative minutes count as 0. Does not allocate.
Moment calcEndTime(const Planner& p, Moment start, std::int64_t minutes, const QString& machineCode);
// The same on a row already looked up (getMachineIndex).
Moment endTimeOnRow(const Planner& p, Moment start, std::int64_t minutes, int machineIndex);

// A machine code looked up once for many end times on the same row (a push).
struct MachineOfCode {
    int row = 1;
    bool blank = true;  // no code at all: clock minutes without the daily cap
};
MachineOfCode machineOfCode(const Planner& p, QStringView machineCode);
// calcEndTime on a code looked up with machineOfCode.
Moment endTimeOn(const Planner& p, Moment start, std::int64_t minutes, MachineOfCode machine);

// Working minutes from the moment to the end of its production day; nextDayStart
// always receives the start of the following production day. Without a calendar
// (row 1, rows after the calendar machines, days after the calendar) this is 960
// but never more than the clock minutes left in the production day.
std::int64_t dayWorkMinutes(const Planner& p, Moment moment, int machineIndex, Moment& nextDayStart);

// Moment at which `minutes` working minutes are used up within the moment's production day.
Moment addWorkMinutesInDay(const Planner& p, Moment moment, int machineIndex, std::int64_t minutes);

// Whole minutes from time of day a to b (b = 00:00:00 counts as 24:00); 0 when negative.
std::int32_t minutesBetween(TimeOfDay a, TimeOfDay b);

// Rounds the time of day up to the grid (GridMinutes, below 1 counts as 1); may move
// to the next date. The grid restarts every midnight, so a result beyond the last
// grid point of a date is that next midnight.
Moment roundUpToGrid(const Planner& p, Moment m);
void roundUpDateTime(const Planner& p, Date& date, TimeOfDay& time);
// Rounds up to a multiple of `unitMinutes` (the arranging time unit), with the same rules.
Moment roundUpToUnit(Moment m, int unitMinutes);

// Production-day-relative time in seconds and back: 0 at the day change, 86400 at the
// next one. Without wrap the result lies in 0 .. 86399 (a start), with wrap in
// 1 .. 86400 (an end: the day change itself is the end of the production day).
std::int32_t toShiftedTime(TimeOfDay dayChangeTime, TimeOfDay t, bool wrap);
TimeOfDay fromShiftedTime(TimeOfDay dayChangeTime, std::int32_t relativeSeconds);

// Production-day facts of a moment.
int dayIndexOf(const Planner& p, Moment m);       // (production-day date − PeriodStart) + 2
bool isEarly(const Planner& p, Moment m);         // time of day before the day change
Moment nextDayStartOf(const Planner& p, Moment m);

// Brings a start onto the machine's working time: the first working moment at or
// after it (the end of a 0-minute job).
Moment snapToWorkingTime(const Planner& p, Moment start, const QString& machineCode);

// Text helpers for fixed-width lists (Shift-JIS byte widths as CP932 encodes them:
// ASCII and half-width katakana 1 byte, other characters 2; a character CP932
// cannot encode counts 2 and is kept). Fitting never splits a character: a
// two-byte character that does not fit is replaced by a blank.
QString fitByteWidth(const QString& text, int width, const QString& alignment);
// Pads with `pad` up to `width` characters, then cuts to `width`; an empty pad only cuts.
QString padRight(const QString& text, int width, const QString& pad);
int shiftJisByteWidth(const QString& text);

}  // namespace core
