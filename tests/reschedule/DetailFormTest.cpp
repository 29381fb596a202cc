// The order detail window's rules without the window: the formulas, Enter in
// each box, components and variants, the close checks and what the record
// takes over.
#include "RuleTestSupport.h"

#include "reschedule/DetailForm.h"
#include "reschedule/DetailMessages.h"
#include "reschedule/UndoStep.h"

using namespace rules_test;
using reschedule::DetailBox;
using reschedule::DetailForm;
using reschedule::RequirementRule;
using reschedule::runStep;

namespace {

class MapDetailLookup : public reschedule::OrderDetailLookup {
public:
    std::vector<reschedule::RelatedOrder> related;
    reschedule::NeighbourTimes neighbours;
    std::vector<reschedule::BomVariant> variantList;
    QHash<QString, reschedule::ItemNames> items;
    QStringList itemReads;

    std::vector<reschedule::RelatedOrder> relatedOrders(std::int64_t) override { return related; }
    reschedule::NeighbourTimes neighbourTimes(std::int64_t, std::int64_t) override { return neighbours; }
    std::vector<reschedule::BomVariant> variants(const QString&, int) override { return variantList; }
    std::optional<reschedule::ItemNames> itemNames(const QString& code) override
    {
        itemReads << code;
        if (!items.contains(code)) return std::nullopt;
        return items.value(code);
    }
};

class Detail : public RuleTest {
protected:
    MapDetailLookup details;

