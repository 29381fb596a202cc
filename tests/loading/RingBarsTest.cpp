// Bearing rings: an outer ring (GNT表示区分 2 or 4) stored on its inner ring's
// bar loads as that bar's member group B; any other outer ring keeps a bar of its own.

#include "PlanTestPlant.h"
#include "store/loading/PlanLoading.h"

using namespace plantest;

namespace {

class RingBars : public PlantFixture {
protected:
    void load()
    {
        store::resourcesSet(d(), s, planner, prompt);
        store::returnPlanData(d(), s, planner, plan);
    }
    int recordWith(qint64 orderNo) const
    {
        for (int i = 2; i <= plan.size(); ++i)
            for (const plan::MemberSlots* g : {&plan[i].membersA, &plan[i].membersB})
                for (const plan::MemberOrder& m : *g)
                    if (m.orderNo == orderNo) return i;
        return 0;
    }
};

TEST_P(RingBars, TheOuterRingStoredWithItsInnerRingJoinsItsBar)
{
    item(d(), QStringLiteral("RING-O"));
    order(d(), 201, {{"生産計画番号", 900}, {"手配数", 40}});
    order(d(), 202, {{"生産計画番号", 900}, {"品名コード", "RING-O"}, {"手配数", 40}, {"受入実績数", 5}, {"GNT表示区分", "2"}});
    // Another lot's outer ring stored elsewhere, and one without any inner ring.
    order(d(), 203, {{"生産計画番号", 901}, {"手配数", 30}});
    order(d(), 204, {{"生産計画番号", 901}, {"品名コード", "RING-O"}, {"手配数", 30}, {"GNT表示区分", "4"}, {"作業開始時間", "090000"}});
    order(d(), 205, {{"生産計画番号", 902}, {"品名コード", "RING-O"}, {"手配数", 20}, {"GNT表示区分", "2"}});
    load();

    ASSERT_EQ(plan.size(), 5);  // five orders on four bars after the placeholder
    const int ring = recordWith(201);
    ASSERT_EQ(recordWith(202), ring);
    const plan::PlanRecord& r = plan[ring];
    EXPECT_EQ(r.orderNo, 201);
    ASSERT_EQ(r.membersB.size(), 1u);
    EXPECT_EQ(r.membersB[0].itemCode, QStringLiteral("RING-O"));
    EXPECT_EQ(r.membersB[0].orderQty, 40);
    EXPECT_EQ(r.membersB[0].receivedQty, 5);
    EXPECT_EQ(r.membersB[0].planNo, 900);
    EXPECT_EQ(r.orderQty, 40);  // the bar's quantities are its inner ring's
    EXPECT_EQ(r.receivedQty, 0);
    EXPECT_EQ(r.memberCount, 2);
    EXPECT_TRUE(plan.loadedStamps.contains(202));

    EXPECT_NE(recordWith(204), recordWith(203));
    for (qint64 no : {204, 205}) {
        const plan::PlanRecord& alone = plan[recordWith(no)];
        EXPECT_TRUE(alone.membersA.empty());
        EXPECT_EQ(alone.memberGroup, plan::MemberGroup::Two);
        EXPECT_EQ(alone.orderQty, alone.membersB[0].orderQty);
        EXPECT_EQ(alone.barIndex, recordWith(no));
    }
}

PLANNER_PLANT_ON_EVERY_KIND(RingBars);

}  // namespace
