// Random calendars and jobs against a minute-by-minute reference that knows
// nothing of CalTime: a minute of production day i works when a shift of that
// day covers it and no break or stop does.
#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace core_test;

namespace {

constexpr int kDay = 1440;

// [from, to) in minutes after the day change; wraps over the day change when to <= from.
bool covers(TimeOfDay start, TimeOfDay end, TimeOfDay dayChange, int r)
{
    const int c = dayChange.seconds() / 60;
    const int from = (start.seconds() / 60 - c + kDay) % kDay;
    const int to = (end.seconds() / 60 - c + kDay) % kDay;
    if (to == 0) return r >= from;
    return from < to ? (r >= from && r < to) : (r >= from || r < to);
}

struct Scenario {
    core::Planner p;
    Moment first;               // start of the calendar's first production day
    std::vector<bool> working;  // one flag per minute from `first`
};

Scenario randomScenario(std::mt19937& rng)
{
    const auto minute = [&rng] { return TimeOfDay::fromSeconds(int(rng() % kDay) * 60); };
    const auto later = [&rng](TimeOfDay t, int maxMinutes) { return TimeOfDay::fromSeconds(t.seconds() + int(5 + rng() % maxMinutes) * 60); };
    const TimeOfDay changes[] = {hm(0), hm(8), hm(8, 30), hm(22), minute()};
    Breaks breaks;
    for (int n = int(rng() % 4); n > 0; --n) {  // at most 3 breaks and 2 shifts: never more than 12 periods
        const TimeOfDay a = minute();
        breaks.emplace_back(a, rng() % 8 ? later(a, 180) : TimeOfDay());
    }
    const Date start = ymd(2024, 3, 1).addDays(int(rng() % 400));
    Scenario s{makePlanner(start, start.addDays(int(2 + rng() % 8)), changes[rng() % 5], breaks), {}, {}};
    core::Planner& p = s.p;

    std::vector<core::CalendarDayRow> rows;
    for (int i = 0; i <= p.calendarDays(); ++i) {
        if (rng() % 7 == 0) continue;  // no calendar row that day
        core::CalendarDayRow row = dayRow(p.PeriodStart.addDays(i - 2), minute(), {});
        row.end1 = later(row.start1, 900);
        if (rng() % 2) row.start2 = minute(), row.end2 = later(row.start2, 900);
        if (rng() % 4 == 0) row.stopStart = minute(), row.stopHours = int(1 + rng() % 12);
        rows.push_back(row);
    }
    addMachine(p, "M", rows);

    s.first = Moment::of(p.PeriodStart.addDays(-2), p.DayChangeTime);
    s.working.assign(std::size_t(p.calendarDays() + 1) * kDay, false);
    const auto& bt = p.calendar.BreakTime;
    for (const core::CalendarDayRow& row : rows) {
        const std::size_t base = std::size_t(p.PeriodStart.daysTo(row.date) + 2) * kDay;
        const int stopFrom = (row.stopStart.seconds() / 60 - p.DayChangeTime.seconds() / 60 + kDay) % kDay;
        for (int r = 0; r < kDay; ++r) {
            bool w = (row.start1 != row.end1 && covers(row.start1, row.end1, p.DayChangeTime, r))
                  || (row.start2 != row.end2 && covers(row.start2, row.end2, p.DayChangeTime, r));
            for (std::size_t k = 1; k <= 19; k += 2)
                if (!(bt[k].isZero() && bt[k + 1].isZero())) w = w && !covers(bt[k], bt[k + 1], p.DayChangeTime, r);
            s.working[base + std::size_t(r)] = w && !(r >= stopFrom && r < stopFrom + row.stopHours * 60);
        }
    }
    return s;
}

// End by the reference; nullopt when the job runs past the calendar.
std::optional<Moment> referenceEnd(const Scenario& s, Moment start, std::int64_t minutes)
{
    for (std::int64_t i = std::max<std::int64_t>(0, s.first.minutesTo(start)); i < std::int64_t(s.working.size()); ++i) {
        if (!s.working[std::size_t(i)]) continue;
        if (minutes == 0) return s.first.addMinutes(i);
        if (--minutes == 0) return s.first.addMinutes(i + 1);
    }
    return std::nullopt;
}

}  // namespace

TEST(EndTimeProperty, MatchesAMinuteByMinuteWalkOnRandomCalendars)
{
    std::mt19937 rng(20240513);
    int compared = 0;
    for (int scenario = 0; scenario < 200; ++scenario) {
        const Scenario s = randomScenario(rng);
        for (int d = 0; d <= s.p.calendarDays(); ++d) {
            const auto from = s.working.begin() + std::ptrdiff_t(d) * kDay;
            Moment next;
            ASSERT_EQ(core::dayWorkMinutes(s.p, s.first.addDays(d), 2, next), std::count(from, from + kDay, true))
                << "scenario " << scenario << " day " << d;
        }
        for (int job = 0; job < 60; ++job) {
            const auto span = std::uint32_t(s.working.size() + 2 * kDay);
            const Moment start = s.first.addMinutes(std::int64_t(rng() % span) - 2 * kDay);
            const std::int64_t minutes = rng() % 5 == 0 ? 0 : std::int64_t(rng() % (rng() % 2 ? 600 : 4000));
            const auto want = referenceEnd(s, start, minutes);
            if (!want) continue;
            ++compared;
            ASSERT_EQ(core::calcEndTime(s.p, start, minutes, "M"), *want)
                << "scenario " << scenario << " start " << start.toDisplayText().toStdString() << " minutes " << minutes;
        }
    }
    EXPECT_GT(compared, 6000);
}
