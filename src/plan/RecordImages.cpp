#include "plan/RecordImages.h"

#include <utility>

namespace plan {

void TimeFields::swapWith(PlanRecord& r)
{
    using std::swap;
    swap(startDate, r.startDate);
    swap(startTime, r.startTime);
    swap(endDate, r.endDate);
    swap(endTime, r.endTime);
    swap(isChanged, r.isChanged);
}

bool TimeFields::sameAs(const PlanRecord& r) const
{
    return startDate == r.startDate && startTime == r.startTime && endDate == r.endDate && endTime == r.endTime
        && isChanged == r.isChanged;
}

PlacementFields PlacementFields::of(const PlanRecord& r)
{
    return PlacementFields{TimeFields::of(r), r.machineCode, r.destCode,      r.inOutKind,      r.setupMinutes,
                           r.workMinutes,     r.cycle,       r.pieceSeconds,  r.isEdited,       r.mouldNo,
                           r.orderQty,        r.memberOrderQty, r.memberOrderQtyB};
}

void PlacementFields::swapWith(PlanRecord& r)
{
    using std::swap;
    times.swapWith(r);
    swap(machineCode, r.machineCode);
    swap(destCode, r.destCode);
    swap(inOutKind, r.inOutKind);
    swap(setupMinutes, r.setupMinutes);
    swap(workMinutes, r.workMinutes);
    swap(cycle, r.cycle);
    swap(pieceSeconds, r.pieceSeconds);
    swap(isEdited, r.isEdited);
    swap(mouldNo, r.mouldNo);
    swap(orderQty, r.orderQty);
    swap(memberOrderQty, r.memberOrderQty);
    swap(memberOrderQtyB, r.memberOrderQtyB);
}

bool PlacementFields::sameAs(const PlanRecord& r) const
{
    return times.sameAs(r) && setupMinutes == r.setupMinutes && workMinutes == r.workMinutes && cycle == r.cycle
        && pieceSeconds == r.pieceSeconds && isEdited == r.isEdited && orderQty == r.orderQty
        && memberOrderQty == r.memberOrderQty && memberOrderQtyB == r.memberOrderQtyB && machineCode == r.machineCode
        && destCode == r.destCode && inOutKind == r.inOutKind && mouldNo == r.mouldNo;
}

}  // namespace plan
