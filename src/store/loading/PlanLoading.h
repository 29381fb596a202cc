#pragma once
// Loading the plan the way the main window does: machine rows with their
// calendars, the plan table, then the arrangement of every bar on its row.
// The headless export runs exactly the same sequence.

#include "core/ProgramSettings.h"
#include "core/Prompt.h"
#include "core/WorkingTime.h"
#include "db/Database.h"
#include "plan/PlanData.h"

#include <QString>
#include <functional>
#include <stdexcept>

namespace store {

using ProgressText = std::function<void(const QString&)>;

// Thrown after the planner was told that the break master is empty; the program ends.
struct BreakMasterEmpty : std::runtime_error {
    BreakMasterEmpty() : std::runtime_error("break master is empty") {}
};

// Builds the row table and the machines' calendars (resourcesSet) into planner.
// Sets planner's period, day change and grid from settings. Throws db::Error, BreakMasterEmpty.
void resourcesSet(db::Database& db, const core::ProgramSettings& settings, core::Planner& planner, core::Prompt& prompt);

// Fills the plan table from the database (returnPlanData), without arranging. Throws db::Error.
void returnPlanData(db::Database& db, const core::ProgramSettings& settings, const core::Planner& planner,
                    plan::PlanData& plan, const ProgressText& progress = {});

}  // namespace store
