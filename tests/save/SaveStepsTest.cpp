// What a save writes, step by step, on the hand-made plant.

#include "SaveFixture.h"
#include "store/saving/WorkOrderRows.h"

using namespace savetest;
using core::Date;
using core::Moment;
using core::TimeOfDay;

namespace {

const QString kSection = QStringLiteral("0102        ");

class SaveSteps : public SaveFixture {};

QString q(const char16_t* text) { return QString::fromUtf16(text); }

// Numbers are compared as numbers (drivers print them differently), the rest as text.
void expectColumns(const Row& r, const QVariantMap& want)
{
    ASSERT_TRUE(r.found());
    for (auto it = want.begin(); it != want.end(); ++it) {
        if (it.value().typeId() == QMetaType::QString) EXPECT_EQ(r.text(it.key()), it.value().toString()) << it.key().toStdString();
        else EXPECT_DOUBLE_EQ(r.num(it.key()), it.value().toDouble()) << it.key().toStdString();
    }
}

QVariantMap audit(const QString& prefix, const QString& time = QStringLiteral("時刻"))
{
    return {{prefix + QStringLiteral("日"), QStringLiteral("20240601")}, {prefix + time, QStringLiteral("102030")},
            {prefix + QStringLiteral("オペレータ"), QStringLiteral("T1")}, {prefix + QStringLiteral("端末番号"), 7},
            {prefix + QStringLiteral("プログラム"), QStringLiteral("PLANSAVE")}};
}
QVariantMap updated(QVariantMap m) { return merged(m, audit(q(u"更新"))); }
QVariantMap inserted(QVariantMap m) { return merged(updated(m), audit(q(u"登録"))); }

Row order(db::Database& db, qint64 no) { return Row(db, q(u"DB0253"), q(u"手配番号=?"), {no}); }
Row component(db::Database& db, qint64 no, const QString& item) { return Row(db, q(u"DB0252"), q(u"上位手配番号=? AND 品名コード=?"), {no, item}); }

TEST_P(SaveSteps, RewritesTheChangedOrderWithEveryColumnAndTheMachinesDestination)
{
    load();
    plan::PlanRecord& r = edit(102);
    ASSERT_TRUE(r.destCode.trimmed().isEmpty());
    r.setStart(Moment::of(Date::fromYmd(2024, 5, 4), TimeOfDay::fromHms(9, 0)));
    r.setEnd(Moment::of(Date::fromYmd(2024, 5, 4), TimeOfDay::fromHms(11, 30)));
    r.workMinutes = 121;
    r.setupMinutes = 29;
    r.remarks = q(u"急ぎ");
    r.fixKind = plan::FixKind::BackFixed;
    r.requiredPersons = 2;
    r.cycle = 25.5;
    r.ganttDisplayKind = 3;
    r.orderQty = r.membersA[0].orderQty = 60;

    const SaveResult result = save();
    ASSERT_EQ(result.outcome, SaveOutcome::Saved) << result.error.toStdString();
    EXPECT_EQ(result.ordersWritten, 1);
    EXPECT_TRUE(prompt.told.isEmpty());
    expectColumns(order(d(), 102),
                  updated({{q(u"機械コード"), q(u"M02")}, {q(u"指示先コード"), kSection}, {q(u"計上先コード"), kSection},
                           {q(u"手配区分"), q(u"3")}, {q(u"社内社外区分"), q(u"1")}, {q(u"仕入区分"), q(u" ")}, {q(u"手配確定区分"), q(u"2")},
                           {q(u"スケジューラ固定区分"), q(u"1")}, {q(u"受入即検収区分"), q(u"0")}, {q(u"GNT表示区分"), q(u"3")},
                           {q(u"備考"), q(u"急ぎ")}, {q(u"作業開始日付"), q(u"20240504")}, {q(u"作業開始時間"), q(u"090000")},
                           {q(u"作業終了日付"), q(u"20240504")}, {q(u"作業終了時間"), q(u"113000")}, {q(u"開始日"), q(u"20240502")},
                           {q(u"納期"), q(u"20240510")}, {q(u"GNT初期納期"), q(u"20240509")}, {q(u"品名コード"), q(u"ITEM-A")},
                           {q(u"削除フラグ"), q(u"0")}, {q(u"登録日"), q(u"20240101")}, {q(u"登録オペレータ"), q(u"OLD")},
                           {q(u"生産計画番号"), 900}, {q(u"順序"), 999}, {q(u"生産工場コード"), 1}, {q(u"サイクル"), 25.5},
                           {q(u"手配数"), 60}, {q(u"発注数"), 60}, {q(u"GNT所要時間＿分"), 150}, {q(u"作業時間"), 2.016666},
                           {q(u"段取時間"), 0.483333}, {q(u"必要人員"), 2}, {q(u"単価"), 120.5}, {q(u"金額"), 7230},
                           {q(u"消費税額"), 723}, {q(u"合計金額"), 7953}}));
    EXPECT_EQ(order(d(), 101).text(q(u"更新オペレータ")), q(u"OLD"));
    // M02 had no cycle row for the item: the bar's cycle is kept as one.
    expectColumns(Row(d(), q(u"DB0492"), q(u"機械コード='M02'")),
                  {{q(u"サイクル"), 25.5}, {q(u"削除フラグ"), q(u"0")}, {q(u"登録時刻"), q(u"102030")}, {q(u"更新オペレータ"), q(u"T1")}});

    // The planner now holds what the database holds (the demo plant test reloads to prove it).
    const plan::PlanRecord& after = plan[recordOf(102)];
    EXPECT_FALSE(after.isChanged);
    EXPECT_EQ(after.destCode, kSection);
    EXPECT_EQ(plan.loadedStamps.value(102).updateOperator, q(u"T1"));
}

// Kind texts naming no kind are kept as read: a moved order writes them back
// unchanged, an untouched one is not written at all.
TEST_P(SaveSteps, KindTextsNamingNoKindAreWrittenBackAsRead)
{
    d().exec(q(u"UPDATE DB0253 SET スケジューラ固定区分='7' WHERE 手配番号 IN (101,102)"));
    d().exec(q(u"UPDATE DB0253 SET 社内社外区分='9' WHERE 手配番号=101"));
    load();
    const plan::PlanRecord& loaded = plan[recordOf(101)];
    EXPECT_EQ(loaded.fixKind, plan::FixKind::Other);
    EXPECT_FALSE(loaded.isFixed());  // moves like a free order
    EXPECT_EQ(loaded.inOutKind, plan::InOutKind::None);
    const Row untouched = order(d(), 102);

    plan::PlanRecord& r = edit(101);
    r.setStart(r.start().addMinutes(60));
    r.setEnd(r.end().addMinutes(60));
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    expectColumns(order(d(), 101), updated({{q(u"スケジューラ固定区分"), q(u"7")}, {q(u"手配確定区分"), q(u"2")},
                                             {q(u"社内社外区分"), q(u"1")}, {q(u"作業開始時間"), q(u"090000")}}));
    EXPECT_EQ(order(d(), 102).text(q(u"更新時刻")), untouched.text(q(u"更新時刻")));
    EXPECT_EQ(order(d(), 102).text(q(u"スケジューラ固定区分")), q(u"7"));

    // Saved again unchanged, and read again the same.
    edit(101);
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    EXPECT_EQ(order(d(), 101).text(q(u"スケジューラ固定区分")), q(u"7"));
    load();
    EXPECT_EQ(plan[recordOf(101)].fixKind, plan::FixKind::Other);
    EXPECT_EQ(plan[recordOf(101)].fixKindOtherText, q(u"7"));
    EXPECT_EQ(plan[recordOf(101)].inOutKind, plan::InOutKind::InHouse);
}

TEST_P(SaveSteps, RebuildsComponentsTagsLineCycleAndPlanTotals)
{
    load();
    plan::PlanRecord& r = edit(101);
    ASSERT_EQ(r.components[1].itemCode, q(u"MAT-9"));
    r.components[0].requiredQty = 250;
    r.components[1].itemCode = q(u"MAT-2");
    r.components[1].requiredQty = 25;
    r.components[1].unitNum = 1;
    r.components[1].unitDen = 4;
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);

