// Splitting a bar by lots: the lot lines, the checks, and the split itself.
#include "RuleTestSupport.h"

#include "reschedule/DetailMessages.h"
#include "reschedule/Split.h"
#include "reschedule/UndoStep.h"

#include <QSet>
#include <algorithm>
#include <functional>

using namespace rules_test;
using reschedule::SplitLots;
using reschedule::runStep;

namespace {

plan::MemberOrder member(std::int64_t orderNo, std::int64_t planNo, std::int64_t qty, std::int64_t received = 0)
{
    return plan::MemberOrder{.planNo = planNo, .orderNo = orderNo, .orderQty = qty, .receivedQty = received, .processSeq = 10,
                             .processName = "研削", .modelName = "6205 内輪"};
}

class Split : public RuleTest {
protected:
    // Order 11 (lot 501, 100 pieces) and order 12 (lot 502, 50 pieces) on M1
    // from 04/02 08:00: 15 minutes of set-up, 30 s per piece.
    int addTwoLots()
    {
        const int i = addBar(11, "M1", at(2, 8), 75, 150);
        plan::PlanRecord& r = rec(i);
        r.membersA = {member(11, 501, 100), member(12, 502, 50)};
        r.memberCount = 2;
        r.setupMinutes = 15;
        r.pieceSeconds = 30;
        r.setEnd(at(2, 9, 30));
        r.components = {plan::Component{.itemCode = "C", .requiredQty = 300}};
        for (std::int64_t no : {11, 12}) lookup.rules[{no, "C"}] = reschedule::RequirementRule{"1", 0, 2, 1, 0};
        return i;
    }
    // The same bar as a ring product: the outer rings 21 and 22 of the two lots in group B.
    int addRingLots()
    {
        const int i = addTwoLots();
        rec(i).membersB = {member(21, 501, 100), member(22, 502, 50)};
        rec(i).memberCount = 4;
        return i;
    }
    reschedule::RuleOutcome split(int i, const SplitLots& lots)
    {
        return runStep(history, "手配分割", [&] { return reschedule::splitOrder(ctx, i, lots); });
    }
};

TEST_F(Split, LotLinesCarryPlanCountAndQuantityAndACountGoesToBothRings)
{
    const int i = addRingLots();
    rec(i).membersA[1].receivedQty = 10;
    rec(i).receivedQty = 10;
    SplitLots lots = reschedule::splitLotsOf(plan[i]);
    ASSERT_EQ(lots.inner.size(), 2u);
    ASSERT_EQ(lots.outer.size(), 2u);
    EXPECT_EQ(lots.inner[1].quantity, 40);  // what remains to make
    EXPECT_EQ(lots.outer[1].quantity, 50);

    const QString text = reschedule::lotLineText(lots.inner[0]);
    EXPECT_TRUE(text.startsWith("501      研削 6205 内輪"));
    EXPECT_TRUE(text.endsWith("         0/100      "));
    EXPECT_EQ(reschedule::planNoOfLineText(text), 501);

    reschedule::setLotCount(lots, 501, 30);
    EXPECT_EQ(lots.inner[0].count, 30);
    EXPECT_EQ(lots.outer[0].count, 30);
    EXPECT_EQ(lots.inner[1].count, 0);
    EXPECT_EQ(reschedule::countOfLineText(reschedule::lotLineText(lots.outer[0])), 30);
    EXPECT_EQ(lots.innerTotal(), 30);
    EXPECT_EQ(lots.outerTotal(), 30);
}

TEST_F(Split, ChecksRefuseInTheirOrder)
{
    const SplitLots ring = reschedule::splitLotsOf(plan[addRingLots()]);
    const auto check = [](SplitLots lots, const std::function<void(SplitLots&)>& change) {
        change(lots);
        return reschedule::checkSplit(lots).value_or("ok");
    };
    namespace msg = reschedule::msg;
    EXPECT_EQ(check(ring, [](SplitLots&) {}), msg::chooseLots());
    EXPECT_EQ(check(ring, [](SplitLots& l) { l.outer[0].count = 5; }), msg::chooseInner());
    EXPECT_EQ(check(ring, [](SplitLots& l) { l.inner[0].count = 5; }), msg::chooseOuter());
    EXPECT_EQ(check(ring, [](SplitLots& l) { l.inner[0].count = 5; l.outer[0].count = 6; }), msg::innerOuterDiffer());
    EXPECT_EQ(check(ring, [](SplitLots& l) { l.inner[1].quantity = 40; reschedule::setLotCount(l, 502, 45); }), msg::innerOverLot());
    EXPECT_EQ(check(ring, [](SplitLots& l) { l.outer[0].quantity = 90; reschedule::setLotCount(l, 501, 95); }), msg::outerOverLot());
    EXPECT_EQ(check(ring, [](SplitLots& l) { reschedule::setLotCount(l, 501, 100); reschedule::setLotCount(l, 502, 50); }),
              msg::wholeLotsRefused());
    EXPECT_EQ(check(ring, [](SplitLots& l) { reschedule::setLotCount(l, 501, 100); }), "ok");  // another lot keeps its part

    // Without outer rings the outer checks do not apply.
    const SplitLots single = reschedule::splitLotsOf(plan[addTwoLots()]);
    EXPECT_EQ(check(single, [](SplitLots& l) { reschedule::setLotCount(l, 502, 20); }), "ok");
    EXPECT_EQ(check(single, [](SplitLots& l) { reschedule::setLotCount(l, 501, 100); reschedule::setLotCount(l, 502, 50); }),
              msg::wholeLotsRefused());
}

TEST_F(Split, TheNewBarFollowsTheSourceWithItsLotsAndNewNumbers)
{
    const int i = addTwoLots();
    const int bars = plan.largestBarIndex();
    const plan::PlanData loaded = plan;
    SplitLots lots = reschedule::splitLotsOf(plan[i]);
    reschedule::setLotCount(lots, 501, 100);  // the whole lot: order 11 itself moves
    reschedule::setLotCount(lots, 502, 20);   // part of a lot: a new order
    ASSERT_EQ(reschedule::checkSplit(lots), std::nullopt);
    const auto out = split(i, lots);
    ASSERT_TRUE(out.changed);
    ASSERT_EQ(plan.size(), loaded.size() + 1);
    const int n = plan.size();
    const plan::PlanRecord& s = plan[i];
    const plan::PlanRecord& a = plan[n];

    // The source keeps order 12 with 30 pieces; order 11's slot is free.
    EXPECT_EQ(s.membersA[0].orderNo, 0);
    EXPECT_EQ(s.membersA[1].orderNo, 12);
    EXPECT_EQ(s.membersA[1].orderQty, 30);
    EXPECT_EQ(s.orderNo, 12);
    EXPECT_EQ(s.orderQty, 30);
    EXPECT_EQ(s.memberCount, 1);
    EXPECT_EQ(s.workMinutes, 15);
    EXPECT_EQ(s.end(), at(2, 8, 30));
    EXPECT_EQ(s.components[0].requiredQty, 60);

    // The new bar: order 11 whole, and 20 pieces of lot 502 under a temporary number.
    ASSERT_EQ(a.membersA.size(), 2u);
    EXPECT_EQ(a.membersA[0].orderNo, 11);
    EXPECT_EQ(a.membersA[0].newOrderNo, 0);
    EXPECT_EQ(a.membersA[0].orderQty, 100);
    EXPECT_LT(a.membersA[1].orderNo, 0);
    EXPECT_EQ(a.membersA[1].newOrderNo, 12);
    EXPECT_EQ(a.membersA[1].orderQty, 20);
    EXPECT_EQ(a.membersA[1].planNo, 502);
    EXPECT_EQ(a.orderNo, 11);
    EXPECT_EQ(a.orderQty, 120);
    EXPECT_EQ(a.receivedQty, 0);
    EXPECT_EQ(a.barIndex, bars + 1);
    EXPECT_EQ(a.machineCode, "M1");
    EXPECT_EQ(a.workMinutes, 60);
    EXPECT_EQ(a.start(), at(2, 8, 30));
    EXPECT_EQ(a.end(), at(2, 9, 45));
    EXPECT_EQ(a.components[0].requiredQty, 240);
    EXPECT_TRUE(s.isChanged);
    EXPECT_TRUE(a.isChanged);
    expectSound();

    history.undo();
    EXPECT_EQ(plan, loaded);
}

TEST_F(Split, TemporaryNumbersNeverRepeatAndKeepTheirRealSource)
{
    const int i = addRingLots();
    SplitLots lots = reschedule::splitLotsOf(plan[i]);
    reschedule::setLotCount(lots, 501, 30);
    split(i, lots);
    const int n = plan.size();
    const plan::PlanRecord& a = plan[n];
    ASSERT_EQ(a.membersA.size(), 1u);
    ASSERT_EQ(a.membersB.size(), 1u);
    EXPECT_EQ(a.membersA[0].newOrderNo, 11);
    EXPECT_EQ(a.membersB[0].newOrderNo, 21);
    EXPECT_EQ(a.membersB[0].orderQty, 30);
    EXPECT_EQ(plan[i].membersB[0].orderQty, 70);
    EXPECT_EQ(a.orderNo, a.membersA[0].orderNo);
    EXPECT_EQ(reschedule::masterOrderNo(a), 11);

    // Split the new bar again: its new member still names the stored order 11.
    SplitLots again = reschedule::splitLotsOf(plan[n]);
    reschedule::setLotCount(again, 501, 10);
    split(n, again);
    const plan::PlanRecord& b = plan[plan.size()];
    EXPECT_EQ(b.membersA[0].newOrderNo, 11);
    EXPECT_EQ(b.membersB[0].newOrderNo, 21);
    QSet<std::int64_t> numbers;
    for (std::int64_t no : {a.membersA[0].orderNo, a.membersB[0].orderNo, b.membersA[0].orderNo, b.membersB[0].orderNo}) {
        EXPECT_LT(no, 0);
        numbers.insert(no);
    }
    EXPECT_EQ(numbers.size(), 4);
    history.undo();
    EXPECT_LT(reschedule::takeTemporaryOrderNo(), *std::min_element(numbers.begin(), numbers.end()));  // undone numbers are not handed out again
    expectSound();
}

TEST_F(Split, BarsBehindTheNewBarArePushedWhenThePlannerAgrees)
{
    const int i = addTwoLots();
    const int behind = addBar(30, "M1", at(2, 9, 30), 60);
    SplitLots lots = reschedule::splitLotsOf(plan[i]);
    reschedule::setLotCount(lots, 502, 20);  // the source now ends 09:20; the new bar runs 09:30-09:55
    prompt.answers = {true};
    split(i, lots);
    const plan::PlanRecord& a = plan[plan.size()];
    EXPECT_EQ(a.start(), at(2, 9, 30));
    EXPECT_EQ(a.end(), at(2, 9, 55));
    EXPECT_EQ(plan[behind].start(), at(2, 10));  // after the new bar's end, on the unit
    EXPECT_EQ(prompt.asked, QStringList{"移動した先の後の計画と重複している期間があります。それらの計画を重複しないように調整しますか？"});
}

}  // namespace
