// The checks before a save and the work it collects, without a database.

#include "reschedule/saving/SaveChecks.h"
#include "reschedule/saving/SaveWork.h"

#include <gtest/gtest.h>

using namespace reschedule::saving;
using core::Date;
using core::Moment;
using core::TimeOfDay;

namespace {

plan::PlanRecord bar(int barIndex, const QString& machine, const QString& mould, int startHour, int endHour, bool changed = true)
{
    plan::PlanRecord r;
    r.barIndex = barIndex;
    r.orderNo = 100 + barIndex;
    r.machineCode = machine;
    r.mouldNo = mould;
    r.setStart(Moment::of(Date::fromYmd(2024, 5, 2), TimeOfDay::fromHms(startHour, 0)));
    r.setEnd(Moment::of(Date::fromYmd(2024, 5, 2), TimeOfDay::fromHms(endHour, 0)));
    r.isChanged = changed;
    return r;
}

TEST(SaveChecks, TimeLimitIsTenThousandHoursOfWorkAndSetUp)
{
    plan::PlanRecord r;
    r.workMinutes = 599'999;  // 9999.98 hours
    EXPECT_FALSE(exceedsTimeLimit(r));
    r.workMinutes = 600'000;
    EXPECT_TRUE(exceedsTimeLimit(r));
    r.workMinutes = 599'970;  // 9999.50 hours
    r.setupMinutes = 30;      // + 0.50 hours
    EXPECT_TRUE(exceedsTimeLimit(r));
    r.setupMinutes = 29;      // + 0.48 hours
    EXPECT_FALSE(exceedsTimeLimit(r));
}

TEST(SaveChecks, MouldOverlapsCountFromEveryChangedBar)
{
    plan::PlanData plan;
    plan.append(bar(2, QStringLiteral("M01"), QStringLiteral("K1"), 8, 12));
    plan.append(bar(3, QStringLiteral("M02"), QStringLiteral("K1"), 10, 14));
    EXPECT_EQ(countMouldDoubleBookings(plan), 2);  // each side counts

    plan.edit(3).isChanged = false;
    EXPECT_EQ(countMouldDoubleBookings(plan), 1);

    plan.append(bar(4, QStringLiteral("M03"), QStringLiteral("K1"), 12, 13));  // touches bar 2's end only
    plan.append(bar(5, QStringLiteral("M04"), QStringLiteral("K2"), 8, 12));   // another mould
    plan.append(bar(6, QStringLiteral(" "), QStringLiteral("K1"), 8, 12));     // on no machine
    plan::PlanRecord member = bar(7, QStringLiteral("M05"), QStringLiteral("K1"), 8, 12);
    member.isSetMember = true;
    plan.append(member);
    plan::PlanRecord merged = bar(8, QStringLiteral("M06"), QStringLiteral("K1"), 8, 12, false);
    merged.isMergedAway = true;
    plan.append(merged);
    // Bar 2 meets bar 3; bar 4 meets bar 3 (12:00-13:00 inside 10:00-14:00).
    EXPECT_EQ(countMouldDoubleBookings(plan), 2);
}

TEST(SaveWork, CollectsMembersSplitsAndMergedAwayOrders)
{
    plan::PlanData plan;
    plan::PlanRecord a = bar(2, QStringLiteral("M01"), {}, 8, 12);
    a.itemCode = QStringLiteral("ITEM");
    a.processSeq = 3;
    a.memberOrderNo[0] = 101;
    a.memberOrderQty[0] = 60;
    a.memberPlanNo[0] = 900;
    a.memberOrderNoB[2] = 201;  // the outer ring
    a.memberItemCodeB[2] = QStringLiteral("RING");
    a.memberOrderQtyB[2] = 60;
    plan.append(a);
    plan::PlanRecord split = a;
    split.barIndex = 3;
    split.memberOrderNo[0] = -1;
    split.memberNewOrderNo[0] = 101;
    split.memberOrderQty[0] = 40;
    split.memberOrderNoB[2] = -2;     // a lot that moved nothing creates no order
    split.memberNewOrderNoB[2] = 201;
    split.memberOrderQtyB[2] = 0;
    plan.append(split);
    plan::PlanRecord gone = bar(4, QStringLiteral("M01"), {}, 8, 12, false);
    gone.isMergedAway = true;
    gone.orderNo = 0;
    gone.memberOrderNo[0] = 103;
    gone.memberPlanNo[0] = 901;
    gone.memberOrderNo[1] = -5;       // never saved: nothing to delete
    plan.append(gone);
    plan.append(bar(5, QStringLiteral("M01"), {}, 8, 12, false));  // unchanged

    const SaveWork work = collectSaveWork(plan);
    EXPECT_EQ(work.changedRecords, (std::vector<int>{2, 3}));
    ASSERT_EQ(work.members.size(), 3u);
    EXPECT_EQ(work.members[0].orderNo, 101);
    EXPECT_EQ(work.members[0].itemCode, QStringLiteral("ITEM"));
    EXPECT_EQ(work.members[0].processSeq, 3);
    EXPECT_EQ(work.members[1].orderNo, 201);
    EXPECT_TRUE(work.members[1].groupB);
    EXPECT_EQ(work.members[1].itemCode, QStringLiteral("RING"));
    EXPECT_TRUE(work.members[2].isNew());
    EXPECT_EQ(work.members[2].sourceOrderNo, 101);
    EXPECT_EQ(work.newOrderCount(), 1);
    EXPECT_EQ(work.existingOrders(), (std::vector<std::int64_t>{101, 201, 103}));
    EXPECT_EQ(work.sourceOrders(), (std::vector<std::int64_t>{101}));
    EXPECT_EQ(work.mergedAwayOrders, (std::vector<std::int64_t>{103}));
    EXPECT_EQ(work.planNos, (QSet<std::int64_t>{900, 901}));
}

}  // namespace