    // Results (実績数) belong to the shop floor and stay.
    expectColumns(component(d(), 101, q(u"MAT-1")), updated({{q(u"削除フラグ"), q(u"0")}, {q(u"必要数"), 250}, {q(u"実績数"), 5},
                                                                 {q(u"確定区分"), q(u"2")}, {q(u"開始日"), q(u"20240502")}}));
    expectColumns(component(d(), 101, q(u"MAT-9")), updated({{q(u"削除フラグ"), q(u"1")}}));
    // Added from the bill of materials, consumed from the component's last step.
    expectColumns(component(d(), 101, q(u"MAT-2")),
                  inserted({{q(u"順序"), 7}, {q(u"必要数"), 25}, {q(u"原単位分母"), 4}, {q(u"支給制御区分"), q(u"2")},
                            {q(u"有償無償区分"), q(u"1")}, {q(u"上位品名コード"), q(u"ITEM-A")}, {q(u"上位順序"), 999},
                            {q(u"生産計画番号"), 900}, {q(u"支給完納区分"), q(u"0")}, {q(u"ﾛｯﾄ消費方法区分"), q(u"0")}}));
    expectColumns(Row(d(), q(u"DB0259"), q(u"手配番号=101")),
                  merged(merged({{q(u"現品票発行区分"), q(u"3")}, {q(u"実績区分"), q(u" ")}, {q(u"ロット番号"), 0}, {q(u"数量"), 100},
                                 {q(u"指示先コード"), q(u"D-M01")}, {q(u"完成入庫場所"), q(u"W1")}, {q(u"手配日"), q(u"20240401")},
                                 {q(u"手配担当者コード"), q(u"P7")}, {q(u"現品票発行日"), q(u"00000000")}},
                                audit(q(u"登録"), q(u"時間"))),
                         audit(q(u"更新"), q(u"時間"))));
    EXPECT_EQ(Row(d(), q(u"DB0259"), q(u"手配番号=102")).text(q(u"現品票発行区分")), q(u"9"));  // not written: 102 is unchanged
    expectColumns(Row(d(), q(u"DB0492"), q(u"機械コード='M01'")), {{q(u"サイクル"), 30}, {q(u"更新時刻"), q(u"102030")}});
    expectColumns(Row(d(), q(u"DB0251"), q(u"生産計画番号=900")),
                  updated({{q(u"指示済数"), 170}, {q(u"生産完了日"), q(u"20240510")}, {q(u"確定区分"), q(u"2")}, {q(u"指示済区分"), q(u"2")}}));
}

