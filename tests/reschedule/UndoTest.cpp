// Undo and redo: single steps of the history, and random sequences of
// rescheduling actions taken back and done again as a whole.
#include "RuleTestSupport.h"

#include "reschedule/Arranging.h"
#include "reschedule/Expand.h"
#include "reschedule/GridDrag.h"
#include "reschedule/GridEdit.h"
#include "reschedule/Merge.h"
#include "reschedule/DetailForm.h"
#include "reschedule/Requirement.h"
#include "reschedule/SetMembers.h"
#include "reschedule/Split.h"
#include "reschedule/UndoStep.h"

#include <functional>
#include <random>
#include <vector>

using namespace rules_test;
using reschedule::runStep;

namespace {

// State outside the plan rides in the same linear history.
class Counter : public plan::StepAttachment {
public:
    Counter(int& live, int held, std::vector<int>& order, int id) : live_(live), held_(held), order_(order), id_(id) {}
    void swap() override
    {
        std::swap(live_, held_);
        order_.push_back(id_);
    }

private:
    int& live_;
    int held_;
    std::vector<int>& order_;
    int id_;
};

TEST(History, AttachmentsSwapWithTheirStep)
{
    plan::PlanData plan;
    plan::PlanHistory history(plan);
    plan::PlanRecord r;
    r.barIndex = 2;
    plan.append(r);
    int a = 1, b = 10;
    std::vector<int> order;

    history.begin("calendar only");
    history.attach(std::make_unique<Counter>(a, a, order, 1));
    a = 2;
    history.attach(std::make_unique<Counter>(b, b, order, 2));
    b = 20;
    EXPECT_TRUE(history.end());  // no record changed, still a step

    history.begin("records");
    plan.edit(2).orderQty = 5;
    EXPECT_TRUE(history.end());

    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(1, 10));
    EXPECT_EQ(order, (std::vector<int>{2, 1}));  // backwards on the way back
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(2, 20));
    EXPECT_EQ(plan[2].orderQty, 0);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(plan[2].orderQty, 5);

    history.begin("refused");
    history.attach(std::make_unique<Counter>(a, a, order, 3));
    a = 99;
    history.abandon();
    EXPECT_EQ(a, 2);
    history.attach(std::make_unique<Counter>(a, a, order, 4));  // no open step: ignored
    EXPECT_EQ(history.stepCount(), 2);
}

TEST(History, StepsUndoRedoAbandonAndTheCleanState)
{
    plan::PlanData plan;
    plan::PlanHistory history(plan);
    plan::PlanRecord r;
    r.barIndex = 2;
    plan.append(r);
    const plan::PlanData loaded = plan;

    history.begin("a");
    plan.edit(2).orderQty = 5;
    r.barIndex = 3;
    plan.append(r);
    plan.edit(3).orderQty = 7;  // a record appended in the step, changed again
    EXPECT_TRUE(history.end());
    const plan::PlanData after = plan;
    EXPECT_FALSE(history.isClean());

    history.begin("nothing");
    plan.edit(2);  // touched, unchanged
    EXPECT_FALSE(history.end());
    EXPECT_EQ(history.stepCount(), 1);

    EXPECT_TRUE(history.undo());
    EXPECT_EQ(plan, loaded);
    EXPECT_EQ(plan.findByBarIndex(3), 0);
    EXPECT_TRUE(history.isClean());
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(plan, after);
    EXPECT_EQ(plan.findByBarIndex(3), 3);
    history.setClean();

    history.begin("refused");
    plan.edit(2).orderQty = 99;
    r.barIndex = 4;
    plan.append(r);
    history.abandon();
    EXPECT_EQ(plan, after);
    EXPECT_EQ(plan.findByBarIndex(4), 0);
    EXPECT_FALSE(history.isOpen());

    // A new step after an undo drops the redo branch; the saved state is then out of reach.
    history.undo();
    history.begin("b");
    plan.edit(2).orderQty = 1;
    history.end();
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.isClean());
    history.undo();
    EXPECT_FALSE(history.isClean());
}

