// Member slots: a member keeps its slot, a new one takes the lowest free slot,
// and a group holds at most twenty.

#include "plan/PlanRecord.h"

#include <gtest/gtest.h>

using namespace plan;

TEST(MemberSlots, NewMembersTakeTheLowestFreeSlotUpToTwenty)
{
    MemberSlots group;
    EXPECT_EQ(lowestFreeSlot(group), 0);
    memberSlot(group, 2).orderNo = 103;  // slots 0 and 1 stay free
    EXPECT_EQ(group.size(), 3u);
    EXPECT_EQ(lowestFreeSlot(group), 0);
    for (int k : {0, 1}) memberSlot(group, k).orderNo = 101 + k;
    EXPECT_EQ(lowestFreeSlot(group), 3);  // past the end
    group[1].orderNo = 0;                 // a member taken out leaves its slot free
    EXPECT_EQ(lowestFreeSlot(group), 1);

    for (int k = 0; k < MaxMembersPerGroup; ++k) memberSlot(group, k).orderNo = 200 + k;
    EXPECT_EQ(group.size(), std::size_t(MaxMembersPerGroup));
    EXPECT_EQ(lowestFreeSlot(group), -1);
    group.back().orderNo = 0;
    EXPECT_EQ(lowestFreeSlot(group), MaxMembersPerGroup - 1);
}
