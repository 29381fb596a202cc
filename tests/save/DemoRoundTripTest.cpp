// On the demo plant: what the planner holds after a save is what the next
// load of the database gives, record for record.

#include "support/SessionLoad.h"
#include "SaveFixture.h"
#include "demoplant/DemoPlant.h"

using namespace savetest;

namespace {

class DemoRoundTrip : public SaveFixture {
protected:
    void SetUp() override
    {
        t = testing_support::freshDatabase(GetParam());
        if (!t.db) GTEST_SKIP() << testing_support::kindName(GetParam()) << " not available";
        demoplant::DemoOptions o;
        o.seed = 11;
        o.baseDate = core::Date::fromYmd(2024, 5, 6);
        o.orders = 400;
        o.machines = 8;
        demoplant::generateDemoPlant(d(), o);
        settings.PeriodStart = o.baseDate.addDays(-7);
        settings.PeriodEnd = o.baseDate.addDays(30);
    }
    void loadAndArrange()
    {
        plan = plan::PlanData();
        planner = core::Planner();
        testing_support::loadAndArrange(d(), settings, planner, plan, prompt);
    }
};

// Live records by order number, without what only the chart owns.
QMap<qint64, plan::PlanRecord> byOrder(const plan::PlanData& p)
{
    QMap<qint64, plan::PlanRecord> out;
    for (int i = 2; i <= p.size(); ++i) {
        plan::PlanRecord r = p[i];
        if (r.isMergedAway || r.orderNo == 0) continue;
        r.barIndex = 0;
        out.insert(r.orderNo, r);
    }
    return out;
}

// A free, placed bar of one order that no set and no result ties down.
bool movable(const plan::PlanRecord& r)
{
    return r.confirmKind == plan::ConfirmKind::Confirmed && r.fixKind == plan::FixKind::Free && r.hasMachine() && r.setRepOrderNo == 0 &&
           r.receivedQty == 0 && !r.usesGroupB() && plan::lowestFreeSlot(r.membersA) == 1 && r.orderQty > 1;
}

TEST_P(DemoRoundTrip, SavedPlanEqualsTheNextLoad)
{
    loadAndArrange();
    // The save writes a changed bar's cycle as its machine's line cycle (DB0492),
    // which the next load gives every bar of that item on the machine: only bars
    // whose cycle is the one all bars of their item on their machine have are changed.
    QHash<QString, QSet<double>> cyclesOf;
    for (int i = 2; i <= plan.size(); ++i) cyclesOf[plan[i].itemCode + u'|' + plan[i].machineCode.trimmed()].insert(plan[i].cycle);
    const auto oneLineCycle = [&](int i) { return cyclesOf.value(plan[i].itemCode + u'|' + plan[i].machineCode.trimmed()).size() == 1; };
    // Bars that end last on their machine can move later without meeting another
    // bar, so the next load has nothing to rearrange.
    QHash<QString, int> lastOnMachine;
    for (int i = 2; i <= plan.size(); ++i)
        if (plan[i].confirmKind == plan::ConfirmKind::Confirmed && plan[i].hasMachine() &&
            (!lastOnMachine.contains(plan[i].machineCode) || plan[lastOnMachine[plan[i].machineCode]].end() < plan[i].end()))
            lastOnMachine.insert(plan[i].machineCode, i);
    std::vector<int> last, other;
    for (int i = 2; i <= plan.size(); ++i)
        if (movable(plan[i]) && oneLineCycle(i)) (lastOnMachine.value(plan[i].machineCode) == i ? last : other).push_back(i);
    ASSERT_GE(last.size(), 3u);
    ASSERT_GE(other.size(), 10u);

    for (std::size_t k = 0; k + 1 < last.size(); ++k) {
        plan::PlanRecord& r = plan.edit(last[k]);
        r.setStart(r.start().addMinutes(60 * int(k + 1)));
        r.setEnd(r.end().addMinutes(60 * int(k + 1)));
        r.isChanged = true;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        plan::PlanRecord& r = plan.edit(other[k]);
        r.remarks = QStringLiteral("確認%1").arg(k);
        r.fixKind = plan::FixKind::BackFixed;
        r.orderQty += 7;
        r.membersA[0].orderQty += 7;
        r.components[0].requiredQty += 1.5;
        r.isChanged = true;
    }
    // A merge of two bars of the same item and step, and a split.
    int target = 0, absorbed = 0;
    for (std::size_t a = 3; a < other.size() && !absorbed; ++a)
        for (std::size_t b = a + 1; b < other.size() && !absorbed; ++b) {
            const plan::PlanRecord &x = plan[other[a]], &y = plan[other[b]];
            if (x.itemCode == y.itemCode && x.processSeq == y.processSeq && x.planItemCode == y.planItemCode && x.modelName == y.modelName)
                std::tie(target, absorbed) = std::pair{other[a], other[b]};
        }
    ASSERT_NE(absorbed, 0) << "the demo plant has no two bars to merge";
    const std::int64_t moved = plan[absorbed].orderQty;
    plan::PlanRecord& m = plan.edit(target);
    m.orderQty += moved;
    m.membersA[0].orderQty += moved;
    m.isChanged = true;
    plan::PlanRecord& gone = plan.edit(absorbed);
    gone.orderNo = gone.orderQty = 0;
    gone.isMergedAway = true;

    plan::PlanRecord& src = plan.edit(last.back());
    plan::PlanRecord copy = src;
    const std::int64_t half = src.orderQty / 2;
    src.orderQty -= half;
    src.membersA[0].orderQty -= half;
    src.isChanged = true;
    copy.barIndex = plan.largestBarIndex() + 1;
    copy.orderNo = copy.membersA[0].orderNo = -1;
    copy.membersA[0].newOrderNo = src.membersA[0].orderNo;
    copy.orderQty = copy.membersA[0].orderQty = half;
    copy.setStart(src.end());
    copy.setEnd(src.end().addMinutes(90));
    copy.isChanged = true;
    plan.append(copy);

    prompt.answers = {true};  // moved bars may meet their mould on another machine
    const SaveResult result = save();
    ASSERT_EQ(result.outcome, SaveOutcome::Saved) << result.error.toStdString();
    EXPECT_EQ(result.ordersCreated, 1);

    const plan::PlanData saved = plan;
    loadAndArrange();
    const auto mine = byOrder(saved), theirs = byOrder(plan);
    EXPECT_EQ(mine.keys(), theirs.keys());
    EXPECT_GT(mine.size(), 50);
    for (auto it = mine.cbegin(); it != mine.cend(); ++it) {
        EXPECT_TRUE(it.value() == theirs.value(it.key())) << "order " << it.key();
        EXPECT_EQ(saved.loadedStamps.value(it.key()), plan.loadedStamps.value(it.key())) << "order " << it.key();
    }
    EXPECT_EQ(save().outcome, SaveOutcome::NothingToSave);
}

SAVE_ON_EVERY_KIND(DemoRoundTrip);

}  // namespace
