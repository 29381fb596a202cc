// What a save writes, step by step, on hand-made plants.

#include "SaveFixture.h"

using namespace savetest;
using core::Date;
using core::TimeOfDay;

namespace {

const QString kSection = QStringLiteral("0102        ");

class SaveSteps : public SaveFixture {};

void expectUpdateAudit(const Row& r)
{
    EXPECT_EQ(r.text(QStringLiteral("更新日")), QStringLiteral("20240601"));
    EXPECT_EQ(r.text(QStringLiteral("更新時刻")), QStringLiteral("102030"));
    EXPECT_EQ(r.text(QStringLiteral("更新オペレータ")), QStringLiteral("T1"));
    EXPECT_EQ(r.num(QStringLiteral("更新端末番号")), 7);
    EXPECT_EQ(r.text(QStringLiteral("更新プログラム")), QStringLiteral("PLANSAVE"));
}

void expectInsertAudit(const Row& r, const QString& timeColumn = QStringLiteral("登録時刻"))
{
    EXPECT_EQ(r.text(QStringLiteral("登録日")), QStringLiteral("20240601"));
    EXPECT_EQ(r.text(timeColumn), QStringLiteral("102030"));
    EXPECT_EQ(r.text(QStringLiteral("登録オペレータ")), QStringLiteral("T1"));
    EXPECT_EQ(r.num(QStringLiteral("登録端末番号")), 7);
    EXPECT_EQ(r.text(QStringLiteral("登録プログラム")), QStringLiteral("PLANSAVE"));
}

Row order(db::Database& db, qint64 no) { return Row(db, QStringLiteral("DB0253"), QStringLiteral("手配番号=?"), {no}); }

Row component(db::Database& db, qint64 no, const QString& item)
{
    return Row(db, QStringLiteral("DB0252"), QStringLiteral("上位手配番号=? AND 品名コード=?"), {no, item});
}

TEST_P(SaveSteps, RewritesTheChangedOrderWithEveryColumnAndTheMachinesDestination)
{
    load();
    plan::PlanRecord& r = edit(102);
    ASSERT_TRUE(r.destCode.trimmed().isEmpty());
    r.setStart(core::Moment::of(Date::fromYmd(2024, 5, 4), TimeOfDay::fromHms(9, 0)));
    r.setEnd(core::Moment::of(Date::fromYmd(2024, 5, 4), TimeOfDay::fromHms(11, 30)));
    r.workMinutes = 121;
    r.setupMinutes = 29;
    r.remarks = QStringLiteral("急ぎ");
    r.fixKind = QStringLiteral("1");
    r.requiredPersons = 2;
    r.cycle = 25.5;
    r.ganttDisplayKind = 3;
    r.orderQty = 60;
    r.memberOrderQty[0] = 60;

    const SaveResult result = save();
    ASSERT_EQ(result.outcome, SaveOutcome::Saved) << result.error.toStdString();
    EXPECT_EQ(result.ordersWritten, 1);
    EXPECT_TRUE(prompt.told.isEmpty()) << prompt.told.join(u'\n').toStdString();

    const Row row = order(d(), 102);
    const QVariantMap expected = {
        {QStringLiteral("機械コード"), QStringLiteral("M02")}, {QStringLiteral("指示先コード"), kSection},
        {QStringLiteral("計上先コード"), kSection}, {QStringLiteral("手配区分"), QStringLiteral("3")},
        {QStringLiteral("社内社外区分"), QStringLiteral("1")}, {QStringLiteral("仕入区分"), QStringLiteral(" ")},
        {QStringLiteral("手配確定区分"), QStringLiteral("2")}, {QStringLiteral("スケジューラ固定区分"), QStringLiteral("1")},
        {QStringLiteral("受入即検収区分"), QStringLiteral("0")}, {QStringLiteral("GNT表示区分"), QStringLiteral("3")},
        {QStringLiteral("備考"), QStringLiteral("急ぎ")}, {QStringLiteral("作業開始日付"), QStringLiteral("20240504")},
        {QStringLiteral("作業開始時間"), QStringLiteral("090000")}, {QStringLiteral("作業終了日付"), QStringLiteral("20240504")},
        {QStringLiteral("作業終了時間"), QStringLiteral("113000")}, {QStringLiteral("開始日"), QStringLiteral("20240502")},
        {QStringLiteral("納期"), QStringLiteral("20240510")}, {QStringLiteral("GNT初期納期"), QStringLiteral("20240509")},
        {QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("削除フラグ"), QStringLiteral("0")},
        {QStringLiteral("登録日"), QStringLiteral("20240101")}, {QStringLiteral("登録オペレータ"), QStringLiteral("OLD")}};
    for (auto it = expected.begin(); it != expected.end(); ++it) EXPECT_EQ(row.text(it.key()), it.value().toString()) << it.key().toStdString();
    const std::vector<std::pair<QString, double>> numbers = {
        {QStringLiteral("生産計画番号"), 900}, {QStringLiteral("順序"), 999}, {QStringLiteral("生産工場コード"), 1},
        {QStringLiteral("サイクル"), 25.5}, {QStringLiteral("手配数"), 60}, {QStringLiteral("発注数"), 60},
        {QStringLiteral("GNT所要時間＿分"), 150}, {QStringLiteral("作業時間"), 2.016666}, {QStringLiteral("段取時間"), 0.483333},
        {QStringLiteral("必要人員"), 2}, {QStringLiteral("単価"), 120.5}, {QStringLiteral("金額"), 7230},
        {QStringLiteral("消費税額"), 723}, {QStringLiteral("合計金額"), 7953}};
    for (const auto& [column, value] : numbers) EXPECT_DOUBLE_EQ(row.num(column), value) << column.toStdString();
    expectUpdateAudit(row);
    EXPECT_EQ(order(d(), 101).text(QStringLiteral("更新オペレータ")), QStringLiteral("OLD"));

    // M02 had no cycle row for the item: the bar's cycle is kept as one.
    const Row cycle(d(), QStringLiteral("DB0492"), QStringLiteral("機械コード='M02' AND 品名コード='ITEM-A' AND 順序=999"));
    ASSERT_TRUE(cycle.found());
    EXPECT_DOUBLE_EQ(cycle.num(QStringLiteral("サイクル")), 25.5);
    EXPECT_EQ(cycle.text(QStringLiteral("削除フラグ")), QStringLiteral("0"));
    EXPECT_EQ(cycle.text(QStringLiteral("登録時刻")), QStringLiteral("102030"));

    const plan::PlanRecord& after = plan[recordOf(102)];
    EXPECT_FALSE(after.isChanged);
    EXPECT_EQ(after.destCode, kSection);
    EXPECT_EQ(after.fixKind, QStringLiteral("1"));

    // What the planner now holds is what a new load gives.
    plan::PlanData saved = plan;
    load();
    const plan::PlanRecord& reloaded = plan[recordOf(102)];
    EXPECT_EQ(reloaded.start(), after.start());
    EXPECT_EQ(reloaded.end(), after.end());
    EXPECT_EQ(reloaded.workMinutes, 121);
    EXPECT_EQ(reloaded.setupMinutes, 29);
    EXPECT_EQ(reloaded.destCode, after.destCode);
    EXPECT_EQ(saved.loadedStamps.value(102), plan.loadedStamps.value(102));
}

TEST_P(SaveSteps, RebuildsComponentsTagsLineCycleAndPlanTotals)
{
    load();
    plan::PlanRecord& r = edit(101);
    ASSERT_EQ(r.compItemCode[0], QStringLiteral("MAT-1"));
    ASSERT_EQ(r.compItemCode[1], QStringLiteral("MAT-9"));
    r.compRequiredQty[0] = 250;
    r.compItemCode[1] = QStringLiteral("MAT-2");
    r.compRequiredQty[1] = 25;
    r.compUnitNum[1] = 1;
    r.compUnitDen[1] = 4;
    r.compDefectRate[1] = 0;

    ASSERT_EQ(save().outcome, SaveOutcome::Saved);

    const Row kept = component(d(), 101, QStringLiteral("MAT-1"));
    EXPECT_EQ(kept.text(QStringLiteral("削除フラグ")), QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(kept.num(QStringLiteral("必要数")), 250);
    EXPECT_DOUBLE_EQ(kept.num(QStringLiteral("実績数")), 5);  // results belong to the shop floor
    EXPECT_EQ(kept.text(QStringLiteral("確定区分")), QStringLiteral("2"));
    EXPECT_EQ(kept.text(QStringLiteral("開始日")), QStringLiteral("20240502"));
    expectUpdateAudit(kept);

    const Row dropped = component(d(), 101, QStringLiteral("MAT-9"));
    EXPECT_EQ(dropped.text(QStringLiteral("削除フラグ")), QStringLiteral("1"));
    expectUpdateAudit(dropped);

    const Row added = component(d(), 101, QStringLiteral("MAT-2"));
    ASSERT_TRUE(added.found());
    EXPECT_DOUBLE_EQ(added.num(QStringLiteral("順序")), 7);  // the component's last step
    EXPECT_DOUBLE_EQ(added.num(QStringLiteral("必要数")), 25);
    EXPECT_DOUBLE_EQ(added.num(QStringLiteral("原単位分母")), 4);
    EXPECT_EQ(added.text(QStringLiteral("支給制御区分")), QStringLiteral("2"));
    EXPECT_EQ(added.text(QStringLiteral("有償無償区分")), QStringLiteral("1"));
    EXPECT_EQ(added.text(QStringLiteral("上位品名コード")), QStringLiteral("ITEM-A"));
    EXPECT_DOUBLE_EQ(added.num(QStringLiteral("上位順序")), 999);
    EXPECT_DOUBLE_EQ(added.num(QStringLiteral("生産計画番号")), 900);
    EXPECT_EQ(added.text(QStringLiteral("支給完納区分")), QStringLiteral("0"));
    EXPECT_EQ(added.text(QStringLiteral("ﾛｯﾄ消費方法区分")), QStringLiteral("0"));
    expectInsertAudit(added);
    expectUpdateAudit(added);

    const Row tag(d(), QStringLiteral("DB0259"), QStringLiteral("手配番号=101"));
    ASSERT_TRUE(tag.found());
    EXPECT_EQ(tag.text(QStringLiteral("現品票発行区分")), QStringLiteral("3"));
    EXPECT_EQ(tag.text(QStringLiteral("実績区分")), QStringLiteral(" "));
    EXPECT_DOUBLE_EQ(tag.num(QStringLiteral("ロット番号")), 0);
    EXPECT_DOUBLE_EQ(tag.num(QStringLiteral("数量")), 100);
    EXPECT_EQ(tag.text(QStringLiteral("指示先コード")), QStringLiteral("D-M01"));
    EXPECT_EQ(tag.text(QStringLiteral("完成入庫場所")), QStringLiteral("W1"));
    EXPECT_EQ(tag.text(QStringLiteral("手配日")), QStringLiteral("20240401"));
    EXPECT_EQ(tag.text(QStringLiteral("手配担当者コード")), QStringLiteral("P7"));
    EXPECT_EQ(tag.text(QStringLiteral("現品票発行日")), QStringLiteral("00000000"));
    expectInsertAudit(tag, QStringLiteral("登録時間"));
    EXPECT_EQ(tag.text(QStringLiteral("更新時間")), QStringLiteral("102030"));
    EXPECT_EQ(Row(d(), QStringLiteral("DB0259"), QStringLiteral("手配番号=102")).text(QStringLiteral("現品票発行区分")), QStringLiteral("9"));

    const Row cycle(d(), QStringLiteral("DB0492"), QStringLiteral("機械コード='M01'"));
    EXPECT_DOUBLE_EQ(cycle.num(QStringLiteral("サイクル")), 30);
    EXPECT_EQ(cycle.text(QStringLiteral("更新時刻")), QStringLiteral("102030"));

    const Row totals(d(), QStringLiteral("DB0251"), QStringLiteral("生産計画番号=900"));
    EXPECT_DOUBLE_EQ(totals.num(QStringLiteral("指示済数")), 170);
    EXPECT_EQ(totals.text(QStringLiteral("生産完了日")), QStringLiteral("20240510"));
    EXPECT_EQ(totals.text(QStringLiteral("確定区分")), QStringLiteral("2"));
    EXPECT_EQ(totals.text(QStringLiteral("指示済区分")), QStringLiteral("2"));
    expectUpdateAudit(totals);
}

TEST_P(SaveSteps, OutsideWorkTakesTheSuppliersPriceElseTheGeneralOne)
{
    load();
    for (const auto& [no, supplier] : {std::pair{101, QStringLiteral("S1")}, std::pair{102, QStringLiteral("S2")}}) {
        plan::PlanRecord& r = edit(no);
        r.inOutKind = QStringLiteral("2");
        r.destCode = supplier;
        r.machineCode = QStringLiteral(" ");
    }
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);

    const Row own = order(d(), 101);
    EXPECT_DOUBLE_EQ(own.num(QStringLiteral("単価")), 90);
    EXPECT_DOUBLE_EQ(own.num(QStringLiteral("金額")), 9000);
    EXPECT_DOUBLE_EQ(own.num(QStringLiteral("消費税額")), 900);
    EXPECT_DOUBLE_EQ(own.num(QStringLiteral("合計金額")), 9900);
    for (const char16_t* c : {u"手配区分", u"社内社外区分", u"仕入区分"}) EXPECT_EQ(own.text(QString::fromUtf16(c)), QStringLiteral("2"));
    EXPECT_EQ(own.text(QStringLiteral("受入即検収区分")), QStringLiteral("1"));
    EXPECT_EQ(own.text(QStringLiteral("指示先コード")), QStringLiteral("S1"));

    const Row general = order(d(), 102);  // S2 has no price of its own
    EXPECT_DOUBLE_EQ(general.num(QStringLiteral("単価")), 120.5);
    EXPECT_DOUBLE_EQ(general.num(QStringLiteral("金額")), 6025);
    EXPECT_DOUBLE_EQ(general.num(QStringLiteral("消費税額")), 602);
    EXPECT_DOUBLE_EQ(general.num(QStringLiteral("合計金額")), 6627);
    EXPECT_EQ(plan[recordOf(101)].acceptInspectKind, QStringLiteral("1"));
}

TEST_P(SaveSteps, MergedAwayOrdersAreDeletedWithTheirComponents)
{
    insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 103}, {QStringLiteral("品名コード"), QStringLiteral("MAT-1")},
                                           {QStringLiteral("順序"), 0}, {QStringLiteral("削除フラグ"), QStringLiteral("0")}});
    load();
    // The effect of dropping bar 103 onto bar 101.
    plan::PlanRecord& target = edit(101);
    target.orderQty += 20;
    target.memberOrderQty[0] += 20;
    plan::PlanRecord& gone = plan.edit(recordOf(103));
    gone.isChanged = false;
    gone.orderNo = 0;
    gone.orderQty = 0;
    gone.isMergedAway = true;

    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    const Row deleted = order(d(), 103);
    EXPECT_EQ(deleted.text(QStringLiteral("削除フラグ")), QStringLiteral("1"));
    expectUpdateAudit(deleted);
    EXPECT_EQ(component(d(), 103, QStringLiteral("MAT-1")).text(QStringLiteral("削除フラグ")), QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(order(d(), 101).num(QStringLiteral("手配数")), 120);
    // A deleted order is no longer instructed.
    EXPECT_DOUBLE_EQ(Row(d(), QStringLiteral("DB0251"), QStringLiteral("生産計画番号=900")).num(QStringLiteral("指示済数")), 170);
    EXPECT_FALSE(plan.loadedStamps.contains(103));

    // Nothing is left to save, and the next load no longer shows the absorbed order.
    EXPECT_EQ(save().outcome, SaveOutcome::NothingToSave);
    load();
    EXPECT_EQ(plan.size(), 3);
}

