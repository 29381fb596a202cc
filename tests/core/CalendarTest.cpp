#include "CoreTestSupport.h"

#include <gtest/gtest.h>

using namespace core_test;
using Periods = std::vector<std::string>;

namespace {
Breaks acceptedBreaks(const Breaks& offered)
{
    const core::Planner p = makePlanner(ymd(2024, 5, 10), ymd(2024, 5, 10), hm(8), offered);
    Breaks out;
    for (std::size_t s = 1; s <= 19 && !(p.calendar.BreakTime[s].isZero() && p.calendar.BreakTime[s + 1].isZero()); s += 2)
        out.emplace_back(p.calendar.BreakTime[s], p.calendar.BreakTime[s + 1]);
    return out;
}
}  // namespace

TEST(BreakMaster, AcceptanceAndCollisionRules)
{
    // Empty, reversed and zero-length pairs go; breaks to and from midnight stay.
    EXPECT_EQ(acceptedBreaks({{hm(0), hm(0)}, {hm(13), hm(12)}, {hm(22), hm(0)}, {hm(10), hm(10)}, {hm(0), hm(1)}}),
              (Breaks{{hm(22), hm(0)}, {hm(0), hm(1)}}));
    // Starting or ending inside an accepted pair is refused; enclosing or touching one is not.
    EXPECT_EQ(acceptedBreaks({{hm(12), hm(13)}, {hm(12, 30), hm(12, 45)}, {hm(11), hm(14)}, {hm(11), hm(12)}}),
              (Breaks{{hm(12), hm(13)}, {hm(11), hm(14)}}));
    EXPECT_EQ(acceptedBreaks({{hm(12), hm(13)}, {hm(12, 59), hm(15)}, {hm(11), hm(12)}, {hm(13), hm(14)}, {hm(23), hm(0)},
                              {hm(23, 30), hm(0)}}),
              (Breaks{{hm(12), hm(13)}, {hm(11), hm(12)}, {hm(13), hm(14)}, {hm(23), hm(0)}}));
}

TEST(CalendarRows, StoredByDateWithPairsAppendedAndOutsideRowsIgnored)
{
    core::Planner p = makePlanner(ymd(2024, 5, 10), ymd(2024, 5, 12), hm(8));
    const int m = addMachine(p, "M1", {});
    auto first = dayRow(ymd(2024, 5, 10), hm(8), hm(17), hm(17), hm(17));  // an equal pair is no shift
    first.stopTitle = "点検";
    auto second = dayRow(ymd(2024, 5, 10), hm(20), hm(5));
    second.workingHours.reset();  // null keeps the value
    for (const auto& row : {first, second, dayRow(ymd(2024, 5, 8), hm(6), hm(7)), dayRow(ymd(2024, 5, 14), hm(6), hm(7)),
                            dayRow(Date(), hm(6), hm(7))})
        core::storeCalendarRow(p.calendar, m, p.PeriodStart, row);
    core::storeCalendarRow(p.calendar, 99, p.PeriodStart, first);

    const auto& d = p.calendar.day(2, m);
    EXPECT_EQ(d.KinmuJikan, 8);
    EXPECT_EQ(std::vector<TimeOfDay>(d.ShiftTime.begin() + 1, d.ShiftTime.begin() + 6), (std::vector<TimeOfDay>{hm(8), hm(17), hm(20), hm(5), {}}));
    EXPECT_EQ(d.stop.title, "");  // the last row's stop stands
    EXPECT_EQ(p.calendar.day(0, m).ShiftTime[1], hm(6));  // PeriodStart − 2 is day 0
}

struct BuildCase {
    const char* name;
    TimeOfDay dayChange;
    Breaks breaks;
    Breaks shifts;  // one or two, in one row
    TimeOfDay stopStart;
    int stopHours;
    Periods want;
};

class BuildDay : public testing::TestWithParam<BuildCase> {};

