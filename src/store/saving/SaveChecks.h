#pragma once
// The two checks that stop a save before anything is written.

#include "plan/PlanData.h"

namespace store {

// True when a changed bar's set-up and work time reach 10,000 hours (or its
// minutes reach 10,000,000); such a bar cannot be stored in the time columns.
bool exceedsTimeLimit(const plan::PlanRecord& r);

// Number of overlaps between a changed bar and another bar on the same mould:
// each changed bar counts every other placed bar of its mould that runs at the
// same time, so two changed bars sharing a mould count 2.
int countMouldDoubleBookings(const plan::PlanData& plan);

}  // namespace store