TEST_P(SaveSteps, OutsideWorkTakesTheSuppliersPriceElseTheGeneralOne)
{
    load();
    for (const auto& [no, supplier] : {std::pair{101, q(u"S1")}, std::pair{102, q(u"S2")}}) {
        plan::PlanRecord& r = edit(no);
        r.inOutKind = plan::InOutKind::Outside;
        r.destCode = supplier;
        r.machineCode = q(u" ");
    }
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    expectColumns(order(d(), 101), {{q(u"単価"), 90}, {q(u"金額"), 9000}, {q(u"消費税額"), 900}, {q(u"合計金額"), 9900},
                                    {q(u"手配区分"), q(u"2")}, {q(u"社内社外区分"), q(u"2")}, {q(u"仕入区分"), q(u"2")},
                                    {q(u"受入即検収区分"), q(u"1")}, {q(u"指示先コード"), q(u"S1")}});
    // S2 has no price of its own: the newest general one, tax rounded down.
    expectColumns(order(d(), 102), {{q(u"単価"), 120.5}, {q(u"金額"), 6025}, {q(u"消費税額"), 602}, {q(u"合計金額"), 6627}});
    EXPECT_EQ(plan[recordOf(101)].acceptInspectKind, q(u"1"));
}

TEST_P(SaveSteps, MergedAwayOrdersAreDeletedWithTheirComponents)
{
    insert(d(), q(u"DB0252"), {{q(u"上位手配番号"), 103}, {q(u"品名コード"), q(u"MAT-1")}, {q(u"順序"), 0}, {q(u"削除フラグ"), q(u"0")}});
    load();
    // The effect of dropping bar 103 onto bar 101.
    plan::PlanRecord& target = edit(101);
    target.orderQty += 20;
    target.membersA[0].orderQty += 20;
    plan::PlanRecord& gone = plan.edit(recordOf(103));
    gone.orderNo = gone.orderQty = 0;
    gone.isMergedAway = true;

    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    expectColumns(order(d(), 103), updated({{q(u"削除フラグ"), q(u"1")}}));
    expectColumns(component(d(), 103, q(u"MAT-1")), updated({{q(u"削除フラグ"), q(u"1")}}));
    EXPECT_DOUBLE_EQ(order(d(), 101).num(q(u"手配数")), 120);
    // A deleted order no longer counts as instructed.
    EXPECT_DOUBLE_EQ(Row(d(), q(u"DB0251"), q(u"生産計画番号=900")).num(q(u"指示済数")), 170);
    EXPECT_FALSE(plan.loadedStamps.contains(103));
    EXPECT_EQ(save().outcome, SaveOutcome::NothingToSave);
    load();
    EXPECT_EQ(plan.size(), 3);
}

