// A split through the session, saved and loaded again: the new lot becomes a
// work order numbered from DB0018 with its own components, and a lot moved
// whole keeps its order.

#include "SaveFixture.h"
#include "session/PlanSession.h"

using namespace savetest;

namespace {

class SplitSave : public SaveFixture {
protected:
    std::unique_ptr<session::PlanSession> open()
    {
        auto s = std::make_unique<session::PlanSession>(settings, &d());
        s->setPrompt(&prompt);
        s->setClock(saveMoment);
        s->load();
        return s;
    }
    static int recordOf(const plan::PlanData& p, qint64 orderNo)
    {
        for (int i = 2; i <= p.size(); ++i)
            if (p[i].orderNo == orderNo && !p[i].isMergedAway) return i;
        return 0;
    }
    double required(qint64 orderNo, const char* item)
    {
        return Row(d(), QStringLiteral("DB0252"), QStringLiteral("上位手配番号=? AND 品名コード=? AND 削除フラグ='0'"),
                   {orderNo, QString::fromUtf8(item)})
            .num(QStringLiteral("必要数"));
    }
};

TEST_P(SplitSave, PartOfALotBecomesANewWorkOrder)
{
    auto s = open();
    const int i = recordOf(s->plan(), 101);
    ASSERT_NE(i, 0);
    reschedule::SplitLots lots = reschedule::splitLotsOf(s->plan()[i]);
    ASSERT_EQ(lots.inner.size(), 1u);
    reschedule::setLotCount(lots, lots.inner[0].planNo, 40);
    ASSERT_TRUE(s->splitOrder(i, lots).changed);
    EXPECT_EQ(s->history().stepCount(), 1);
    EXPECT_LT(s->plan()[s->plan().size()].orderNo, 0);

    const SaveResult saved = s->save();
    ASSERT_EQ(saved.outcome, SaveOutcome::Saved) << prompt.told.join(u'\n').toStdString();
    EXPECT_EQ(saved.ordersCreated, 1);
    EXPECT_EQ(Row(d(), QStringLiteral("DB0018"), QStringLiteral("番号管理キー='手配番号'")).num(QStringLiteral("現在番号")), 5001);
    EXPECT_EQ(s->plan()[s->plan().size()].orderNo, 5001);

    const auto again = open();
    const int source = recordOf(again->plan(), 101), added = recordOf(again->plan(), 5001);
    ASSERT_NE(source, 0);
    ASSERT_NE(added, 0);
    EXPECT_EQ(again->plan()[source].orderQty, 60);
    EXPECT_EQ(again->plan()[added].orderQty, 40);
    EXPECT_EQ(again->plan()[added].machineCode, QStringLiteral("M01"));
    EXPECT_EQ(again->plan()[added].start(), s->plan()[s->plan().size()].start());
    EXPECT_EQ(required(101, "MAT-1"), 120);
    EXPECT_EQ(required(5001, "MAT-1"), 80);
    EXPECT_EQ(required(5001, "MAT-9"), 80);
    EXPECT_EQ(Row(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=5001")).num(QStringLiteral("受入実績数")), 0);
}

TEST_P(SplitSave, ALotGivenWholeKeepsItsOrderAndNothingIsDeleted)
{
    auto s = open();
    // 101 and 103 on one bar, as a merge leaves them.
    const int a = recordOf(s->plan(), 101), b = recordOf(s->plan(), 103);
    s->apply(QStringLiteral("合体"), [&](reschedule::RuleContext& ctx) {
        plan::PlanRecord& t = ctx.plan.edit(a);
        plan::memberSlot(t.membersA, 1) = ctx.plan[b].membersA[0];
        t.orderQty += ctx.plan[b].orderQty;
        t.memberCount = 2;
        t.isChanged = true;
        plan::PlanRecord& gone = ctx.plan.edit(b);
        gone.orderNo = 0;
        gone.orderQty = 0;
        gone.loadMark = 0;
        gone.isChanged = false;
        gone.isMergedAway = true;
        reschedule::RuleOutcome out;
        out.touch(a);
        out.touch(b);
        return out;
    });
    reschedule::SplitLots lots = reschedule::splitLotsOf(s->plan()[a]);
    ASSERT_EQ(lots.inner.size(), 2u);
    lots.inner[1].count = 20;  // order 103 whole
    ASSERT_EQ(reschedule::checkSplit(lots), std::nullopt);
    ASSERT_TRUE(s->splitOrder(a, lots).changed);
    const plan::PlanRecord& moved = s->plan()[s->plan().size()];
    EXPECT_EQ(moved.orderNo, 103);

    const SaveResult saved = s->save();
    ASSERT_EQ(saved.outcome, SaveOutcome::Saved) << prompt.told.join(u'\n').toStdString();
    EXPECT_EQ(saved.ordersCreated, 0);
    EXPECT_EQ(Row(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=103")).text(QStringLiteral("削除フラグ")), QStringLiteral("0"));
    EXPECT_EQ(Row(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=103")).num(QStringLiteral("手配数")), 20);
    EXPECT_EQ(Row(d(), QStringLiteral("DB0253"), QStringLiteral("手配番号=101")).num(QStringLiteral("手配数")), 100);
    EXPECT_EQ(Row(d(), QStringLiteral("DB0018"), QStringLiteral("番号管理キー='手配番号'")).num(QStringLiteral("現在番号")), 5000);
    const auto again = open();
    EXPECT_EQ(again->plan()[recordOf(again->plan(), 103)].start(), moved.start());
}

SAVE_ON_EVERY_KIND(SplitSave);

}  // namespace
