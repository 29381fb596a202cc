#pragma once
// Builders for the scheduling-core tests: exact moments and a planner with
// machine calendars made from DB0491-style rows.

#include "core/Calendar.h"
#include "core/WorkingTime.h"

#include <ostream>
#include <vector>

namespace core {  // readable values in failure messages
inline void PrintTo(const Moment& m, std::ostream* os) { *os << m.toDisplayText().toStdString(); }
inline void PrintTo(const Date& d, std::ostream* os) { *os << d.toYmdText().toStdString(); }
inline void PrintTo(const TimeOfDay& t, std::ostream* os) { *os << t.toDisplayText().toStdString(); }
}  // namespace core

namespace core_test {

using core::Date;
using core::Moment;
using core::TimeOfDay;
using Breaks = std::vector<std::pair<TimeOfDay, TimeOfDay>>;

inline TimeOfDay hm(int h, int m = 0, int s = 0) { return TimeOfDay::fromHms(h, m, s); }
inline Date ymd(int y, int m, int d) { return Date::fromYmd(y, m, d); }
inline Moment at(Date d, int h, int m = 0, int s = 0) { return Moment::of(d, hm(h, m, s)); }

inline core::CalendarDayRow dayRow(Date d, TimeOfDay s1, TimeOfDay e1, TimeOfDay s2 = {}, TimeOfDay e2 = {})
{
    core::CalendarDayRow r;
    r.date = d;
    r.workingHours = 8;
    r.start1 = s1, r.end1 = e1, r.start2 = s2, r.end2 = e2;
    return r;
}

// A planner over [periodStart, periodEnd] with the given breaks and row 1 only.
inline core::Planner makePlanner(Date periodStart, Date periodEnd, TimeOfDay dayChange, const Breaks& breaks = {})
{
    core::Planner p;
    p.PeriodStart = periodStart, p.PeriodEnd = periodEnd, p.DayChangeTime = dayChange;
    p.calendar.reset(periodStart.daysTo(periodEnd) + 3, 1);
    std::array<std::pair<TimeOfDay, TimeOfDay>, 10> pairs{};
    std::copy(breaks.begin(), breaks.end(), pairs.begin());
    core::loadBreakMaster(p.calendar, pairs);
    return p;
}

// Appends a machine row with its calendar; returns its row index.
inline int addMachine(core::Planner& p, const QString& code, const std::vector<core::CalendarDayRow>& rows)
{
    const int r = p.rows.append(code, code, code);
    p.rows.CalendarMachineCount = p.rows.KikaiRowCount = r;
    p.calendar.addMachine();
    core::loadMachineCalendar(p.calendar, r, p.PeriodStart, rows, p.DayChangeTime);
    return r;
}

// The same shifts on every date of the calendar.
inline std::vector<core::CalendarDayRow> everyDay(const core::Planner& p, TimeOfDay s1, TimeOfDay e1, TimeOfDay s2 = {},
                                                  TimeOfDay e2 = {})
{
    std::vector<core::CalendarDayRow> rows;
    for (int i = 0; i <= p.calendarDays(); ++i) rows.push_back(dayRow(p.PeriodStart.addDays(i - 2), s1, e1, s2, e2));
    return rows;
}

// A machine day's periods as "hh:mm-hh:mm" (an end of 00:00 reads 24:00).
inline std::vector<std::string> periodsOf(const core::Planner& p, int dayIndex, int machine)
{
    std::vector<std::string> out;
    const auto& cal = p.calendar.day(dayIndex, machine).CalTime;
    for (std::size_t s = 1; s <= 23 && !(cal[s].isZero() && cal[s + 1].isZero()); s += 2)
        out.push_back((cal[s].toHhmm() + u'-' + (cal[s + 1].isZero() ? QStringLiteral("24:00") : cal[s + 1].toHhmm())).toStdString());
    return out;
}

}  // namespace core_test
