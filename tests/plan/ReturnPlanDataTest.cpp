// The plan table as ReturnPlanData fills it from hand-made work orders.

#include "PlanTestPlant.h"
#include "plan/loading/PlanSession.h"
#include "plan/loading/RowStamp.h"

using namespace plantest;
using core::Date;
using core::TimeOfDay;

namespace {

class PlanLoading : public PlantFixture {
protected:
    void load()
    {
        plan::loading::subResourcesSet(d(), s, planner, prompt);
        plan::loading::ReturnPlanData(d(), s, planner, plan, [this](const QString& text) { progress << text; });
    }
    const plan::PlanRecord& rec(qint64 orderNo)
    {
        for (int i = 2; i <= plan.size(); ++i)
            if (plan[i].orderNo == orderNo) return plan[i];
        ADD_FAILURE() << "order " << orderNo << " not loaded";
        static const plan::PlanRecord none;
        return none;
    }
    plan::PlanData plan;
    QStringList progress;
};

Date may(int day) { return Date::fromYmd(2024, 5, day); }

TEST_P(PlanLoading, PlacedAndUnplacedOrdersInStatementOrder)
{
    order(d(), 101, {{QStringLiteral("スケジューラ固定区分"), QStringLiteral("1")}, {QStringLiteral("納期"), QStringLiteral("20240510")}});
    // Confirmed, but without times and not partly delivered: unplaced, parked at the period start.
    order(d(), 102, {{QStringLiteral("作業開始日付"), QStringLiteral("20240420")}, {QStringLiteral("作業開始時間"), QStringLiteral("000000")},
                     {QStringLiteral("作業終了時間"), QStringLiteral("000000")}, {QStringLiteral("納期"), QStringLiteral("20240511")},
                     {QStringLiteral("スケジューラ固定区分"), QStringLiteral("1")}});
    // Without times but partly delivered: placed, whole production days.
    order(d(), 103, {{QStringLiteral("作業開始時間"), QStringLiteral("000000")}, {QStringLiteral("作業終了時間"), QStringLiteral("000000")},
                     {QStringLiteral("完納区分"), QStringLiteral("1")}, {QStringLiteral("納期"), QStringLiteral("20240512")},
                     {QStringLiteral("スケジューラ固定区分"), QStringLiteral("1")}});
    order(d(), 104, {{QStringLiteral("完納区分"), QStringLiteral("2")}});
    order(d(), 105, {{QStringLiteral("削除フラグ"), QStringLiteral("1")}});
    order(d(), 106, {{QStringLiteral("生産工場コード"), 2}});

    load();

    ASSERT_EQ(plan.size(), 4);
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(plan[i].barIndex, i);
    EXPECT_EQ(plan[2].orderNo, 101);
    EXPECT_EQ(plan[3].orderNo, 102);
    EXPECT_EQ(plan[4].orderNo, 103);

    const plan::PlanRecord& placed = rec(101);
    EXPECT_EQ(placed.machineCode, QStringLiteral("M01"));
    EXPECT_EQ(placed.confirmKind, QStringLiteral("2"));
    EXPECT_EQ(placed.fixKind, QStringLiteral("1"));
    EXPECT_EQ(placed.start(), core::Moment::of(may(2), TimeOfDay::fromHms(8, 0)));
    EXPECT_EQ(placed.end(), core::Moment::of(may(2), TimeOfDay::fromHms(12, 0)));
    EXPECT_EQ(placed.loadMark, 1);
    EXPECT_FALSE(placed.isChanged);

    const plan::PlanRecord& unplaced = rec(102);
    EXPECT_EQ(unplaced.machineCode, QStringLiteral(" "));
    EXPECT_EQ(unplaced.machineCodeDb, QStringLiteral("M01"));
    EXPECT_EQ(unplaced.confirmKind, QStringLiteral("1"));
    EXPECT_EQ(unplaced.confirmKindDb, QStringLiteral("2"));
    EXPECT_EQ(unplaced.fixKind, QStringLiteral("0"));
    EXPECT_EQ(unplaced.start(), core::Moment::of(may(1), TimeOfDay::fromHms(8, 0)));
    EXPECT_EQ(unplaced.end(), core::Moment::of(may(2), TimeOfDay::fromHms(8, 0)));
    EXPECT_EQ(unplaced.startDateOrig, may(1));

    const plan::PlanRecord& wholeDays = rec(103);
    EXPECT_EQ(wholeDays.confirmKind, QStringLiteral("2"));
    EXPECT_EQ(wholeDays.start(), core::Moment::of(may(2), TimeOfDay::fromHms(8, 0)));
    EXPECT_EQ(wholeDays.end(), core::Moment::of(may(2), TimeOfDay::fromHms(8, 0)));
}

TEST_P(PlanLoading, UnplacedOrderKeepsItsMachineWithOption3)
{
    order(d(), 101, {{QStringLiteral("手配確定区分"), QStringLiteral("1")}, {QStringLiteral("作業開始日付"), QStringLiteral("20240503")}});
    s.IniOption3 = 1;
    load();
    EXPECT_EQ(rec(101).machineCode, QStringLiteral("M01"));
    EXPECT_EQ(rec(101).confirmKind, QStringLiteral("1"));
    // Not before the period start: the stored dates stay.
    EXPECT_EQ(rec(101).startDate, may(3));
}

TEST_P(PlanLoading, StartAndEndFallBacks)
{
    // 60 minutes is no time of day: the figure counts as seconds after midnight.
    order(d(), 101, {{QStringLiteral("作業開始時間"), QStringLiteral("086000")}, {QStringLiteral("作業終了日付"), QStringLiteral("00000000")}});
    // No start date: the order's start day at the day change unless it has a start time.
    order(d(), 102, {{QStringLiteral("作業開始日付"), QStringLiteral("2024XX01")}, {QStringLiteral("開始日"), QStringLiteral("20240504")},
                     {QStringLiteral("作業開始時間"), QStringLiteral("093000")}});
    order(d(), 103, {{QStringLiteral("作業開始日付"), QStringLiteral("00000000")}, {QStringLiteral("開始日"), QStringLiteral("20240505")},
                     {QStringLiteral("作業開始時間"), QStringLiteral("000000")}});
    load();

    EXPECT_EQ(rec(101).startTime, TimeOfDay::fromHms(23, 53, 20));
    EXPECT_EQ(rec(101).endDate, may(10));  // 納期
    EXPECT_EQ(rec(102).start(), core::Moment::of(may(4), TimeOfDay::fromHms(9, 30)));
    EXPECT_EQ(rec(103).start(), core::Moment::of(may(5), TimeOfDay::fromHms(8, 0)));
    EXPECT_EQ(rec(103).startDay, may(5));
    EXPECT_EQ(rec(103).dueDate, may(10));
}

TEST_P(PlanLoading, SetMembersFollowTheirRepresentative)
{
    order(d(), 201, {{QStringLiteral("セット品代表手配番号"), 201}});
    order(d(), 202, {{QStringLiteral("セット品代表手配番号"), 201}});
    order(d(), 203);
    load();
    EXPECT_FALSE(rec(201).isSetMember);
    EXPECT_TRUE(rec(202).isSetMember);
    EXPECT_EQ(rec(202).setRepOrderNo, 201);
    EXPECT_FALSE(rec(203).isSetMember);
}

TEST_P(PlanLoading, CycleAndCavityPrecedence)
{
    item(d(), QStringLiteral("ITEM-B"));
    insert(d(), QStringLiteral("DB0451"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                           {QStringLiteral("生産工場コード"), 1}, {QStringLiteral("サイクル"), 40},
                                           {QStringLiteral("取数"), 5}, {QStringLiteral("ショット重量"), 10}});
    insert(d(), QStringLiteral("DB0492"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                           {QStringLiteral("機械コード"), QStringLiteral("M01")}, {QStringLiteral("サイクル"), 24}});
    insert(d(), QStringLiteral("DB0471"), {{QStringLiteral("金型番号"), QStringLiteral("K1")}, {QStringLiteral("金型略称"), QStringLiteral("型1")},
                                           {QStringLiteral("取数"), 4}});
    // The mould is in two sets; the order names set G1.
    for (auto [group, priority, cavities] : {std::tuple{"G1", 2, 3}, std::tuple{"G1X", 1, 9}})
        insert(d(), QStringLiteral("DB0473"), {{QStringLiteral("金型番号"), QStringLiteral("K1")}, {QStringLiteral("セット品グループ"), QString::fromLatin1(group)},
                                               {QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                               {QStringLiteral("優先順位"), priority}, {QStringLiteral("取数"), cavities}});
    insert(d(), QStringLiteral("DB0473"), {{QStringLiteral("金型番号"), QStringLiteral("K1")}, {QStringLiteral("セット品グループ"), QStringLiteral("G1")},
                                           {QStringLiteral("品名コード"), QStringLiteral("ITEM-B")}, {QStringLiteral("順序"), 1},
                                           {QStringLiteral("優先順位"), 1}, {QStringLiteral("取数"), 2}});
    const QVariantMap setG1{{QStringLiteral("金型番号"), QStringLiteral("K1")}, {QStringLiteral("セット品グループ"), QStringLiteral("G1")}};
    order(d(), 301, merged(setG1, {{QStringLiteral("サイクル"), 30}}));               // own cycle, set cavities
    order(d(), 302);                                                                // machine cycle, item cavities
    order(d(), 303, {{QStringLiteral("機械コード"), QStringLiteral("M02")}});         // item cycle
    order(d(), 304, {{QStringLiteral("品名コード"), QStringLiteral("ITEM-B")}, {QStringLiteral("金型番号"), QStringLiteral("K1")},
                     {QStringLiteral("サイクル"), 30}});                              // mould cavities
    order(d(), 305, {{QStringLiteral("品名コード"), QStringLiteral("ITEM-B")}, {QStringLiteral("サイクル"), 30}});  // no cavities anywhere
    load();

    EXPECT_EQ(rec(301).cycle, 30);
    EXPECT_EQ(rec(301).cavities, 3);
    EXPECT_DOUBLE_EQ(rec(301).pieceSeconds, 10);
    EXPECT_EQ(rec(301).mouldShortName, QStringLiteral("型1"));
    EXPECT_EQ(rec(302).cycle, 24);
    EXPECT_EQ(rec(302).cavities, 5);
    EXPECT_DOUBLE_EQ(rec(302).shotWeightPerPiece, 2);
    EXPECT_EQ(rec(303).cycle, 40);
    EXPECT_DOUBLE_EQ(rec(303).pieceSeconds, 8);
    EXPECT_EQ(rec(304).cavities, 4);
    EXPECT_DOUBLE_EQ(rec(304).pieceSecondsOrig, 7.5);
    EXPECT_EQ(rec(305).cavities, 0);
    EXPECT_DOUBLE_EQ(rec(305).pieceSeconds, 30);
    EXPECT_DOUBLE_EQ(rec(305).shotWeightPerPiece, 0);
}

TEST_P(PlanLoading, PieceSecondsFromProductivityUnits)
{
    // Item ITEM-P: routing steps 1..6, productivity 30 in unit class = step; step 7 with 0 pieces per minute.
    insert(d(), QStringLiteral("DB0378"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-P")}});
    for (int k = 1; k <= 7; ++k) {
        insert(d(), QStringLiteral("DB0381"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-P")}, {QStringLiteral("順序"), k},
                                               {QStringLiteral("生産工場コード"), 1}, {QStringLiteral("工程内容コード"), QStringLiteral("P1")},
                                               {QStringLiteral("標準生産性＿機械"), k == 7 ? 0 : 30},
                                               {QStringLiteral("生産性＿機械＿単位"), QString::number(k == 7 ? 5 : k)}});
        order(d(), 400 + k, {{QStringLiteral("品名コード"), QStringLiteral("ITEM-P")}, {QStringLiteral("順序"), k}});
    }
    load();
    const double expected[] = {30, 1800, 108000, 1.0 / 30, 2, 120, 0};
    for (int k = 1; k <= 7; ++k) {
        EXPECT_DOUBLE_EQ(rec(400 + k).pieceSeconds, expected[k - 1]) << "unit class " << k;
        EXPECT_EQ(rec(400 + k).processSeq, k);
    }
}

TEST_P(PlanLoading, SetUpAndWorkMinutes)
{
    insert(d(), QStringLiteral("DB0451"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                           {QStringLiteral("生産工場コード"), 1}, {QStringLiteral("サイクル"), 30}, {QStringLiteral("取数"), 1},
                                           {QStringLiteral("前段取時間"), 10}, {QStringLiteral("後段取時間"), 5}});
    order(d(), 501, {{QStringLiteral("段取時間"), 0.25}, {QStringLiteral("作業時間"), 1.01}});
    order(d(), 502, {{QStringLiteral("段取時間"), 1.1}, {QStringLiteral("作業時間"), 1.1}});
    // No hours of its own: the moulded item's set-up and the quantity at the cycle, shared by two persons.
    order(d(), 503, {{QStringLiteral("必要人員"), 2}});
    load();
    EXPECT_EQ(rec(501).setupMinutes, 15);
    EXPECT_EQ(rec(501).workMinutes, 61);
    EXPECT_EQ(rec(502).setupMinutes, 66);
    EXPECT_EQ(rec(502).workMinutes, 66);
    EXPECT_EQ(rec(503).setupMinutes, 15);
    EXPECT_EQ(rec(503).workMinutes, 25);  // 100 × 30 s = 50 min, two persons
}

TEST_P(PlanLoading, AtMostNineteenComponentsPerOrder)
{
    for (int i = 1; i <= 20; ++i)
        insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 601}, {QStringLiteral("品名コード"), QStringLiteral("C%1").arg(i, 2, 10, QChar(u'0'))},
                                               {QStringLiteral("順序"), 1}, {QStringLiteral("必要数"), i * 10}, {QStringLiteral("原単位分子"), 2},
                                               {QStringLiteral("原単位分母"), 1}, {QStringLiteral("不良率"), 0.5}});
    insert(d(), QStringLiteral("DB0378"), {{QStringLiteral("品名コード"), QStringLiteral("C01")}, {QStringLiteral("品名＿品名仕様"), QStringLiteral("部品一")}});
    insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 602}, {QStringLiteral("品名コード"), QStringLiteral("C01")},
                                           {QStringLiteral("順序"), 1}, {QStringLiteral("必要数"), 7}});
    insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 602}, {QStringLiteral("品名コード"), QStringLiteral("C02")},
                                           {QStringLiteral("順序"), 1}, {QStringLiteral("必要数"), 8}, {QStringLiteral("削除フラグ"), QStringLiteral("1")}});
    order(d(), 601);
    order(d(), 602);
    load();

    const plan::PlanRecord& many = rec(601);
    EXPECT_EQ(many.compItemCode[0], QStringLiteral("C01"));
    EXPECT_EQ(many.compItemName[0], QStringLiteral("部品一"));
    EXPECT_EQ(many.compItemCode[18], QStringLiteral("C19"));
    EXPECT_DOUBLE_EQ(many.compRequiredQty[18], 190);
    EXPECT_TRUE(many.compItemCode[19].isEmpty());
    EXPECT_DOUBLE_EQ(many.compUnitNumOrig[3], 2);
    EXPECT_DOUBLE_EQ(many.compUnitDen[3], 1);
    EXPECT_DOUBLE_EQ(many.compDefectRate[3], 0.5);

    const plan::PlanRecord& next = rec(602);
    EXPECT_EQ(next.compItemCode[0], QStringLiteral("C01"));
    EXPECT_DOUBLE_EQ(next.compRequiredQty[0], 7);
    EXPECT_TRUE(next.compItemCode[1].isEmpty());  // the deleted row is no component
}

