// A ring bar saved: the outer ring order takes the bar's schedule but keeps
// its own components, cycle, remarks and display kind; a split of the ring
// shares the outer ring's components by quantity.

#include "SaveFixture.h"
#include "reschedule/Split.h"
#include "reschedule/UndoStep.h"
#include "store/loading/SqlMasterLookup.h"

using namespace savetest;

namespace {

class RingSave : public SaveFixture {
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        if (!t.db) return;
        insert(d(), QStringLiteral("DB0378"), {{QStringLiteral("品名コード"), QStringLiteral("RING-O")}, {QStringLiteral("包装単位数量"), 10}});
        insert(d(), QStringLiteral("DB0381"), {{QStringLiteral("品名コード"), QStringLiteral("RING-O")}, {QStringLiteral("順序"), 999},
                                               {QStringLiteral("生産工場コード"), 1}, {QStringLiteral("工程内容コード"), QStringLiteral("P1")}});
        // Order 104, the outer ring of 101's lot, stored on 101's bar.
        addOrder(d(), 104, {{QStringLiteral("品名コード"), QStringLiteral("RING-O")}, {QStringLiteral("GNT表示区分"), QStringLiteral("2")},
                            {QStringLiteral("サイクル"), 45}, {QStringLiteral("備考"), QStringLiteral("外輪")}});
        insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 104}, {QStringLiteral("品名コード"), QStringLiteral("MAT-2")},
                                               {QStringLiteral("順序"), 7}, {QStringLiteral("生産工場コード"), 1}, {QStringLiteral("必要数"), 25},
                                               {QStringLiteral("原単位分子"), 1}, {QStringLiteral("原単位分母"), 4},
                                               {QStringLiteral("削除フラグ"), QStringLiteral("0")}});
    }
    double required(qint64 orderNo, const char* item)
    {
        return Row(d(), QStringLiteral("DB0252"), QStringLiteral("上位手配番号=? AND 品名コード=? AND 削除フラグ='0'"),
                   {orderNo, QString::fromUtf8(item)})
            .num(QStringLiteral("必要数"));
    }
};

TEST_P(RingSave, TheOuterRingKeepsWhatIsItsOwn)
{
    load();
    const int i = recordOf(101);
    ASSERT_EQ(plan[i].membersB.size(), 1u);
    plan::PlanRecord& r = edit(101);
    r.setStart(r.start().addMinutes(120));
    r.setEnd(r.end().addMinutes(120));
    ASSERT_EQ(save().outcome, SaveOutcome::Saved) << prompt.told.join(u'\n').toStdString();
    const Row outer(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=104"));
    EXPECT_EQ(outer.text(QStringLiteral("作業開始時間")), QStringLiteral("100000"));
    EXPECT_EQ(outer.text(QStringLiteral("GNT表示区分")), QStringLiteral("2"));
    EXPECT_EQ(outer.num(QStringLiteral("サイクル")), 45);
    EXPECT_EQ(outer.text(QStringLiteral("備考")), QStringLiteral("外輪"));
    EXPECT_EQ(required(104, "MAT-2"), 25);
    EXPECT_EQ(countRows(d(), QStringLiteral("SELECT * FROM DB0252 WHERE 上位手配番号=104 AND 削除フラグ='0'")), 1);
    EXPECT_EQ(required(101, "MAT-1"), 200);

    load();  // still one bar
    EXPECT_EQ(plan[recordOf(101)].membersB.size(), 1u);
}

TEST_P(RingSave, ASplitRingSharesTheOuterRingsComponents)
{
    load();
    const int i = recordOf(101);
    store::SqlMasterLookup lookup(d(), 1);
    plan::PlanHistory history(plan);
    reschedule::RuleContext ctx{planner, plan, prompt, lookup, settings};
    reschedule::SplitLots lots = reschedule::splitLotsOf(plan[i]);
    reschedule::setLotCount(lots, 900, 30);
    ASSERT_EQ(reschedule::checkSplit(lots), std::nullopt);
    ASSERT_TRUE(reschedule::runStep(history, "split", [&] { return reschedule::splitOrder(ctx, i, lots); }).changed);
    const SaveResult saved = save();
    ASSERT_EQ(saved.outcome, SaveOutcome::Saved) << prompt.told.join(u'\n').toStdString();
    EXPECT_EQ(saved.ordersCreated, 2);  // the inner and the outer ring of the new bar
    EXPECT_EQ(required(104, "MAT-2"), 17.5);
    const plan::PlanRecord& added = plan[plan.size()];
    ASSERT_EQ(added.membersB.size(), 1u);
    EXPECT_EQ(required(qlonglong(added.membersB[0].orderNo), "MAT-2"), 7.5);
    EXPECT_EQ(Row(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=?"), {qlonglong(added.membersB[0].orderNo)}).text(QStringLiteral("GNT表示区分")),
              QStringLiteral("2"));
    EXPECT_EQ(required(qlonglong(added.membersA[0].orderNo), "MAT-1"), 60);

    const std::int64_t addedNo = added.orderNo;
    load();
    const int ring = recordOf(addedNo);
    ASSERT_NE(ring, 0);
    EXPECT_EQ(plan[ring].membersB.size(), 1u);  // the new ring bar loads as one bar again
}

SAVE_ON_EVERY_KIND(RingSave);

}  // namespace
