#include "plan/PlanRecord.h"

namespace plan {

int lowestFreeSlot(const Slots<std::int64_t>& orderNos)
{
    for (int k = 0; k < MemberSlots; ++k)
        if (orderNos[std::size_t(k)] == 0) return k;
    return -1;
}

PlacementFields PlacementFields::of(const PlanRecord& r)
{
    return PlacementFields{r.startDate,   r.startTime,    r.endDate,     r.endTime, r.machineCode,  r.destCode,
                           r.inOutKind,   r.setupMinutes, r.workMinutes, r.cycle,   r.pieceSeconds, r.isChanged,
                           r.isEdited};
}

bool PlacementFields::sameAs(const PlanRecord& r) const
{
    return startDate == r.startDate && startTime == r.startTime && endDate == r.endDate && endTime == r.endTime
        && setupMinutes == r.setupMinutes && workMinutes == r.workMinutes && cycle == r.cycle
        && pieceSeconds == r.pieceSeconds && isChanged == r.isChanged && isEdited == r.isEdited
        && machineCode == r.machineCode && destCode == r.destCode && inOutKind == r.inOutKind;
}

void PlacementFields::swapWith(PlanRecord& r)
{
    using std::swap;
    swap(startDate, r.startDate);
    swap(startTime, r.startTime);
    swap(endDate, r.endDate);
    swap(endTime, r.endTime);
    swap(machineCode, r.machineCode);
    swap(destCode, r.destCode);
    swap(inOutKind, r.inOutKind);
    swap(setupMinutes, r.setupMinutes);
    swap(workMinutes, r.workMinutes);
    swap(cycle, r.cycle);
    swap(pieceSeconds, r.pieceSeconds);
    swap(isChanged, r.isChanged);
    swap(isEdited, r.isEdited);
}

}  // namespace plan
