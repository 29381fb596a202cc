// Walking a machine's working periods: minutes left in a production day, the
// moment at which N working minutes are used up, and the end of a job.
#include "core/WorkingTime.h"

#include <algorithm>
#include <optional>

namespace core {
namespace {

constexpr std::int32_t kDay = TimeOfDay::kSecondsPerDay;
constexpr std::int64_t kMinutesWithoutCalendar = 960;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// minutesBetween, inlined for the walks.
inline std::int64_t clockMinutes(TimeOfDay a, TimeOfDay b)
{
    const std::int32_t d = (b.isZero() ? kDay : b.seconds()) - a.seconds();
    return d < 0 ? 0 : d / 60;
}

// Everything the walk needs about one moment, computed with integer arithmetic only.
struct DayFacts {
    std::int64_t dateSerial;      // calendar date of the moment
    std::int64_t productionDay;   // date serial of its production day
    TimeOfDay time;               // its time of day
    bool early;                   // before the day change: belongs to the previous production day
    std::int64_t dayIndex;        // production day − PeriodStart + 2
    Moment nextDayStart;          // start of the following production day
};

DayFacts factsOf(const Planner& p, Moment m)
{
    const std::int64_t date = floorDiv(m.seconds(), kDay);
    const TimeOfDay t = TimeOfDay::fromSeconds(std::int32_t(m.seconds() - date * kDay));
    const bool early = t < p.DayChangeTime;
    const std::int64_t productionDay = date - (early ? 1 : 0);
    return DayFacts{date, productionDay, t, early, productionDay - std::int64_t(p.PeriodStart.serial()) + 2,
                    Moment::fromSeconds((productionDay + 1) * kDay + p.DayChangeTime.seconds())};
}

bool hasCalendar(const Planner& p, int machineIndex)
{
    return machineIndex >= 2 && machineIndex <= p.calendarMachineCount() && machineIndex <= p.calendar.machineCount()
        && !p.PeriodStart.isNull();
}

// Without a calendar a production day holds 960 working minutes, but never more
// than the clock leaves of it: a job cannot use more working minutes than pass.
std::int64_t minutesWithoutCalendar(Moment m, Moment nextDayStart)
{
    const std::int64_t clockMinutes = (nextDayStart.seconds() - m.seconds() + 59) / 60;
    return std::min(kMinutesWithoutCalendar, clockMinutes);
}

// A job on a row without calendar: clock minutes, at most 960 per production day.
Moment endWithoutCalendar(const Planner& p, Moment start, std::int64_t remaining)
{
    const Moment next = factsOf(p, start).nextDayStart;
    const std::int64_t firstDay = minutesWithoutCalendar(start, next);
    if (remaining <= firstDay) return start.addMinutes(remaining);
    remaining -= firstDay;
    const std::int64_t fullDays = (remaining - 1) / kMinutesWithoutCalendar;
    return next.addSeconds(fullDays * kDay).addMinutes(remaining - fullDays * kMinutesWithoutCalendar);
}

using CalTimes = std::array<TimeOfDay, 25>;

// Selection rules of a day's periods, shared by the walks below. A period is
// taken from `from` (the moment's time or the period start) to its end; `nextDate`
// tells that it lies after midnight while the moment lies before it.
struct PeriodPart {
    bool counts;
    TimeOfDay from;
    TimeOfDay end;
    bool nextDate;
};

inline PeriodPart partOf(TimeOfDay start, TimeOfDay end, TimeOfDay t, bool early, TimeOfDay dayChange)
{
    if (early) {
        if (!(start < dayChange)) return {false, {}, {}, false};  // before midnight: already past
        if (t < start) return {true, start, end, false};
        if (t < end) return {true, t, end, false};
        return {false, {}, {}, false};
    }
    if (end.isZero()) return {true, t < start ? start : t, end, false};  // runs to 24:00
    if (!(dayChange < end)) return {true, start, end, true};             // after midnight, wholly ahead
    if (t < start) return {true, start, end, false};
    if (t < end) return {true, t, end, false};
    return {false, {}, {}, false};
}

std::int64_t calendarDayMinutes(const Planner& p, const DayFacts& f, int machineIndex)
{
    const auto& cal = p.calendar.day(int(f.dayIndex), machineIndex).CalTime;
    std::int64_t sum = 0;
    for (std::size_t s = 1; s <= 23; s += 2) {
        const TimeOfDay start = cal[s], end = cal[s + 1];
        if (start.isZero() && end.isZero()) break;  // the day's list ends at the first empty pair
        const PeriodPart part = partOf(start, end, f.time, f.early, p.DayChangeTime);
        if (part.counts) sum += clockMinutes(part.from, part.end);
    }
    return sum;
}

// Uses up working minutes of the moment's production day: the end when they
// suffice, otherwise nothing, with `remaining` reduced by what the day had.
// A 0-minute job ends at the first part that holds a working minute.
std::optional<Moment> walkDay(const Planner& p, const CalTimes& cal, const DayFacts& f, std::int64_t& remaining)
{
    for (std::size_t s = 1; s <= 23; s += 2) {
        const TimeOfDay start = cal[s], end = cal[s + 1];
        if (start.isZero() && end.isZero()) break;
        const PeriodPart part = partOf(start, end, f.time, f.early, p.DayChangeTime);
        if (!part.counts) continue;
        const std::int64_t available = clockMinutes(part.from, part.end);
        if (available == 0) continue;
        if (available >= remaining) {
            const std::int64_t date = f.dateSerial + (part.nextDate ? 1 : 0);
            return Moment::fromSeconds(date * kDay + part.from.seconds()).addMinutes(remaining);
        }
        remaining -= available;
    }
    return std::nullopt;
}

// walkDay from the very start of a production day, where every period counts whole.
inline std::optional<Moment> walkWholeDay(const CalTimes& cal, std::int64_t productionDay, TimeOfDay dayChange,
                                          std::int64_t& remaining)
{
    for (std::size_t s = 1; s <= 23; s += 2) {
        const TimeOfDay start = cal[s], end = cal[s + 1];
        if (start.isZero() && end.isZero()) break;
        const std::int64_t available = clockMinutes(start, end);
        if (available == 0) continue;
        if (available >= remaining) {
            const bool afterMidnight = !end.isZero() && !(dayChange < end);
            return Moment::fromSeconds((productionDay + (afterMidnight ? 1 : 0)) * kDay + start.seconds()).addMinutes(remaining);
        }
        remaining -= available;
    }
    return std::nullopt;
}

Moment calendarAddInDay(const Planner& p, const DayFacts& f, int machineIndex, std::int64_t remaining)
{
    // Not enough working time left: the production day's end (the next day start).
    return walkDay(p, p.calendar.day(int(f.dayIndex), machineIndex).CalTime, f, remaining).value_or(f.nextDayStart);
}

}  // namespace

int dayIndexOf(const Planner& p, Moment m)
{
    return int(std::clamp<std::int64_t>(factsOf(p, m).dayIndex, INT32_MIN, INT32_MAX));
}

bool isEarly(const Planner& p, Moment m) { return m.time() < p.DayChangeTime; }

Moment nextDayStartOf(const Planner& p, Moment m) { return factsOf(p, m).nextDayStart; }

std::int64_t dayWorkMinutes(const Planner& p, Moment moment, int machineIndex, Moment& nextDayStart)
{
    const DayFacts f = factsOf(p, moment);
    nextDayStart = f.nextDayStart;
    if (!hasCalendar(p, machineIndex) || f.dayIndex > p.calendarDays()) return minutesWithoutCalendar(moment, f.nextDayStart);
    if (f.dayIndex < 0) return 0;
    return calendarDayMinutes(p, f, machineIndex);
}

Moment addWorkMinutesInDay(const Planner& p, Moment moment, int machineIndex, std::int64_t minutes)
{
    const DayFacts f = factsOf(p, moment);
    if (!hasCalendar(p, machineIndex) || f.dayIndex > p.calendarDays()) return moment.addMinutes(minutes);
    if (f.dayIndex < 0) return moment;
    return calendarAddInDay(p, f, machineIndex, minutes);
}

Moment endTimeOnRow(const Planner& p, Moment start, std::int64_t minutes, int machineIndex)
{
    std::int64_t remaining = std::max<std::int64_t>(minutes, 0);
    if (!hasCalendar(p, machineIndex)) return endWithoutCalendar(p, start, remaining);

    // Days before the calendar have no working time: start at its first production day.
    const Moment calendarStart = Moment::of(p.PeriodStart.addDays(-2), p.DayChangeTime);
    const DayFacts f = factsOf(p, std::max(start, calendarStart));
    if (f.dayIndex > p.calendarDays()) return endWithoutCalendar(p, std::max(start, calendarStart), remaining);

    const MachineDay* days = &p.calendar.day(0, machineIndex);
    if (auto end = walkDay(p, days[f.dayIndex].CalTime, f, remaining)) return *end;
    // The following days are walked from their start; days without working time
    // are skipped even by a 0-minute job.
    std::int64_t productionDay = f.productionDay + 1;
    for (std::int64_t d = f.dayIndex + 1; d <= p.calendarDays(); ++d, ++productionDay) {
        const MachineDay& day = days[d];
        if (day.WorkMinutes >= 0 && (day.WorkMinutes == 0 || remaining > day.WorkMinutes)) {
            remaining -= day.WorkMinutes;  // the whole day is used (or has nothing)
            continue;
        }
        if (auto end = walkWholeDay(day.CalTime, productionDay, p.DayChangeTime, remaining)) return *end;
    }
    return endWithoutCalendar(p, Moment::fromSeconds(productionDay * kDay + p.DayChangeTime.seconds()), remaining);
}

Moment calcEndTime(const Planner& p, Moment start, std::int64_t minutes, const QString& machineCode)
{
    return endTimeOn(p, start, minutes, machineOfCode(p, machineCode));
}

MachineOfCode machineOfCode(const Planner& p, QStringView machineCode)
{
    const int row = p.rows.findRow(machineCode);
    if (row <= 1 && machineCode.trimmed().isEmpty()) return MachineOfCode{1, true};
    return MachineOfCode{row == 0 ? 1 : row, false};
}

Moment endTimeOn(const Planner& p, Moment start, std::int64_t minutes, MachineOfCode machine)
{
    if (machine.blank) return start.addMinutes(std::max<std::int64_t>(minutes, 0));
    return endTimeOnRow(p, start, minutes, machine.row);
}

Moment snapToWorkingTime(const Planner& p, Moment start, const QString& machineCode)
{
    return calcEndTime(p, start, 0, machineCode);
}

}  // namespace core