    // Order 7 on M1 from 04/02 08:00: 60 minutes of work, 100 pieces of 15 s by 2 persons.
    int addOrder()
    {
        const int i = addBar(7, "M1", at(2, 8), 60, 100);
        plan::PlanRecord& r = rec(i);
        r.pieceSeconds = 15;
        r.requiredPersons = 2;
        r.cycle = 30;
        r.cavities = 2;
        r.packUnitQty = 12;
        r.components = {plan::Component{.itemCode = "C1", .requiredQty = 34}};
        lookup.rules[{7, "C1"}] = RequirementRule{"2", 0, 1, 3, 0};
        return i;
    }
    DetailForm open(int i) { return reschedule::openDetail(ctx, details, i); }
    reschedule::EnterResult enter(DetailForm& f, DetailBox box) { return reschedule::enterBox(ctx, f, box); }
};

TEST_F(Detail, FormulaWTakesProductivityElseCycleOverCavitiesElseOneOverCavities)
{
    DetailForm f = open(addOrder());
    f.boxes.pieceSeconds = "0";
    f.boxes.cycle = "30";
    f.boxes.cavities = "2";
    f.boxes.orderQty = "100";
    f.boxes.requiredPersons = "0";
    EXPECT_EQ(reschedule::formulaW(f), 25);  // 15 s per piece: ceiling(1500 / 60)

    f.boxes.pieceSeconds = "";
    f.boxes.cycle = "";
    f.boxes.cavities = "0";
    EXPECT_EQ(reschedule::formulaW(f), 2);  // 1 s per piece: ceiling(100 / 60)

    f.boxes.pieceSeconds = "12";
    f.boxes.requiredPersons = "4";
    f.boxes.orderQty = "110";
    EXPECT_EQ(reschedule::formulaW(f), 6);  // ceiling(22) ÷ 4 = 5.5, halves to even
    f.boxes.orderQty = "130";
    EXPECT_EQ(reschedule::formulaW(f), 6);  // ceiling(26) ÷ 4 = 6.5
}

TEST_F(Detail, FormulaQUsesOnlyProductivityAndThePersons)
{
    DetailForm f = open(addOrder());
    f.boxes.workMinutes = "25";
    f.boxes.pieceSeconds = "15";
    f.boxes.requiredPersons = "2";
    EXPECT_EQ(reschedule::formulaQ(f), 200);  // Int(25 × 60 / 15) × 2
    f.boxes.requiredPersons = "0";
    EXPECT_EQ(reschedule::formulaQ(f), 100);
    f.boxes.pieceSeconds = "0";
    EXPECT_EQ(reschedule::formulaQ(f), std::nullopt);
    f.boxes.pieceSeconds = "0.0";  // no 生産性 either, however it is written
    EXPECT_EQ(reschedule::formulaQ(f), std::nullopt);

    // A per-piece time of 20 ÷ 3 s is shown rounded; the box left as it was uses the exact one.
    rec(f.recordNo).pieceSeconds = 20.0 / 3;
    f = open(f.recordNo);
    f.boxes.workMinutes = "100";
    f.boxes.requiredPersons = "1";
    EXPECT_EQ(reschedule::formulaQ(f), 900);
}

TEST_F(Detail, CasesAndLoosePiecesFollowThePackUnit)
{
    reschedule::DetailBoxes b;
    b.orderQty = "100";
    b.packUnitQty = "0";
    reschedule::recomputeCases(b);
    EXPECT_EQ(b.looseQty, "100");
    EXPECT_EQ(b.cases, "0");
    b.packUnitQty = "12";
    reschedule::recomputeCases(b);
    EXPECT_EQ(b.looseQty, "4");
    EXPECT_EQ(b.cases, "8");
}

TEST_F(Detail, AnEndTypedSearchesTheTotalAndOffersTheQuantity)
{
    DetailForm f = open(addOrder());  // 08:00 + 60 minutes on 8-12, 13-17
    f.boxes.endDate = "2024/04/02";
    f.boxes.endTime = "07:00";
    EXPECT_FALSE(enter(f, DetailBox::EndTime).moveOn);
    EXPECT_EQ(prompt.told.last(), "開始日時よりも前は設定できません");
    EXPECT_EQ(f.boxes.totalMinutes, "60");

    // Later: the shortest total whose end is not earlier, then the quantity on Yes.
    prompt.answers = {true};
    f.boxes.endTime = "14:00";
    EXPECT_TRUE(enter(f, DetailBox::EndTime).moveOn);
    EXPECT_EQ(f.boxes.totalMinutes, "300");
    EXPECT_EQ(f.boxes.workMinutes, "300");
    EXPECT_EQ(prompt.asked, QStringList{"変更された終了時間に合わせて手配数を変更しますか？"});
    EXPECT_EQ(prompt.defaults, QList<bool>{false});
    EXPECT_EQ(f.boxes.orderQty, "2400");  // Int(300 × 60 / 15) × 2
    EXPECT_EQ(f.copy.orderQty, 2400);
    EXPECT_EQ(f.copy.membersA[0].orderQty, 2400);
    EXPECT_EQ(f.copy.components[0].requiredQty, 800);  // 2400 ÷ 3 rounded up
    EXPECT_EQ(f.boxes.cases, "200");
    EXPECT_EQ(plan[f.recordNo].orderQty, 100);  // the plan is untouched until the window closes

    // Inside the lunch break while counting down: the first end not later.
    prompt.asked.clear();
    prompt.answers = {false};
    f.boxes.endTime = "12:30";
    EXPECT_TRUE(enter(f, DetailBox::EndTime).moveOn);
    EXPECT_EQ(f.boxes.totalMinutes, "240");
    EXPECT_EQ(f.boxes.endTime, "12:00:00");
    EXPECT_EQ(f.boxes.orderQty, "2400");  // No keeps it

    // The same end again: nothing to do, nothing asked.
    prompt.asked.clear();
    f.boxes.endTime = "12:00";
    EXPECT_TRUE(enter(f, DetailBox::EndTime).moveOn);
    EXPECT_TRUE(prompt.asked.isEmpty());

    // Inside the set-up time: no total with work of its own reaches it.
    f.boxes.setupMinutes = "90";
    f.boxes.endTime = "09:00";
    EXPECT_FALSE(enter(f, DetailBox::EndTime).moveOn);
    EXPECT_EQ(prompt.told.last(), reschedule::msg::noTotalReachesEnd());
    EXPECT_EQ(f.boxes.totalMinutes, "240");
}

TEST_F(Detail, AnEndWeeksAwayOrPastTheCalendarIsFoundOrRefusedWithoutHanging)
{
    DetailForm f = open(addOrder());
    prompt.answers = {false};
    f.boxes.endDate = "2024/04/12";
    f.boxes.endTime = "17:00";
    EXPECT_TRUE(enter(f, DetailBox::EndTime).moveOn);
    EXPECT_EQ(f.boxes.totalMinutes, QString::number(11 * 480));  // 04/02 to 04/12: eleven days of eight hours

    f.boxes.endDate = "2099/01/01";
    f.boxes.endTime = "08:00";
    EXPECT_FALSE(enter(f, DetailBox::EndTime).moveOn);
    EXPECT_EQ(prompt.told.last(), reschedule::msg::noTotalReachesEnd());
}

TEST_F(Detail, ComponentsRoundAsTheirUnitPrescribes)
{
    const int i = addOrder();
    rec(i).components = {plan::Component{.itemCode = "A"}, plan::Component{.itemCode = "B"}, plan::Component{.itemCode = "C"},
                         plan::Component{.itemCode = "D"}, plan::Component{.itemCode = "E"}, plan::Component{.itemCode = "F"},
                         plan::Component{.itemCode = "G", .requiredQty = 42}};
    lookup.rules[{7, "A"}] = RequirementRule{"1", 0, 2, 1, 0};
    lookup.rules[{7, "B"}] = RequirementRule{"2", 0, 1, 3, 0};
    lookup.rules[{7, "C"}] = RequirementRule{"3", 0, 1, 3, 0};
    lookup.rules[{7, "D"}] = RequirementRule{"1", 1, 1, 3, 0};      // tens
    lookup.rules[{7, "E"}] = RequirementRule{"3", 254, 1, 7, 0};    // hundredths
    lookup.rules[{7, "F"}] = RequirementRule{"1", 0, 1, 1, 10};     // 10 % defects
    lookup.rules[{7, "G"}] = RequirementRule{"1", 0, 1, 1, 100};    // no requirement at all
    DetailForm f = open(i);
    f.boxes.orderQty = "1000";
    prompt.answers = {false};
    enter(f, DetailBox::OrderQty);
    const auto need = [&](int k) { return f.copy.components[std::size_t(k)].requiredQty; };
    EXPECT_EQ(need(0), 2000);
    EXPECT_EQ(need(1), 334);
    EXPECT_EQ(need(2), 333);
    EXPECT_EQ(need(3), 330);
    EXPECT_DOUBLE_EQ(need(4), 142.86);
    EXPECT_EQ(need(5), 1111);
    EXPECT_EQ(need(6), 42);  // kept, and the planner told
    EXPECT_EQ(prompt.told, QStringList{reschedule::msg::requirementUndefined("G")});
}

TEST_F(Detail, TheItemCodeIsLookedUpWhenItChanges)
{
    details.items.insert("X-1", {"型番X", "KATA-X"});
    DetailForm f = open(addOrder());
    reschedule::leaveItemCode(details, f);  // unchanged: nothing read
    EXPECT_TRUE(details.itemReads.isEmpty());
    f.boxes.itemCode = "199914";
    reschedule::leaveItemCode(details, f);
    EXPECT_TRUE(details.itemReads.isEmpty());
    f.boxes.itemCode = "X-1";
    reschedule::leaveItemCode(details, f);
    EXPECT_EQ(f.boxes.itemName, "型番X");
    EXPECT_EQ(f.boxes.processName, "KATA-X");
    f.boxes.itemCode = "nothing";
    reschedule::leaveItemCode(details, f);
    EXPECT_EQ(f.boxes.itemName, "型番X");  // an unknown item leaves the names
}

TEST_F(Detail, ClosingChecksQuantityStartEndAndTypedKinds)
{
    DetailForm f = open(addOrder());
    for (const char* q : {"", "0", "00", "-5"}) {
        f.boxes.orderQty = q;
        EXPECT_FALSE(reschedule::quantityAccepted(ctx, f)) << q;
    }
    EXPECT_EQ(prompt.told.last(), "手配数は省略もしくは０は入力できません。");
    f.boxes.orderQty = "100";
    EXPECT_TRUE(reschedule::quantityAccepted(ctx, f));

    using Kind = reschedule::CloseCheck::Kind;
    const auto check = [&] { return reschedule::checkClose(ctx, f); };
    EXPECT_EQ(check().kind, Kind::Apply);
    f.boxes.endTime = "12:75";
    EXPECT_EQ(check().kind, Kind::Refused);
    EXPECT_EQ(check().focus, DetailBox::EndTime);
    f.boxes.endTime = "12:00";
    f.boxes.startDate = "";
    EXPECT_EQ(check().focus, DetailBox::StartDate);
    EXPECT_EQ(prompt.told.last(), "日付を正しく入力してください");
    f.boxes.startDate = "2024/04/02";
    f.boxes.fixKind = "5";
    EXPECT_EQ(check().focus, DetailBox::FixKind);
    f.boxes.fixKind = "1";
    f.boxes.machineCode = "NOPE";
    EXPECT_EQ(check().focus, DetailBox::MachineCode);
    f.boxes.machineCode = "M2";
    EXPECT_EQ(check().kind, Kind::Apply);
    f.boxes.itemCode = "";
    EXPECT_EQ(check().kind, Kind::JustClose);
}

TEST_F(Detail, ApplyTakesTheBoxesAsOneStepAndUndoGivesEverythingBack)
{
    const int i = addOrder();
    const int behind = addBar(8, "M1", at(2, 9, 30), 60);
    const plan::PlanData loaded = plan;
    DetailForm f = open(i);
    prompt.answers = {true};
    f.boxes.workMinutes = "100";
    enter(f, DetailBox::WorkMinutes);  // Q: 800 pieces
    f.boxes.startTime = "08:05";
    f.boxes.remarks = "急ぎ";
    f.boxes.fixKind = "1";
    prompt.answers = {true};  // push the bar behind
    const auto out = runStep(history, "詳細情報", [&] { return reschedule::applyDetail(ctx, f); });
    EXPECT_TRUE(out.changed);
    const plan::PlanRecord& r = plan[i];
    EXPECT_EQ(r.start(), at(2, 8, 15));  // rounded up to the 15-minute grid
    EXPECT_EQ(r.end(), at(2, 9, 55));
    EXPECT_EQ(r.workMinutes, 100);
    EXPECT_EQ(r.orderQty, 800);
    EXPECT_EQ(r.membersA[0].orderQty, 800);
    EXPECT_EQ(r.components[0].requiredQty, 267);
    EXPECT_EQ(r.remarks, "急ぎ");
    EXPECT_EQ(r.fixKind, plan::FixKind::BackFixed);
    EXPECT_TRUE(r.isChanged);
    EXPECT_EQ(plan[behind].start(), at(2, 10));  // pushed behind, on the unit
    EXPECT_EQ(history.stepCount(), 1);
    expectSound();

    history.undo();
    EXPECT_EQ(plan, loaded);

    // Nothing typed: no step, no mark.
    const DetailForm g = open(i);
    EXPECT_FALSE(runStep(history, "詳細情報", [&] { return reschedule::applyDetail(ctx, g); }).changed);
    EXPECT_FALSE(plan[i].isChanged);
}

TEST_F(Detail, ApplyTakesATypedMachineAndRevivesADeletedOrder)
{
    const int i = addOrder();
    rec(i).isDeleted = true;
    DetailForm f = open(i);
    f.boxes.machineCode = "M2";
    runStep(history, "詳細情報", [&] { return reschedule::applyDetail(ctx, f); });
    EXPECT_FALSE(plan[i].isDeleted);
    EXPECT_EQ(plan[i].machineCode, "M2");
    EXPECT_EQ(plan[i].inOutKind, plan::InOutKind::InHouse);
    EXPECT_EQ(plan[i].end(), at(2, 9));
}

}  // namespace
