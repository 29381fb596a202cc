#include "chart/NonWorkingTime.h"

#include "core/ChartGeometry.h"
#include "core/WorkingTime.h"

#include <algorithm>

namespace chart {

namespace {
constexpr std::int32_t kDay = core::TimeOfDay::kSecondsPerDay;
}  // namespace

core::Moment productionDayStart(const core::Planner& p, int dayIndex)
{
    return core::chartOrigin(p.PeriodStart, p.DayChangeTime).addDays(dayIndex - 2);
}

MachineDayShading shadingOf(const core::Planner& p, int row, int dayIndex)
{
    MachineDayShading out;
    if (!p.rows.isMachineRow(row) || row > p.calendar.machineCount()) return out;
    if (dayIndex < 0 || dayIndex > p.calendar.calendarDays()) return out;
    const core::MachineDay& day = p.calendar.day(dayIndex, row);
    const core::Moment start = productionDayStart(p, dayIndex);
    const core::TimeOfDay dc = core::TimeOfDay::fromHms(p.DayChangeTime.hour(), p.DayChangeTime.minute());

    std::vector<std::pair<std::int32_t, std::int32_t>> working;
    for (int slot = 1; slot + 1 <= 24; slot += 2) {
        const core::TimeOfDay a = day.CalTime[std::size_t(slot)];
        const core::TimeOfDay b = day.CalTime[std::size_t(slot + 1)];
        if (a.isZero() && b.isZero()) continue;  // an empty pair
        const std::int32_t ra = core::toShiftedTime(dc, a, false), rb = core::toShiftedTime(dc, b, true);
        if (rb > ra) working.emplace_back(ra, rb);
    }
    std::sort(working.begin(), working.end());
    std::int32_t cursor = 0;
    for (const auto& [a, b] : working) {
        if (a > cursor) out.idle.push_back({start.addSeconds(cursor), start.addSeconds(a)});
        cursor = std::max(cursor, b);
    }
    if (cursor < kDay) out.idle.push_back({start.addSeconds(cursor), start.addSeconds(kDay)});

    if (day.stop.hours > 0) {
        const core::Moment s = start.addSeconds(core::toShiftedTime(dc, day.stop.start, false));
        out.stop = TimeSpan{s, s.addSeconds(std::int64_t(day.stop.hours) * 3600)};
        out.stopTitle = day.stop.title.trimmed();
        out.stopRemark = day.stop.remark.trimmed();
    }
    return out;
}

}  // namespace chart
