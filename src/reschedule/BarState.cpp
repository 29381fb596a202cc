#include "reschedule/BarState.h"

#include "plan/PlanTime.h"

namespace reschedule {

BarState BarState::of(const plan::PlanRecord& r)
{
    BarState s;
    s.start = r.start();
    s.end = r.end();
    s.machineCode = r.machineCode;
    s.destCode = r.destCode;
    s.inOutKind = r.inOutKind;
    s.setupMinutes = r.setupMinutes;
    s.workMinutes = r.workMinutes;
    s.orderQty = r.orderQty;
    s.cycle = r.cycle;
    s.pieceSeconds = r.pieceSeconds;
    s.isEdited = r.isEdited;
    return s;
}

void markIfChanged(RuleContext& ctx, int recordNo, const BarState& before, RuleOutcome& out)
{
    if (BarState::of(ctx.plan[recordNo]) == before) return;
    if (!ctx.plan[recordNo].isChanged) ctx.plan.editTimes(recordNo).isChanged = true;
    out.touch(recordNo);
}

void recomputeEnd(RuleContext& ctx, int recordNo)
{
    const plan::PlanRecord& r = ctx.plan[recordNo];
    const core::Moment end = plan::getEndTime(ctx.planner, ctx.plan, recordNo, r.start(), jobMinutes(r));
    if (end != r.end()) ctx.plan.editTimes(recordNo).setEnd(end);
}

void placeAt(RuleContext& ctx, int recordNo, core::Moment start, bool markChanged)
{
    placeAt(ctx, recordNo, start, core::machineOfCode(ctx.planner, ctx.plan[recordNo].machineCode), markChanged);
}

core::Moment placeAt(RuleContext& ctx, int recordNo, core::Moment start, core::MachineOfCode machine, bool markChanged)
{
    const plan::PlanRecord& r = ctx.plan[recordNo];
    const core::Moment end = plan::getEndTime(ctx.planner, machine, start, jobMinutes(r));
    if (start == r.start() && end == r.end() && (r.isChanged || !markChanged)) return end;
    plan::PlanRecord& m = ctx.plan.editTimes(recordNo);  // one edit for all three
    m.setStart(start);
    m.setEnd(end);
    m.isChanged = m.isChanged || markChanged;
    return end;
}

}  // namespace reschedule