TEST_P(PlanLoading, RecordFieldsFromTheOrderAndItsMasters)
{
    insert(d(), QStringLiteral("DB0251"), {{QStringLiteral("生産計画番号"), 9001}, {QStringLiteral("品名コード"), QStringLiteral("PLAN-ITEM")},
                                           {QStringLiteral("計画数"), 500}});
    order(d(), 701, {{QStringLiteral("生産計画番号"), 9001}, {QStringLiteral("GNT表示区分"), QStringLiteral(" ")},
                     {QStringLiteral("品名＿諸口"), QStringLiteral("特注品")}, {QStringLiteral("手配数"), 120},
                     {QStringLiteral("受入実績数"), 20}, {QStringLiteral("上位手配番号"), 700}, {QStringLiteral("備考"), QStringLiteral("急ぎ")},
                     {QStringLiteral("最終実績日"), QStringLiteral("20240430")}, {QStringLiteral("指示書発行日"), QStringLiteral("20240429")},
                     {QStringLiteral("更新日"), QStringLiteral("20240428")}, {QStringLiteral("更新時刻"), QStringLiteral("101010")},
                     {QStringLiteral("更新オペレータ"), QStringLiteral("OP9")}, {QStringLiteral("更新プログラム"), QStringLiteral("ORDERS")}});
    order(d(), 702, {{QStringLiteral("GNT表示区分"), QStringLiteral("3")}, {QStringLiteral("GNT初期納期"), QStringLiteral("20241340")},
                     {QStringLiteral("品名＿諸口"), QStringLiteral("  ")}});
    order(d(), 703, {{QStringLiteral("GNT初期納期"), QVariant()}});
    load();

    const plan::PlanRecord& r = rec(701);
    EXPECT_EQ(r.ganttDisplayKind, 0);
    EXPECT_EQ(r.modelName, QStringLiteral("特注品"));
    EXPECT_EQ(r.processName, QStringLiteral("成形"));
    EXPECT_EQ(r.processNameFirst, QStringLiteral("成形"));
    EXPECT_EQ(r.planQty, 500);
    EXPECT_EQ(r.planItemCode, QStringLiteral("PLAN-ITEM"));
    EXPECT_EQ(r.packUnitQty, 50);
    EXPECT_EQ(r.parentOrderNo, 700);
    EXPECT_EQ(r.remarks, QStringLiteral("急ぎ"));
    EXPECT_EQ(r.destCode, QStringLiteral("D1"));
    EXPECT_EQ(r.inOutKind, QStringLiteral("1"));
    EXPECT_EQ(r.lastResultDate, Date::fromYmd(2024, 4, 30));
    EXPECT_EQ(r.instructionDate, QStringLiteral("20240429"));
    EXPECT_EQ(r.initialDueDate, may(9));
    EXPECT_EQ(r.itemCode, QStringLiteral("ITEM-A"));
    EXPECT_EQ(r.itemCode2, QStringLiteral("ITEM-A"));
    EXPECT_EQ(r.memberGroup, QStringLiteral("1"));
    EXPECT_EQ(r.memberCount, 1);
    EXPECT_EQ(r.memberOrderNo[0], 701);
    EXPECT_EQ(r.memberPlanNo[0], 9001);
    EXPECT_EQ(r.memberOrderQty[0], 120);
    EXPECT_EQ(r.memberReceivedQty[0], 20);
    EXPECT_EQ(r.memberItemCode[0], QStringLiteral("ITEM-A"));
    EXPECT_EQ(r.memberModelName[0], QStringLiteral("ITEM-A 仕様"));
    EXPECT_EQ(r.orderQty, 120);
    EXPECT_EQ(r.receivedQty, 20);
    EXPECT_EQ(r.memberOrderNo[1], 0);

    EXPECT_EQ(rec(702).ganttDisplayKind, 3);
    EXPECT_EQ(rec(702).modelName, QStringLiteral("ITEM-A 仕様"));
    EXPECT_TRUE(rec(702).initialDueDate.isNull());
    EXPECT_TRUE(rec(703).initialDueDate.isNull());

    const plan::LoadedRowStamp stamp = plan.loadedStamps.value(701);
    EXPECT_EQ(stamp.updateDate, QStringLiteral("20240428"));
    EXPECT_EQ(stamp.updateTime, QStringLiteral("101010"));
    EXPECT_EQ(stamp.updateOperator, QStringLiteral("OP9"));
    EXPECT_EQ(stamp.updateProgram, QStringLiteral("ORDERS"));
    EXPECT_EQ(plan.loadedStamps.size(), 3);
}

