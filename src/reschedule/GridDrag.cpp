#include "reschedule/GridDrag.h"

#include "plan/PlanTime.h"
#include "reschedule/BarState.h"
#include "reschedule/CycleLookup.h"
#include "reschedule/Messages.h"
#include "reschedule/OverlapResolution.h"
#include "reschedule/RowPlacement.h"
#include "reschedule/SetMembers.h"

#include <exception>

namespace reschedule {

namespace {
bool isRecord(const RuleContext& ctx, int i) { return i >= 2 && i <= ctx.plan.size(); }

// The target machine's cycle for the dragged order, when the master knows one.
std::optional<double> cycleOn(RuleContext& ctx, const plan::PlanRecord& r, const QString& machineCode)
{
    try {
        const auto c = ctx.lookup.machineCycle(r.itemCode, r.processSeq, machineCode);
        if (c && *c != 0) return c;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}
}  // namespace

RuleOutcome canStartGridDrag(RuleContext& ctx, int recordNo)
{
    if (!isRecord(ctx, recordNo)) return RuleOutcome::refusal();
    const plan::PlanRecord& r = ctx.plan[recordNo];
    if (r.isFixed()) {
        ctx.prompt.tell(msg::gridFixedCannotMove());
        return RuleOutcome::refusal();
    }
    if (r.isSetMember) {
        ctx.prompt.tell(msg::gridSetMemberCannotMove());
        return RuleOutcome::refusal();
    }
    if (r.isDeleted || r.isMergedAway) return RuleOutcome::refusal();
    return {};
}

RuleOutcome dropGridRow(RuleContext& ctx, int d, int t)
{
    if (!isRecord(ctx, d) || !isRecord(ctx, t) || d == t) return RuleOutcome::refusal();
    const plan::PlanRecord& dr = ctx.plan[d];
    if (dr.isFixed() || dr.isHidden()) return RuleOutcome::refusal();

    RuleOutcome out;
    const BarState before = BarState::of(dr);
    const plan::PlanRecord target = ctx.plan[t];  // a copy: the target may be pushed below
    const RowTarget row = splitRowCode(ctx.planner, target.machineCode);
    if (target.hasMachine() && row.machineRow) {
        const core::Moment start = core::snapToWorkingTime(ctx.planner, target.start(), row.machineCode);
        const std::optional<double> cycle = cycleOn(ctx, ctx.plan[d], row.machineCode);
        {
            plan::PlanRecord& m = ctx.plan.editPlacement(d);
            m.setStart(start);
            if (cycle) {
                m.cycle = *cycle;
                m.pieceSeconds = plan::pieceSecondsOfCycle(*cycle, m.cavities);
            }
            m.workMinutes = plan::workMinutesFor(plan::pieceSecondsOrCycle(m), m.orderQty, m.requiredPersons);
            m.isEdited = true;
        }
        recomputeEnd(ctx, d);
        insertPlanBarStep2(ctx, d, row.machineCode, out);
    } else {
        {
            plan::PlanRecord& m = ctx.plan.editPlacement(d);
            m.machineCode = QStringLiteral(" ");
            m.workMinutes = plan::workMinutesFor(plan::pieceSecondsOrCycle(m), m.orderQty, m.requiredPersons);
            m.setStart(target.start());
            m.isEdited = true;
        }
        recomputeEnd(ctx, d);  // no machine: clock minutes
        if (ctx.plan[d].setRepOrderNo != 0) setDPlanUpdate(ctx, d, out);
    }
    markIfChanged(ctx, d, before, out);
    if (!ctx.plan[d].isChanged) ctx.plan.editTimes(d).isChanged = true;
    out.touch(d);
    out.tidy();
    return out;
}

}  // namespace reschedule
