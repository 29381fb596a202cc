#include "plan/PlanRecord.h"

#include <cassert>

namespace plan {

int lowestFreeSlot(const MemberSlots& group)
{
    for (std::size_t k = 0; k < group.size(); ++k)
        if (group[k].orderNo == 0) return int(k);
    return group.size() < std::size_t(MaxMembersPerGroup) ? int(group.size()) : -1;
}

MemberOrder& memberSlot(MemberSlots& group, int slot)
{
    assert(slot >= 0 && slot < MaxMembersPerGroup);
    if (std::size_t(slot) >= group.size()) group.resize(std::size_t(slot) + 1);
    return group[std::size_t(slot)];
}

}  // namespace plan
