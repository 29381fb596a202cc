// Editing the plan grid in place and the bulk change of the confirmation kind:
// refusals, the placing rules each edit shares with the drag and the detail
// window, and one undo step that gives the table back field for field.
#include "RuleTestSupport.h"

#include "reschedule/GridEdit.h"
#include "reschedule/Quantity.h"
#include "reschedule/UndoStep.h"

using namespace rules_test;
using reschedule::GridField;
using reschedule::editGridCell;

namespace {

class GridEdit : public RuleTest {
protected:
    reschedule::RuleOutcome edit(int i, GridField f, const QString& text)
    {
        return reschedule::runStep(history, "edit", [&] { return editGridCell(ctx, i, f, text); });
    }
    // A set: representative on M1 and one member following it.
    std::pair<int, int> addSet(std::int64_t repNo, Moment start)
    {
        const int rep = addBar(repNo, "M1", start, 60);
        const int member = addBar(repNo + 1, "M1", start, 60);
        rec(rep).setRepOrderNo = rec(member).setRepOrderNo = repNo;
        rec(member).isSetMember = true;
        return {rep, member};
    }
};

TEST_F(GridEdit, SetMembersAndFullyFixedOrdersRefuseEveryColumn)
{
    const auto [rep, member] = addSet(1, at(2, 8));
    const int fixed = addBar(3, "M2", at(2, 8), 60);
    const int gone = addBar(4, "M2", at(3, 8), 60);
    rec(fixed).fixKind = plan::FixKind::FullyFixed;
    rec(gone).isDeleted = true;
    const plan::PlanData loaded = plan;
    const std::vector<std::pair<GridField, QString>> edits = {
        {GridField::ConfirmKind, "予定"}, {GridField::FixKind, "0"},   {GridField::OrderQty, "500"},
        {GridField::Start, "2024/04/05 08:00"}, {GridField::Persons, "2"}, {GridField::Remarks, "急ぎ"}};
    for (const auto& [field, text] : edits) {
        prompt.told.clear();
        EXPECT_TRUE(edit(member, field, text).refused);
        EXPECT_TRUE(edit(fixed, field, text).refused);
        EXPECT_TRUE(edit(gone, field, text).refused);
        EXPECT_EQ(prompt.told, QStringList({"セット品手配は、代表手配のみ変更可能です。", "2:完全固定の手配は、入力不可です。"}));
    }
    EXPECT_EQ(plan, loaded);
    EXPECT_EQ(history.stepCount(), 0);
    EXPECT_FALSE(edit(rep, GridField::Remarks, "急ぎ").refused) << "the representative takes edits";
}

TEST_F(GridEdit, ConfirmAndFixKindsChangeOnlyWhatDiffersAndSetMembersFollow)
{
    const auto [rep, member] = addSet(1, at(2, 8));
    const int unplaced = addBar(3, " ", at(1, 8), 60);
    const int outside = addBar(4, " ", at(3, 8), 60);
    rec(unplaced).confirmKind = rec(outside).confirmKind = plan::ConfirmKind::Planned;
    rec(outside).inOutKind = plan::InOutKind::Outside;
    rec(outside).destCode = "S1";
    rec(rep).fixKindOtherText = "9";
    rec(rep).fixKind = plan::FixKind::Other;

    // The same kind again is no change and no step.
    EXPECT_TRUE(edit(rep, GridField::ConfirmKind, "確定").touched.empty());
    EXPECT_EQ(history.stepCount(), 0);

    EXPECT_TRUE(edit(rep, GridField::ConfirmKind, "予定").changed);
    for (int i : {rep, member}) {
        EXPECT_EQ(plan[i].confirmKind, plan::ConfirmKind::Planned);
        EXPECT_TRUE(plan[i].isChanged && plan[i].isEdited);
    }
    EXPECT_TRUE(edit(rep, GridField::FixKind, "１:後ろ固定").changed);  // full-width digit as typed
    EXPECT_EQ(plan[member].fixKind, plan::FixKind::BackFixed);
    EXPECT_TRUE(plan[rep].fixKindOtherText.isEmpty());

    // Confirmed needs a place: a supplier is one, the unplaced row is not.
    EXPECT_TRUE(edit(unplaced, GridField::ConfirmKind, "確定").refused);
    EXPECT_EQ(prompt.told, QStringList{"機械または外注先に配置されていない手配は確定できません。"});
    EXPECT_FALSE(plan[unplaced].isChanged);
    EXPECT_TRUE(edit(outside, GridField::ConfirmKind, "確定").changed);
    EXPECT_TRUE(edit(outside, GridField::FixKind, "固定").refused) << "not one of the kinds";
    expectSound();
}

TEST_F(GridEdit, QuantityAsksForTheWorkTimeAndRecomputesComponents)
{
    const int i = addBar(1, "M1", at(2, 8), 50);
    const int behind = addBar(2, "M1", at(2, 9), 60);
    rec(i).pieceSeconds = 30;
    rec(i).components = {plan::Component{.itemCode = "C", .requiredQty = 34}};
    lookup.rules[{1, "C"}] = reschedule::RequirementRule{"2", 0, 1, 3, 0};

    // No: the work time stays, the components follow the quantity.
    prompt.answers = {false};
    EXPECT_TRUE(edit(i, GridField::OrderQty, "１，２００").changed);  // full-width digits and separator
    EXPECT_EQ(prompt.asked, QStringList{"作業時間・終了時間の調整を行ないますか？"});
    EXPECT_EQ(plan[i].orderQty, 1200);
    EXPECT_EQ(plan[i].membersA[0].orderQty, 1200);
    EXPECT_EQ(plan[i].workMinutes, 50);
    EXPECT_EQ(plan[i].components[0].requiredQty, 400);  // 1200 ÷ 3, rounded up
    EXPECT_TRUE(plan[i].isChanged && plan[i].isEdited);

    // Yes: 200 pieces of 30 s = 100 minutes from the start; the bar behind is
    // pushed when the planner agrees.
    prompt.answers = {true, true};
    EXPECT_TRUE(edit(i, GridField::OrderQty, "200").changed);
    EXPECT_EQ(plan[i].workMinutes, 100);
    EXPECT_EQ(plan[i].end(), at(2, 9, 40));
    EXPECT_EQ(plan[i].components[0].requiredQty, 67);
    EXPECT_EQ(plan[behind].start(), at(2, 9, 45)) << "pushed behind, on the grid";
    EXPECT_EQ(prompt.asked.size(), 3);

    // Refusals with the detail window's texts; the same quantity asks nothing.
    prompt.told.clear();
    for (const QString& bad : {QString(""), QString("0"), QString("-5"), QString("12x"), QString("100000000")})
        EXPECT_TRUE(edit(i, GridField::OrderQty, bad).refused) << bad.toStdString();
    EXPECT_EQ(prompt.told, QStringList({"手配数は省略もしくは０は入力できません。", "手配数は省略もしくは０は入力できません。",
                                        "手配数は省略もしくは０は入力できません。", "手配数を正しく入力して下さい。",
                                        "手配数を正しく入力して下さい。"}));
    EXPECT_TRUE(edit(i, GridField::OrderQty, "200").touched.empty());
    EXPECT_EQ(prompt.asked.size(), 3);
    expectSound();
}

TEST_F(GridEdit, QuantityOfASetRepresentativeGivesItsMembersTheirShare)
{
    const auto [rep, member] = addSet(1, at(2, 8));
    rec(rep).cavities = 2;
    rec(member).cavities = 1;
    rec(member).components = {plan::Component{.itemCode = "M"}};
    lookup.rules[{2, "M"}] = reschedule::RequirementRule{"1", 0, 2, 1, 0};
    // A merged bar of two orders: the quantities keep their shares.
    const int merged = addBar(5, "M2", at(2, 8), 60);
    rec(merged).orderQty = 300;
    rec(merged).membersA = {plan::MemberOrder{.orderNo = 5, .orderQty = 100}, plan::MemberOrder{.orderNo = 6, .orderQty = 200}};

    prompt.answers = {false, false};
    EXPECT_TRUE(edit(rep, GridField::OrderQty, "400").changed);
    EXPECT_EQ(plan[member].orderQty, 200);  // 400 ÷ 2 cavities × 1
    EXPECT_EQ(plan[member].components[0].requiredQty, 400);
    EXPECT_TRUE(edit(merged, GridField::OrderQty, "600").changed);
    EXPECT_EQ(plan[merged].membersA[0].orderQty + plan[merged].membersA[1].orderQty, 600);
    EXPECT_EQ(plan[merged].membersA[1].orderQty, 400);
    expectSound();
}

TEST_F(GridEdit, StartIsPlacedAsADropThereWouldBe)
{
    const int i = addBar(1, "M1", at(2, 8), 60);
    const int next = addBar(2, "M1", at(3, 13), 60);
    const int back = addBar(3, "M2", at(3, 9), 60);
    const int unplaced = addBar(4, " ", at(1, 8), 60);
    rec(back).fixKind = plan::FixKind::BackFixed;

    // Inside the lunch break: up to the grid, then onto working time; the bar
    // now running into the next one pushes it when the planner agrees.
    prompt.answers = {true};
    EXPECT_TRUE(edit(i, GridField::Start, "２０２４/０４/０３ １２:２０").changed);
    EXPECT_EQ(plan[i].start(), at(3, 13));
    EXPECT_EQ(plan[i].end(), at(3, 14));
    EXPECT_EQ(plan[next].start(), at(3, 14));
    EXPECT_TRUE(plan[i].isEdited);
    // A date alone keeps the time of day.
    EXPECT_TRUE(edit(i, GridField::Start, "2024/04/05").changed);
    EXPECT_EQ(plan[i].start(), at(5, 13));

    // Back-fixed: earlier yes, later no.
    EXPECT_TRUE(edit(back, GridField::Start, "2024/04/03 10:00").refused);
    EXPECT_EQ(prompt.told.back(), "終了時間を固定されているので、計画を後ろにずらす事はできません");
    EXPECT_TRUE(edit(back, GridField::Start, "2024/04/03 08:00").changed);

    // An order on no row stays there, its end on the clock.
    EXPECT_TRUE(edit(unplaced, GridField::Start, "2024/04/02 06:05").changed);
    EXPECT_EQ(plan[unplaced].start(), at(2, 6, 15));
    EXPECT_EQ(plan[unplaced].end(), at(2, 7, 15));
    EXPECT_FALSE(plan[unplaced].hasMachine());

    prompt.told.clear();
    EXPECT_TRUE(edit(i, GridField::Start, "2024/13/01 08:00").refused);
    EXPECT_TRUE(edit(i, GridField::Start, "2024/04/03 25:00").refused);
    EXPECT_EQ(prompt.told, QStringList({"日付を正しく入力してください", "時刻を正しく入力してください"}));
    expectSound();
}

TEST_F(GridEdit, PersonsShareTheWorkAndRemarksAreKeptAsTyped)
{
    const int i = addBar(1, "M1", at(2, 8), 100, 200);
    rec(i).pieceSeconds = 30;
    rec(i).requiredPersons = 1;
    EXPECT_TRUE(edit(i, GridField::Persons, "2").changed);
    EXPECT_EQ(plan[i].workMinutes, 50);
    EXPECT_EQ(plan[i].end(), at(2, 8, 50));
    EXPECT_TRUE(edit(i, GridField::Persons, "x").refused);
    EXPECT_EQ(prompt.told.back(), "必要人員を正しく入力して下さい。");

    // Work given in hours only (outside work): its minutes per piece and person stay.
    const int outside = addBar(2, "M2", at(2, 8), 120, 100);
    EXPECT_TRUE(edit(outside, GridField::Persons, "2").changed);
    EXPECT_EQ(plan[outside].workMinutes, 60);
    prompt.answers = {true};
    EXPECT_TRUE(edit(outside, GridField::OrderQty, "150").changed);
    EXPECT_EQ(plan[outside].workMinutes, 90);

    EXPECT_TRUE(edit(i, GridField::Remarks, "客先確認中").changed);
    EXPECT_EQ(plan[i].remarks, "客先確認中");
    EXPECT_TRUE(edit(i, GridField::Remarks, " 客先確認中 ").touched.empty()) << "blanks around are no change";
    EXPECT_TRUE(edit(i, GridField::Remarks, QString(201, u'あ')).refused);
    EXPECT_EQ(prompt.told.back(), "備考は200文字以内で入力して下さい。");
    EXPECT_EQ(plan[i].remarks, "客先確認中");
}

TEST_F(GridEdit, EachEditIsOneStepThatUndoGivesBackFieldForField)
{
    const int i = addBar(1, "M1", at(2, 8), 60);
    const int j = addBar(2, "M1", at(2, 9), 60);
    rec(i).pieceSeconds = 30;
    rec(i).components = {plan::Component{.itemCode = "C", .requiredQty = 34}};
    lookup.rules[{1, "C"}] = reschedule::RequirementRule{"1", 0, 1, 1, 0};
    const plan::PlanData loaded = plan;
    prompt.answers = {true, true, true};
    const std::vector<std::pair<GridField, QString>> edits = {
        {GridField::OrderQty, "300"}, {GridField::Start, "2024/04/02 08:30"}, {GridField::ConfirmKind, "予定"},
        {GridField::FixKind, "1"},     {GridField::Persons, "3"},             {GridField::Remarks, "再製作"}};
    std::vector<plan::PlanData> after;
    for (const auto& [field, text] : edits) {
        ASSERT_TRUE(edit(i, field, text).changed);
        after.push_back(plan);
    }
    EXPECT_EQ(history.stepCount(), int(edits.size()));
    EXPECT_NE(plan[j].start(), loaded[j].start()) << "the pushed bar is part of its step";
    for (int k = int(edits.size()) - 1; k >= 0; --k) {
        ASSERT_EQ(plan, after[std::size_t(k)]);
        history.undo();
    }
    EXPECT_EQ(plan, loaded);
    while (history.redo()) {}
    EXPECT_EQ(plan, after.back());
    expectSound();
}

TEST_F(GridEdit, BulkChangeIsOneStepAndNamesTheRefusedRowsOnce)
{
    const auto [rep, member] = addSet(1, at(2, 8));
    const int a = addBar(3, "M2", at(2, 8), 60);
    const int b = addBar(4, "M2", at(3, 8), 60);
    const int fixed = addBar(5, "M2", at(4, 8), 60);
    const int unplaced = addBar(6, " ", at(1, 8), 60);
    const auto [otherRep, lonelyMember] = addSet(7, at(5, 8));
    (void)otherRep;
    rec(fixed).fixKind = plan::FixKind::FullyFixed;
    for (int k : {rep, member, a, b, unplaced}) rec(k).confirmKind = plan::ConfirmKind::Planned;
    const plan::PlanData loaded = plan;

    const auto out = reschedule::runStep(history, "bulk", [&] {
        return reschedule::bulkChangeConfirmKind(ctx, {b, a, member, rep, fixed, unplaced, lonelyMember}, plan::ConfirmKind::Confirmed);
    });
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(history.stepCount(), 1);
    for (int k : {rep, member, a, b}) EXPECT_TRUE(plan[k].isConfirmed()) << k;
    EXPECT_FALSE(plan[unplaced].isConfirmed());
    ASSERT_EQ(prompt.told.size(), 1);
    EXPECT_EQ(prompt.told[0], "次の手配は変更できませんでした。\n"
                              "手配番号 5：2:完全固定の手配は、入力不可です。\n"
                              "手配番号 6：機械または外注先に配置されていない手配は確定できません。\n"
                              "手配番号 8：セット品手配は、代表手配のみ変更可能です。");
    history.undo();
    EXPECT_EQ(plan, loaded);

    // Nothing that may change: refused, no step.
    prompt.told.clear();
    EXPECT_TRUE(reschedule::runStep(history, "bulk", [&] {
                    return reschedule::bulkChangeConfirmKind(ctx, {fixed}, plan::ConfirmKind::Planned);
                }).refused);
    EXPECT_EQ(prompt.told.size(), 1);
    EXPECT_EQ(plan, loaded);
}

}  // namespace
