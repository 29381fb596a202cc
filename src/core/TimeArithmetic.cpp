// The small time operations shared by every part that places a job.
#include "core/WorkingTime.h"

#include <cmath>
#include <limits>

namespace core {
namespace {

constexpr std::int32_t kDay = TimeOfDay::kSecondsPerDay;

// Rounds the time of day of m up to a multiple of unitSeconds counted from its
// midnight; the next midnight is on every date's grid, so nothing goes past it.
Moment roundUpWithinDate(Moment m, std::int64_t unitSeconds)
{
    if (unitSeconds <= 1) return m;
    const std::int32_t secs = m.time().seconds();
    if (secs == 0) return m;
    if (unitSeconds >= kDay) return m.addSeconds(kDay - secs);  // only midnight is on the grid
    // Within a day 32 bits suffice, and their division is the cheaper one
    // (this runs for every bar a push moves).
    const std::int32_t unit = std::int32_t(unitSeconds);
    const std::int32_t rest = secs % unit;
    return rest == 0 ? m : m.addSeconds(std::min(unit - rest, kDay - secs));
}

}  // namespace

std::int32_t calcProcessMinutes(double cycleSeconds, std::int64_t quantity, std::int64_t divisor)
{
    double x;
    if (cycleSeconds != 0)
        x = cycleSeconds * double(quantity) / 60.0;
    else
        x = double(quantity * 5) / 60.0;  // 64-bit: large quantities must not wrap
    if (!std::isfinite(x)) return 0;
    x = std::fabs(x);
    const double nearest = std::round(x);
    const double minutes = std::fabs(x - nearest) <= 1e-9 * std::max(1.0, nearest) ? nearest : std::ceil(x);
    if (minutes >= 9.2e18) return std::numeric_limits<std::int32_t>::max();

    const std::int64_t whole = std::int64_t(minutes);
    const std::int64_t d = divisor < 1 ? 1 : divisor;
    std::int64_t q = whole / d;
    const std::int64_t twiceRest = (whole % d) * 2;
    if (twiceRest > d || (twiceRest == d && q % 2 != 0)) ++q;  // halves to even
    return std::int32_t(std::min<std::int64_t>(q, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t minutesBetween(TimeOfDay a, TimeOfDay b)
{
    const std::int32_t sb = b.isZero() ? kDay : b.seconds();
    const std::int32_t d = sb - a.seconds();
    return d < 0 ? 0 : d / 60;
}

Moment roundUpToGrid(const Planner& p, Moment m)
{
    return roundUpWithinDate(m, std::int64_t(std::max(p.GridMinutes, 1)) * 60);
}

void roundUpDateTime(const Planner& p, Date& date, TimeOfDay& time)
{
    if (date.isNull()) return;
    const Moment x = roundUpToGrid(p, Moment::of(date, time));
    date = x.date();
    time = x.time();
}

Moment roundUpToUnit(Moment m, int unitMinutes)
{
    return roundUpWithinDate(m, std::int64_t(std::max(unitMinutes, 1)) * 60);
}

std::int32_t toShiftedTime(TimeOfDay dayChangeTime, TimeOfDay t, bool wrap)
{
    const std::int32_t rel = ((t.seconds() - dayChangeTime.seconds()) % kDay + kDay) % kDay;
    return wrap && rel == 0 ? kDay : rel;
}

TimeOfDay fromShiftedTime(TimeOfDay dayChangeTime, std::int32_t relativeSeconds)
{
    return TimeOfDay::fromSeconds(dayChangeTime.seconds() + relativeSeconds % kDay);
}

}  // namespace core