TEST(History, TimeAndPlacementImagesMixWithWholeImagesInOneStep)
{
    plan::PlanData plan;
    plan::PlanHistory history(plan);
    plan::PlanRecord r;
    r.machineCode = "M1";
    for (int bar = 2; bar <= 6; ++bar) {
        r.barIndex = bar;
        r.startDate = core::Date::fromYmd(2024, 4, bar);
        plan.append(r);
    }
    const plan::PlanData loaded = plan;
    const core::Date day = core::Date::fromYmd(2024, 5, 1);

    // Each record grows from a smaller image to a bigger one within the step;
    // undo must give back the state before the step's first edit of it.
    const auto changeAll = [&] {
        plan.editTimes(2).startDate = day;              // times, then placement, then whole
        plan.editPlacement(2).machineCode = " ";
        plan.edit(2).orderQty = 4;
        plan.editTimes(3).endDate = day;                // times, then whole
        plan.edit(3).remarks = "x";
        plan.editTimes(3).isChanged = true;             // smaller edits after a whole one stay whole
        plan.editPlacement(4).workMinutes = 9;          // placement, then times
        plan.editTimes(4).startDate = day;
        plan.editTimes(5).startDate = day;              // times only
        plan.editTimes(6).startDate = day;              // changed and put back: not part of the step
        plan.editTimes(6).startDate = loaded[6].startDate;
    };
    history.begin("push");
    changeAll();
    EXPECT_TRUE(history.end());
    const plan::PlanData after = plan;
    history.undo();
    EXPECT_EQ(plan, loaded);
    history.redo();
    EXPECT_EQ(plan, after);
    history.undo();

    history.begin("refused");
    changeAll();
    history.abandon();
    EXPECT_EQ(plan, loaded);

    history.begin("same again");
    plan.editTimes(3).isChanged = false;
    plan.editPlacement(2).isChanged = false;
    EXPECT_FALSE(history.end());
}

// A record with every field a narrow edit may change set, and members in both groups.
plan::PlanRecord narrowEditSample()
{
    plan::PlanRecord r;
    r.barIndex = 2;
    r.orderNo = 101;
    r.setStart(core::Moment::of(core::Date::fromYmd(2024, 5, 2), core::TimeOfDay::fromHms(8, 0)));
    r.setEnd(core::Moment::of(core::Date::fromYmd(2024, 5, 2), core::TimeOfDay::fromHms(12, 0)));
    r.machineCode = "M1";
    r.destCode = "D1";
    r.inOutKind = plan::InOutKind::InHouse;
    r.setupMinutes = 15;
    r.workMinutes = 225;
    r.cycle = 30;
    r.pieceSeconds = 15;
    r.mouldNo = "K1";
    r.orderQty = 150;
    r.membersA = {plan::MemberOrder{.orderNo = 101, .orderQty = 100}, plan::MemberOrder{}, plan::MemberOrder{.orderNo = 102, .orderQty = 50}};
    r.membersB = {plan::MemberOrder{.orderNo = 201, .orderQty = 7}};
    r.components = {plan::Component{.itemCode = "C1", .requiredQty = 3}};
    return r;
}

struct NarrowChange {
    const char* field;
    std::function<void(plan::PlanRecord&)> change;
};

// What editTimes may change, each field on its own.
const std::vector<NarrowChange>& timeChanges()
{
    static const std::vector<NarrowChange> changes = {
        {"startDate", [](plan::PlanRecord& r) { r.startDate = r.startDate.addDays(-1); }},
        {"startTime", [](plan::PlanRecord& r) { r.startTime = core::TimeOfDay::fromHms(7, 30); }},
        {"endDate", [](plan::PlanRecord& r) { r.endDate = r.endDate.addDays(1); }},
        {"endTime", [](plan::PlanRecord& r) { r.endTime = core::TimeOfDay::fromHms(13, 0); }},
        {"isChanged", [](plan::PlanRecord& r) { r.isChanged = true; }},
    };
    return changes;
}

