#include "reschedule/Merge.h"

#include "plan/PlanTime.h"
#include "reschedule/BarState.h"
#include "reschedule/Messages.h"
#include "reschedule/Requirement.h"

namespace reschedule {

namespace {

// Adds the merged bar's member quantities to the target's member slots of the
// target's group. A quantity whose slot holds no order in the target goes to
// the target's first order: otherwise no order would carry it once the merged
// orders are deleted.
void addMemberQuantities(plan::PlanRecord& t, const plan::PlanRecord& s)
{
    const plan::MemberSlots& from = s.members();
    plan::MemberSlots& to = t.members();
    const auto holdsOrder = [&](std::size_t k) { return k < to.size() && to[k].orderNo != 0; };
    std::size_t first = 0;
    while (first < to.size() && !holdsOrder(first)) ++first;
    if (first == to.size()) first = 0;
    for (std::size_t k = 0; k < from.size(); ++k) {
        if (from[k].orderQty == 0) continue;
        plan::memberSlot(to, int(holdsOrder(k) ? k : first)).orderQty += from[k].orderQty;
    }
}

}  // namespace

RuleOutcome mergeBars(RuleContext& ctx, const BarDrop& drop, int targetRecordNo)
{
    const int s = drop.recordNo, t = targetRecordNo;
    const bool valid = s >= 2 && s <= ctx.plan.size() && t >= 2 && t <= ctx.plan.size() && s != t;
    if (!valid || !canStartBarDrag(ctx, s)) return dropBar(ctx, drop);
    const plan::PlanRecord& sr = ctx.plan[s];
    const plan::PlanRecord& tr = ctx.plan[t];
    // A set member of the same item is refused below with the set's message, not moved onto silently.
    if (tr.isDeleted || tr.isMergedAway) return dropBar(ctx, drop);
    if (sr.planItemCode != tr.planItemCode || sr.itemCode2 != tr.itemCode2 || sr.processSeq != tr.processSeq
        || sr.modelName != tr.modelName)
        return dropBar(ctx, drop);
    if (sr.setRepOrderNo != 0 || tr.setRepOrderNo != 0) {
        ctx.prompt.tell(msg::mergeSetRefused());
        return dropBar(ctx, drop);
    }
    if (sr.receivedQty != 0 || tr.receivedQty != 0) {
        ctx.prompt.tell(msg::mergeResultsRefused());
        return dropBar(ctx, drop);
    }
    if (!ctx.prompt.askYesNo(msg::askMerge())) return dropBar(ctx, drop);

    RuleOutcome out;
    {
        const plan::PlanRecord source = ctx.plan[s];
        plan::PlanRecord& m = ctx.plan.edit(t);
        if (m.planItemCode.isEmpty()) m.planItemCode = source.planItemCode;
        m.orderQty += source.orderQty;
        addMemberQuantities(m, source);
        m.workMinutes = plan::workMinutesFor(plan::effectivePieceSeconds(m), m.orderQty, m.requiredPersons);
        m.isChanged = true;
    }
    recomputeEnd(ctx, t);
    // A new quantity needs its components anew, as any quantity change does.
    recalcRequirements(ctx, t, out);
    {
        plan::PlanRecord& gone = ctx.plan.edit(s);
        if (gone.planItemCode.isEmpty()) gone.planItemCode = ctx.plan[t].planItemCode;
        gone.isChanged = false;
        gone.orderNo = 0;
        gone.orderQty = 0;
        gone.ganttDisplayKind = 0;
        gone.loadMark = 0;
        gone.isMergedAway = true;
    }
    out.touch(s);
    out.touch(t);
    out.tidy();
    return out;
}

}  // namespace reschedule
