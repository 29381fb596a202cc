// The whole load as the main window runs it: rows, plan table, arrangement.

#include "PlanTestPlant.h"
#include "plan/loading/PlanSession.h"

using namespace plantest;
using core::Moment;
using core::TimeOfDay;

namespace {

class LoadAndArrange : public PlantFixture {};

TEST_P(LoadAndArrange, ConfirmedBarsStayAndMachineBarsPackBehindThem)
{
    order(d(), 101);  // confirmed on M01, 05/02 08:00-12:00
    // Not confirmed, but kept on its machine by option 3: packed behind 101.
    order(d(), 102, {{QStringLiteral("手配確定区分"), QStringLiteral("1")}, {QStringLiteral("作業開始日付"), QStringLiteral("20240503")},
                     {QStringLiteral("作業時間"), 1}, {QStringLiteral("納期"), QStringLiteral("20240511")}});
    // Not confirmed and off the machines: stays in the blank row at the period start.
    order(d(), 103, {{QStringLiteral("手配確定区分"), QStringLiteral("1")}, {QStringLiteral("機械コード"), QVariant()},
                     {QStringLiteral("作業開始日付"), QStringLiteral("20240420")}, {QStringLiteral("納期"), QStringLiteral("20240512")}});
    s.IniOption3 = 1;
    plan::PlanData plan;
    QStringList progress;
    plan::loading::loadAndArrange(d(), s, planner, plan, prompt, [&](const QString& t) { progress << t; });

    ASSERT_EQ(plan.size(), 4);
    // NULL machine codes sort first on some databases and last on others.
    auto rec = [&plan](qint64 orderNo) -> const plan::PlanRecord& {
        for (int i = 2; i <= plan.size(); ++i)
            if (plan[i].orderNo == orderNo) return plan[i];
        return plan[1];
    };
    const plan::PlanRecord& confirmed = rec(101);
    EXPECT_EQ(confirmed.start(), Moment::of(core::Date::fromYmd(2024, 5, 2), TimeOfDay::fromHms(8, 0)));
    EXPECT_EQ(confirmed.end(), Moment::of(core::Date::fromYmd(2024, 5, 2), TimeOfDay::fromHms(12, 0)));
    EXPECT_FALSE(confirmed.isChanged);

    const plan::PlanRecord& packed = rec(102);
    EXPECT_EQ(packed.start(), confirmed.end());
    EXPECT_GT(packed.end(), packed.start());
    EXPECT_TRUE(packed.isChanged);

    const plan::PlanRecord& waiting = rec(103);
    EXPECT_EQ(waiting.startDate, s.PeriodStart);
    EXPECT_FALSE(waiting.hasMachine());

    EXPECT_TRUE(prompt.asked.isEmpty());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_TRUE(progress.contains(QStringLiteral("計画データ読込完了。次の処理を開始します．．．4")));
}

PLANNER_PLANT_ON_EVERY_KIND(LoadAndArrange);

}  // namespace
