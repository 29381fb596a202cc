#pragma once
// The lots (work orders) of one production plan as the database holds them,
// across all its processes and process classes.

#include "core/ProgramSettings.h"
#include "db/Database.h"
#include "reschedule/PlanLots.h"

#include <vector>

namespace store {

// The live work orders of production plan `planNo` in the factory, with their
// item and process names, in process order. Throws db::Error.
std::vector<reschedule::PlanLot> readPlanLots(db::Database& db, const core::ProgramSettings& settings, std::int64_t planNo);

}  // namespace store
