// The checks before a save and the work it collects, without a database.

#include "store/saving/SaveChecks.h"
#include "store/saving/SaveWork.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

plan::PlanRecord bar(int barIndex, const char* machine, const char* mould, int startHour, int endHour, bool changed = true)
{
    plan::PlanRecord r;
    r.barIndex = barIndex;
    r.machineCode = QString::fromLatin1(machine);
    r.mouldNo = QString::fromLatin1(mould);
    r.setStart(core::Moment::of(core::Date::fromYmd(2024, 5, 2), core::TimeOfDay::fromHms(startHour, 0)));
    r.setEnd(core::Moment::of(core::Date::fromYmd(2024, 5, 2), core::TimeOfDay::fromHms(endHour, 0)));
    r.isChanged = changed;
    return r;
}

TEST(SaveChecks, TimeLimitIsTenThousandHoursOfWorkAndSetUpInHundredths)
{
    plan::PlanRecord r;
    r.workMinutes = 599'999;  // 9999.98 hours
    EXPECT_FALSE(exceedsTimeLimit(r));
    r.workMinutes = 600'000;
    EXPECT_TRUE(exceedsTimeLimit(r));
    r.workMinutes = 599'970;  // 9999.50 hours
    r.setupMinutes = 30;      // + 0.50
    EXPECT_TRUE(exceedsTimeLimit(r));
    r.setupMinutes = 29;      // + 0.48
    EXPECT_FALSE(exceedsTimeLimit(r));
}

TEST(SaveChecks, MouldOverlapsCountFromEveryChangedBar)
{
    plan::PlanData plan;
    plan.append(bar(2, "M01", "K1", 8, 12));
    plan.append(bar(3, "M02", "K1", 10, 14));
    EXPECT_EQ(countMouldDoubleBookings(plan), 2);  // each side counts
    plan.edit(3).isChanged = false;
    EXPECT_EQ(countMouldDoubleBookings(plan), 1);

    plan.append(bar(4, "M03", "K1", 12, 13));  // only touches bar 2, runs inside bar 3
    plan.append(bar(5, "M04", "K2", 8, 12));   // another mould
    plan.append(bar(6, " ", "K1", 8, 12));     // on no machine
    plan::PlanRecord member = bar(7, "M05", "K1", 8, 12);
    member.isSetMember = true;
    plan.append(member);
    plan::PlanRecord merged = bar(8, "M06", "K1", 8, 12);
    merged.isMergedAway = true;
    plan.append(merged);
    EXPECT_EQ(countMouldDoubleBookings(plan), 2);
}

TEST(SaveWork, OuterRingMembersSplitsAndMergedAwayOrders)
{
    plan::PlanData plan;
    plan::PlanRecord a = bar(2, "M01", "", 8, 12);
    a.itemCode = QStringLiteral("RING");
    plan::memberSlot(a.membersA, 0).orderNo = 101;
    plan::memberSlot(a.membersA, 0).orderQty = 60;
    plan::memberSlot(a.membersA, 0).planNo = 900;
    plan::memberSlot(a.membersB, 2).orderNo = 201;  // the outer ring: its own item
    plan::memberSlot(a.membersB, 2).itemCode = QStringLiteral("OUTER");
    plan.append(a);
    plan::PlanRecord split = a;
    split.barIndex = 3;
    plan::memberSlot(split.membersA, 0).orderNo = -1;
    plan::memberSlot(split.membersA, 0).newOrderNo = 101;
    plan::memberSlot(split.membersA, 0).orderQty = 40;
    plan::memberSlot(split.membersB, 2).orderNo = -2;  // a lot that moved nothing creates no order
    plan::memberSlot(split.membersB, 2).newOrderNo = 201;
    plan.append(split);
    plan::PlanRecord gone = bar(4, "M01", "", 8, 12, false);
    gone.isMergedAway = true;
    plan::memberSlot(gone.membersA, 0).orderNo = 103;
    plan::memberSlot(gone.membersA, 0).planNo = 901;
    plan::memberSlot(gone.membersA, 1).orderNo = -5;  // never saved: nothing to delete
    plan.append(gone);

    const SaveWork work = collectSaveWork(plan);
    ASSERT_EQ(work.members.size(), 3u);
    EXPECT_EQ(work.members[1].itemCode, QStringLiteral("OUTER"));
    EXPECT_EQ(work.members[0].itemCode, QStringLiteral("RING"));
    EXPECT_EQ(work.newOrderCount(), 1);
    EXPECT_EQ(work.existingOrders(), (std::vector<std::int64_t>{101, 201, 103}));
    EXPECT_EQ(work.sourceOrders(), (std::vector<std::int64_t>{101}));
    EXPECT_EQ(work.planNos, (QSet<std::int64_t>{900, 901}));
}

}  // namespace