// What editPlacement may change beyond the times.
const std::vector<NarrowChange>& placementChanges()
{
    static const std::vector<NarrowChange> changes = {
        {"machineCode", [](plan::PlanRecord& r) { r.machineCode = "M2"; }},
        {"destCode", [](plan::PlanRecord& r) { r.destCode = "S1"; }},
        {"inOutKind", [](plan::PlanRecord& r) { r.inOutKind = plan::InOutKind::Outside; }},
        {"setupMinutes", [](plan::PlanRecord& r) { r.setupMinutes = 20; }},
        {"workMinutes", [](plan::PlanRecord& r) { r.workMinutes = 240; }},
        {"cycle", [](plan::PlanRecord& r) { r.cycle = 32.5; }},
        {"pieceSeconds", [](plan::PlanRecord& r) { r.pieceSeconds = 16.25; }},
        {"isEdited", [](plan::PlanRecord& r) { r.isEdited = true; }},
        {"mouldNo", [](plan::PlanRecord& r) { r.mouldNo = "K2"; }},
        {"orderQty", [](plan::PlanRecord& r) { r.orderQty = 160; }},
        {"group A quantity", [](plan::PlanRecord& r) { r.membersA[2].orderQty = 60; }},
        {"group A free slot quantity", [](plan::PlanRecord& r) { r.membersA[1].orderQty = 1; }},
        {"group B quantity", [](plan::PlanRecord& r) { r.membersB[0].orderQty = 8; }},
    };
    return changes;
}

// Each field a narrow edit may change is changed through that edit alone: the
// step is kept, undo gives back the whole record as it was and redo the change.
void expectNarrowEditsUndone(const std::vector<NarrowChange>& changes, plan::PlanRecord& (plan::PlanData::*edit)(int))
{
    for (const NarrowChange& c : changes) {
        plan::PlanData plan;
        plan::PlanHistory history(plan);
        const int i = plan.append(narrowEditSample());
        const plan::PlanRecord before = plan[i];
        history.begin("edit");
        c.change((plan.*edit)(i));
        const plan::PlanRecord after = plan[i];
        ASSERT_FALSE(after == before) << c.field;
        EXPECT_TRUE(history.end()) << c.field << ": the step kept nothing";
        history.undo();
        EXPECT_TRUE(plan[i] == before) << c.field << " not put back by undo";
        history.redo();
        EXPECT_TRUE(plan[i] == after) << c.field << " not done again by redo";
    }
}

TEST(History, TimesEditsAreUndoneFieldByField)
{
    expectNarrowEditsUndone(timeChanges(), &plan::PlanData::editTimes);
}

TEST(History, PlacementEditsAreUndoneFieldByField)
{
    expectNarrowEditsUndone(timeChanges(), &plan::PlanData::editPlacement);
    expectNarrowEditsUndone(placementChanges(), &plan::PlanData::editPlacement);
}

TEST(History, CopiesOfThePlanAreSnapshotsOutsideTheHistory)
{
    plan::PlanData plan;
    plan::PlanHistory history(plan);
    plan.append(plan::PlanRecord{});
    plan::PlanData copy = plan;
    history.begin("x");
    copy.edit(2).orderQty = 3;  // must not enter plan's step
    EXPECT_FALSE(history.end());
    EXPECT_EQ(copy.history(), nullptr);
}

// Answers every question at random.
class RandomPrompt : public core::Prompt {
public:
    explicit RandomPrompt(std::mt19937& rng) : rng_(rng) {}
    bool askYesNo(const QString&, const QString&, bool) override { return rng_() % 4 != 0; }
    void tell(const QString&, const QString&, Icon) override {}
private:
    std::mt19937& rng_;
};

// A detail window over an order without links, neighbours or variants.
class NoDetails : public reschedule::OrderDetailLookup {
public:
    std::vector<reschedule::RelatedOrder> relatedOrders(std::int64_t) override { return {}; }
    reschedule::NeighbourTimes neighbourTimes(std::int64_t, std::int64_t) override { return {}; }
    std::vector<reschedule::BomVariant> variants(const QString&, int) override { return {}; }
    std::optional<reschedule::ItemNames> itemNames(const QString&) override { return std::nullopt; }
};

