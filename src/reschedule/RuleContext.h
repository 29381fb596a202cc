#pragma once
// What every rescheduling rule works on: the calendars and rows, the plan
// table, the planner's answers, the master look-ups and the program settings.
//
// The chart keeps one context for the life of its plan table so that the row
// index is built once and afterwards only follows the changed records.

#include "core/ProgramSettings.h"
#include "core/Prompt.h"
#include "core/WorkingTime.h"
#include "plan/PlanData.h"
#include "reschedule/MasterLookup.h"
#include "reschedule/PlanIndex.h"

#include <QString>
#include <functional>
#include <memory>

namespace reschedule {

using ProgressText = std::function<void(const QString&)>;

struct RuleContext {
    const core::Planner& planner;
    plan::PlanData& plan;
    core::Prompt& prompt;
    MasterLookup& lookup;
    const core::ProgramSettings& settings;
    bool ArrangeMode = false;  // true while planDataYoteiBarSet runs
    std::shared_ptr<PlanIndex> index = {};  // created on first use

    // The row index, brought up to date with the plan table.
    PlanIndex& rowIndex()
    {
        if (!index) index = std::make_shared<PlanIndex>(plan);
        index->sync();
        return *index;
    }
    // Every start placed by the rules is rounded up to this many minutes.
    int timeUnitMinutes() const { return planner.GridMinutes < 1 ? 1 : planner.GridMinutes; }
};

}  // namespace reschedule
