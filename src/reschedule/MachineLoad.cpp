#include "reschedule/MachineLoad.h"

#include "reschedule/Conflicts.h"

#include <algorithm>

namespace reschedule {

namespace {
constexpr std::int32_t kDay = core::TimeOfDay::kSecondsPerDay;

// Seconds after the day change; an end at the day change (or 00:00 standing
// for 24:00) closes the production day.
std::int32_t relative(core::TimeOfDay dayChange, core::TimeOfDay t, bool isEnd)
{
    const std::int32_t r = ((t.seconds() - dayChange.seconds()) % kDay + kDay) % kDay;
    return isEnd && r == 0 ? kDay : r;
}

bool hasCalendarDay(const core::Planner& p, int row, int dayIndex)
{
    return p.rows.isMachineRow(row) && row <= p.calendar.machineCount() && dayIndex >= 0 && dayIndex <= p.calendarDays()
        && !p.PeriodStart.isNull();
}
}  // namespace

std::vector<std::pair<core::Moment, core::Moment>> workingPeriods(const core::Planner& p, int row, int dayIndex)
{
    std::vector<std::pair<core::Moment, core::Moment>> out;
    if (!hasCalendarDay(p, row, dayIndex)) return out;
    const auto& cal = p.calendar.day(dayIndex, row).CalTime;
    const core::Moment dayStart = core::Moment::of(p.PeriodStart.addDays(dayIndex - 2), p.DayChangeTime);
    for (std::size_t s = 1; s <= 23; s += 2) {
        if (cal[s].isZero() && cal[s + 1].isZero()) break;  // the day's list ends at the first empty pair
        const std::int32_t a = relative(p.DayChangeTime, cal[s], false), b = relative(p.DayChangeTime, cal[s + 1], true);
        if (b > a) out.emplace_back(dayStart.addSeconds(a), dayStart.addSeconds(b));
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::int64_t workingMinutesIn(const core::Planner& p, int row, int dayIndex, core::Moment from, core::Moment to)
{
    std::int64_t sum = 0;
    for (const auto& [a, b] : workingPeriods(p, row, dayIndex)) {
        const std::int64_t s = std::max(a.seconds(), from.seconds()), e = std::min(b.seconds(), to.seconds());
        if (e > s) sum += (e - s) / 60;
    }
    return sum;
}

MachineLoad::Share MachineLoad::shareOf(const core::Planner& p, const plan::PlanData& plan, int no) const
{
    Share s;
    if (no < 2 || no > plan.size()) return s;
    const plan::PlanRecord& r = plan[no];
    if (!occupiesMachine(r) || !(r.start() < r.end())) return s;
    const int row = p.rows.findRow(r.machineCode);
    if (!p.rows.isMachineRow(row) || row > p.calendar.machineCount()) return s;
    const int first = std::max(0, core::dayIndexOf(p, r.start()));
    const int last = std::min(p.calendarDays(), core::dayIndexOf(p, r.end().addSeconds(-1)));
    if (first > last) return s;
    s.row = row;
    s.firstDay = first;
    s.minutes.reserve(std::size_t(last - first + 1));
    for (int d = first; d <= last; ++d) s.minutes.push_back(workingMinutesIn(p, row, d, r.start(), r.end()));
    return s;
}

void MachineLoad::apply(const Share& s, int sign)
{
    if (s.row == 0 || std::size_t(s.row) >= cells_.size()) return;
    std::vector<DayLoad>& days = cells_[std::size_t(s.row)];
    for (std::size_t k = 0; k < s.minutes.size(); ++k) {
        const std::size_t d = std::size_t(s.firstDay) + k;
        if (d < days.size()) days[d].planned += sign * s.minutes[k];
    }
}

void MachineLoad::refresh(const core::Planner& p, const plan::PlanData& plan, int no)
{
    if (std::size_t(no) >= shares_.size()) shares_.resize(std::size_t(no) + 1);
    Share& s = shares_[std::size_t(no)];
    apply(s, -1);
    s = shareOf(p, plan, no);
    apply(s, +1);
}

void MachineLoad::rebuild(const core::Planner& p, const plan::PlanData& plan)
{
    cells_.assign(std::size_t(p.rows.machineRowCount()) + 1, {});
    for (int row = 2; row <= p.rows.CalendarMachineCount && row <= p.calendar.machineCount(); ++row) {
        std::vector<DayLoad>& days = cells_[std::size_t(row)];
        days.resize(std::size_t(std::max(0, p.calendarDays())) + 1);
        for (int d = 0; d < int(days.size()); ++d) days[std::size_t(d)].offered = workingMinutesIn(p, row, d, core::Moment::fromSeconds(INT64_MIN / 2), core::Moment::fromSeconds(INT64_MAX / 2));
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
    cells_[std::size_t(row)][std::size_t(dayIndex)].offered =
        workingMinutesIn(p, row, dayIndex, core::Moment::fromSeconds(INT64_MIN / 2), core::Moment::fromSeconds(INT64_MAX / 2));
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
