#include "core/TotalSearch.h"

#include <algorithm>

namespace core {

std::int64_t minuteOf(Moment m)
{
    const std::int64_t s = m.seconds();
    return s >= 0 ? s / 60 : -((-s + 59) / 60);
}

TotalSearch searchTotalMinutes(const std::function<Moment(std::int64_t)>& endOf, std::int64_t current, Moment wanted,
                               std::int64_t minTotal, std::int64_t maxTotal)
{
    TotalSearch r;
    const std::int64_t want = minuteOf(wanted);
    const auto at = [&](std::int64_t t) {
        ++r.evaluations;
        return endOf(t);
    };
    const std::int64_t from = std::clamp(current, minTotal, maxTotal);
    const Moment fromEnd = at(from);
    const std::int64_t fromMinute = minuteOf(fromEnd);
    if (fromMinute == want) {
        r.total = from;
        r.end = fromEnd;
        return r;
    }
    const bool upwards = fromMinute < want;
    // Is the end of t on the far side of the wanted minute (where the search stops)?
    const auto reached = [&](Moment end) { return upwards ? minuteOf(end) >= want : minuteOf(end) <= want; };
    const std::int64_t bound = upwards ? maxTotal : minTotal;

    // Doubling steps away from `from` until an end reaches the wanted minute.
    std::int64_t near = from;  // its end has not reached it
    std::int64_t far = from;
    Moment farEnd = fromEnd;
    for (std::int64_t step = 1;; step *= 2) {
        far = upwards ? std::min(from + step, bound) : std::max(from - step, bound);
        farEnd = at(far);
        if (reached(farEnd)) break;
        if (far == bound) {
            r.outcome = upwards ? TotalSearch::Outcome::TooLate : TotalSearch::Outcome::TooEarly;
            r.total = far;
            r.end = farEnd;
            return r;
        }
        near = far;
    }
    // Halving: the length next to `from` whose end reaches it lies in (near, far].
    while ((upwards ? far - near : near - far) > 1) {
        const std::int64_t mid = near + (far - near) / 2;
        const Moment midEnd = at(mid);
        if (reached(midEnd)) {
            far = mid;
            farEnd = midEnd;
        } else {
            near = mid;
        }
    }
    r.total = far;
    r.end = farEnd;
    return r;
}

}  // namespace core
