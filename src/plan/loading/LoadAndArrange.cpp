// The whole load of the main window (and of the headless export): rows and
// calendars, the plan table, then every bar arranged on its row.
// Kept in its own file so that code using only the loaders does not pull in
// the arranging rules.

#include "plan/loading/PlanSession.h"
#include "plan/loading/SqlMasterLookup.h"
#include "reschedule/Arranging.h"

namespace plan::loading {

void loadAndArrange(db::Database& db, const core::ProgramSettings& settings, core::Planner& planner,
                    plan::PlanData& plan, core::Prompt& prompt, const ProgressText& progress)
{
    subResourcesSet(db, settings, planner, prompt);
    ReturnPlanData(db, settings, planner, plan, progress);
    SqlMasterLookup lookup(db, settings.KojoCode);
    reschedule::RuleContext ctx{planner, plan, prompt, lookup, settings};
    reschedule::FunPlanDataYoteiBarSet(ctx, progress);
}

}  // namespace plan::loading
