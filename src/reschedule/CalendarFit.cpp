#include "reschedule/CalendarFit.h"

#include "plan/PlanTime.h"
#include "reschedule/BarState.h"

#include <QHash>

namespace reschedule {

std::vector<int> barsOffCalendar(const core::Planner& planner, const plan::PlanData& plan,
                                 const std::vector<std::pair<QString, core::Date>>& days)
{
    std::vector<int> out;
    if (days.empty()) return out;
    // Changed production days by machine row, as [start, next start) moments.
    QHash<int, std::vector<std::pair<core::Moment, core::Moment>>> spans;
    for (const auto& [code, date] : days) {
        const int row = planner.rows.findRow(code);
        if (!planner.rows.isMachineRow(row) || date.isNull()) continue;
        const core::Moment from = core::Moment::of(date, planner.DayChangeTime);
        spans[row].push_back({from, from.addDays(1)});
    }
    if (spans.isEmpty()) return out;
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (r.isHidden() || !r.hasMachine()) continue;
        const core::MachineOfCode machine = core::machineOfCode(planner, r.machineCode);
        const auto it = spans.constFind(machine.row);
        if (it == spans.cend()) continue;
        const core::Moment start = r.start(), end = r.end();
        bool crosses = false;
        for (const auto& [from, to] : *it)
            crosses = crosses || (start < to && (end > from || start >= from));
        if (crosses && plan::getEndTime(planner, machine, start, jobMinutes(r)) != end) out.push_back(i);
    }
    return out;
}

}  // namespace reschedule