TEST_P(SaveSteps, SplitMembersBecomeNewOrdersNumberedFromTheNumberTable)
{
    d().exec(q(u"UPDATE DB0253 SET 上位手配番号=102 WHERE 手配番号=101"));
    d().exec(q(u"UPDATE DB0253 SET 上位手配番号=888 WHERE 手配番号=103"));
    load();
    // 40 of 101's 100 pieces and 5 of 103's 20 split off onto new bars.
    for (const auto& [source, moved, temp] : {std::tuple{101, 40, -1}, std::tuple{103, 5, -2}}) {
        plan::PlanRecord& src = edit(source);
        plan::PlanRecord copy = src;
        src.orderQty -= moved;
        src.membersA[0].orderQty -= moved;
        copy.barIndex = plan.largestBarIndex() + 1;
        copy.orderNo = copy.membersA[0].orderNo = temp;
        copy.membersA[0].newOrderNo = source;
        copy.orderQty = copy.membersA[0].orderQty = moved;
        copy.setStart(src.end());
        copy.setEnd(src.end().addMinutes(60));
        plan.append(copy);
    }
    // A used-up range, then a missing counter row: nothing is saved.
    const plan::PlanData before = plan;
    const QStringList tables = dumpAll(d());
    for (const auto& [spoil, mend] : {std::pair{q(u"UPDATE DB0018 SET 終了番号=5001"), q(u"UPDATE DB0018 SET 終了番号=99999999")},
                                      std::pair{q(u"DELETE FROM DB0018"), q(u"INSERT INTO DB0018 (番号管理キー,現在番号,開始番号,終了番号) "
                                                                           "VALUES ('手配番号',5000,1,99999999)")}}) {
        d().exec(spoil);
        const QStringList spoiled = dumpAll(d());
        prompt.told.clear();
        const SaveResult refused = save();
        EXPECT_EQ(refused.outcome, SaveOutcome::Failed);
        EXPECT_EQ(refused.error, q(u"手配番号を採番できませんでした"));
        EXPECT_EQ(prompt.told, QStringList{q(u"手配番号を採番できませんでした")});
        EXPECT_EQ(dumpAll(d()), spoiled);
        EXPECT_TRUE(plan == before);
        d().exec(mend);
    }
    EXPECT_EQ(dumpAll(d()), tables);

    const SaveResult result = save();
    ASSERT_EQ(result.outcome, SaveOutcome::Saved) << result.error.toStdString();
    EXPECT_EQ(result.ordersCreated, 2);

    expectColumns(Row(d(), q(u"DB0018"), q(u"番号管理キー='手配番号'")), updated({{q(u"現在番号"), 5002}}));
    // A copy of its source with nothing produced yet; the parent stays while it is live.
    expectColumns(order(d(), 5001), inserted({{q(u"手配数"), 40}, {q(u"上位手配番号"), 102}, {q(u"指示書発行日"), q(u"00000000")},
                                              {q(u"完納区分"), q(u"0")}, {q(u"手配日"), q(u"20240401")}, {q(u"作業開始時間"), q(u"120000")}}));
    EXPECT_DOUBLE_EQ(order(d(), 5002).num(q(u"上位手配番号")), 0);  // 888 does not exist
    EXPECT_DOUBLE_EQ(order(d(), 101).num(q(u"手配数")), 60);
    expectColumns(component(d(), 5001, q(u"MAT-1")),
                  inserted({{q(u"削除フラグ"), q(u"0")}, {q(u"実績数"), 0}, {q(u"支給数"), 0}, {q(u"手配番号"), 5001}}));
    EXPECT_DOUBLE_EQ(component(d(), 101, q(u"MAT-1")).num(q(u"実績数")), 5);

    const plan::PlanRecord& bar = plan[plan.size() - 1];
    EXPECT_EQ(bar.orderNo, 5001);
    EXPECT_EQ(bar.membersA[0].orderNo, 5001);
    EXPECT_EQ(bar.membersA[0].newOrderNo, 0);
    EXPECT_FALSE(bar.isChanged);
    EXPECT_TRUE(plan.loadedStamps.contains(5001));
    load();
    EXPECT_EQ(plan[recordOf(5001)].orderQty, 40);
    EXPECT_EQ(plan[recordOf(5002)].orderQty, 5);
}

