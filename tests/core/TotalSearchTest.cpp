// The job length whose end meets a wanted moment: the bounded search against a
// plain minute-by-minute search on random calendars, and what it costs.
#include "CoreTestSupport.h"

#include "core/TotalSearch.h"

#include <gtest/gtest.h>

#include <random>

using namespace core_test;
using core::TotalSearch;

namespace {

// The search as the planner used to run it: one minute at a time from `current`.
TotalSearch minuteByMinute(const std::function<Moment(std::int64_t)>& endOf, std::int64_t current, Moment wanted,
                           std::int64_t lo, std::int64_t hi)
{
    TotalSearch r;
    const std::int64_t want = core::minuteOf(wanted);
    std::int64_t t = std::clamp(current, lo, hi);
    Moment e = endOf(t);
    if (core::minuteOf(e) > want) {
        while (core::minuteOf(e) > want) {
            if (t == lo) return {TotalSearch::Outcome::TooEarly, t, e, 0};
            e = endOf(--t);
        }
    } else {
        while (core::minuteOf(e) < want) {
            if (t == hi) return {TotalSearch::Outcome::TooLate, t, e, 0};
            e = endOf(++t);
        }
    }
    r.total = t;
    r.end = e;
    return r;
}

// A machine with random shifts (some days off, some stops) over three weeks, and random breaks.
core::Planner randomPlant(std::mt19937& rng)
{
    const auto minute = [&rng](int from, int span) { return TimeOfDay::fromSeconds((from + int(rng() % span)) * 60); };
    Breaks breaks;
    for (int n = int(rng() % 3); n > 0; --n) {
        const TimeOfDay a = minute(9 * 60, 8 * 60);
        breaks.emplace_back(a, TimeOfDay::fromSeconds(a.seconds() + int(10 + rng() % 50) * 60));
    }
    const Date start = ymd(2024, 1, 1).addDays(int(rng() % 300));
    core::Planner p = makePlanner(start, start.addDays(21), rng() % 2 ? hm(8) : hm(0), breaks);
    std::vector<core::CalendarDayRow> rows;
    for (int i = 0; i <= p.calendarDays(); ++i) {
        if (rng() % 5 == 0) continue;
        core::CalendarDayRow row = dayRow(p.PeriodStart.addDays(i - 2), minute(8 * 60, 60), {});
        row.end1 = minute(12 * 60, 60);
        if (rng() % 2) row.start2 = minute(13 * 60, 60), row.end2 = minute(17 * 60, 6 * 60);
        if (rng() % 6 == 0) row.stopStart = minute(9 * 60, 6 * 60), row.stopHours = int(1 + rng() % 3);
        rows.push_back(row);
    }
    addMachine(p, "M", rows);
    return p;
}

TEST(TotalSearch, FindsWhatTheMinuteByMinuteSearchFinds)
{
    std::mt19937 rng(20240601);
    for (int plant = 0; plant < 40; ++plant) {
        const core::Planner p = randomPlant(rng);
        const core::MachineOfCode machine = core::machineOfCode(p, QStringLiteral("M"));
        for (int k = 0; k < 25; ++k) {
            const Moment start = Moment::of(p.PeriodStart.addDays(int(rng() % 6)), hm(int(rng() % 24), int(rng() % 60)));
            const auto endOf = [&](std::int64_t t) { return core::endTimeOn(p, start, t, machine); };
            // Wanted ends in breaks, on period edges, past the calendar and before the start alike.
            const Moment wanted = start.addMinutes(std::int64_t(rng() % (40 * 1440)) - 600).addSeconds(int(rng() % 60));
            const std::int64_t lo = 1 + std::int64_t(rng() % 3) * std::int64_t(rng() % 200);
            const std::int64_t hi = lo + 2000 + std::int64_t(rng() % 30000);
            const std::int64_t current = std::int64_t(rng() % 40000);
            const TotalSearch expected = minuteByMinute(endOf, current, wanted, lo, hi);
            const TotalSearch found = core::searchTotalMinutes(endOf, current, wanted, lo, hi);
            ASSERT_EQ(int(found.outcome), int(expected.outcome)) << "plant " << plant << " case " << k;
            ASSERT_EQ(found.total, expected.total) << "plant " << plant << " case " << k;
            ASSERT_EQ(found.end, expected.end);
        }
    }
}

TEST(TotalSearch, AnEndThirtyWorkingDaysAwayCostsFewEndComputations)
{
    core::Planner p = makePlanner(ymd(2024, 4, 1), ymd(2024, 6, 30), hm(8));
    addMachine(p, "M", everyDay(p, hm(8), hm(12), hm(13), hm(17)));
    const core::MachineOfCode machine = core::machineOfCode(p, QStringLiteral("M"));
    const Moment start = at(ymd(2024, 4, 2), 8);
    const auto endOf = [&](std::int64_t t) { return core::endTimeOn(p, start, t, machine); };
    const Moment wanted = at(ymd(2024, 5, 1), 15, 30);  // 29 days of 8 hours and 6.5 hours more
    const TotalSearch found = core::searchTotalMinutes(endOf, 60, wanted, 1, 600000);
    EXPECT_EQ(found.total, 29 * 480 + 390);
    EXPECT_EQ(found.end, wanted);
    EXPECT_LE(found.evaluations, 40);
    RecordProperty("evaluations", found.evaluations);
    std::printf("R4 search for an end 30 working days away: %d end computations\n", found.evaluations);

    // Counting down from far beyond takes as few.
    const TotalSearch down = core::searchTotalMinutes(endOf, 500000, wanted, 1, 600000);
    EXPECT_EQ(down.total, 29 * 480 + 390);
    EXPECT_LE(down.evaluations, 40);
}

}  // namespace
