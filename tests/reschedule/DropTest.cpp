// Dropping bars on the chart: refusals, snapping, rows, cycles, set members.
#include "RuleTestSupport.h"

#include "reschedule/SetMembers.h"
#include "reschedule/UndoStep.h"

#include <limits>

using namespace rules_test;
using reschedule::dropBar;

namespace {

class Drop : public RuleTest {};

TEST_F(Drop, FixedBarsRefuseAsTheyShould)
{
    const int full = addBar(1, "M1", at(2, 8), 60);
    const int back = addBar(2, "M2", at(3, 9), 60);
    rec(full).fixKind = plan::FixKind::FullyFixed;
    rec(back).fixKind = plan::FixKind::BackFixed;
    const plan::PlanData loaded = plan;

    EXPECT_FALSE(reschedule::canStartBarDrag(ctx, full));
    EXPECT_TRUE(dropBar(ctx, dropAt(full, "M1", at(4, 8))).refused);

    // Back-fixed: not later, not below the last row; each with its message and no change.
    EXPECT_TRUE(dropBar(ctx, dropAt(back, "M2", at(3, 10))).refused);
    EXPECT_TRUE(dropBar(ctx, dropAt(back, "", at(3, 8))).refused);
    EXPECT_EQ(prompt.told, QStringList({"終了時間を固定されているので、計画を後ろにずらす事はできません",
                                        "終了時間を固定されているので、予定に戻す事はできません"}));
    EXPECT_EQ(plan, loaded);
    EXPECT_EQ(reschedule::previewStart(ctx, dropAt(back, "M2", at(3, 10))), at(3, 9));

    // ... but earlier, and onto another machine at an earlier time, is fine.
    EXPECT_FALSE(dropBar(ctx, dropAt(back, "M1", at(3, 8))).refused);
    EXPECT_EQ(plan[back].machineCode, "M1");
    EXPECT_EQ(plan[back].start(), at(3, 8));
    EXPECT_TRUE(plan[back].isChanged);
    expectSound();
}

TEST_F(Drop, StartSnapsToGridThenWorkingTimeAndPreviewAgrees)
{
    const int i = addBar(1, "M1", at(2, 8), 120);
    for (const auto& [dropped, expected] : {std::pair{at(3, 9, 7), at(3, 9, 15)}, std::pair{at(3, 12, 20), at(3, 13)},
                                            std::pair{at(3, 18), at(4, 8)}, std::pair{at(1, 6), at(1, 8)}}) {
        const auto d = dropAt(i, "M1", dropped);
        const Moment preview = reschedule::previewStart(ctx, d);
        EXPECT_EQ(preview, expected) << dropped.toDisplayText().toStdString();
        dropBar(ctx, d);
        EXPECT_EQ(plan[i].start(), preview);
        // 120 working minutes on the machine's calendar, across the lunch break when needed.
        EXPECT_EQ(plan[i].end(), core::calcEndTime(planner, preview, 120, "M1"));
    }
    expectSound();
}

TEST_F(Drop, CycleIsReadOnlyForAnotherRowMachineCycleFirst)
{
    const int i = addBar(1, "M1", at(2, 8), 100, 600);
    rec(i).cycle = 20;
    rec(i).pieceSeconds = 10;
    rec(i).cavities = 2;
    lookup.cycles[{plan[i].itemCode, 10, "M2"}] = 30;
    lookup.productivities[{plan[i].itemCode, 10}] = {120, 5};  // 120 pieces a minute: 0.5 s

    dropBar(ctx, dropAt(i, "M1", at(2, 9)));
    EXPECT_EQ(lookup.cycleReads + lookup.productivityReads, 0);
    EXPECT_EQ(plan[i].workMinutes, 100);

    dropBar(ctx, dropAt(i, "M2", at(2, 9)));
    EXPECT_EQ(plan[i].cycle, 30);
    EXPECT_EQ(plan[i].pieceSeconds, 15);
    EXPECT_EQ(plan[i].workMinutes, 150);  // 600 × 15 s
    EXPECT_EQ(lookup.productivityReads, 0);

    lookup.cycles.clear();
    dropBar(ctx, dropAt(i, "M1", at(2, 9)));
    EXPECT_EQ(plan[i].pieceSeconds, 0.5);
    EXPECT_EQ(plan[i].cycle, 1.0);  // per-piece time × cavities
    EXPECT_EQ(plan[i].workMinutes, 5);
    expectSound();
}

TEST_F(Drop, SupplierRowAndReturnToUnplaced)
{
    const int i = addBar(1, "M1", at(3, 8), 120);
    rec(i).startDateOrig = day(1);
    rec(i).endDateOrig = day(2);

    dropBar(ctx, dropAt(i, "S1", at(4, 10)));
    EXPECT_EQ(plan[i].inOutKind, plan::InOutKind::Outside);
    EXPECT_EQ(plan[i].destCode, "S1");
    EXPECT_EQ(plan[i].machineCode, " ");
    EXPECT_EQ(plan[i].start(), at(4, 10));
    EXPECT_EQ(plan[i].end(), at(4, 12));  // no calendar: clock minutes

    const auto out = dropBar(ctx, dropAt(i, "", at(5, 10)));
    EXPECT_FALSE(out.refused);
    EXPECT_EQ(plan[i].machineCode, " ");
    EXPECT_EQ(plan[i].startDate, day(1));
    EXPECT_EQ(plan[i].endDate, day(2));
    EXPECT_TRUE(plan[i].isEdited);
    EXPECT_TRUE(plan[i].isChanged);
    expectSound();
}

TEST_F(Drop, SetMembersFollowWithQuantitiesScaledByCavities)
{
    const int rep = addBar(10, "M1", at(2, 8), 120, 1000);
    const int a = addBar(11, "M1", at(2, 8), 120, 500);
    const int b = addBar(12, "M1", at(2, 8), 120, 750);
    for (int i : {rep, a, b}) rec(i).setRepOrderNo = 10;
    rec(a).isSetMember = rec(b).isSetMember = true;
    rec(rep).cavities = 4;
    rec(a).cavities = 2;
    rec(b).cavities = 0;  // counts as 1
    rec(rep).cycle = 40;
    rec(rep).mouldNo = "K1";

    dropBar(ctx, dropAt(rep, "M2", at(3, 13)));
    for (int m : {a, b}) {
        EXPECT_EQ(plan[m].start(), plan[rep].start());
        EXPECT_EQ(plan[m].end(), plan[rep].end());
        EXPECT_EQ(plan[m].machineCode, "M2");
        EXPECT_EQ(plan[m].mouldNo, "K1");
        EXPECT_TRUE(plan[m].isChanged);
    }
    EXPECT_EQ(plan[a].orderQty, 500);
    EXPECT_EQ(plan[a].pieceSeconds, 20);
    EXPECT_EQ(plan[b].orderQty, 250);
    EXPECT_EQ(plan[b].membersA[0].orderQty, 250);  // the member's order carries the new quantity
    EXPECT_FALSE(reschedule::canStartBarDrag(ctx, a));
    expectSound();

    // Moved again along its row: the members take over the new times, their quantities stay.
    const plan::MemberSlots membersOfA = plan[a].membersA;
    dropBar(ctx, dropAt(rep, "M2", at(4, 9)));
    ASSERT_EQ(plan[rep].start(), at(4, 9));
    for (int m : {a, b}) {
        EXPECT_EQ(plan[m].start(), plan[rep].start());
        EXPECT_EQ(plan[m].end(), plan[rep].end());
    }
    EXPECT_TRUE(plan[a].membersA == membersOfA);
    EXPECT_EQ(plan[b].orderQty, 250);
    expectSound();

    // Halves go to the even neighbour, computed exactly.
    EXPECT_EQ(reschedule::memberQuantity(10, 4, 1), 2);  // 2.5
    EXPECT_EQ(reschedule::memberQuantity(14, 4, 1), 4);  // 3.5
    EXPECT_EQ(reschedule::memberQuantity(5, 6, 3), 2);   // 2.5, inexact in binary
    EXPECT_EQ(reschedule::memberQuantity(7, 3, 3), 7);
    EXPECT_EQ(reschedule::memberQuantity(-9, 2, 1), -4);  // −4.5

    // Quantities near the 64-bit limits scale exactly (references in exact integers).
    constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(reschedule::memberQuantity(Max, 3, 2), 6148914691236517205);   // ….67 up
    EXPECT_EQ(reschedule::memberQuantity(Max, 2, 1), 4611686018427387904);   // ….5 to even, up
    EXPECT_EQ(reschedule::memberQuantity(Max - 1, 2, 1), 4611686018427387903);
    EXPECT_EQ(reschedule::memberQuantity(-Max, 4, 3), -6917529027641081855);  // −….25
    EXPECT_EQ(reschedule::memberQuantity(Max, Max, Max - 1), Max - 1);
}

TEST_F(Drop, OrderQuantityScalesMembersExactlyNearTheLimits)
{
    const int i = addBar(1, "M1", at(2, 9), 60);
    plan::PlanRecord& r = rec(i);
    // Two orders of 3 × 10^18 ± 1 grow to 9 × 10^18 + 1: each product needs more than 64 bits.
    r.membersA = {plan::MemberOrder{.orderNo = 1, .orderQty = 3000000000000000001},
                  plan::MemberOrder{.orderNo = 2, .orderQty = 2999999999999999999}};
    r.orderQty = 6000000000000000000;
    reschedule::setOrderQuantity(r, 9000000000000000001);
    EXPECT_EQ(r.membersA[1].orderQty, 4499999999999999998);  // 4499999999999999998.99…, truncated
    EXPECT_EQ(r.membersA[0].orderQty, 4500000000000000003);  // 4500000000000000002.00…, and the rest of 1
    EXPECT_EQ(r.orderQty, 9000000000000000001);
}

TEST_F(Drop, RefusalInsideAStepLeavesNoStep)
{
    const int i = addBar(1, "M1", at(2, 9), 60);
    rec(i).fixKind = plan::FixKind::BackFixed;
    const auto out = reschedule::runStep(history, "move", [&] { return dropBar(ctx, dropAt(i, "M1", at(2, 11))); });
    EXPECT_TRUE(out.refused);
    EXPECT_FALSE(out.changed);
    EXPECT_FALSE(history.canUndo());
    // A drop to where the bar already is changes nothing and leaves no step either.
    const auto same = reschedule::runStep(history, "move", [&] { return dropBar(ctx, dropAt(i, "M1", at(2, 9))); });
    EXPECT_FALSE(same.changed);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(plan[i].isChanged);
}

}  // namespace
