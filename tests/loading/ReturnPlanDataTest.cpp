// The plan table as returnPlanData fills it from hand-made work orders.

#include "PlanTestPlant.h"
#include "store/loading/PlanLoading.h"
#include "store/loading/RowStamp.h"

using namespace plantest;
using core::Date;
using core::Moment;
using core::TimeOfDay;

namespace {

class PlanLoading : public PlantFixture {
protected:
    void load()
    {
        store::resourcesSet(d(), s, planner, prompt);
        store::returnPlanData(d(), s, planner, plan, [this](const QString& text) { progress << text; });
    }
    QStringList progress;
};

Moment at(int day, int hour, int minute = 0, int second = 0)
{
    return Moment::of(Date::fromYmd(2024, 5, day), TimeOfDay::fromHms(hour, minute, second));
}

TEST_P(PlanLoading, PlacementStartAndEndRules)
{
    order(d(), 101, {{"スケジューラ固定区分", "1"}});
    // Confirmed without times, not partly delivered: unplaced, parked at the period start.
    order(d(), 102, {{"作業開始日付", "20240420"}, {"作業開始時間", "000000"}, {"作業終了時間", "000000"}, {"スケジューラ固定区分", "1"}});
    // Without times but partly delivered: placed, whole production days.
    order(d(), 103, {{"作業開始時間", "000000"}, {"作業終了時間", "000000"}, {"完納区分", "1"}});
    // 60 minutes is no time: seconds after midnight; no end date: the due date.
    order(d(), 104, {{"作業開始時間", "086000"}, {"作業終了日付", "00000000"}});
    // No start date: the start day, at the day change unless a start time is known.
    order(d(), 105, {{"作業開始日付", "2024XX01"}, {"開始日", "20240504"}, {"作業開始時間", "093000"}});
    order(d(), 106, {{"作業開始日付", "00000000"}, {"開始日", "20240505"}, {"作業開始時間", "000000"}});
    order(d(), 107, {{"完納区分", "2"}});
    order(d(), 108, {{"削除フラグ", "1"}});
    order(d(), 109, {{"生産工場コード", 2}});
    load();

    ASSERT_EQ(plan.size(), 7);  // six orders after the placeholder
    for (int i = 2; i <= 7; ++i) EXPECT_EQ(plan[i].barIndex, i);
    EXPECT_EQ(rec(101).fixKind, plan::FixKind::BackFixed);
    EXPECT_EQ(rec(101).start(), at(2, 8));
    EXPECT_EQ(rec(101).end(), at(2, 12));
    EXPECT_EQ(rec(101).loadMark, 1);

    const plan::PlanRecord& parked = rec(102);
    EXPECT_EQ(parked.machineCode, QStringLiteral(" "));
    EXPECT_EQ(parked.machineCodeDb, QStringLiteral("M01"));
    EXPECT_EQ(parked.confirmKind, plan::ConfirmKind::Planned);
    EXPECT_EQ(parked.confirmKindDb, plan::ConfirmKind::Confirmed);
    EXPECT_EQ(parked.fixKind, plan::FixKind::Free);
    EXPECT_EQ(parked.start(), at(1, 8));
    EXPECT_EQ(parked.end(), at(2, 8));
    EXPECT_EQ(parked.startDateOrig, parked.startDate);

    EXPECT_EQ(rec(103).confirmKind, plan::ConfirmKind::Confirmed);
    EXPECT_EQ(rec(103).end(), at(2, 8));
    EXPECT_EQ(rec(104).start(), at(2, 23, 53, 20));
    EXPECT_EQ(rec(104).endDate, Date::fromYmd(2024, 5, 10));
    EXPECT_EQ(rec(105).start(), at(4, 9, 30));
    EXPECT_EQ(rec(106).start(), at(5, 8));
}

TEST_P(PlanLoading, KindTextsNamingNoKindAreKeptAsRead)
{
    order(d(), 101, {{"スケジューラ固定区分", "X"}});
    order(d(), 102, {{"手配確定区分", "3"}, {"スケジューラ固定区分", "2"}});  // not confirmed: unplaced and free
    load();
    EXPECT_EQ(rec(101).fixKind, plan::FixKind::Other);
    EXPECT_EQ(rec(101).fixKindOtherText, QStringLiteral("X"));
    EXPECT_EQ(rec(102).confirmKind, plan::ConfirmKind::Planned);
    EXPECT_EQ(rec(102).confirmKindDb, plan::ConfirmKind::Other);
    EXPECT_EQ(rec(102).confirmKindDbOtherText, QStringLiteral("3"));
    EXPECT_EQ(rec(102).fixKind, plan::FixKind::Free);
}

TEST_P(PlanLoading, UnplacedOrderKeepsItsMachineWithOption3)
{
    order(d(), 101, {{"手配確定区分", "1"}, {"作業開始日付", "20240503"}});
    s.IniOption3 = 1;
    load();
    EXPECT_EQ(rec(101).machineCode, QStringLiteral("M01"));
    EXPECT_EQ(rec(101).confirmKind, plan::ConfirmKind::Planned);
    EXPECT_EQ(rec(101).startDate, Date::fromYmd(2024, 5, 3));  // not in the past: not parked
}

TEST_P(PlanLoading, SetMembershipCycleCavitiesAndPieceSeconds)
{
    item(d(), QStringLiteral("ITEM-B"));
    insert(d(), "DB0451", {{"品名コード", "ITEM-A"}, {"順序", 1}, {"生産工場コード", 1}, {"サイクル", 40}, {"取数", 5}, {"ショット重量", 10}});
    insert(d(), "DB0492", {{"品名コード", "ITEM-A"}, {"順序", 1}, {"機械コード", "M01"}, {"サイクル", 24}});
    insert(d(), "DB0471", {{"金型番号", "K1"}, {"金型略称", QStringLiteral("型1")}, {"取数", 4}});
    insert(d(), "DB0473", {{"金型番号", "K1"}, {"セット品グループ", "G1"}, {"品名コード", "ITEM-A"}, {"順序", 1}, {"優先順位", 2}, {"取数", 3}});
    order(d(), 301, {{"金型番号", "K1"}, {"セット品グループ", "G1"}, {"サイクル", 30}, {"セット品代表手配番号", 301}});
    order(d(), 302, {{"セット品代表手配番号", 301}});                                     // machine cycle, item cavities
    order(d(), 303, {{"機械コード", "M02"}});                                              // the item's cycle
    order(d(), 304, {{"品名コード", "ITEM-B"}, {"金型番号", "K1"}, {"サイクル", 30}});   // the mould's cavities
    order(d(), 305, {{"品名コード", "ITEM-B"}, {"サイクル", 30}});                        // no cavities anywhere
    load();

    EXPECT_FALSE(rec(301).isSetMember);  // the representative itself
    EXPECT_TRUE(rec(302).isSetMember);
    EXPECT_FALSE(rec(303).isSetMember);
    EXPECT_EQ(rec(301).cavities, 3);
    EXPECT_DOUBLE_EQ(rec(301).pieceSeconds, 10);
    EXPECT_EQ(rec(301).mouldShortName, QStringLiteral("型1"));
    EXPECT_EQ(rec(302).cycle, 24);
    EXPECT_EQ(rec(302).cavities, 5);
    EXPECT_DOUBLE_EQ(rec(302).shotWeightPerPiece, 2);
    EXPECT_DOUBLE_EQ(rec(303).pieceSeconds, 8);
    EXPECT_EQ(rec(304).cavities, 4);
    EXPECT_DOUBLE_EQ(rec(305).pieceSeconds, 30);
    EXPECT_DOUBLE_EQ(rec(305).shotWeightPerPiece, 0);
}

// A set mould's cavities come from its row of the first priority among the rows
// not deleted; a deleted row or one without a priority gives none.
TEST_P(PlanLoading, SetCavitiesOnlyFromASetMouldRowInForce)
{
    insert(d(), "DB0451", {{"品名コード", "ITEM-A"}, {"順序", 1}, {"生産工場コード", 1}, {"サイクル", 40}, {"取数", 5}});
    insert(d(), "DB0473", {{"金型番号", "K1"}, {"セット品グループ", "G1"}, {"品名コード", "ITEM-A"}, {"順序", 1}, {"優先順位", 1}, {"取数", 3}, {"削除フラグ", "1"}});
    insert(d(), "DB0473", {{"金型番号", "K2"}, {"セット品グループ", "G1"}, {"品名コード", "ITEM-A"}, {"順序", 1}, {"優先順位", QVariant()}, {"取数", 6}});
    insert(d(), "DB0473", {{"金型番号", "K3"}, {"セット品グループ", "G1"}, {"品名コード", "ITEM-A"}, {"順序", 1}, {"優先順位", 4}, {"取数", 7}});
    insert(d(), "DB0473", {{"金型番号", "K3"}, {"セット品グループ", "G2"}, {"品名コード", "ITEM-A"}, {"順序", 1}, {"優先順位", 1}, {"取数", 8}});
    order(d(), 401, {{"金型番号", "K1"}, {"セット品グループ", "G1"}});
    order(d(), 402, {{"金型番号", "K2"}, {"セット品グループ", "G1"}});
    order(d(), 403, {{"金型番号", "K3"}, {"セット品グループ", "G1"}});
    order(d(), 404, {{"金型番号", "K3"}, {"セット品グループ", "G2"}});
    order(d(), 405, {{"金型番号", "K3"}, {"セット品グループ", "G3"}});
    load();

    EXPECT_EQ(rec(401).cavities, 5);
    EXPECT_EQ(rec(402).cavities, 5);
    EXPECT_EQ(rec(403).cavities, 7);
    EXPECT_EQ(rec(404).cavities, 8);
    EXPECT_EQ(rec(405).cavities, 5);
}

TEST_P(PlanLoading, PieceSecondsFromProductivityUnits)
{
    insert(d(), "DB0378", {{"品名コード", "ITEM-P"}});
    for (int k = 1; k <= 7; ++k) {  // step k has unit class k; step 7: 0 pieces per minute
        insert(d(), "DB0381", {{"品名コード", "ITEM-P"}, {"順序", k}, {"生産工場コード", 1}, {"工程内容コード", "P1"},
                               {"標準生産性＿機械", k == 7 ? 0 : 30}, {"生産性＿機械＿単位", QString::number(k == 7 ? 5 : k)}});
        order(d(), 400 + k, {{"品名コード", "ITEM-P"}, {"順序", k}});
    }
    load();
    const double expected[] = {30, 1800, 108000, 1.0 / 30, 2, 120, 0};
    for (int k = 1; k <= 7; ++k) EXPECT_DOUBLE_EQ(rec(400 + k).pieceSeconds, expected[k - 1]) << "unit class " << k;
}

TEST_P(PlanLoading, SetUpAndWorkMinutes)
{
    insert(d(), "DB0451", {{"品名コード", "ITEM-A"}, {"順序", 1}, {"生産工場コード", 1}, {"サイクル", 30}, {"取数", 1},
                           {"前段取時間", 10}, {"後段取時間", 5}});
    order(d(), 501, {{"段取時間", 0.25}, {"作業時間", 1.01}});
    order(d(), 502, {{"段取時間", 1.1}, {"作業時間", 1.1}});
    order(d(), 503, {{"必要人員", 2}});  // the item's set-up; 100 pieces at 30 s by two persons
    load();
    EXPECT_EQ(rec(501).setupMinutes, 15);
    EXPECT_EQ(rec(501).workMinutes, 61);
    EXPECT_EQ(rec(502).setupMinutes, 66);
    EXPECT_EQ(rec(502).workMinutes, 66);
    EXPECT_EQ(rec(503).setupMinutes, 15);
    EXPECT_EQ(rec(503).workMinutes, 25);
}

TEST_P(PlanLoading, AtMostNineteenComponentsPerOrder)
{
    insert(d(), "DB0378", {{"品名コード", "C01"}, {"品名＿品名仕様", QStringLiteral("部品一")}});
    for (int i = 1; i <= 20; ++i)
        insert(d(), "DB0252", {{"上位手配番号", 601}, {"品名コード", QStringLiteral("C%1").arg(i, 2, 10, QChar(u'0'))}, {"順序", 1},
                               {"必要数", i * 10}, {"原単位分子", 2}, {"原単位分母", 1}, {"不良率", 0.5}});
    insert(d(), "DB0252", {{"上位手配番号", 602}, {"品名コード", "C01"}, {"順序", 1}, {"必要数", 7}});
    insert(d(), "DB0252", {{"上位手配番号", 602}, {"品名コード", "C02"}, {"順序", 1}, {"削除フラグ", "1"}});
    // An outer ring on a bar of its own keeps its components; an order of another class is not loaded.
    insert(d(), "DB0252", {{"上位手配番号", 603}, {"品名コード", "C03"}, {"順序", 1}, {"必要数", 3}});
    insert(d(), "DB0252", {{"上位手配番号", 604}, {"品名コード", "C04"}, {"順序", 1}, {"必要数", 4}});
    order(d(), 601);
    order(d(), 602);
    order(d(), 603, {{"生産計画番号", 9100}, {"GNT表示区分", "2"}});
    insert(d(), "DB0382", {{"工程内容コード", "P2"}, {"工程内容名", QStringLiteral("組立")}, {"工程分類コード", "20"}});
    item(d(), QStringLiteral("ITEM-B"), {{"工程内容コード", "P2"}});
    order(d(), 604, {{"品名コード", "ITEM-B"}});
    load();
    ASSERT_EQ(rec(603).components.size(), 1u);
    EXPECT_DOUBLE_EQ(rec(603).components[0].requiredQty, 3);
    for (int i = 2; i <= plan.size(); ++i) EXPECT_NE(plan[i].orderNo, 604);

    EXPECT_EQ(rec(601).components[0].itemName, QStringLiteral("部品一"));
    EXPECT_EQ(rec(601).components[18].itemCode, QStringLiteral("C19"));
    EXPECT_DOUBLE_EQ(rec(601).components[18].requiredQty, 190);
    EXPECT_EQ(rec(601).components.size(), 19u);
    EXPECT_DOUBLE_EQ(rec(601).components[3].unitNumOrig, 2);
    EXPECT_DOUBLE_EQ(rec(601).components[3].defectRate, 0.5);
    EXPECT_DOUBLE_EQ(rec(602).components[0].requiredQty, 7);
    EXPECT_EQ(rec(602).components.size(), 1u);  // the deleted row is no component
}

TEST_P(PlanLoading, FieldsFromTheOrderItsMastersAndItsStamp)
{
    insert(d(), "DB0251", {{"生産計画番号", 9001}, {"品名コード", "PLAN-ITEM"}, {"計画数", 500}});
    order(d(), 701, {{"生産計画番号", 9001}, {"GNT表示区分", " "}, {"品名＿諸口", QStringLiteral("特注品")}, {"手配数", 120},
                     {"受入実績数", 20}, {"最終実績日", "20240430"}, {"更新日", "20240428"}, {"更新オペレータ", "OP9"}});
    order(d(), 702, {{"GNT表示区分", "3"}, {"GNT初期納期", "20241340"}, {"品名＿諸口", "  "}});
    order(d(), 703, {{"GNT初期納期", QVariant()}});
    load();

    const plan::PlanRecord& r = rec(701);
    EXPECT_EQ(r.ganttDisplayKind, 0);
    EXPECT_EQ(r.modelName, QStringLiteral("特注品"));
    EXPECT_EQ(r.processName, QStringLiteral("成形"));
    EXPECT_EQ(r.planQty, 500);
    EXPECT_EQ(r.planItemCode, QStringLiteral("PLAN-ITEM"));
    EXPECT_EQ(r.lastResultDate, Date::fromYmd(2024, 4, 30));
    EXPECT_EQ(r.initialDueDate, Date::fromYmd(2024, 5, 9));
    EXPECT_EQ(r.memberCount, 1);
    EXPECT_EQ(r.membersA[0].orderNo, 701);
    EXPECT_EQ(r.membersA[0].planNo, 9001);
    EXPECT_EQ(r.membersA[0].modelName, QStringLiteral("ITEM-A 仕様"));
    EXPECT_EQ(r.orderQty, 120);
    EXPECT_EQ(r.receivedQty, 20);
    EXPECT_EQ(rec(702).ganttDisplayKind, 3);
    EXPECT_EQ(rec(702).modelName, QStringLiteral("ITEM-A 仕様"));
    EXPECT_TRUE(rec(702).initialDueDate.isNull());  // no date: grey bar
    EXPECT_TRUE(rec(703).initialDueDate.isNull());

    EXPECT_EQ(plan.loadedStamps.value(701).updateDate, QStringLiteral("20240428"));
    EXPECT_EQ(plan.loadedStamps.value(701).updateOperator, QStringLiteral("OP9"));
    // The save reads the row again on its own: the stamps agree until the row changes.
    auto stampNow = [this] {
        db::Cursor c = d().query(QStringLiteral("SELECT * FROM DB0253 WHERE 手配番号=?"), {701});
        EXPECT_TRUE(c.next());
        return store::stampOfOrderRow(c);
    };
    EXPECT_EQ(stampNow(), plan.loadedStamps.value(701));
    d().exec(QStringLiteral("UPDATE DB0253 SET 金型番号='' WHERE 手配番号=701"));  // NULL became ""
    EXPECT_NE(stampNow().contentDigest, plan.loadedStamps.value(701).contentDigest);
}

TEST_P(PlanLoading, ProgressEveryHundredRows)
{
    d().begin();
    for (int n = 1; n <= 250; ++n) order(d(), 1000 + n);
    d().commit();
    load();
    EXPECT_EQ(progress, (QStringList{QStringLiteral("計画データを読み込んでいます。しばらくお待ちください．．．100"),
                                     QStringLiteral("計画データを読み込んでいます。しばらくお待ちください．．．200"),
                                     QStringLiteral("計画データ読込完了。次の処理を開始します．．．251")}));
    EXPECT_EQ(plan.findByBarIndex(251), 251);
}

PLANNER_PLANT_ON_EVERY_KIND(PlanLoading);

}  // namespace
