#pragma once
// Time and work figures of a plan record on its machine: the end of a job,
// the per-piece seconds from the routing's productivity and the fall-backs the
// rules use when a record has no per-piece time.

#include "core/WorkingTime.h"
#include "plan/PlanData.h"

#include <cstdint>

namespace plan {

// End of a job of `minutes` working minutes (0 means 480) starting at `start`
// on the machine of plan record planIndex; clock minutes when it has none.
core::Moment getEndTime(const core::Planner& planner, const PlanData& plan, int planIndex, core::Moment start,
                           std::int64_t minutes);
// The same on the record's machine looked up once (core::machineOfCode).
inline core::Moment getEndTime(const core::Planner& planner, core::MachineOfCode machine, core::Moment start,
                                  std::int64_t minutes)
{
    return core::endTimeOn(planner, start, minutes == 0 ? 480 : minutes, machine);
}

// Cavities as a divisor: 0 (and anything below 1) counts as 1.
inline std::int64_t cavitiesDivisor(std::int64_t cavities) { return cavities < 1 ? 1 : cavities; }
// Seconds per piece of a shot cycle: cycle ÷ cavities.
inline double pieceSecondsOfCycle(double cycle, std::int64_t cavities) { return cycle / double(cavitiesDivisor(cavities)); }

// Seconds per piece from a productivity figure and its unit class
// (1 s/piece, 2 min/piece, 3 h/piece, 4 pieces/s, 5 pieces/min, 6 pieces/h).
// 0 for a zero figure or an unknown class: there is no per-piece time then.
double pieceSecondsFromProductivity(double productivity, std::int64_t unitClass);

// The per-piece seconds loading and moves compute work minutes with: the
// record's own, else cycle ÷ cavities; 0 leaves the default of the work-minutes
// computation.
inline double pieceSecondsOrCycle(const PlanRecord& r)
{
    return r.pieceSeconds != 0 ? r.pieceSeconds : pieceSecondsOfCycle(r.cycle, r.cavities);
}
// The per-piece seconds arranging and merging work with: the record's own,
// else cycle ÷ cavities, else 1 ÷ cavities.
inline double effectivePieceSeconds(const PlanRecord& r)
{
    return r.pieceSeconds != 0 ? r.pieceSeconds : pieceSecondsOfCycle(r.cycle != 0 ? r.cycle : 1.0, r.cavities);
}

// Production minutes of a record from per-piece seconds, its quantity and its persons.
std::int64_t workMinutesFor(double pieceSeconds, std::int64_t orderQty, std::int64_t requiredPersons);

}  // namespace plan