TEST_P(SaveSteps, TimeCheckAndMouldQuestionStopBeforeAnythingIsWritten)
{
    load();
    const QStringList tables = dumpAll(d());
    edit(101).workMinutes = 600000;
    EXPECT_EQ(save().outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(prompt.told, QStringList{q(u"時間が10000時間を越えています。\r保存処理を中止します。")});
    edit(101).workMinutes = 240;

    // 102 moved onto 5/6 beside 103 on the other machine, both on mould K1.
    plan::PlanRecord& r = edit(102);
    r.mouldNo = q(u"K1");
    r.setStart(Moment::of(Date::fromYmd(2024, 5, 6), TimeOfDay::fromHms(8, 30)));
    r.setEnd(Moment::of(Date::fromYmd(2024, 5, 6), TimeOfDay::fromHms(10, 30)));
    edit(103);
    prompt.told.clear();
    prompt.answers = {false};
    EXPECT_EQ(save().outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(prompt.asked, QStringList{q(u"金型が重複します。 [2件]\rそのまま保存しますか？")});
    EXPECT_EQ(prompt.told, QStringList{q(u"保存を中断しました。")});
    EXPECT_EQ(dumpAll(d()), tables);
    prompt.answers = {true};
    EXPECT_EQ(save().outcome, SaveOutcome::Saved);
}

TEST_P(SaveSteps, AnOrderStoredWithoutQuantityStaysLiveWhenMoved)
{
    d().exec(q(u"UPDATE DB0253 SET 手配数=0 WHERE 手配番号=102"));
    load();
    plan::PlanRecord& r = edit(102);
    r.setStart(r.start().addMinutes(60));
    r.setEnd(r.end().addMinutes(60));
    prompt.answers = {true, true};
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    const Row row(d(), q(u"DB0253"), q(u"手配番号=102"));
    EXPECT_EQ(row.text(q(u"削除フラグ")), q(u"0"));
    EXPECT_EQ(row.text(q(u"作業開始時間")).left(2), r.startTime.toHhnnss().left(2));

    // A quantity the planner takes to 0 still deletes the order.
    load();
    plan::PlanRecord& s = edit(101);
    s.orderQty = s.membersA[0].orderQty = 0;
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    EXPECT_EQ(Row(d(), q(u"DB0253"), q(u"手配番号=101")).text(q(u"削除フラグ")), q(u"1"));
}

TEST_P(SaveSteps, ValuesLoadingCouldNotUseAreWrittenBackAsStored)
{
    // 101: a work time beyond what a bar holds; 102: an end before its start.
    d().exec(q(u"UPDATE DB0253 SET 作業時間=10000 WHERE 手配番号=101"));
    d().exec(q(u"UPDATE DB0253 SET 作業終了日付='20240502' WHERE 手配番号=102"));
    const auto stored = [&](int order) {
        const Row row(d(), q(u"DB0253"), QStringLiteral("手配番号=%1").arg(order));
        return QStringList{row.text(q(u"作業時間")), row.text(q(u"GNT所要時間＿分")), row.text(q(u"作業開始日付")),
                           row.text(q(u"作業終了日付")), row.text(q(u"作業開始時間")), row.text(q(u"作業終了時間"))};
    };
    const QStringList before101 = stored(101), before102 = stored(102);
    load();
    EXPECT_EQ(plan.loadProblems.size(), 2) << plan.loadProblems.join(u'|').toStdString();
    EXPECT_EQ(plan[recordOf(101)].workMinutes, 0);
    EXPECT_TRUE(plan[recordOf(102)].placementUnreadable);

    // Changed elsewhere, the made-up values stay out of the rows.
    edit(101).remarks = q(u"確認");
    edit(102).remarks = q(u"確認");
    prompt.answers = {true, true};
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    EXPECT_EQ(stored(101).mid(0, 2), before101.mid(0, 2));  // hours and total minutes
    EXPECT_EQ(stored(102).mid(2), before102.mid(2));        // dates and times
    EXPECT_EQ(Row(d(), q(u"DB0253"), q(u"手配番号=102")).text(q(u"備考")), q(u"確認"));

    // Moved by the planner, the bar's own times are written.
    load();
    plan::PlanRecord& r = edit(102);
    r.setStart(core::Moment::of(Date::fromYmd(2024, 5, 7), TimeOfDay::fromHms(9, 0)));
    r.setEnd(core::Moment::of(Date::fromYmd(2024, 5, 7), TimeOfDay::fromHms(11, 0)));
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    EXPECT_EQ(Row(d(), q(u"DB0253"), q(u"手配番号=102")).text(q(u"作業終了時間")), q(u"110000"));
}

TEST_P(SaveSteps, ComponentRowsThePlanDidNotLoadAreLeftAlone)
{
    // 102 has more components than a bar keeps.
    for (int k = 1; k <= 22; ++k)
        d().exec(q(u"INSERT INTO DB0252 (上位手配番号,品名コード,順序,生産工場コード,必要数,実績数,支給数,完納区分,原単位分子,原単位分母,不良率,削除フラグ)"
                   u" VALUES (102,?,0,1,?,0,0,'0',1,1,0,'0')"),
                 {QStringLiteral("PART-%1").arg(k, 2, 10, QLatin1Char('0')), 10 * k});
    load();
    plan::PlanRecord& r = edit(102);
    ASSERT_EQ(int(r.components.size()), plan::MaxComponentsPerOrder);
    r.setStart(r.start().addMinutes(30));
    r.setEnd(r.end().addMinutes(30));
    const QStringList loaded = [&] {
        QStringList items;
        for (const plan::Component& c : r.components) items << c.itemCode.trimmed();
        return items;
    }();
    prompt.answers = {true, true};
    ASSERT_EQ(save().outcome, SaveOutcome::Saved);

    db::Cursor c = d().query(q(u"SELECT 品名コード, 削除フラグ, 必要数, 更新プログラム FROM DB0252 WHERE 上位手配番号=102"));
    int live = 0, untouched = 0;
    while (c.next()) {
        live += c.text(q(u"削除フラグ")) == q(u"0") ? 1 : 0;
        if (!loaded.contains(c.text(q(u"品名コード")).trimmed())) {
            ++untouched;
            EXPECT_TRUE(c.text(q(u"更新プログラム")).isEmpty()) << "a row the plan did not load was written";
        }
    }
    EXPECT_EQ(live, 22);
    EXPECT_EQ(untouched, 22 - plan::MaxComponentsPerOrder);
}

TEST_P(SaveSteps, ChangedCalendarDaysAreWrittenAsKept)
{
    d().exec(q(u"DELETE FROM DB0491 WHERE 機械コード='M02' AND 年月日='20240531'"));
    load();
    const int m01 = planner.rows.findRow(q(u"M01")), m02 = planner.rows.findRow(q(u"M02"));
    const int may4 = settings.PeriodStart.daysTo(Date::fromYmd(2024, 5, 4)) + 2;
    const int may31 = settings.PeriodStart.daysTo(Date::fromYmd(2024, 5, 31)) + 2;
    core::MachineDay& day = planner.calendar.day(may4, m01);
    day.KinmuJikan = 6;
    day.ShiftTime[1] = TimeOfDay::fromHms(9, 0);
    day.ShiftTime[2] = TimeOfDay::fromHms(15, 0);
    day.stop = core::StopInfo{q(u"点検"), q(u"金型交換"), TimeOfDay::fromHms(10, 0), 1};
    planner.calendar.day(may31, m02).ShiftTime[1] = TimeOfDay::fromHms(8, 0);
    planner.calendar.day(may31, m02).ShiftTime[2] = TimeOfDay::fromHms(12, 0);
    changedDays.clear();
    store::keepChangedDay(changedDays, planner, m01, may4);
    store::keepChangedDay(changedDays, planner, m02, may31);

    ASSERT_EQ(save().outcome, SaveOutcome::Saved);
    EXPECT_TRUE(changedDays.empty());
    expectColumns(Row(d(), q(u"DB0491"), q(u"機械コード='M01' AND 年月日='20240504'")),
                  {{q(u"勤務時間"), 6}, {q(u"開始時刻１"), q(u"090000")}, {q(u"終了時刻１"), q(u"150000")}, {q(u"開始時刻２"), q(u"000000")},
                   {q(u"停止タイトル"), q(u"点検")}, {q(u"停止備考"), q(u"金型交換")}, {q(u"停止開始時刻"), q(u"100000")},
                   {q(u"停止時間"), 1}, {q(u"更新時刻"), q(u"102030")}});
    expectColumns(Row(d(), q(u"DB0491"), q(u"機械コード='M02' AND 年月日='20240531'")),
                  {{q(u"終了時刻１"), q(u"120000")}, {q(u"登録時刻"), q(u"102030")}});
    EXPECT_EQ(Row(d(), q(u"DB0491"), q(u"機械コード='M01' AND 年月日='20240505'")).text(q(u"更新時刻")), QString());
}

SAVE_ON_EVERY_KIND(SaveSteps);

}  // namespace

namespace {

TEST(Amounts, ExactProductTaxDownToTheYen)
{
    const auto at = [](const QVariant& price, std::int64_t qty) { return store::amountsOf(price, qty); };
    const auto a = at(QStringLiteral("120.5"), 3);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->amount, 361.5);  // not rounded to the yen
    EXPECT_EQ(a->tax, 36);
    EXPECT_EQ(a->total, 397.5);
    EXPECT_EQ(at(QStringLiteral("12.345678"), 7)->amount, 86.419746);
    EXPECT_EQ(at(QVariant(0.1), 3)->amount, 0.3);  // a driver's double, taken to the millionth
    EXPECT_EQ(at(QStringLiteral("0.1234567"), 1)->amount, 0.123457);
    EXPECT_EQ(at(QStringLiteral("-10"), 3)->tax, -3);
    EXPECT_EQ(at(QStringLiteral("-10.5"), 1)->tax, -2);  // down, also below zero
    EXPECT_FALSE(at(QStringLiteral("abc"), 3));
    EXPECT_FALSE(at(QStringLiteral("999999999999"), 10'000'000));  // beyond the column
    EXPECT_TRUE(at(QStringLiteral("999999999999"), 1));
}

}  // namespace