TEST_P(PlanLoading, StampOfARowReadAgainMatchesUntilTheRowChanges)
{
    order(d(), 801, {{QStringLiteral("手配数"), 12.5}});
    load();
    auto stampNow = [this] {
        db::Cursor c = d().query(QStringLiteral("SELECT * FROM DB0253 WHERE 手配番号=?"), {801});
        EXPECT_TRUE(c.next());
        return plan::loading::stampOfOrderRow(c);
    };
    EXPECT_EQ(stampNow(), plan.loadedStamps.value(801));
    d().exec(QStringLiteral("UPDATE DB0253 SET 作業開始時間='090000' WHERE 手配番号=801"));
    EXPECT_NE(stampNow().contentDigest, plan.loadedStamps.value(801).contentDigest);
    d().exec(QStringLiteral("UPDATE DB0253 SET 作業開始時間='080000', 金型番号='' WHERE 手配番号=801"));
    EXPECT_NE(stampNow().contentDigest, plan.loadedStamps.value(801).contentDigest);  // NULL became ""
}

TEST_P(PlanLoading, ProgressEveryHundredRows)
{
    d().begin();
    for (int n = 1; n <= 250; ++n) order(d(), 1000 + n);
    d().commit();
    load();
    ASSERT_EQ(progress.size(), 3);
    EXPECT_EQ(progress[0], QStringLiteral("計画データを読み込んでいます。しばらくお待ちください．．．100"));
    EXPECT_EQ(progress[1], QStringLiteral("計画データを読み込んでいます。しばらくお待ちください．．．200"));
    EXPECT_EQ(progress[2], QStringLiteral("計画データ読込完了。次の処理を開始します．．．251"));
    EXPECT_EQ(plan.size(), 251);
    EXPECT_EQ(plan.findByBarIndex(251), 251);
}

PLANNER_PLANT_ON_EVERY_KIND(PlanLoading);

}  // namespace
