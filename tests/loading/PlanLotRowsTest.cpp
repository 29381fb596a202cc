// Reading one production plan's lots across its processes for the order Gantt window.
#include "PlanTestPlant.h"

#include "store/loading/PlanLotRows.h"

using namespace plantest;

namespace {

class PlanLotRows : public PlantFixture {};

TEST_P(PlanLotRows, EveryLiveLotOfThePlanAcrossProcessesAndClasses)
{
    insert(d(), "DB0382", {{"工程内容コード", "P2"}, {"工程内容名", QStringLiteral("機械加工")}, {"工程分類コード", "20"}});
    insert(d(), "DB0381", {{"品名コード", "ITEM-A"}, {"順序", 2}, {"生産工場コード", 1}, {"工程内容コード", "P2"}});
    order(d(), 11, {{"生産計画番号", 500}, {"上位手配番号", 12}});
    order(d(), 12, {{"生産計画番号", 500}, {"順序", 2}, {"機械コード", "K01"}, {"作業開始日付", "20240503"}, {"作業開始時間", "090000"},
                    {"作業終了日付", "20240503"}, {"作業終了時間", 170000}});
    // Waiting for its place: planned, no times.
    order(d(), 13, {{"生産計画番号", 500}, {"順序", 2}, {"手配確定区分", "1"}, {"作業開始時間", "000000"}, {"作業終了時間", "000000"},
                    {"品名＿諸口", QStringLiteral("特注品")}});
    order(d(), 14, {{"生産計画番号", 500}, {"削除フラグ", "1"}});
    order(d(), 15, {{"生産計画番号", 501}});
    order(d(), 16, {{"生産計画番号", 500}, {"生産工場コード", 2}});
    // Sent out: no machine, a supplier.
    order(d(), 17, {{"生産計画番号", 500}, {"順序", 2}, {"機械コード", " "}, {"社内社外区分", "2"}, {"指示先コード", "S01"}});

    const std::vector<reschedule::PlanLot> lots = store::readPlanLots(d(), s, 500);
    ASSERT_EQ(lots.size(), 4u);
    const reschedule::PlanLot& a = lots[0];
    EXPECT_EQ(a.orderNo, 11);
    EXPECT_EQ(a.parentOrderNo, 12);
    EXPECT_EQ(a.processName, QStringLiteral("成形"));
    EXPECT_EQ(a.processClass, QStringLiteral("10"));
    EXPECT_EQ(a.itemName, QStringLiteral("ITEM-A 仕様"));
    EXPECT_TRUE(a.allocated);
    EXPECT_EQ(a.start, core::Moment::of(core::Date::fromYmd(2024, 5, 2), core::TimeOfDay::fromHms(8, 0)));
    EXPECT_EQ(a.orderQty, 100);

    const reschedule::PlanLot& b = lots[1];
    EXPECT_EQ(b.orderNo, 12);
    EXPECT_EQ(b.processName, QStringLiteral("機械加工"));
    EXPECT_EQ(b.machineCode.trimmed(), QStringLiteral("K01"));
    EXPECT_EQ(b.end, core::Moment::of(core::Date::fromYmd(2024, 5, 3), core::TimeOfDay::fromHms(17, 0)));

    EXPECT_EQ(lots[2].orderNo, 13);
    EXPECT_FALSE(lots[2].allocated);
    EXPECT_EQ(lots[2].itemName, QStringLiteral("特注品"));
    EXPECT_EQ(lots[2].dueDate, core::Date::fromYmd(2024, 5, 10));
    EXPECT_EQ(lots[3].orderNo, 17);
    EXPECT_TRUE(lots[3].allocated) << "at its supplier";
    EXPECT_EQ(lots[3].inOutKind, plan::InOutKind::Outside);
}

PLANNER_PLANT_ON_EVERY_KIND(PlanLotRows);

}  // namespace
