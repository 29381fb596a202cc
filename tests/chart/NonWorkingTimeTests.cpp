// Shading of a machine's day: the complement of its working periods and its stop.
#include "chart/NonWorkingTime.h"

#include "ChartFixture.h"

using namespace chart_test;

namespace {

TEST(NonWorkingTime, ComplementOfTheWorkingPeriodsWithinTheProductionDay)
{
    core::Planner p;
    buildPlant(p);
    const chart::MachineDayShading s = chart::shadingOf(p, 2, 2);  // M01 on 12/02
    ASSERT_EQ(s.idle.size(), 2u);
    EXPECT_EQ(s.idle[0].from, at(2, 12));
    EXPECT_EQ(s.idle[0].to, at(2, 13));
    EXPECT_EQ(s.idle[1].from, at(2, 17));
    EXPECT_EQ(s.idle[1].to, at(3, 8));
    EXPECT_FALSE(s.stop);
    EXPECT_TRUE(chart::shadingOf(p, 1, 2).idle.empty()) << "row 1 has no calendar";
    EXPECT_TRUE(chart::shadingOf(p, 14, 2).idle.empty()) << "suppliers have no calendar";
}

TEST(NonWorkingTime, NightShiftAcrossMidnightAndAStop)
{
    core::Planner p;
    buildPlant(p);
    auto& day = p.calendar.day(3, 2);  // M01, production day 12/03
    day.CalTime = {};
    day.CalTime[1] = core::TimeOfDay::fromHms(20, 0);
    day.CalTime[2] = core::TimeOfDay::fromHms(0, 0);  // 24:00
    day.CalTime[3] = core::TimeOfDay::fromHms(0, 0);
    day.CalTime[4] = core::TimeOfDay::fromHms(5, 0);
    day.stop = {QStringLiteral("金型交換"), QStringLiteral(""), core::TimeOfDay::fromHms(9, 0), 2};
    const chart::MachineDayShading s = chart::shadingOf(p, 2, 3);
    ASSERT_EQ(s.idle.size(), 2u);
    EXPECT_EQ(s.idle[0].from, at(3, 8));
    EXPECT_EQ(s.idle[0].to, at(3, 20));
    EXPECT_EQ(s.idle[1].from, at(4, 5));
    EXPECT_EQ(s.idle[1].to, at(4, 8));
    ASSERT_TRUE(s.stop);
    EXPECT_EQ(s.stop->from, at(3, 9));
    EXPECT_EQ(s.stop->to, at(3, 11));
    EXPECT_EQ(s.stopTitle, QStringLiteral("金型交換"));
}

}  // namespace
