#include "store/saving/SaveWork.h"

#include <algorithm>

namespace store {

namespace {

void addMembers(const plan::PlanRecord& r, int recordNo, bool groupB, QSet<std::int64_t>& seen, SaveWork& work)
{
    const plan::MemberSlots& group = r.members(groupB);
    for (std::size_t k = 0; k < group.size(); ++k) {
        const plan::MemberOrder& member = group[k];
        const std::int64_t no = member.orderNo;
        if (no == 0) continue;
        MemberOrder m;
        m.recordNo = recordNo;
        m.groupB = groupB;
        m.slot = int(k);
        m.orderNo = no;
        m.sourceOrderNo = member.newOrderNo;
        m.quantity = member.orderQty;
        m.itemCode = member.itemCode.trimmed().isEmpty() ? r.itemCode : member.itemCode;
        m.processSeq = member.processSeq != 0 ? member.processSeq : r.processSeq;
        m.planNo = member.planNo;
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
        const std::size_t slotCount = std::max(r.membersA.size(), r.membersB.size());
        for (std::size_t k = 0; k < slotCount; ++k) {
            for (bool groupB : {false, true}) {
                const plan::MemberSlots& group = r.members(groupB);
                if (k >= group.size()) continue;
                const std::int64_t no = group[k].orderNo;
                // Temporary numbers never reached the database; an order still
                // held by a live bar is that bar's, not this one's.
                if (no <= 0 || seen.contains(no)) continue;
                seen.insert(no);
                work.mergedAwayOrders.push_back(no);
                if (group[k].planNo != 0) work.planNos.insert(group[k].planNo);
                any = true;
            }
        }
        if (any) work.mergedAwayRecords.push_back(i);
    }
    return work;
}

}  // namespace store
