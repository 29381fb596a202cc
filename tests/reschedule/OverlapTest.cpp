// Overlaps on the target row: the bar in front, the push chain and its stops.
#include "RuleTestSupport.h"

#include "reschedule/PushOrder.h"

#include <random>

using namespace rules_test;
using reschedule::dropBar;

namespace {

class Overlap : public RuleTest {};

TEST_F(Overlap, BarInFrontWithTheLatestEndTakesTheDroppedBarBehindIt)
{
    addBar(1, "M1", at(2, 8), 120);             // 08:00-10:00
    addBar(2, "M1", at(2, 8, 30), 150);         // 08:30-11:00: latest end
    const int m = addBar(3, "M2", at(3, 8), 60);
    prompt.answers = {true};
    dropBar(ctx, dropAt(m, "M1", at(2, 9, 30)));
    EXPECT_EQ(prompt.asked, QStringList({"移動したよりも前の計画と重複している期間があります。その計画の終了日時をこの計画の開始に設定しますか？"}));
    EXPECT_EQ(plan[m].start(), at(2, 11));
    EXPECT_EQ(plan[m].end(), at(2, 12));

    // No: the bar stays where it was dropped.
    prompt.asked.clear();
    prompt.answers = {false};
    dropBar(ctx, dropAt(m, "M1", at(2, 10, 30)));
    EXPECT_EQ(plan[m].start(), at(2, 10, 30));
    EXPECT_EQ(prompt.asked.size(), 1);
    expectSound();
}

TEST_F(Overlap, EqualEndsInFrontRoundUpToTheTimeUnit)
{
    addBar(1, "M1", at(2, 8), 125);             // ends 10:05
    addBar(2, "M1", at(2, 9), 65);              // ends 10:05 too, later in table order
    const int m = addBar(3, "M2", at(3, 8), 60);
    prompt.answers = {true};
    dropBar(ctx, dropAt(m, "M1", at(2, 9, 45)));
    EXPECT_EQ(prompt.asked.size(), 1);           // one question for the pair
    EXPECT_EQ(plan[m].start(), at(2, 10, 15));  // 10:05 up to the 15-minute unit
}

TEST_F(Overlap, ChainPushesUntilTheFirstGap)
{
    const int b1 = addBar(1, "M1", at(2, 9), 60);
    const int b2 = addBar(2, "M1", at(2, 10), 60);
    const int b3 = addBar(3, "M1", at(2, 13, 30), 60);  // after the gap
    const int m = addBar(4, "M2", at(3, 8), 90);
    prompt.answers = {true};
    dropBar(ctx, dropAt(m, "M1", at(2, 9)));
    EXPECT_EQ(prompt.asked, QStringList({"移動した先の後の計画と重複している期間があります。それらの計画を重複しないように調整しますか？"}));
    EXPECT_EQ(plan[m].end(), at(2, 10, 30));
    EXPECT_EQ(plan[b1].start(), at(2, 10, 30));
    EXPECT_EQ(plan[b1].end(), at(2, 11, 30));
    EXPECT_EQ(plan[b2].start(), at(2, 11, 30));
    EXPECT_EQ(plan[b2].end(), at(2, 13, 30));  // across the lunch break
    EXPECT_EQ(plan[b3].start(), at(2, 13, 30));
    EXPECT_FALSE(plan[b3].isChanged);
    EXPECT_TRUE(plan[b1].isChanged && plan[b2].isChanged);
    expectSound();
}

TEST_F(Overlap, NoToThePushLeavesTheBarsBehind)
{
    const int b1 = addBar(1, "M1", at(2, 9), 60);
    const int m = addBar(2, "M2", at(3, 8), 90);
    prompt.answers = {false};
    dropBar(ctx, dropAt(m, "M1", at(2, 9)));
    EXPECT_EQ(plan[b1].start(), at(2, 9));
    EXPECT_EQ(plan[m].start(), at(2, 9));
}

TEST_F(Overlap, FixedFirstBarStopsTheChainWithItsMessage)
{
    const int f = addBar(1, "M1", at(2, 9), 60);
    const int b = addBar(2, "M1", at(2, 10), 60);
    rec(f).fixKind = plan::FixKind::BackFixed;
    const int m = addBar(3, "M2", at(3, 8), 90);
    prompt.answers = {true};
    dropBar(ctx, dropAt(m, "M1", at(2, 8, 30)));
    EXPECT_EQ(prompt.told, QStringList({"先頭の計画が固定されているので、スケジュール調整を行なえません"}));
    EXPECT_EQ(plan[f].start(), at(2, 9));
    EXPECT_EQ(plan[b].start(), at(2, 10));
    EXPECT_EQ(plan[m].start(), at(2, 8, 30));  // the moved bar keeps its place
}

TEST_F(Overlap, BarsThatWouldRunIntoAFixedBarLeaveTheMachine)
{
    const int b1 = addBar(1, "M1", at(2, 9), 60);
    const int b2 = addBar(2, "M1", at(2, 10), 60);
    const int b3 = addBar(3, "M1", at(2, 11), 60);
    const int f = addBar(4, "M1", at(2, 13), 60);
    rec(f).fixKind = plan::FixKind::FullyFixed;
    const int m = addBar(5, "M2", at(3, 8), 120);
    prompt.answers = {true};
    dropBar(ctx, dropAt(m, "M1", at(2, 9)));
    // b1 ends 12:00 (before the fixed bar): stays; b2 would end 14:00 and the fixed
    // bar is not right behind it: off the machine; b3 is right before it: stays.
    EXPECT_EQ(plan[b1].machineCode, "M1");
    EXPECT_EQ(plan[b2].machineCode, " ");
    EXPECT_EQ(plan[b3].machineCode, "M1");
    EXPECT_EQ(plan[b3].start(), at(2, 14));
    EXPECT_EQ(plan[f].start(), at(2, 13));
    EXPECT_TRUE(prompt.told.isEmpty());
    expectSound();
}

TEST_F(Overlap, EqualStartsPushSmallerWorkThenSmallerQuantityFirst)
{
    const int big = addBar(1, "M1", at(2, 9), 60, 10);
    const int smallQty = addBar(2, "M1", at(2, 9), 60, 5);
    const int smallWork = addBar(3, "M1", at(2, 9), 60, 50);
    rec(smallWork).workMinutes = 30;
    const int m = addBar(4, "M2", at(3, 8), 60);
    prompt.answers = {true};
    dropBar(ctx, dropAt(m, "M1", at(2, 8, 30)));
    EXPECT_EQ(plan[smallWork].start(), at(2, 9, 30));
    EXPECT_EQ(plan[smallQty].start(), at(2, 10));
    EXPECT_EQ(plan[big].start(), at(2, 11));
}

// The push order must be what a literal bubble sort gives, also where bars with
// the same start mix zero and non-zero work minutes (no consistent order then).
TEST(PushOrder, MatchesTheBubbleSortOnRandomRows)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        plan::PlanData plan;
        const int n = 2 + int(rng() % 12);
        for (int k = 0; k < n; ++k) {
            plan::PlanRecord r;
            r.setStart(at(2, 8 + int(rng() % 3)));
            r.workMinutes = int(rng() % 3) * 30;
            r.orderQty = int(rng() % 4);
            plan.append(r);
        }
        std::vector<int> bars, expected;
        for (int i = 2; i <= plan.size(); ++i) bars.push_back(i);
        std::shuffle(bars.begin(), bars.end(), rng);
        expected = bars;
        for (std::size_t i = 0; i + 1 < expected.size(); ++i)
            for (std::size_t k = expected.size() - 1; k > i; --k)
                if (reschedule::pushedBefore(plan[expected[k]], plan[expected[k - 1]])) std::swap(expected[k], expected[k - 1]);
        reschedule::sortIntoPushOrder(plan, bars);
        ASSERT_EQ(bars, expected) << "round " << round;
    }
}

}  // namespace
