#include "reschedule/SetMembers.h"

#include "core/MulDiv.h"
#include "plan/PlanTime.h"

namespace reschedule {

std::int64_t memberQuantity(std::int64_t repQty, std::int64_t repCavities, std::int64_t memberCavities)
{
    // Exact rational rounding: a binary division would turn 2.5 into 2.5000000000000004.
    const std::int64_t den = plan::cavitiesDivisor(repCavities);
    const core::MulDivResult d = core::mulDiv(repQty, plan::cavitiesDivisor(memberCavities), den);
    // The quotient wraps like the 64-bit result it becomes, so it is stepped without signed overflow.
    std::uint64_t q = std::uint64_t(d.quotient);
    std::int64_t rest = d.rest;
    if (rest < 0) {  // floor for negative quantities
        rest += den;
        --q;
    }
    const std::int64_t over = den - rest;  // rest × 2 compared with den, without doubling
    if (rest > over || (rest == over && (q & 1) != 0)) ++q;
    return std::int64_t(q);
}

void setOrderQuantity(plan::PlanRecord& r, std::int64_t qty)
{
    plan::MemberSlots& group = r.members();
    const std::int64_t old = r.orderQty;
    r.orderQty = qty;
    std::size_t first = group.size();
    int members = 0;
    for (std::size_t k = 0; k < group.size(); ++k)
        if (group[k].orderNo != 0) {
            if (first == group.size()) first = k;
            ++members;
        }
    if (first == group.size()) return;
    if (members == 1 || old == 0) {
        for (std::size_t k = 0; k < group.size(); ++k) group[k].orderQty = k == first ? qty : 0;
        return;
    }
    std::int64_t given = 0;
    for (plan::MemberOrder& m : group) {
        m.orderQty = core::mulDiv(m.orderQty, qty, old).quotient;
        given += m.orderQty;
    }
    group[first].orderQty += qty - given;
}

void setDPlanUpdate(RuleContext& ctx, int repRecordNo, RuleOutcome& out)
{
    const plan::PlanRecord& rep = ctx.plan[repRecordNo];  // edits never move records; appends do not happen here
    if (rep.setRepOrderNo == 0) return;
    const std::vector<int> members = ctx.rowIndex().setMembersOf(rep.setRepOrderNo);
    for (int j : members) {
        if (j == repRecordNo) continue;
        const plan::PlanRecord& cur = ctx.plan[j];
        if (!cur.isSetMember || cur.setRepOrderNo != rep.setRepOrderNo || cur.isDeleted || cur.isMergedAway) continue;
        const std::int64_t qty = memberQuantity(rep.orderQty, rep.cavities, cur.cavities);
        const double pieceSeconds = plan::pieceSecondsOfCycle(rep.cycle, cur.cavities);
        const bool sameTimes = cur.start() == rep.start() && cur.end() == rep.end();
        const bool samePlacement = cur.inOutKind == rep.inOutKind && cur.destCode == rep.destCode
            && cur.machineCode == rep.machineCode && cur.mouldNo == rep.mouldNo && cur.orderQty == qty
            && cur.cycle == rep.cycle && cur.pieceSeconds == pieceSeconds && cur.setupMinutes == rep.setupMinutes
            && cur.workMinutes == rep.workMinutes;
        // Something differs, or the representative is marked and the member not yet.
        // A member already marked keeps its mark: its own pending changes must still be saved.
        if (sameTimes && samePlacement && (cur.isChanged || !rep.isChanged)) continue;
        out.touch(j);
        if (samePlacement) {
            // A push moved the set along its row: the member takes over the times alone
            // (its quantities are left exactly as they are).
            plan::PlanRecord& m = ctx.plan.editTimes(j);
            m.startDate = rep.startDate;
            m.startTime = rep.startTime;
            m.endDate = rep.endDate;
            m.endTime = rep.endTime;
            m.isChanged = true;
            continue;
        }
        plan::PlanRecord& m = ctx.plan.editPlacement(j);  // placement, mould and quantities only
        m.startDate = rep.startDate;
        m.startTime = rep.startTime;
        m.endDate = rep.endDate;
        m.endTime = rep.endTime;
        m.inOutKind = rep.inOutKind;
        m.destCode = rep.destCode;
        m.machineCode = rep.machineCode;
        m.mouldNo = rep.mouldNo;
        setOrderQuantity(m, qty);
        m.cycle = rep.cycle;
        m.pieceSeconds = pieceSeconds;
        m.setupMinutes = rep.setupMinutes;
        m.workMinutes = rep.workMinutes;
        m.isChanged = true;
    }
}

}  // namespace reschedule
