#include "plan/PlanRecord.h"

namespace plan {

int lowestFreeSlot(const Slots<std::int64_t>& orderNos)
{
    for (int k = 0; k < MemberSlots; ++k)
        if (orderNos[std::size_t(k)] == 0) return k;
    return -1;
}

}  // namespace plan