TEST_P(SaveSteps, SplitMembersBecomeNewOrdersNumberedFromTheNumberTable)
{
    d().exec(QStringLiteral("UPDATE DB0253 SET 上位手配番号=102 WHERE 手配番号=101"));
    d().exec(QStringLiteral("UPDATE DB0253 SET 上位手配番号=888 WHERE 手配番号=103"));
    load();
    // Splitting 40 of 101's 100 pieces and 5 of 103's 20 off onto new bars.
    for (const auto& [source, moved, temp] : {std::tuple{101, 40, -1}, std::tuple{103, 5, -2}}) {
        plan::PlanRecord& src = edit(source);
        plan::PlanRecord copy = src;
        src.orderQty -= moved;
        src.memberOrderQty[0] -= moved;
        copy.barIndex = plan.largestBarIndex() + 1;
        copy.orderNo = temp;
        copy.memberOrderNo[0] = temp;
        copy.memberNewOrderNo[0] = source;
        copy.orderQty = moved;
        copy.memberOrderQty[0] = moved;
        copy.setStart(src.end());
        copy.setEnd(src.end().addMinutes(60));
        plan.append(copy);
    }

    const SaveResult result = save();
    ASSERT_EQ(result.outcome, SaveOutcome::Saved) << result.error.toStdString();
    EXPECT_EQ(result.ordersCreated, 2);

    const Row numbers(d(), QStringLiteral("DB0018"), QStringLiteral("番号管理キー='手配番号'"));
    EXPECT_DOUBLE_EQ(numbers.num(QStringLiteral("現在番号")), 5002);
    expectUpdateAudit(numbers);

    const Row made = order(d(), 5001);
    ASSERT_TRUE(made.found());
    EXPECT_DOUBLE_EQ(made.num(QStringLiteral("手配数")), 40);
    EXPECT_DOUBLE_EQ(made.num(QStringLiteral("上位手配番号")), 102);  // the parent is live
    EXPECT_EQ(made.text(QStringLiteral("指示書発行日")), QStringLiteral("00000000"));
    EXPECT_EQ(made.text(QStringLiteral("完納区分")), QStringLiteral("0"));
    EXPECT_EQ(made.text(QStringLiteral("手配日")), QStringLiteral("20240401"));  // copied from its source
    EXPECT_EQ(made.text(QStringLiteral("作業開始時間")), QStringLiteral("120000"));
    expectInsertAudit(made);
    EXPECT_DOUBLE_EQ(order(d(), 5002).num(QStringLiteral("上位手配番号")), 0);  // 888 does not exist
    EXPECT_DOUBLE_EQ(order(d(), 101).num(QStringLiteral("手配数")), 60);

    const Row copied = component(d(), 5001, QStringLiteral("MAT-1"));
    EXPECT_EQ(copied.text(QStringLiteral("削除フラグ")), QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(copied.num(QStringLiteral("実績数")), 0);
    EXPECT_DOUBLE_EQ(copied.num(QStringLiteral("支給数")), 0);
    EXPECT_DOUBLE_EQ(copied.num(QStringLiteral("手配番号")), 5001);
    expectInsertAudit(copied);
    EXPECT_DOUBLE_EQ(component(d(), 101, QStringLiteral("MAT-1")).num(QStringLiteral("実績数")), 5);

    const plan::PlanRecord& bar = plan[plan.size() - 1];
    EXPECT_EQ(bar.orderNo, 5001);
    EXPECT_EQ(bar.memberOrderNo[0], 5001);
    EXPECT_EQ(bar.memberNewOrderNo[0], 0);
    EXPECT_FALSE(bar.isChanged);
    EXPECT_TRUE(plan.loadedStamps.contains(5001));

    load();
    EXPECT_EQ(plan[recordOf(5001)].orderQty, 40);
    EXPECT_EQ(plan[recordOf(5002)].orderQty, 5);
}

TEST_P(SaveSteps, NumberTableThatCannotGiveANumberStopsTheWholeSave)
{
    load();
    plan::PlanRecord& src = edit(101);
    src.orderQty = 60;
    src.memberOrderQty[0] = 60;
    plan::PlanRecord copy = src;
    copy.barIndex = plan.largestBarIndex() + 1;
    copy.orderNo = copy.memberOrderNo[0] = -1;
    copy.memberNewOrderNo[0] = 101;
    copy.orderQty = copy.memberOrderQty[0] = 40;
    plan.append(copy);
    const plan::PlanData before = plan;

    for (const QString& spoil : {QStringLiteral("UPDATE DB0018 SET 終了番号=5000"), QStringLiteral("DELETE FROM DB0018")}) {
        d().exec(spoil);
        const QStringList tables = dumpAll(d());
        prompt.told.clear();
        const SaveResult result = save();
        EXPECT_EQ(result.outcome, SaveOutcome::Failed) << spoil.toStdString();
        EXPECT_EQ(result.error, QStringLiteral("手配番号を採番できませんでした"));
        EXPECT_EQ(prompt.told, QStringList{QStringLiteral("手配番号を採番できませんでした")});
        EXPECT_EQ(dumpAll(d()), tables);
        EXPECT_TRUE(plan == before);
    }
}

TEST_P(SaveSteps, TimeCheckAndMouldQuestionStopBeforeAnythingIsWritten)
{
    load();
    const QStringList tables = dumpAll(d());
    edit(101).workMinutes = 600000;
    EXPECT_EQ(save().outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("時間が10000時間を越えています。\r保存処理を中止します。")});
    edit(101).workMinutes = 240;

    // 102 moved onto 5/6 beside 103 on the other machine, both on mould K1.
    plan::PlanRecord& r = edit(102);
    r.mouldNo = QStringLiteral("K1");
    r.setStart(core::Moment::of(Date::fromYmd(2024, 5, 6), TimeOfDay::fromHms(8, 30)));
    r.setEnd(core::Moment::of(Date::fromYmd(2024, 5, 6), TimeOfDay::fromHms(10, 30)));
    edit(103);
    prompt.told.clear();
    prompt.answers = {false};
    EXPECT_EQ(save().outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("金型が重複します。 [2件]\rそのまま保存しますか？")});
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("保存を中断しました。")});
    EXPECT_EQ(dumpAll(d()), tables);

    prompt.answers = {true};
    EXPECT_EQ(save().outcome, SaveOutcome::Saved);
}

