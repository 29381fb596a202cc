#include "reschedule/PlanLots.h"

#include <QHash>
#include <algorithm>

namespace reschedule {

namespace {

struct Holder {
    int recordNo = 0;
    const plan::MemberOrder* member = nullptr;
};

// Where the open plan holds each order (both member groups: a bearing set's
// outer ring is an order of its own).
QHash<std::int64_t, Holder> holdersOf(const plan::PlanData& plan)
{
    QHash<std::int64_t, Holder> out;
    for (int i = 2; i <= plan.size(); ++i)
        for (const plan::MemberSlots* group : {&plan[i].membersA, &plan[i].membersB})
            for (const plan::MemberOrder& m : *group)
                if (m.orderNo != 0 && !out.contains(m.orderNo)) out.insert(m.orderNo, Holder{i, &m});
    return out;
}

// The plan's times count as a schedule when the bar stands on a machine or at
// a supplier and is confirmed or was placed in this session; an order waiting
// unplaced (parked at the period start) has none.
bool isAllocated(const plan::PlanRecord& r)
{
    const bool onRow = r.hasMachine() || (r.inOutKind == plan::InOutKind::Outside && !r.destCode.trimmed().isEmpty());
    return onRow && (r.isConfirmed() || r.isChanged);
}

void takeRecord(PlanLot& lot, int recordNo, const plan::PlanRecord& r, const plan::MemberOrder& m)
{
    lot.recordNo = recordNo;
    lot.machineCode = r.machineCode;
    lot.destCode = r.destCode;
    lot.inOutKind = r.inOutKind;
    lot.allocated = isAllocated(r);
    lot.start = r.start();
    lot.end = r.end();
    lot.orderQty = m.orderQty;
    lot.receivedQty = m.receivedQty;
    lot.fixKind = r.fixKind;
    lot.confirmKind = r.confirmKind;
    lot.changed = r.isChanged;
}

}  // namespace

std::int64_t planNoOf(const plan::PlanRecord& r)
{
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
        for (const plan::MemberOrder& m : *group)
            if (m.orderNo != 0 && m.planNo != 0) return m.planNo;
    return 0;
}

void overlayOpenPlan(std::vector<PlanLot>& lots, std::int64_t planNo, const plan::PlanData& plan)
{
    const QHash<std::int64_t, Holder> holders = holdersOf(plan);
    QHash<std::int64_t, std::int64_t> parentOf;
    QSet<std::int64_t> inDatabase;
    std::vector<PlanLot> kept;
    kept.reserve(lots.size());
    for (PlanLot& lot : lots) {
        inDatabase.insert(lot.orderNo);
        parentOf.insert(lot.orderNo, lot.parentOrderNo);
        const auto h = holders.constFind(lot.orderNo);
        if (h != holders.constEnd()) {
            const plan::PlanRecord& r = plan[h->recordNo];
            if (r.isDeleted || r.isMergedAway) continue;  // gone with the next save
            takeRecord(lot, h->recordNo, r, *h->member);
        }
        kept.push_back(std::move(lot));
    }
    // Orders of this plan that the open plan holds and the database does not yet.
    for (auto it = holders.constBegin(); it != holders.constEnd(); ++it) {
        const plan::MemberOrder& m = *it->member;
        if (m.planNo != planNo || planNo == 0 || inDatabase.contains(m.orderNo)) continue;
        const plan::PlanRecord& r = plan[it->recordNo];
        if (r.isDeleted || r.isMergedAway) continue;
        PlanLot lot;
        lot.orderNo = m.orderNo;
        lot.sourceOrderNo = m.newOrderNo;
        lot.parentOrderNo = m.newOrderNo != 0 ? parentOf.value(m.newOrderNo, r.parentOrderNo) : r.parentOrderNo;
        lot.planNo = m.planNo;
        lot.itemCode = m.itemCode;
        lot.itemName = m.modelName;
        lot.processSeq = m.processSeq;
        lot.processName = m.processName;
        lot.startDay = r.startDay;
        lot.dueDate = r.dueDate;
        takeRecord(lot, it->recordNo, r, m);
        kept.push_back(std::move(lot));
    }
    lots = std::move(kept);
}

void sortIntoProcessOrder(std::vector<PlanLot>& lots)
{
    std::stable_sort(lots.begin(), lots.end(), [](const PlanLot& a, const PlanLot& b) {
        if (a.processSeq != b.processSeq) return a.processSeq < b.processSeq;
        if (a.allocated != b.allocated) return a.allocated;
        if (a.allocated && a.start != b.start) return a.start < b.start;
        return a.orderNo < b.orderNo;
    });
}

std::vector<bool> overlapsPreviousProcess(const std::vector<PlanLot>& lots)
{
    QHash<std::int64_t, std::vector<std::size_t>> suppliersOf;  // order → the lots naming it as their parent
    for (std::size_t k = 0; k < lots.size(); ++k)
        if (lots[k].parentOrderNo != 0) suppliersOf[lots[k].parentOrderNo].push_back(k);
    bool linked = false;
    for (const PlanLot& l : lots)
        if (suppliersOf.contains(l.orderNo)) linked = true;

    std::vector<bool> out(lots.size(), false);
    for (std::size_t k = 0; k < lots.size(); ++k) {
        const PlanLot& l = lots[k];
        if (!l.allocated) continue;
        std::vector<std::size_t> previous;
        if (linked) {
            for (std::int64_t key : {l.orderNo, l.sourceOrderNo})
                if (key != 0)
                    for (std::size_t p : suppliersOf.value(key)) previous.push_back(p);
        } else {
            // No links: the plan's processes follow one another by sequence.
            int seq = 0;
            bool found = false;
            for (const PlanLot& p : lots)
                if (p.processSeq < l.processSeq && (!found || p.processSeq > seq)) {
                    seq = p.processSeq;
                    found = true;
                }
            for (std::size_t p = 0; found && p < lots.size(); ++p)
                if (lots[p].processSeq == seq) previous.push_back(p);
        }
        for (std::size_t p : previous)
            if (p != k && lots[p].allocated && l.start < lots[p].end) out[k] = true;
    }
    return out;
}

std::vector<LotClass> classifyLots(const std::vector<PlanLot>& lots, const QSet<std::int64_t>& selectedOrders)
{
    const std::vector<bool> overlapping = overlapsPreviousProcess(lots);
    std::vector<LotClass> out;
    out.reserve(lots.size());
    for (std::size_t k = 0; k < lots.size(); ++k) {
        const PlanLot& l = lots[k];
        if (selectedOrders.contains(l.orderNo)) out.push_back(LotClass::Selected);
        else if (!l.allocated) out.push_back(LotClass::Unallocated);
        else if (overlapping[k]) out.push_back(LotClass::Overlapping);
        else out.push_back(LotClass::Other);
    }
    return out;
}

}  // namespace reschedule
