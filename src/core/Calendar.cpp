#include "core/Calendar.h"

namespace core {
namespace {

// Seconds of a break or shift end, where 00:00:00 stands for 24:00.
std::int32_t endSeconds(TimeOfDay t) { return t.isZero() ? TimeOfDay::kSecondsPerDay : t.seconds(); }

bool isProperInterval(TimeOfDay a, TimeOfDay b)
{
    if (a.isZero() && b.isZero()) return false;
    if (a.isZero() || b.isZero()) return true;  // from midnight, or to midnight
    return a < b;
}

}  // namespace

void CalendarTables::reset(int calendarDays, int machineCount)
{
    calendarDays_ = std::max(calendarDays, 0);
    days_.assign(std::size_t(std::max(machineCount, 0)) + 1, std::vector<MachineDay>(std::size_t(calendarDays_) + 1));
}

void CalendarTables::addMachine()
{
    if (days_.empty()) days_.emplace_back(std::size_t(calendarDays_) + 1);  // machine 0, unused
    days_.emplace_back(std::size_t(calendarDays_) + 1);
}

void CalendarTables::clearMachineDays(int machineIndex)
{
    if (machineIndex < 1 || machineIndex > machineCount()) return;
    for (MachineDay& d : days_[std::size_t(machineIndex)]) d = MachineDay{};
}

void loadBreakMaster(CalendarTables& tables, const std::array<std::pair<TimeOfDay, TimeOfDay>, 10>& pairs)
{
    tables.BreakTime.fill(TimeOfDay());
    int stored = 0;
    for (const auto& [a, b] : pairs) {
        if (!isProperInterval(a, b)) continue;
        const std::int32_t sa = a.seconds(), sb = endSeconds(b);
        bool collides = false;
        for (int k = 0; k < stored && !collides; ++k) {
            const std::int32_t s = tables.BreakTime[std::size_t(2 * k + 1)].seconds();
            const std::int32_t e = endSeconds(tables.BreakTime[std::size_t(2 * k + 2)]);
            // A pair that starts or ends inside an accepted one is refused; one that
            // encloses it is kept (the builder subtracts both, so nothing is counted twice).
            collides = (sa >= s && sa < e) || (sb > s && sb <= e);
        }
        if (collides) continue;
        tables.BreakTime[std::size_t(2 * stored + 1)] = a;
        tables.BreakTime[std::size_t(2 * stored + 2)] = b;
        ++stored;
    }
}

void storeCalendarRow(CalendarTables& tables, int machineIndex, Date periodStart, const CalendarDayRow& row)
{
    if (row.date.isNull() || periodStart.isNull()) return;
    const int dayIndex = periodStart.daysTo(row.date) + 2;
    if (!tables.contains(dayIndex, machineIndex)) return;
    MachineDay& day = tables.day(dayIndex, machineIndex);
    if (row.workingHours) day.KinmuJikan = *row.workingHours;

    const auto append = [&day](TimeOfDay start, TimeOfDay end) {
        if (start == end) return;
        // Stored pairs never have start == end, so an all-zero pair is a free one.
        for (std::size_t s = 1; s <= 7; s += 2) {
            if (day.ShiftTime[s].isZero() && day.ShiftTime[s + 1].isZero()) {
                day.ShiftTime[s] = start;
                day.ShiftTime[s + 1] = end;
                return;
            }
        }
    };
    append(row.start1, row.end1);
    append(row.start2, row.end2);
    day.stop = StopInfo{row.stopTitle, row.stopRemark, row.stopStart, row.stopHours};
}

void loadMachineCalendar(CalendarTables& tables, int machineIndex, Date periodStart, const std::vector<CalendarDayRow>& rows,
                         TimeOfDay dayChangeTime)
{
    tables.clearMachineDays(machineIndex);
    for (const CalendarDayRow& row : rows) storeCalendarRow(tables, machineIndex, periodStart, row);
    for (int d = 0; d <= tables.calendarDays(); ++d) buildMachineCalendar(tables, d, machineIndex, dayChangeTime);
}

}  // namespace core
