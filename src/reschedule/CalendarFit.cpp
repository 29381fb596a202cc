#include "reschedule/CalendarFit.h"

#include "plan/PlanTime.h"
#include "reschedule/BarState.h"

#include <QHash>

#include <algorithm>

namespace reschedule {

std::vector<int> barsOffCalendar(const core::Planner& planner, const plan::PlanData& plan, const PlanIndex& index,
                                 const std::vector<std::pair<QString, core::Date>>& days)
{
    std::vector<int> out;
    if (days.empty()) return out;
    // Changed production days by machine, as [start, next start) moments.
    QHash<QString, std::vector<std::pair<core::Moment, core::Moment>>> spans;
    for (const auto& [code, date] : days) {
        const int row = planner.rows.findRow(code);
        if (!planner.rows.isMachineRow(row) || date.isNull()) continue;
        const core::Moment from = core::Moment::of(date, planner.DayChangeTime);
        spans[code.trimmed()].push_back({from, from.addDays(1)});
    }
    for (auto it = spans.cbegin(); it != spans.cend(); ++it) {
        const core::MachineOfCode machine = core::machineOfCode(planner, it.key());
        for (int i : index.onMachine(it.key())) {
            const plan::PlanRecord& r = plan[i];
            if (r.isHidden()) continue;
            const core::Moment start = r.start(), end = r.end();
            bool crosses = false;
            for (const auto& [from, to] : *it)
                crosses = crosses || (start < to && (end > from || start >= from));
            if (crosses && plan::getEndTime(planner, machine, start, jobMinutes(r)) != end) out.push_back(i);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace reschedule
