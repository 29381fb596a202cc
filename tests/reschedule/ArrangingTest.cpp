// Arranging after loading: confirmed bars stay, unconfirmed machine bars are
// packed behind them, and arranging again changes nothing.
#include "RuleTestSupport.h"

#include "reschedule/Arranging.h"

using namespace rules_test;

namespace {

class Arranging : public RuleTest {
protected:
    // An order standing on a machine without a confirmed placement (IniOption3).
    int addUnconfirmed(std::int64_t orderNo, const QString& machine, Moment loadedStart, std::int64_t qty)
    {
        const int i = addBar(orderNo, machine, loadedStart, 0, qty);
        rec(i).confirmKind = plan::ConfirmKind::Planned;
        rec(i).pieceSeconds = 0;
        rec(i).cycle = 36;  // 36 s a shot, 1 cavity: 100 pieces take 60 minutes
        rec(i).setupMinutes = 15;
        return i;
    }
};

TEST_F(Arranging, ConfirmedBarsStayAndOthersArePackedBehindThemWithoutDrift)
{
    const int c1 = addBar(1, "M1", at(2, 8), 120);
    const int c2 = addBar(2, "M1", at(2, 13), 120);  // the machine's last bar ends 15:00
    const int u1 = addUnconfirmed(3, "M1", at(1, 8), 100);
    const int u2 = addUnconfirmed(4, "M1", at(1, 8), 200);
    const int c3 = addBar(5, "M2", at(3, 9), 60);
    const int u3 = addUnconfirmed(6, "M2", at(5, 8), 100);
    const int offRow = addUnconfirmed(7, "X9", at(1, 8), 100);  // machine not on the chart
    const plan::PlanData loaded = plan;

    QStringList progress;
    reschedule::planDataYoteiBarSet(ctx, [&](const QString& t) { progress << t; });
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_FALSE(ctx.ArrangeMode);
    for (int i : {c1, c2, c3}) {
        EXPECT_EQ(plan[i], loaded[i]) << i;  // untouched, not even marked
    }
    EXPECT_EQ(plan[offRow], loaded[offRow]);
    EXPECT_EQ(plan[u1].start(), at(2, 15));
    EXPECT_EQ(plan[u1].workMinutes, 60);
    EXPECT_EQ(plan[u1].pieceSeconds, 36);
    EXPECT_EQ(plan[u1].end(), at(2, 16, 15));  // set-up + work
    EXPECT_EQ(plan[u2].start(), at(2, 16, 15));
    EXPECT_EQ(plan[u2].end(), at(3, 9, 30));  // 135 minutes across the night
    EXPECT_EQ(plan[u3].start(), at(3, 10));
    for (int i : {u1, u2, u3}) {
        EXPECT_TRUE(plan[i].isChanged);
        EXPECT_EQ(plan[i].inOutKind, plan::InOutKind::InHouse);
        EXPECT_EQ(plan[i].destCode, "0101        ");
    }
    EXPECT_EQ(progress.last(), "計画データの配置が完了しました。8／8");
    expectSound();

    const plan::PlanData once = plan;
    reschedule::planDataYoteiBarSet(ctx);
    EXPECT_EQ(plan, once);
}

TEST_F(Arranging, AMachineWithoutConfirmedBarsKeepsTheFirstLoadedStart)
{
    const int u1 = addUnconfirmed(1, "M2", at(3, 9), 100);
    const int u2 = addUnconfirmed(2, "M2", at(1, 8), 100);
    reschedule::planDataYoteiBarSet(ctx);
    EXPECT_EQ(plan[u1].start(), at(3, 9));
    EXPECT_EQ(plan[u2].start(), at(3, 10, 15));
    const plan::PlanData once = plan;
    reschedule::planDataYoteiBarSet(ctx);
    EXPECT_EQ(plan, once);
}

TEST_F(Arranging, OverlappingConfirmedBarsAreResolvedAsForADrop)
{
    const int a = addBar(1, "M1", at(2, 8), 120);
    const int b = addBar(2, "M1", at(2, 9), 60);    // runs into a: pushed, no question
    const int c = addBar(3, "M1", at(2, 10, 30), 60);
    const int d = addBar(4, "M1", at(3, 8), 60);    // after a gap: untouched
    reschedule::planDataYoteiBarSet(ctx);
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_EQ(plan[a].start(), at(2, 8));
    EXPECT_EQ(plan[b].start(), at(2, 10));
    EXPECT_EQ(plan[c].start(), at(2, 11));
    EXPECT_FALSE(plan[a].isChanged);
    EXPECT_TRUE(plan[b].isChanged && plan[c].isChanged);
    EXPECT_FALSE(plan[d].isChanged);
    expectSound();

    // A confirmed bar arranged before the bar it lies in is asked about (arrange
    // mode answers only the push question by itself).
    const int f = addBar(5, "M2", at(2, 9), 60);
    addBar(6, "M2", at(2, 8), 240);
    prompt.answers = {true};
    reschedule::planDataYoteiBarSet(ctx);
    EXPECT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(plan[f].start(), at(2, 12));
    EXPECT_EQ(plan[f].end(), at(2, 14));
    expectSound();
}

TEST_F(Arranging, SetMembersFollowTheirPackedRepresentative)
{
    const int rep = addUnconfirmed(10, "M1", at(1, 8), 100);
    const int member = addBar(11, "M1", at(1, 8), 0, 100);
    rec(rep).setRepOrderNo = rec(member).setRepOrderNo = 10;
    rec(member).isSetMember = true;
    rec(member).confirmKind = plan::ConfirmKind::Planned;
    addBar(1, "M1", at(2, 8), 60);
    reschedule::planDataYoteiBarSet(ctx);
    EXPECT_EQ(plan[rep].start(), at(2, 9));
    EXPECT_EQ(plan[member].start(), plan[rep].start());
    EXPECT_EQ(plan[member].end(), plan[rep].end());
    EXPECT_TRUE(plan[member].isChanged);
    expectSound();
}

}  // namespace
