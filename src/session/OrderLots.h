#pragma once
// What the order Gantt window reads: the lots of one production plan, from the
// database, with the open plan's unsaved changes over the orders it holds.

#include "reschedule/PlanLots.h"
#include "session/PlanSession.h"

#include <vector>

namespace session {

// The lots of production plan planNo in process order. Without a database,
// the lots the open plan holds. Throws db::Error.
std::vector<reschedule::PlanLot> productionPlanLots(PlanSession& session, std::int64_t planNo);

}  // namespace session
