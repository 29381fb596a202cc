#include "plan/PlanTime.h"

namespace plan {

core::Moment getEndTime(const core::Planner& planner, const PlanData& plan, int planIndex, core::Moment start,
                           std::int64_t minutes)
{
    static const QString none;
    const QString& machine = planIndex >= 1 && planIndex <= plan.size() ? plan[planIndex].machineCode : none;
    return getEndTime(planner, core::machineOfCode(planner, machine), start, minutes);
}

double pieceSecondsFromProductivity(double p, std::int64_t unitClass)
{
    if (p == 0) return 0;
    switch (unitClass) {
    case 1: return p;
    case 2: return p * 60;
    case 3: return p * 3600;
    case 4: return 1 / p;
    case 5: return 60 / p;
    case 6: return 3600 / p;
    default: return 0;
    }
}

std::int64_t workMinutesFor(double pieceSeconds, std::int64_t orderQty, std::int64_t requiredPersons)
{
    return core::calcProcessMinutes(pieceSeconds, orderQty, requiredPersons);
}

}  // namespace plan