// What a planner does in the detail window before "変更完了": times, quantity, work, machine, kinds.
reschedule::RuleOutcome detailApply(reschedule::RuleContext& ctx, int i, std::mt19937& rng)
{
    NoDetails none;
    reschedule::DetailForm f = reschedule::openDetail(ctx, none, i);
    reschedule::DetailBoxes& b = f.boxes;
    if (rng() % 2) {
        b.startTime = QStringLiteral("%1:%2").arg(8 + int(rng() % 9)).arg(int(rng() % 4) * 15);
        reschedule::enterBox(ctx, f, reschedule::DetailBox::StartTime);
    }
    if (rng() % 2) {
        b.orderQty = QString::number(10 + int(rng() % 300));
        reschedule::enterBox(ctx, f, reschedule::DetailBox::OrderQty);
    }
    if (rng() % 3 == 0) {
        b.workMinutes = QString::number(20 + int(rng() % 400));
        reschedule::enterBox(ctx, f, reschedule::DetailBox::WorkMinutes);
    }
    if (rng() % 3 == 0) {
        b.endTime = QStringLiteral("%1:00").arg(9 + int(rng() % 8));
        reschedule::enterBox(ctx, f, reschedule::DetailBox::EndTime);
    }
    if (rng() % 4 == 0) b.machineCode = QStringList{"M1", "M2", ""}[int(rng() % 3)];
    if (rng() % 5 == 0) b.fixKind = QString::number(rng() % 3);
    if (rng() % 5 == 0) b.remarks = QStringLiteral("変更%1").arg(rng() % 10);
    if (!reschedule::quantityAccepted(ctx, f) || reschedule::checkClose(ctx, f).kind != reschedule::CloseCheck::Kind::Apply)
        return reschedule::RuleOutcome::refusal();
    return reschedule::applyDetail(ctx, f);
}

// A split of a bar's lots with random counts, when the checks let it through.
reschedule::RuleOutcome randomSplit(reschedule::RuleContext& ctx, int i, std::mt19937& rng)
{
    const plan::PlanRecord& r = ctx.plan[i];
    if (r.isMergedAway || r.isDeleted || r.setRepOrderNo != 0) return reschedule::RuleOutcome::refusal();
    reschedule::SplitLots lots = reschedule::splitLotsOf(r);
    for (reschedule::LotLine& l : lots.inner) l.count = l.quantity > 0 ? std::int64_t(rng() % std::uint64_t(l.quantity + 1)) : 0;
    if (reschedule::checkSplit(lots)) return reschedule::RuleOutcome::refusal();
    return reschedule::splitOrder(ctx, i, lots);
}

class UndoProperty : public RuleTest {};

