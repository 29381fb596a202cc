#include "reschedule/Quantity.h"

#include "plan/PlanTime.h"
#include "reschedule/BarState.h"
#include "reschedule/GridEdit.h"
#include "reschedule/GridMessages.h"
#include "reschedule/OverlapResolution.h"
#include "reschedule/Requirement.h"
#include "reschedule/SetMembers.h"

#include <algorithm>

namespace reschedule {

std::int64_t adjustedWorkMinutes(const plan::PlanRecord& r, std::int64_t qty, std::int64_t persons)
{
    const std::int64_t oldDivisor = std::max<std::int64_t>(1, r.requiredPersons);
    const std::int64_t newDivisor = std::max<std::int64_t>(1, persons);
    if (r.pieceSeconds != 0 || r.cycle != 0 || r.workMinutes <= 0 || r.orderQty <= 0)
        return plan::workMinutesFor(plan::effectivePieceSeconds(r), qty, persons);
    // minutes × qty ÷ old qty × old persons ÷ new persons, rounded up to a whole minute.
    const std::int64_t num = r.workMinutes * qty * oldDivisor;  // below 2^63: minutes, quantities and persons are bounded
    const std::int64_t den = r.orderQty * newDivisor;
    return (num + den - 1) / den;
}

RuleOutcome changeQuantity(RuleContext& ctx, int recordNo, std::int64_t qty)
{
    if (recordNo < 2 || recordNo > ctx.plan.size()) return RuleOutcome::refusal();
    if (qty < 1) {
        ctx.prompt.tell(msg::quantityRequired());
        return RuleOutcome::refusal();
    }
    if (qty > MaxOrderQty) {
        ctx.prompt.tell(msg::quantityInvalid());
        return RuleOutcome::refusal();
    }
    if (ctx.plan[recordNo].orderQty == qty) return {};

    RuleOutcome out;
    const std::int64_t work = adjustedWorkMinutes(ctx.plan[recordNo], qty, ctx.plan[recordNo].requiredPersons);
    {
        plan::PlanRecord& m = ctx.plan.edit(recordNo);
        setOrderQuantity(m, qty);
        m.isChanged = true;
    }
    out.touch(recordNo);
    if (ctx.prompt.askYesNo(msg::askAdjustWorkTime(), {}, false)) {
        if (work != ctx.plan[recordNo].workMinutes) ctx.plan.editPlacement(recordNo).workMinutes = work;
        recomputeEnd(ctx, recordNo);
        if (!rowCodeOf(ctx.planner, ctx.plan[recordNo]).isEmpty()) resolveOverlaps(ctx, recordNo, out);
    }
    recalcRequirements(ctx, recordNo, out);

    // The set's other orders come out of the same shots: they take their share.
    const plan::PlanRecord& r = ctx.plan[recordNo];
    if (r.setRepOrderNo != 0 && !r.isSetMember) {
        setDPlanUpdate(ctx, recordNo, out);
        const std::vector<int> members = ctx.rowIndex().setMembersOf(r.setRepOrderNo);
        for (int j : members)
            if (j != recordNo && !ctx.plan[j].isDeleted && !ctx.plan[j].isMergedAway)
                recalcRequirements(ctx, j, out);
    }
    out.tidy();
    return out;
}

}  // namespace reschedule
