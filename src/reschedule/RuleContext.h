#pragma once
// What every rescheduling rule works on: the calendars and rows, the plan
// table, the planner's answers, the master look-ups and the program settings.

#include "core/ProgramSettings.h"
#include "core/Prompt.h"
#include "core/WorkingTime.h"
#include "plan/PlanData.h"
#include "reschedule/MasterLookup.h"

#include <QString>
#include <functional>

namespace reschedule {

using ProgressText = std::function<void(const QString&)>;

struct RuleContext {
    const core::Planner& planner;
    plan::PlanData& plan;
    core::Prompt& prompt;
    MasterLookup& lookup;
    const core::ProgramSettings& settings;
    bool ArrangeMode = false;  // true while FunPlanDataYoteiBarSet runs
};

}  // namespace reschedule
