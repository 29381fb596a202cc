#include "store/saving/SaveWork.h"

namespace store {

namespace {

void addMembers(const plan::PlanRecord& r, int recordNo, bool groupB, QSet<std::int64_t>& seen, SaveWork& work)
{
    const auto& orderNos = groupB ? r.memberOrderNoB : r.memberOrderNo;
    const auto& newNos = groupB ? r.memberNewOrderNoB : r.memberNewOrderNo;
    const auto& qtys = groupB ? r.memberOrderQtyB : r.memberOrderQty;
    const auto& items = groupB ? r.memberItemCodeB : r.memberItemCode;
    const auto& seqs = groupB ? r.memberProcessSeqB : r.memberProcessSeq;
    const auto& plans = groupB ? r.memberPlanNoB : r.memberPlanNo;
    for (int k = 0; k < plan::MemberSlots; ++k) {
        const std::int64_t no = orderNos[std::size_t(k)];
        if (no == 0) continue;
        MemberOrder m;
        m.recordNo = recordNo;
        m.groupB = groupB;
        m.slot = k;
        m.orderNo = no;
        m.sourceOrderNo = newNos[std::size_t(k)];
        m.quantity = qtys[std::size_t(k)];
        m.itemCode = items[std::size_t(k)].trimmed().isEmpty() ? r.itemCode : items[std::size_t(k)];
        m.processSeq = seqs[std::size_t(k)] != 0 ? seqs[std::size_t(k)] : r.processSeq;
        m.planNo = plans[std::size_t(k)];
        if (m.isNew()) {
            // A split lot that took nothing creates no order; a temporary
            // number without its source cannot be copied from anything.
            if (m.quantity == 0 || m.sourceOrderNo < 0) continue;
        } else {
            if (no < 0) continue;
            // One order is written once, from the first bar that holds it.
            if (seen.contains(no)) continue;
            seen.insert(no);
        }
        if (m.planNo != 0) work.planNos.insert(m.planNo);
        work.members.push_back(m);
    }
}

}  // namespace

int SaveWork::newOrderCount() const
{
    int n = 0;
    for (const MemberOrder& m : members) n += m.isNew() ? 1 : 0;
    return n;
}

std::vector<std::int64_t> SaveWork::existingOrders() const
{
    std::vector<std::int64_t> out;
    QSet<std::int64_t> seen;
    const auto add = [&](std::int64_t no) {
        if (no > 0 && !seen.contains(no)) {
            seen.insert(no);
            out.push_back(no);
        }
    };
    for (const MemberOrder& m : members)
        if (!m.isNew()) add(m.orderNo);
    for (std::int64_t no : mergedAwayOrders) add(no);
    return out;
}

std::vector<std::int64_t> SaveWork::sourceOrders() const
{
    std::vector<std::int64_t> out;
    QSet<std::int64_t> seen;
    for (const MemberOrder& m : members) {
        if (m.isNew() && !seen.contains(m.sourceOrderNo)) {
            seen.insert(m.sourceOrderNo);
            out.push_back(m.sourceOrderNo);
        }
    }
    return out;
}

SaveWork collectSaveWork(const plan::PlanData& plan)
{
    SaveWork work;
    QSet<std::int64_t> seen;
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (r.isMergedAway || !r.isChanged) continue;
        work.changedRecords.push_back(i);
        addMembers(r, i, false, seen, work);
        addMembers(r, i, true, seen, work);
    }
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (!r.isMergedAway) continue;
        bool any = false;
        for (int k = 0; k < plan::MemberSlots; ++k) {
            for (bool groupB : {false, true}) {
                const std::int64_t no = (groupB ? r.memberOrderNoB : r.memberOrderNo)[std::size_t(k)];
                // Temporary numbers never reached the database; an order still
                // held by a live bar is that bar's, not this one's.
                if (no <= 0 || seen.contains(no)) continue;
                seen.insert(no);
                work.mergedAwayOrders.push_back(no);
                const std::int64_t planNo = (groupB ? r.memberPlanNoB : r.memberPlanNo)[std::size_t(k)];
                if (planNo != 0) work.planNos.insert(planNo);
                any = true;
            }
        }
        if (any) work.mergedAwayRecords.push_back(i);
    }
    return work;
}

}  // namespace store