TEST_P(BuildDay, PeriodsInProductionDayOrder)
{
    const BuildCase& c = GetParam();
    core::Planner p = makePlanner(ymd(2024, 5, 10), ymd(2024, 5, 10), c.dayChange, c.breaks);
    auto row = dayRow(ymd(2024, 5, 10), c.shifts[0].first, c.shifts[0].second);
    if (c.shifts.size() > 1) std::tie(row.start2, row.end2) = c.shifts[1];
    row.stopStart = c.stopStart, row.stopHours = c.stopHours;
    EXPECT_EQ(periodsOf(p, 2, addMachine(p, "M1", {row})), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, BuildDay,
    testing::Values(
        BuildCase{"Lunch", hm(8), {{hm(12), hm(13)}}, {{hm(8), hm(17)}}, {}, 0, {"08:00-12:00", "13:00-17:00"}},
        BuildCase{"NightShift", hm(8), {}, {{hm(20), hm(5)}}, {}, 0, {"20:00-24:00", "00:00-05:00"}},
        BuildCase{"BreaksAroundMidnight", hm(8), {{hm(22), hm(0)}, {hm(2), hm(3)}}, {{hm(8), hm(12)}, {hm(20), hm(5)}}, {}, 0,
                  {"08:00-12:00", "20:00-22:00", "00:00-02:00", "03:00-05:00"}},
        BuildCase{"NightPairFirstLosesNothing", hm(8), {}, {{hm(20), hm(5)}, {hm(8), hm(17)}}, {}, 0,
                  {"08:00-17:00", "20:00-24:00", "00:00-05:00"}},
        BuildCase{"Stop", hm(8), {{hm(12), hm(13)}}, {{hm(8), hm(17)}}, hm(14), 2, {"08:00-12:00", "13:00-14:00", "16:00-17:00"}},
        BuildCase{"StopEndsAtTheDayChange", hm(8), {}, {{hm(20), hm(8)}}, hm(2), 30, {"20:00-24:00", "00:00-02:00"}},
        BuildCase{"ShiftAcrossTheDayChange", hm(8), {{hm(7, 30), hm(8, 30)}}, {{hm(6), hm(10)}}, {}, 0, {"08:30-10:00", "06:00-07:30"}},
        BuildCase{"OverlappingShiftsUnite", hm(8), {}, {{hm(8), hm(17)}, {hm(16), hm(0)}}, {}, 0, {"08:00-24:00"}},
        BuildCase{"MidnightDayChangeWholeDay", hm(0), {}, {{hm(0), hm(12)}, {hm(12), hm(0)}}, {}, 0, {"00:00-12:00", "12:00-24:00"}}),
    [](const testing::TestParamInfo<BuildCase>& info) { return info.param.name; });

TEST(BuildDayLimit, MoreThanTwelvePiecesFillTheShortestGapButNotMidnight)
{
    core::Planner p = makePlanner(ymd(2024, 5, 10), ymd(2024, 5, 10), hm(8),
                                  {{hm(9), hm(9, 10)}, {hm(10), hm(10, 5)}, {hm(11), hm(11, 10)}, {hm(12), hm(13)}, {hm(15), hm(15, 10)},
                                   {hm(17), hm(17, 30)}, {hm(19), hm(19, 10)}, {hm(21), hm(21, 10)}, {hm(2), hm(2, 30)}, {hm(4), hm(4, 10)}});
    auto row = dayRow(ymd(2024, 5, 10), hm(8), hm(20), hm(20), hm(8));  // round the clock
    row.stopStart = hm(6), row.stopHours = 1;
    const Periods want{"08:00-09:00", "09:10-11:00", "11:10-12:00", "13:00-15:00", "15:10-17:00", "17:30-19:00",
                       "19:10-21:00", "21:10-24:00", "00:00-02:00", "02:30-04:00", "04:10-06:00", "07:00-08:00"};
    EXPECT_EQ(periodsOf(p, 2, addMachine(p, "M1", {row})), want);  // only the 5-minute break is worked through
}
