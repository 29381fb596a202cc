#include "CoreTestSupport.h"

#include <gtest/gtest.h>

using namespace core_test;

namespace {

// From Monday 2024-05-13, day change 08:00, lunch 12:00-13:00. M1 works 08:00-17:00,
// M2 also 20:00-05:00; M3 has Monday, no Tuesday and Wednesday stopped 08:00-12:00;
// S1 is a supplier (no calendar).
class WorkingTime : public testing::Test {
protected:
    void SetUp() override
    {
        p = makePlanner(mon, ymd(2024, 5, 19), hm(8), {{hm(12), hm(13)}});
        addMachine(p, "M1", everyDay(p, hm(8), hm(17)));
        m2 = addMachine(p, "M2", everyDay(p, hm(8), hm(17), hm(20), hm(5)));
        auto stopped = dayRow(wed, hm(8), hm(17));
        stopped.stopStart = hm(8), stopped.stopHours = 4;
        m3 = addMachine(p, "M3", {dayRow(mon, hm(8), hm(17)), stopped});
        s1 = p.rows.append("S1", "supplier", "S1");
    }
    Moment end(Moment start, std::int64_t minutes, const QString& code) const { return core::calcEndTime(p, start, minutes, code); }
    std::int64_t dayMinutes(Moment m, int row) const
    {
        Moment next;
        return core::dayWorkMinutes(p, m, row, next);
    }

    const Date mon = ymd(2024, 5, 13), tue = mon.addDays(1), wed = mon.addDays(2);
    core::Planner p;
    int m2 = 0, m3 = 0, s1 = 0;
};

}  // namespace

TEST_F(WorkingTime, ZeroMinuteJobEndsAtTheFirstWorkingMoment)
{
    EXPECT_EQ(end(at(mon, 12, 30), 0, "M1"), at(mon, 13));  // in a break
    EXPECT_EQ(end(at(mon, 10, 0, 30), 0, "M1"), at(mon, 10, 0, 30));
    EXPECT_EQ(end(at(tue, 3), 0, "M1"), at(tue, 8));  // early hours of Monday's production day
    EXPECT_EQ(core::snapToWorkingTime(p, at(mon, 16, 59, 30), "M2"), at(mon, 20));  // half a minute is no working minute
}

TEST_F(WorkingTime, UsingAPeriodExactlyUpEndsAtItsEnd)
{
    EXPECT_EQ(end(at(mon, 10), 120, "M1"), at(mon, 12));
    EXPECT_EQ(end(at(mon, 10), 121, "M1"), at(mon, 13, 1));
    EXPECT_EQ(end(at(mon, 16), 300, "M2"), at(tue, 0));  // 24:00, not the next period
    EXPECT_EQ(end(at(mon, 8), 481, "M1"), at(tue, 8, 1));
}

TEST_F(WorkingTime, DayChangeSeparatesProductionDays)
{
    EXPECT_EQ(core::dayIndexOf(p, at(mon, 8)), 2);
    EXPECT_EQ(core::dayIndexOf(p, at(mon, 7, 59, 59)), 1);
    EXPECT_EQ(core::nextDayStartOf(p, at(mon, 7, 59, 59)), at(mon, 8));
    EXPECT_EQ(dayMinutes(at(mon, 8), m2), 240 + 240 + 240 + 300);
    EXPECT_EQ(dayMinutes(at(mon, 7, 59, 59), m2), 0);
    EXPECT_EQ(dayMinutes(at(tue, 1), m2), 240);  // early: only the after-midnight periods
    EXPECT_EQ(dayMinutes(at(tue, 4, 59, 30), m2), 0);
}

TEST_F(WorkingTime, NightShiftRunsOnTheNextDate)
{
    EXPECT_EQ(end(at(mon, 23), 180, "M2"), at(tue, 2));
    EXPECT_EQ(end(at(tue, 4), 120, "M2"), at(tue, 9));
    EXPECT_EQ(core::addWorkMinutesInDay(p, at(mon, 9), m2, 900), at(tue, 4));
    EXPECT_EQ(core::addWorkMinutesInDay(p, at(tue, 4), m2, 9999), at(tue, 8));  // not enough: the day's end
}

TEST_F(WorkingTime, JobsSkipEmptyDaysAndStops)
{
    EXPECT_EQ(end(at(mon, 16), 180, "M3"), at(wed, 15));
    EXPECT_EQ(end(at(tue, 9), 0, "M3"), at(wed, 13));
    auto& tuesday = p.calendar.day(3, m3);  // written by hand: WorkMinutes must say "unknown"
    tuesday.CalTime[1] = hm(9), tuesday.CalTime[2] = hm(11), tuesday.WorkMinutes = -1;
    EXPECT_EQ(end(at(mon, 16), 200, "M3"), at(wed, 13, 20));
}

TEST_F(WorkingTime, OutsideTheCalendar)
{
    const Date first = mon.addDays(-2), after = ymd(2024, 5, 21);
    EXPECT_EQ(end(at(ymd(2024, 1, 1), 10), 30, "M1"), at(first, 8, 30));  // waits for the first day
    EXPECT_EQ(end(at(first, 7, 59), 30, "M1"), at(first, 8, 30));
    EXPECT_EQ(dayMinutes(at(first, 7, 59), 2), 0);
    EXPECT_EQ(end(at(after.addDays(-1), 16), 120, "M1"), at(after, 9));  // then clock minutes
    EXPECT_EQ(end(at(after, 8), 2000, "M1"), at(after.addDays(2), 9, 20));
}

