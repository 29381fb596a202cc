// The whole load as the main window runs it: rows, plan table, arrangement.

#include "support/SessionLoad.h"
#include "PlanTestPlant.h"
#include "store/loading/PlanLoading.h"

using namespace plantest;

namespace {

class LoadAndArrange : public PlantFixture {};

TEST_P(LoadAndArrange, ConfirmedBarsStayAndMachineBarsPackBehindThem)
{
    order(d(), 101);  // confirmed on M01, 05/02 08:00-12:00
    // Not confirmed but kept on its machine by option 3: packed behind 101.
    order(d(), 102, {{"手配確定区分", "1"}, {"作業開始日付", "20240503"}, {"作業時間", 1}});
    // Not confirmed and on no machine: waits in the blank row.
    order(d(), 103, {{"手配確定区分", "1"}, {"機械コード", QVariant()}, {"作業開始日付", "20240420"}});
    s.IniOption3 = 1;
    QStringList progress;
    testing_support::loadAndArrange(d(), s, planner, plan, prompt, [&](const QString& t) { progress << t; });

    ASSERT_EQ(plan.size(), 4);
    EXPECT_EQ(rec(101).end(), core::Moment::of(core::Date::fromYmd(2024, 5, 2), core::TimeOfDay::fromHms(12, 0)));
    EXPECT_FALSE(rec(101).isChanged);
    EXPECT_EQ(rec(102).start(), rec(101).end());
    EXPECT_TRUE(rec(102).isChanged);
    EXPECT_EQ(rec(103).startDate, s.PeriodStart);
    EXPECT_FALSE(rec(103).hasMachine());
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_TRUE(progress.contains(QStringLiteral("計画データ読込完了。次の処理を開始します．．．4")));
}

PLANNER_PLANT_ON_EVERY_KIND(LoadAndArrange);

}  // namespace
