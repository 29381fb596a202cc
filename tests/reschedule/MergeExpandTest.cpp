// Merging a bar into another, expanding a machine row, grid-row drags.
#include "RuleTestSupport.h"

#include "reschedule/Expand.h"
#include "reschedule/GridDrag.h"
#include "reschedule/Merge.h"

using namespace rules_test;

namespace {

class Merge : public RuleTest {
protected:
    int s = 0, t = 0;
    void SetUp() override
    {
        t = addBar(1, "M1", at(2, 8), 60, 100);
        s = addBar(2, "M2", at(3, 8), 60, 50);
        for (int i : {s, t}) {
            rec(i).planItemCode = rec(i).itemCode2 = "P";
            rec(i).pieceSeconds = 36;
        }
    }
};

TEST_F(Merge, RefusedMergesMoveTheBarInstead)
{
    struct Case { std::function<void()> setUp; QString told; };
    const std::vector<Case> cases = {
        {[&] { rec(s).itemCode2 = "Q"; }, ""},
        {[&] { rec(t).setRepOrderNo = 1; }, "セット取りの計画を合体させる事はできません"},
        {[&] { rec(t).setRepOrderNo = 9; rec(t).isSetMember = true; }, "セット取りの計画を合体させる事はできません"},
        {[&] { rec(s).receivedQty = rec(s).membersA[0].receivedQty = 5; }, "実績が入力されている計画を合体させる事はできません"},
        {[&] { prompt.answers = {false}; }, ""},
    };
    for (const Case& c : cases) {
        plan::PlanData fresh;  // a clean pair for every case
        plan = fresh;
        SetUp();
        prompt.told.clear();
        c.setUp();
        reschedule::mergeBars(ctx, dropAt(s, "M1", at(4, 9)), t);
        EXPECT_EQ(prompt.told.join(""), c.told);
        EXPECT_FALSE(plan[s].isMergedAway);
        EXPECT_EQ(plan[s].start(), at(4, 9));  // moved to the drop point
        EXPECT_EQ(plan[t].orderQty, 100);
    }
}

TEST_F(Merge, MergedBarAddsItsQuantityAndDisappears)
{
    prompt.answers = {true};
    reschedule::mergeBars(ctx, dropAt(s, "M1", at(2, 8, 30)), t);
    EXPECT_EQ(prompt.asked, QStringList({"この２つの計画を合体させますか？"}));
    EXPECT_EQ(plan[t].orderQty, 150);
    EXPECT_EQ(plan[t].membersA[0].orderQty, 150);
    EXPECT_EQ(plan[t].workMinutes, 90);  // 150 × 36 s
    EXPECT_EQ(plan[t].start(), at(2, 8));
    EXPECT_EQ(plan[t].end(), at(2, 9, 30));
    EXPECT_TRUE(plan[t].isChanged);
    EXPECT_TRUE(plan[s].isMergedAway);
    EXPECT_EQ(plan[s].orderNo, 0);
    EXPECT_EQ(plan[s].orderQty, 0);
    EXPECT_FALSE(plan[s].isChanged);
    EXPECT_EQ(plan[s].membersA[0].orderNo, 2);  // the save deletes this order
    expectSound();
}

class Expand : public RuleTest {};

TEST_F(Expand, RefusesTheUnplacedRowSuppliersAndANo)
{
    const plan::PlanData loaded = plan;
    EXPECT_TRUE(reschedule::expandRow(ctx, 1).refused);
    EXPECT_TRUE(reschedule::expandRow(ctx, 4).refused);
    prompt.answers = {false};
    EXPECT_TRUE(reschedule::expandRow(ctx, 2).refused);
    EXPECT_EQ(prompt.told, QStringList({"未計画分は展開できません", "外注先は展開できません"}));
    EXPECT_EQ(prompt.asked, QStringList({"計画の展開を行ないますか？"}));
    EXPECT_EQ(plan, loaded);
}

TEST_F(Expand, PacksFreeBarsFromTheFirstDaysWorkingStart)
{
    const int first = addBar(1, "M1", at(1, 8), 90);    // on the first day: keeps its time
    const int later = addBar(2, "M1", at(5, 8), 60);
    const int fixed = addBar(3, "M1", at(3, 8), 60);
    rec(fixed).fixKind = plan::FixKind::FullyFixed;
    const int early = addBar(4, "M1", at(4, 8), 60);
    const int other = addBar(5, "M2", at(6, 8), 60);
    prompt.answers = {true};
    reschedule::expandRow(ctx, 2);
    EXPECT_EQ(prompt.told, QStringList({"4件"}));
    EXPECT_EQ(plan[first].start(), at(1, 8));
    EXPECT_EQ(plan[fixed].start(), at(3, 8));
    EXPECT_EQ(plan[early].start(), at(3, 9));  // behind the fixed bar, in start order
    EXPECT_EQ(plan[later].start(), at(3, 10));
    EXPECT_FALSE(plan[first].isChanged);
    EXPECT_EQ(plan[other].start(), at(6, 8));
    expectSound();
}

class GridDrag : public RuleTest {};

TEST_F(GridDrag, RefusesFixedOrdersAndSetMembers)
{
    const int fixed = addBar(1, "M1", at(2, 8), 60);
    const int member = addBar(2, "M1", at(2, 8), 60);
    rec(fixed).fixKind = plan::FixKind::BackFixed;
    rec(member).setRepOrderNo = 9;
    rec(member).isSetMember = true;
    EXPECT_TRUE(reschedule::canStartGridDrag(ctx, fixed).refused);
    EXPECT_TRUE(reschedule::canStartGridDrag(ctx, member).refused);
    EXPECT_EQ(prompt.told, QStringList({"1:後ろ固定と2:完全固定の手配は移動出来ません。",
                                        QStringLiteral("この手配は移動出来ません。\rセット代表手配を移動して下さい。")}));
}

TEST_F(GridDrag, TakesThePlaceOfTheTargetOrder)
{
    const int target = addBar(1, "M1", at(2, 9), 60);
    const int dragged = addBar(2, "M2", at(4, 8), 60, 300);
    rec(dragged).pieceSeconds = 6;
    lookup.cycles[{plan[dragged].itemCode, 10, "M1"}] = 12;
    prompt.answers = {true};
    reschedule::dropGridRow(ctx, dragged, target);
    EXPECT_EQ(plan[dragged].machineCode, "M1");
    EXPECT_EQ(plan[dragged].start(), at(2, 9));
    EXPECT_EQ(plan[dragged].workMinutes, 60);  // 300 × 12 s on M1
    EXPECT_TRUE(plan[dragged].isEdited && plan[dragged].isChanged);
    EXPECT_EQ(plan[target].start(), at(2, 10));  // pushed behind it
    expectSound();

    const int unplaced = addBar(3, " ", at(1, 8), 30);
    reschedule::dropGridRow(ctx, dragged, unplaced);
    EXPECT_EQ(plan[dragged].machineCode, " ");
    EXPECT_EQ(plan[dragged].start(), at(1, 8));
    EXPECT_EQ(plan[dragged].end(), at(1, 9));
}

}  // namespace
