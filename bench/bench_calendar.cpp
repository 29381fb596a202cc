// Cost of calcEndTime on a two-shift calendar against a bare walk over the
// same number of calendar days, and a check that the calculation never allocates.
#include "core/Calendar.h"
#include "core/WorkingTime.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t n)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace core;

namespace {

constexpr int kMachines = 20;
constexpr int kStarts = 64;  // distinct start moments, cycled

Planner twoShiftPlanner()
{
    Planner p;
    p.PeriodStart = Date::fromYmd(2024, 4, 1);
    p.PeriodEnd = p.PeriodStart.addDays(90);
    p.DayChangeTime = TimeOfDay::fromHms(8, 0);
    p.calendar.reset(p.PeriodStart.daysTo(p.PeriodEnd) + 3, 1);
    std::array<std::pair<TimeOfDay, TimeOfDay>, 10> breaks{};
    breaks[0] = {TimeOfDay::fromHms(10, 0), TimeOfDay::fromHms(10, 10)};
    breaks[1] = {TimeOfDay::fromHms(12, 0), TimeOfDay::fromHms(12, 45)};
    breaks[2] = {TimeOfDay::fromHms(15, 0), TimeOfDay::fromHms(15, 10)};
    breaks[3] = {TimeOfDay::fromHms(22, 0), TimeOfDay::fromHms(22, 10)};
    breaks[4] = {TimeOfDay::fromHms(0, 0), TimeOfDay::fromHms(0, 45)};
    breaks[5] = {TimeOfDay::fromHms(3, 0), TimeOfDay::fromHms(3, 10)};
    loadBreakMaster(p.calendar, breaks);
    for (int m = 0; m < kMachines; ++m) {
        const QString code = QStringLiteral("M%1").arg(m + 1, 3, 10, QChar(u'0'));
        const int r = p.rows.append(code, code, code);
        p.rows.CalendarMachineCount = p.rows.KikaiRowCount = r;
        p.calendar.addMachine();
        std::vector<CalendarDayRow> rows;
        for (int i = 0; i <= p.calendarDays(); ++i) {
            const Date d = p.PeriodStart.addDays(i - 2);
            if (d.dayOfWeek() == 7) continue;  // Sundays off
            CalendarDayRow row;
            row.date = d;
            row.workingHours = 16;
            row.start1 = TimeOfDay::fromHms(8, 0);
            row.end1 = TimeOfDay::fromHms(17, 0);
            row.start2 = TimeOfDay::fromHms(20, 0);
            row.end2 = TimeOfDay::fromHms(5, 0);
            rows.push_back(row);
        }
        loadMachineCalendar(p.calendar, r, p.PeriodStart, rows, p.DayChangeTime);
    }
    return p;
}

template <class F>
double bestNanosPerCall(int calls, F&& f)
{
    double best = 1e300;
    for (int round = 0; round < 7; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < calls; ++i) f(i);
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(t1 - t0).count() / calls);
    }
    return best;
}

// The bare baseline: visit `days` consecutive calendar days of a machine and read
// each day's working periods.
std::int64_t walkDays(const Planner& p, int machine, int firstDay, int days)
{
    std::int64_t sum = 0;
    for (int d = firstDay; d < firstDay + days && d <= p.calendarDays(); ++d) {
        const auto& cal = p.calendar.day(d, machine).CalTime;
        for (std::size_t s = 1; s <= 23; s += 2) {
            if (cal[s].isZero() && cal[s + 1].isZero()) break;
            sum += cal[s + 1].seconds() - cal[s].seconds();
        }
    }
    return sum;
}

}  // namespace

int main()
{
    const Planner p = twoShiftPlanner();
    std::vector<QString> codes;
    for (int m = 0; m < kMachines; ++m) codes.push_back(p.rows.row(m + 2).RowCode);
    std::vector<Moment> starts;
    for (int i = 0; i < kStarts; ++i)
        starts.push_back(Moment::of(p.PeriodStart.addDays(i % 30), TimeOfDay::fromHms(6 + (i * 7) % 18, (i * 13) % 60)));

    Moment next;
    const std::int64_t perDay = dayWorkMinutes(p, Moment::of(p.PeriodStart, p.DayChangeTime), 2, next);
    const std::int64_t monthJob = 30 * perDay;  // about 35 calendar days with the Sundays
    volatile std::int64_t sink = 0;

    struct Case { const char* name; std::int64_t minutes; int days; };
    const Case cases[] = {{"one-hour job", 60, 1}, {"30-day job", monthJob, 0}};
    bool allocationFree = true;
    for (const Case& c : cases) {
        int days = c.days;
        if (days == 0) {  // the days the long job really walks, for a fair baseline
            const Moment e = calcEndTime(p, starts[0], c.minutes, codes[0]);
            days = dayIndexOf(p, e) - dayIndexOf(p, starts[0]) + 1;
        }
        const int calls = c.minutes > 1000 ? 40000 : 400000;
        const long before = allocations.load();
        const double endNs = bestNanosPerCall(calls, [&](int i) {
            sink = sink + calcEndTime(p, starts[std::size_t(i % kStarts)], c.minutes, codes[std::size_t(i % kMachines)]).seconds();
        });
        const long allocated = allocations.load() - before;
        const double walkNs = bestNanosPerCall(calls, [&](int i) {
            sink = sink + walkDays(p, 2 + i % kMachines, dayIndexOf(p, starts[std::size_t(i % kStarts)]), days);
        });
        std::printf("%-13s %8.1f ns per calcEndTime, %8.1f ns walking %2d days: ratio %.2f (target < 2), %ld allocations\n",
                    c.name, endNs, walkNs, days, endNs / walkNs, allocated);
        allocationFree = allocationFree && allocated == 0;
        // The same with the row already known: what the code look-up costs.
        const double onRowNs = bestNanosPerCall(calls, [&](int i) {
            sink = sink + endTimeOnRow(p, starts[std::size_t(i % kStarts)], c.minutes, 2 + i % kMachines).seconds();
        });
        std::printf("%-13s %8.1f ns per endTimeOnRow (row known): ratio %.2f\n", "", onRowNs, onRowNs / walkNs);
    }
    std::printf("checksum %lld\n", static_cast<long long>(sink));
    return allocationFree ? 0 : 1;
}