TEST_F(UndoProperty, RandomActionsUndoneGiveBackTheLoadedPlanAndRedoTheResult)
{
    int detailSteps = 0, splitSteps = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        plan = plan::PlanData{};
        const QStringList rows = {"M1", "M2", "S1", "", " "};
        for (int k = 0; k < 24; ++k) {
            const int i = addBar(100 + k, rows[int(rng() % 2)], at(2 + int(rng() % 4), 8 + int(rng() % 8)), 30 + int(rng() % 5) * 45,
                                 50 + int(rng() % 5) * 10);
            rec(i).pieceSeconds = 30;
            rec(i).fixKind = rng() % 8 == 0 ? (rng() % 2 == 0 ? plan::FixKind::BackFixed : plan::FixKind::FullyFixed) : plan::FixKind::Free;
            rec(i).planItemCode = rec(i).itemCode2 = rng() % 2 ? "P" : "Q";
            rec(i).components = {plan::Component{.itemCode = "C"}};
            lookup.rules[{100 + k, "C"}] = reschedule::RequirementRule{"2", 0, 1, 3, 0};
        }
        // A set: record 4 (order 102) leads, record 5 (order 103) follows.
        for (int k : {4, 5}) rec(k).setRepOrderNo = 102;
        rec(5).isSetMember = true;
        rec(5).machineCode = plan[4].machineCode;
        rec(5).setStart(plan[4].start());
        rec(5).setEnd(plan[4].end());
        lookup.cycles[{"ITEM105", 10, "M2"}] = 20;
        RandomPrompt answers(rng);
        reschedule::RuleContext rctx{planner, plan, answers, lookup, settings};
        ASSERT_TRUE(reschedule::checkConsistency(plan).isEmpty());
        const plan::PlanData loaded = plan;

        int steps = 0;
        for (int a = 0; a < 40; ++a) {
            const int i = 2 + int(rng() % (plan.size() - 1));
            const int j = 2 + int(rng() % (plan.size() - 1));
            auto d = dropAt(i, rows[int(rng() % rows.size())], at(1 + int(rng() % 6), 7 + int(rng() % 11), 5 * int(rng() % 12)));
            reschedule::RuleOutcome out;
            switch (rng() % 10) {
            case 0: case 1: out = runStep(history, "move", [&] { return reschedule::dropBar(rctx, d); }); break;
            case 2: out = runStep(history, "merge", [&] { return reschedule::mergeBars(rctx, d, j); }); break;
            case 3: out = runStep(history, "expand", [&] { return reschedule::expandRow(rctx, 1 + int(rng() % 4)); }); break;
            case 4: out = runStep(history, "grid", [&] { return reschedule::dropGridRow(rctx, i, j); }); break;
            case 5:
                out = runStep(history, "quantity", [&] {
                    reschedule::RuleOutcome o;
                    if (plan[i].isMergedAway || plan[i].isDeleted) return o;
                    reschedule::setOrderQuantity(plan.edit(i), plan[i].orderQty + 10);
                    reschedule::recalcRequirements(rctx, i, o);
                    return o;
                });
                break;
            case 6:
                out = runStep(history, "detail", [&] { return plan[i].isMergedAway ? reschedule::RuleOutcome::refusal() : detailApply(rctx, i, rng); });
                detailSteps += out.changed ? 1 : 0;
                break;
            case 7:
                out = runStep(history, "split", [&] { return randomSplit(rctx, i, rng); });
                splitSteps += out.changed ? 1 : 0;
                break;
            case 8: {
                // An edit of the plan grid, valid or not.
                const auto field = reschedule::GridField(rng() % 6);
                static const QStringList texts = {"確定", "予定", "0", "1", "2", "150", "-1", "2024/04/03 12:20", "2024/04/05",
                                                  "3", "急ぎ", "x"};
                const QString text = texts[int(rng() % texts.size())];
                out = runStep(history, "grid edit", [&] { return reschedule::editGridCell(rctx, i, field, text); });
                break;
            }
            case 9: {
                std::vector<int> rows;
                for (int k = 2; k <= plan.size(); ++k)
                    if (rng() % 3 == 0) rows.push_back(k);
                const auto kind = rng() % 2 ? plan::ConfirmKind::Confirmed : plan::ConfirmKind::Planned;
                out = runStep(history, "bulk", [&] { return reschedule::bulkChangeConfirmKind(rctx, rows, kind); });
                break;
            }
            }
            steps += out.changed ? 1 : 0;
            const QStringList problems = reschedule::checkConsistency(plan);
            ASSERT_TRUE(problems.isEmpty()) << "seed " << seed << " action " << a << ": " << problems.join("; ").toStdString();
            ASSERT_TRUE(rctx.rowIndex().matchesFreshBuild());
        }
        ASSERT_EQ(history.stepCount(), steps);
        const plan::PlanData done = plan;
        while (history.undo()) ASSERT_TRUE(rctx.rowIndex().matchesFreshBuild());
        ASSERT_EQ(plan, loaded) << "seed " << seed;
        while (history.redo()) {}
        ASSERT_EQ(plan, done) << "seed " << seed;
        ASSERT_TRUE(rctx.rowIndex().matchesFreshBuild());
    }
    EXPECT_GT(detailSteps, 10);
    EXPECT_GT(splitSteps, 5);
}

}  // namespace