TEST_F(WorkingTime, RowsWithoutCalendarCountClockMinutesUpTo960ADay)
{
    EXPECT_EQ(end(at(mon, 23), 90, "ZZ"), at(tue, 0, 30));  // unknown code: row 1
    EXPECT_EQ(end(at(ymd(2000, 1, 1), 10), 90, "ZZ"), at(ymd(2000, 1, 1), 11, 30));
    EXPECT_EQ(end(at(mon, 7), 1000, "S1"), at(mon, 23, 40));  // never fewer minutes than the job needs
    EXPECT_EQ(end(at(mon, 8), 2000, "S1"), at(wed, 9, 20));
    EXPECT_EQ(dayMinutes(at(mon, 7, 30), s1), 30);
    EXPECT_EQ(dayMinutes(at(mon, 8), 1), 960);
}

TEST_F(WorkingTime, BlankCodesNegativeMinutesAndPaddedCodes)
{
    EXPECT_EQ(end(at(mon, 10), 2000, "   "), at(mon, 10).addMinutes(2000));
    EXPECT_EQ(end(at(mon, 10), 180, " M1  "), at(mon, 14));
    EXPECT_EQ(end(at(mon, 12, 30), -30, "M1"), at(mon, 13));
    EXPECT_EQ(end(at(mon, 10), -30, ""), at(mon, 10));
}

TEST(WorkingTimeMidnightDayChange, ShiftOverMidnightBelongsToItsDate)
{
    const Date d = ymd(2024, 5, 13);
    core::Planner p = makePlanner(d, d.addDays(1), hm(0));
    addMachine(p, "N", everyDay(p, hm(22), hm(6)));
    EXPECT_EQ(core::calcEndTime(p, at(d, 23), 120, "N"), at(d.addDays(1), 1));
    EXPECT_EQ(core::calcEndTime(p, at(d, 7), 0, "N"), at(d, 22));
}

TEST(TimeArithmetic, MinutesBetweenAndProcessMinutes)
{
    EXPECT_EQ(core::minutesBetween(hm(10, 0, 30), hm(10, 2)), 1);
    EXPECT_EQ(core::minutesBetween(hm(23), hm(0)), 60);
    EXPECT_EQ(core::minutesBetween(hm(10), hm(9)), 0);

    EXPECT_EQ(core::calcProcessMinutes(30, 1000, 4), 125);
    EXPECT_EQ(core::calcProcessMinutes(0, 100, 0), 9);  // 5 s a piece, no cavities
    EXPECT_EQ(core::calcProcessMinutes(60, 9, 2), 4);   // 4.5: halves to even
    EXPECT_EQ(core::calcProcessMinutes(60, 11, 2), 6);  // 5.5
    EXPECT_EQ(core::calcProcessMinutes(-30, 1000, -5), 500);
    EXPECT_EQ(core::calcProcessMinutes(12.3, 1000, 1), 205);  // not 206 from binary noise
    EXPECT_EQ(core::calcProcessMinutes(12.31, 1000, 1), 206);
    EXPECT_EQ(core::calcProcessMinutes(0, 1'000'000'000, 1), 83'333'334);  // quantity × 5 beyond 32 bits
}

TEST(TimeArithmetic, GridRoundingAcrossMidnight)
{
    core::Planner p;
    const Date d = ymd(2024, 12, 31);
    p.GridMinutes = 60;
    EXPECT_EQ(core::roundUpToGrid(p, at(d, 23, 50)), at(d.addDays(1), 0));
    EXPECT_EQ(core::roundUpToGrid(p, at(d, 10)), at(d, 10));
    EXPECT_EQ(core::roundUpToGrid(p, at(d, 10, 0, 1)), at(d, 11));
    p.GridMinutes = 7;
    EXPECT_EQ(core::roundUpToGrid(p, at(d, 23, 58)), at(d.addDays(1), 0));  // not 00:02
    p.GridMinutes = 600;  // beyond a 16-bit product
    EXPECT_EQ(core::roundUpToGrid(p, at(d, 10, 1)), at(d, 20));
    p.GridMinutes = 3000;  // longer than a day: only midnight is on the grid
    EXPECT_EQ(core::roundUpToGrid(p, at(d, 0, 0, 1)), at(d.addDays(1), 0));
    EXPECT_EQ(core::roundUpToGrid(p, at(d, 0)), at(d, 0));
    EXPECT_EQ(core::roundUpToGrid(p, at(ymd(1969, 12, 31), 12)), at(ymd(1970, 1, 1), 0));  // before the epoch
    p.GridMinutes = 30;
    Date date = d;
    TimeOfDay time = hm(23, 45);
    core::roundUpDateTime(p, date, time);
    EXPECT_EQ(Moment::of(date, time), at(ymd(2025, 1, 1), 0));
    EXPECT_EQ(core::roundUpToUnit(at(d, 8, 1), 15), at(d, 8, 15));
}

TEST(TimeArithmetic, ShiftedTimeRoundTrips)
{
    EXPECT_EQ(core::toShiftedTime(hm(8), hm(8), true), 86400);  // the day change ends the day
    EXPECT_EQ(core::toShiftedTime(hm(8), hm(2), false), 18 * 3600);
    for (int s = 0; s < 86400; s += 977)
        for (bool wrap : {false, true})
            EXPECT_EQ(core::fromShiftedTime(hm(8), core::toShiftedTime(hm(8), TimeOfDay::fromSeconds(s), wrap)),
                      TimeOfDay::fromSeconds(s));
}
