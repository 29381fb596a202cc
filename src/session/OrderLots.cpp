#include "session/OrderLots.h"

#include "store/loading/PlanLotRows.h"

namespace session {

std::vector<reschedule::PlanLot> productionPlanLots(PlanSession& session, std::int64_t planNo)
{
    std::vector<reschedule::PlanLot> lots;
    if (session.database() && planNo != 0) lots = store::readPlanLots(*session.database(), session.settings(), planNo);
    reschedule::overlayOpenPlan(lots, planNo, session.plan());
    reschedule::sortIntoProcessOrder(lots);
    return lots;
}

}  // namespace session
