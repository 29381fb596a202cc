#include "reschedule/Expand.h"

#include "reschedule/BarState.h"
#include "reschedule/Messages.h"
#include "reschedule/SetMembers.h"

#include <algorithm>

namespace reschedule {

namespace {

// The machine's first working moment of the first displayed day, or the day
// change when its calendar has none.
core::Moment expandStart(const RuleContext& ctx, int row)
{
    const core::Planner& p = ctx.planner;
    const int day = 2;  // day index of PeriodStart
    core::TimeOfDay t;
    if (p.calendar.contains(day, row)) t = p.calendar.day(day, row).CalTime[1];
    if (t.isZero()) t = p.DayChangeTime;
    // A first period after midnight belongs to the next calendar date.
    const core::Date date = t < p.DayChangeTime ? p.PeriodStart.addDays(1) : p.PeriodStart;
    return core::Moment::of(date, t);
}

}  // namespace

RuleOutcome expandRow(RuleContext& ctx, int row)
{
    const core::RowTable& rows = ctx.planner.rows;
    if (row < 1 || row > rows.machineRowCount()) return RuleOutcome::refusal();
    if (row > rows.CalendarMachineCount) {
        ctx.prompt.tell(msg::expandSupplierRefused());
        return RuleOutcome::refusal();
    }
    if (row == 1) {
        ctx.prompt.tell(msg::expandUnplannedRefused());
        return RuleOutcome::refusal();
    }
    if (!ctx.prompt.askYesNo(msg::askExpand(), {}, false)) return RuleOutcome::refusal();

    std::vector<int> bars;
    for (int i : ctx.rowIndex().onMachine(rows.row(row).RowCode)) {
        const plan::PlanRecord& r = ctx.plan[i];
        if (r.orderNo == 0 || (r.isSetMember && r.setRepOrderNo != 0) || r.isDeleted || r.isMergedAway) continue;
        bars.push_back(i);
    }
    ctx.prompt.tell(msg::expandCount(int(bars.size())));
    std::stable_sort(bars.begin(), bars.end(), [&](int a, int b) { return ctx.plan[a].start() < ctx.plan[b].start(); });

    RuleOutcome out;
    const core::Date firstDay = ctx.planner.PeriodStart;
    core::Moment position = expandStart(ctx, row);
    for (int i : bars) {
        const plan::PlanRecord& r = ctx.plan[i];
        if (r.startDate <= firstDay || r.fixKind == plan::FixKind::FullyFixed) {
            position = std::max(position, r.end());
            continue;
        }
        const BarState before = BarState::of(r);
        placeAt(ctx, i, core::roundUpToUnit(position, ctx.timeUnitMinutes()));
        markIfChanged(ctx, i, before, out);
        if (ctx.plan[i].setRepOrderNo != 0) setDPlanUpdate(ctx, i, out);
        position = ctx.plan[i].end();
    }
    out.tidy();
    return out;
}

}  // namespace reschedule