TEST_P(SaveSteps, ChangedCalendarDaysAreWrittenFromTheCalendarTables)
{
    d().exec(QStringLiteral("DELETE FROM DB0491 WHERE 機械コード='M02' AND 年月日='20240531'"));
    load();
    const int m01 = planner.rows.findRow(QStringLiteral("M01"));
    const int m02 = planner.rows.findRow(QStringLiteral("M02"));
    const int may4 = settings.PeriodStart.daysTo(Date::fromYmd(2024, 5, 4)) + 2;
    const int may31 = settings.PeriodStart.daysTo(Date::fromYmd(2024, 5, 31)) + 2;
    core::MachineDay& day = planner.calendar.day(may4, m01);
    day.KinmuJikan = 6;
    day.ShiftTime[1] = TimeOfDay::fromHms(9, 0);
    day.ShiftTime[2] = TimeOfDay::fromHms(15, 0);
    day.stop = core::StopInfo{QStringLiteral("点検"), QStringLiteral("金型交換"), TimeOfDay::fromHms(10, 0), 1};
    planner.calendar.day(may31, m02).KinmuJikan = 4;
    planner.calendar.day(may31, m02).ShiftTime[1] = TimeOfDay::fromHms(8, 0);
    planner.calendar.day(may31, m02).ShiftTime[2] = TimeOfDay::fromHms(12, 0);
    changedDays = {{m01, may4}, {m02, may31}};

    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    EXPECT_TRUE(changedDays.isEmpty());
    const Row changed(d(), QStringLiteral("DB0491"), QStringLiteral("機械コード='M01' AND 年月日='20240504'"));
    EXPECT_DOUBLE_EQ(changed.num(QStringLiteral("勤務時間")), 6);
    EXPECT_EQ(changed.text(QStringLiteral("開始時刻１")), QStringLiteral("090000"));
    EXPECT_EQ(changed.text(QStringLiteral("終了時刻１")), QStringLiteral("150000"));
    EXPECT_EQ(changed.text(QStringLiteral("開始時刻２")), QStringLiteral("000000"));
    EXPECT_EQ(changed.text(QStringLiteral("停止タイトル")), QStringLiteral("点検"));
    EXPECT_EQ(changed.text(QStringLiteral("停止備考")), QStringLiteral("金型交換"));
    EXPECT_EQ(changed.text(QStringLiteral("停止開始時刻")), QStringLiteral("100000"));
    EXPECT_DOUBLE_EQ(changed.num(QStringLiteral("停止時間")), 1);
    EXPECT_EQ(changed.text(QStringLiteral("更新時刻")), QStringLiteral("102030"));
    const Row added(d(), QStringLiteral("DB0491"), QStringLiteral("機械コード='M02' AND 年月日='20240531'"));
    ASSERT_TRUE(added.found());
    EXPECT_EQ(added.text(QStringLiteral("終了時刻１")), QStringLiteral("120000"));
    EXPECT_EQ(added.text(QStringLiteral("登録時刻")), QStringLiteral("102030"));
    EXPECT_EQ(Row(d(), QStringLiteral("DB0491"), QStringLiteral("機械コード='M01' AND 年月日='20240505'")).text(QStringLiteral("更新時刻")),
              QString());
}

SAVE_ON_EVERY_KIND(SaveSteps);

}  // namespace
