// Building the working periods of one machine day (buildMachineCalendar).
// All work happens on production-day-relative seconds, 0 at the day change and
// 86400 at the next one, where intervals are half-open and never wrap.
#include "core/Calendar.h"
#include "core/WorkingTime.h"

#include <algorithm>
#include <vector>

namespace core {
namespace {

constexpr std::int32_t kDay = TimeOfDay::kSecondsPerDay;
constexpr std::size_t kMaxPeriods = 12;

struct Span {
    std::int32_t from;
    std::int32_t to;  // exclusive; from < to
};

// A time-of-day interval of the production day; one that crosses the day change
// gives its two parts (the end of this production day and its beginning).
void addRelative(std::vector<Span>& out, TimeOfDay dayChange, TimeOfDay start, TimeOfDay end)
{
    const std::int32_t s = toShiftedTime(dayChange, start, false);
    const std::int32_t e = toShiftedTime(dayChange, end, true);
    if (s < e) {
        out.push_back({s, e});
    } else {
        if (s < kDay) out.push_back({s, kDay});
        if (e > 0) out.push_back({0, e});
    }
}

// Sorted, disjoint, non-touching union.
std::vector<Span> unite(std::vector<Span> spans)
{
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.from < b.from; });
    std::vector<Span> out;
    for (Span s : spans) {
        if (!out.empty() && s.from <= out.back().to)
            out.back().to = std::max(out.back().to, s.to);
        else
            out.push_back(s);
    }
    return out;
}

std::vector<Span> subtract(const std::vector<Span>& pieces, Span cut)
{
    std::vector<Span> out;
    for (Span p : pieces) {
        if (cut.to <= p.from || cut.from >= p.to) {
            out.push_back(p);
            continue;
        }
        if (p.from < cut.from) out.push_back({p.from, cut.from});
        if (cut.to < p.to) out.push_back({cut.to, p.to});
    }
    return out;
}

// Number of CalTime pairs the pieces need once split at midnight, and where the
// split has to happen. With the day change at midnight no piece crosses it, but a
// piece covering the whole day would read 00:00-00:00 (an empty pair) and is cut at noon.
struct SplitPoint {
    std::int32_t at;
    bool splitsWholeDayOnly;
};

SplitPoint splitPointOf(TimeOfDay dayChange)
{
    const std::int32_t midnight = (kDay - dayChange.seconds()) % kDay;
    return midnight == 0 ? SplitPoint{kDay / 2, true} : SplitPoint{midnight, false};
}

bool needsSplit(Span p, SplitPoint sp)
{
    if (sp.splitsWholeDayOnly) return p.from == 0 && p.to == kDay;
    return p.from < sp.at && sp.at < p.to;
}

std::size_t pairsNeeded(const std::vector<Span>& pieces, SplitPoint sp)
{
    std::size_t n = pieces.size();
    for (Span p : pieces) n += needsSplit(p, sp) ? 1 : 0;
    return n;
}

// Too many periods: fill the shortest gap (the earliest of equal ones) until they fit.
void fitToSlots(std::vector<Span>& pieces, SplitPoint sp)
{
    while (pairsNeeded(pieces, sp) > kMaxPeriods && pieces.size() > 1) {
        std::size_t best = 1;
        for (std::size_t i = 2; i < pieces.size(); ++i)
            if (pieces[i].from - pieces[i - 1].to < pieces[best].from - pieces[best - 1].to) best = i;
        pieces[best - 1].to = pieces[best].to;
        pieces.erase(pieces.begin() + std::ptrdiff_t(best));
    }
}

}  // namespace

void buildMachineCalendar(CalendarTables& tables, int dayIndex, int machineIndex, TimeOfDay dayChangeTime)
{
    if (!tables.contains(dayIndex, machineIndex)) return;
    MachineDay& day = tables.day(dayIndex, machineIndex);
    day.CalTime.fill(TimeOfDay());

    std::vector<Span> shifts;
    for (std::size_t s = 1; s <= 7; s += 2) {
        const TimeOfDay start = day.ShiftTime[s], end = day.ShiftTime[s + 1];
        if (start == end) continue;  // unused pair
        addRelative(shifts, dayChangeTime, start, end);
    }
    std::vector<Span> pieces = unite(std::move(shifts));

    for (std::size_t s = 1; s <= 19; s += 2) {
        const TimeOfDay a = tables.BreakTime[s], b = tables.BreakTime[s + 1];
        if (a.isZero() && b.isZero()) continue;
        std::vector<Span> cuts;
        addRelative(cuts, dayChangeTime, a, b);
        for (Span c : cuts) pieces = subtract(pieces, c);
    }

    if (day.stop.hours > 0) {
        const std::int32_t from = toShiftedTime(dayChangeTime, day.stop.start, false);
        const std::int64_t to = std::min<std::int64_t>(std::int64_t(from) + std::int64_t(day.stop.hours) * 3600, kDay);
        pieces = subtract(pieces, Span{from, std::int32_t(to)});
    }

    const SplitPoint sp = splitPointOf(dayChangeTime);
    fitToSlots(pieces, sp);

    std::size_t slot = 1;
    day.WorkMinutes = 0;
    const auto write = [&](std::int32_t from, std::int32_t to) {
        day.WorkMinutes += (to - from) / 60;
        day.CalTime[slot++] = fromShiftedTime(dayChangeTime, from);
        day.CalTime[slot++] = fromShiftedTime(dayChangeTime, to);  // midnight reads 00:00:00 = 24:00
    };
    for (Span p : pieces) {
        if (needsSplit(p, sp)) {
            write(p.from, sp.at);
            write(sp.at, p.to);
        } else {
            write(p.from, p.to);
        }
    }
}

}  // namespace core
