// On the demo plant: what the planner holds after a save is what the next
// load of the database gives.

#include "SaveFixture.h"
#include "demoplant/DemoPlant.h"

#include <algorithm>

using namespace savetest;

namespace {

class DemoRoundTrip : public ::testing::TestWithParam<db::Kind> {
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
        demoplant::generateDemoPlant(*t.db, o);
        settings.PeriodStart = o.baseDate.addDays(-7);
        settings.PeriodEnd = o.baseDate.addDays(30);
    }
    void load(plan::PlanData& into)
    {
        planner = core::Planner();
        plan::loading::loadAndArrange(*t.db, settings, planner, into, prompt);
    }
    // Live records by order number, with what only the chart owns set aside.
    static QMap<qint64, plan::PlanRecord> byOrder(const plan::PlanData& p)
    {
        QMap<qint64, plan::PlanRecord> out;
        for (int i = 2; i <= p.size(); ++i) {
            plan::PlanRecord r = p[i];
            if (r.isMergedAway || r.isDeleted || r.orderNo == 0) continue;
            r.barIndex = 0;
            r.inScheduleList = false;
            out.insert(r.orderNo, r);
        }
        return out;
    }

    testing_support::TestDb t;
    core::ProgramSettings settings = plantSettings();
    core::Planner planner;
    testing_support::ScriptedPrompt prompt;
};

// A free, placed bar of one order that no set and no result ties down.
bool movable(const plan::PlanRecord& r)
{
    return r.confirmKind == QStringLiteral("2") && r.fixKind == QStringLiteral("0") && r.hasMachine() && r.setRepOrderNo == 0 &&
           r.receivedQty == 0 && !r.usesGroupB() && r.memberOrderNo[1] == 0 && r.orderQty > 1;
}

TEST_P(DemoRoundTrip, SavedPlanEqualsTheNextLoad)
{
    plan::PlanData plan;
    load(plan);
    ASSERT_GT(plan.size(), 50);
    // Bars that end last on their machine can move later without meeting
    // another bar, so the next load has nothing to rearrange.
    QHash<QString, int> lastOnMachine;
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (r.confirmKind != QStringLiteral("2") || !r.hasMachine()) continue;
        const int last = lastOnMachine.value(r.machineCode, 0);
        if (last == 0 || plan[last].end() < r.end()) lastOnMachine.insert(r.machineCode, i);
    }
    std::vector<int> last, free;
    for (int i : lastOnMachine)
        if (movable(plan[i])) last.push_back(i);
    std::sort(last.begin(), last.end());
    for (int i = 2; i <= plan.size(); ++i)
        if (movable(plan[i]) && std::find(last.begin(), last.end(), i) == last.end()) free.push_back(i);
    ASSERT_GE(last.size(), 3u);
    ASSERT_GE(free.size(), 10u);

    // Moves, a quantity change, remarks, a merge and a split.
    for (std::size_t k = 0; k + 1 < last.size(); ++k) {
        plan::PlanRecord& r = plan.edit(last[k]);
        r.setStart(r.start().addMinutes(60 * int(k + 1)));
        r.setEnd(r.end().addMinutes(60 * int(k + 1)));
        r.isChanged = true;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        plan::PlanRecord& r = plan.edit(free[k]);
        r.remarks = QStringLiteral("確認%1").arg(k);
        r.fixKind = QStringLiteral("1");
        r.isChanged = true;
    }
    {
        plan::PlanRecord& r = plan.edit(free[3]);
        r.orderQty += 7;
        r.memberOrderQty[0] += 7;
        r.compRequiredQty[0] += 1.5;
        r.isChanged = true;
    }
    int target = 0, absorbed = 0;
    for (std::size_t a = 4; a < free.size() && !absorbed; ++a)
        for (std::size_t b = a + 1; b < free.size() && !absorbed; ++b)
            if (plan[free[a]].itemCode == plan[free[b]].itemCode && plan[free[a]].processSeq == plan[free[b]].processSeq &&
                plan[free[a]].planItemCode == plan[free[b]].planItemCode && plan[free[a]].modelName == plan[free[b]].modelName) {
                target = free[a];
                absorbed = free[b];
            }
    ASSERT_NE(absorbed, 0) << "the demo plant has no two bars to merge";
    {
        const plan::PlanRecord gone = plan[absorbed];
        plan::PlanRecord& m = plan.edit(target);
        m.orderQty += gone.orderQty;
        m.memberOrderQty[0] += gone.memberOrderQty[0];
        m.isChanged = true;
        plan::PlanRecord& s = plan.edit(absorbed);
        s.isChanged = false;
        s.orderNo = 0;
        s.orderQty = 0;
        s.isMergedAway = true;
    }
    const int splitFrom = last.back();
    {
        plan::PlanRecord& src = plan.edit(splitFrom);
        plan::PlanRecord copy = src;
        const std::int64_t moved = src.orderQty / 2;
        src.orderQty -= moved;
        src.memberOrderQty[0] -= moved;
        src.isChanged = true;
        copy.barIndex = plan.largestBarIndex() + 1;
        copy.orderNo = copy.memberOrderNo[0] = -1;
        copy.memberNewOrderNo[0] = src.memberOrderNo[0];
        copy.orderQty = copy.memberOrderQty[0] = moved;
        copy.setStart(src.end());
        copy.setEnd(src.end().addMinutes(90));
        copy.isChanged = true;
        plan.append(copy);
    }

    reschedule::saving::ChangedCalendarDays none;
    prompt.answers = {true};  // moved bars may meet their mould elsewhere
    const SaveResult result = reschedule::saving::saveScheduleAt(*t.db, settings, planner, plan, prompt, none, saveMoment());
    ASSERT_EQ(result.outcome, SaveOutcome::Saved) << result.error.toStdString();
    EXPECT_EQ(result.ordersCreated, 1);

    plan::PlanData reloaded;
    load(reloaded);
    const auto mine = byOrder(plan), theirs = byOrder(reloaded);
    EXPECT_EQ(mine.keys(), theirs.keys());
    int compared = 0;
    for (auto it = mine.cbegin(); it != mine.cend(); ++it) {
        if (!theirs.contains(it.key())) continue;
        const plan::PlanRecord& a = it.value();
        const plan::PlanRecord& b = theirs[it.key()];
        EXPECT_TRUE(a == b) << "order " << it.key() << ": " << a.machineCode.toStdString() << " " << a.start().toDisplayText().toStdString()
                            << " / " << b.machineCode.toStdString() << " " << b.start().toDisplayText().toStdString();
        EXPECT_EQ(plan.loadedStamps.value(it.key()), reloaded.loadedStamps.value(it.key())) << "order " << it.key();
        ++compared;
    }
    EXPECT_GT(compared, 50);

    // Saved once, nothing is left to save.
    EXPECT_EQ(reschedule::saving::saveScheduleAt(*t.db, settings, planner, plan, prompt, none, saveMoment()).outcome,
              SaveOutcome::NothingToSave);
}

SAVE_ON_EVERY_KIND(DemoRoundTrip);

}  // namespace
