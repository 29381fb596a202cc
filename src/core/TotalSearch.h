#pragma once
// The job length that makes a job end at a wanted moment. A job's end never
// goes back when its minutes grow, so the length is bracketed by doubling
// steps and then halved down instead of tried minute by minute: an end weeks
// away costs a few dozen end computations, and an end that no length within
// the bounds reaches is reported instead of searched for ever.

#include "core/TimeTypes.h"

#include <cstdint>
#include <functional>

namespace core {

struct TotalSearch {
    enum class Outcome {
        Found,     // `total` is the length the minute-by-minute search stops at
        TooEarly,  // even the shortest length ends later than wanted
        TooLate,   // even the longest length ends earlier than wanted
    };
    Outcome outcome = Outcome::Found;
    std::int64_t total = 0;  // the length found (the bound reached otherwise)
    Moment end;              // the end of a job of that length
    int evaluations = 0;     // end computations made
};

// endOf(t): the end of a job of t minutes, non-decreasing in t for minTotal ≤ t
// ≤ maxTotal. Ends are compared to the minute (seconds dropped), as the
// planner reads them. Starting from `current` (brought within the bounds):
// when its end is the wanted minute, current itself; when its end is later,
// the longest length below it whose end is not later; when earlier, the
// shortest length above it whose end is not earlier. These are exactly the
// lengths a search stepping one minute at a time from `current` stops at.
TotalSearch searchTotalMinutes(const std::function<Moment(std::int64_t)>& endOf, std::int64_t current, Moment wanted,
                               std::int64_t minTotal, std::int64_t maxTotal);

// The minute a moment lies in (seconds dropped, also before the epoch).
std::int64_t minuteOf(Moment m);

}  // namespace core
