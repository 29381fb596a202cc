#include "reschedule/MachineLoad.h"

#include "reschedule/Conflicts.h"

#include <algorithm>

namespace reschedule {

namespace {
constexpr std::int32_t kDay = core::TimeOfDay::kSecondsPerDay;

bool hasCalendarDay(const core::Planner& p, int row, int dayIndex)
{
    return p.rows.isMachineRow(row) && row <= p.calendar.machineCount() && dayIndex >= 0 && dayIndex <= p.calendarDays()
        && !p.PeriodStart.isNull();
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
}  // namespace

MachineLoad::DayPeriods MachineLoad::periodsOf(const core::Planner& p, int row, int dayIndex)
{
    DayPeriods out;
    if (!hasCalendarDay(p, row, dayIndex)) return out;
    const auto& cal = p.calendar.day(dayIndex, row).CalTime;
    for (std::size_t k = 1; k <= 23; k += 2) {
        if (cal[k].isZero() && cal[k + 1].isZero()) break;  // the day's list ends at the first empty pair
        const std::int32_t a = core::toShiftedTime(p.DayChangeTime, cal[k], false), b = core::toShiftedTime(p.DayChangeTime, cal[k + 1], true);
        if (b <= a) continue;
        out.bounds[std::size_t(out.count)] = a;
        out.bounds[std::size_t(out.count) + 1] = b;
        out.count += 2;
    }
    return out;
}

std::int64_t workingMinutesIn(const core::Planner& p, int row, int dayIndex, core::Moment from, core::Moment to)
{
    if (!hasCalendarDay(p, row, dayIndex)) return 0;
    const auto& cal = p.calendar.day(dayIndex, row).CalTime;
    const std::int64_t dayStart = core::Moment::of(p.PeriodStart.addDays(dayIndex - 2), p.DayChangeTime).seconds();
    std::int64_t sum = 0;
    for (std::size_t k = 1; k <= 23; k += 2) {
        if (cal[k].isZero() && cal[k + 1].isZero()) break;
        const std::int64_t a = dayStart + core::toShiftedTime(p.DayChangeTime, cal[k], false);
        const std::int64_t b = dayStart + core::toShiftedTime(p.DayChangeTime, cal[k + 1], true);
        const std::int64_t s = std::max(a, from.seconds()), e = std::min(b, to.seconds());
        if (b > a && e > s) sum += (e - s) / 60;
    }
    return sum;
}

// Where the bar takes calendar time: its machine row, its times and the
// production days they cover; false when it takes none.
bool MachineLoad::placeOf(const core::Planner& p, const plan::PlanData& plan, int no, Share& s, Place& at) const
{
    if (no < 2 || no > plan.size()) return false;
    const plan::PlanRecord& r = plan[no];
    if (r.isHidden()) return false;
    // A push keeps the machine: its row is found once. A blank code is row 1, no machine.
    if (s.rawMachine.isNull() || !(r.machineCode.constData() == s.rawMachine.constData() && r.machineCode.size() == s.rawMachine.size())) {
        s.rawMachine = r.machineCode;
        s.machineRow = p.rows.findRow(r.machineCode);
    }
    const int row = s.machineRow;
    if (!p.rows.isMachineRow(row) || std::size_t(row) >= periods_.size()) return false;
    const std::int64_t start = r.start().seconds(), end = r.end().seconds();
    if (end <= start) return false;
    const std::vector<DayPeriods>& days = periods_[std::size_t(row)];  // empty for a row without a calendar
    // The production day of a moment. A push seldom moves a bar by more than
    // a day, so the day it stood on (and the next) is tried before dividing.
    const auto dayOf = [this](std::int64_t t, int guess) {
        const std::int64_t from = base_ + std::int64_t(guess - 2) * kDay;
        if (t >= from && t < from + kDay) return guess;
        if (t >= from + kDay && t < from + 2 * kDay) return guess + 1;
        return int(std::clamp<std::int64_t>(floorDiv(t - base_, kDay) + 2, -1, INT32_MAX - 1));
    };
    at.first = std::max(0, dayOf(start, std::clamp(s.firstDay, 0, INT32_MAX - 2)));
    at.last = std::min({p.calendarDays(), int(days.size()) - 1, dayOf(end - 1, at.first)});
    at.row = row;
    at.start = start;
    at.end = end;
    return at.first <= at.last;
}

// The working minutes of [start, end) inside one machine day (each period's share in whole minutes).
std::int32_t MachineLoad::minutesOn(const Place& at, int day) const
{
    const std::int64_t dayStart = base_ + std::int64_t(day - 2) * kDay;
    const DayPeriods& dp = periods_[std::size_t(at.row)][std::size_t(day)];
    std::int64_t sum = 0;
    for (int k = 0; k < dp.count; k += 2) {
        const std::int64_t a = std::max(dayStart + dp.bounds[std::size_t(k)], at.start);
        const std::int64_t b = std::min(dayStart + dp.bounds[std::size_t(k) + 1], at.end);
        if (b > a) sum += (b - a) / 60;
    }
    return std::int32_t(sum);  // at most a day's minutes
}

void MachineLoad::apply(const Share& s, int sign)
{
    if (s.row == 0 || std::size_t(s.row) >= cells_.size()) return;
    std::vector<DayLoad>& days = cells_[std::size_t(s.row)];
    for (qsizetype k = 0; k < s.minutes.size(); ++k) {
        const std::size_t d = std::size_t(s.firstDay) + std::size_t(k);
        if (d < days.size()) days[d].planned += sign * std::int64_t(s.minutes[k]);
    }
}

// Takes the record's old share off its days and adds its share now.
void MachineLoad::refresh(const core::Planner& p, const plan::PlanData& plan, int no)
{
    if (std::size_t(no) >= shares_.size()) shares_.resize(std::size_t(no) + 1);
    Share& s = shares_[std::size_t(no)];
    Place at;
    if (!placeOf(p, plan, no, s, at)) {
        apply(s, -1);
        s.row = 0;  // firstDay stays: the next place is looked for from there
        s.minutes.clear();
        return;
    }
    std::vector<DayLoad>& days = cells_[std::size_t(at.row)];  // as long as the row's periods
    const int count = at.last - at.first + 1;
    if (at.row == s.row && at.first == s.firstDay && count == s.minutes.size()) {
        // The same days (a push within them): each day takes the difference, in one pass.
        for (int k = 0; k < count; ++k) {
            const std::int32_t m = minutesOn(at, at.first + k);
            days[std::size_t(at.first + k)].planned += m - s.minutes[k];
            s.minutes[k] = m;
        }
        return;
    }
    apply(s, -1);
    s.row = at.row;
    s.firstDay = at.first;
    s.minutes.resize(count);
    for (int k = 0; k < count; ++k) {
        s.minutes[k] = minutesOn(at, at.first + k);
        days[std::size_t(at.first + k)].planned += s.minutes[k];
    }
}

void MachineLoad::rebuild(const core::Planner& p, const plan::PlanData& plan)
{
    base_ = p.PeriodStart.isNull() ? 0 : core::Moment::of(p.PeriodStart, p.DayChangeTime).seconds();
    cells_.assign(std::size_t(p.rows.machineRowCount()) + 1, {});
    periods_.assign(cells_.size(), {});
    for (int row = 2; row <= p.rows.CalendarMachineCount && row <= p.calendar.machineCount(); ++row) {
        std::vector<DayLoad>& days = cells_[std::size_t(row)];
        std::vector<DayPeriods>& periods = periods_[std::size_t(row)];
        days.resize(std::size_t(std::max(0, p.calendarDays())) + 1);
        periods.resize(days.size());
        for (int d = 0; d < int(days.size()); ++d) {
            periods[std::size_t(d)] = periodsOf(p, row, d);
            const DayPeriods& dp = periods[std::size_t(d)];
            for (int k = 0; k < dp.count; k += 2) days[std::size_t(d)].offered += (dp.bounds[std::size_t(k) + 1] - dp.bounds[std::size_t(k)]) / 60;
        }
    }
    shares_.assign(std::size_t(plan.size()) + 1, Share{});
    for (int i = 2; i <= plan.size(); ++i) refresh(p, plan, i);
}

void MachineLoad::update(const core::Planner& p, const plan::PlanData& plan, const std::vector<int>& changed)
{
    for (int no : changed)
        if (no >= 2) refresh(p, plan, no);  // a record named twice is taken off before it is added again
}

void MachineLoad::calendarDayChanged(const core::Planner& p, const plan::PlanData& plan, int row, int dayIndex)
{
    if (row < 0 || std::size_t(row) >= cells_.size() || dayIndex < 0 || std::size_t(dayIndex) >= cells_[std::size_t(row)].size()) return;
    DayPeriods& dp = periods_[std::size_t(row)][std::size_t(dayIndex)];
    dp = periodsOf(p, row, dayIndex);
    std::int64_t offered = 0;
    for (int k = 0; k < dp.count; k += 2) offered += (dp.bounds[std::size_t(k) + 1] - dp.bounds[std::size_t(k)]) / 60;
    cells_[std::size_t(row)][std::size_t(dayIndex)].offered = offered;
    for (std::size_t no = 2; no < shares_.size(); ++no) {
        const Share& s = shares_[no];
        if (s.row == row && dayIndex >= s.firstDay && dayIndex < s.firstDay + int(s.minutes.size())) refresh(p, plan, int(no));
    }
}

DayLoad MachineLoad::at(int row, int dayIndex) const
{
    if (row < 0 || std::size_t(row) >= cells_.size()) return {};
    const std::vector<DayLoad>& days = cells_[std::size_t(row)];
    return dayIndex >= 0 && std::size_t(dayIndex) < days.size() ? days[std::size_t(dayIndex)] : DayLoad{};
}

}  // namespace reschedule
