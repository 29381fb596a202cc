#pragma once
// Which bars a changed machine day leaves off their machine's calendar. A
// calendar change recomputes no bar: the planner sees these and moves them.

#include "core/WorkingTime.h"
#include "plan/PlanData.h"
#include "reschedule/PlanIndex.h"

#include <QString>
#include <utility>
#include <vector>

namespace reschedule {

// Bars placed on a machine row that cross one of the given production days
// (trimmed machine code, production date) of their machine and whose stored
// end is not the end their start and job minutes give on the machine's
// calendar as it stands. In record order. Only the bars of the changed days'
// machines are looked at (through the row index): the chart asks after every step.
std::vector<int> barsOffCalendar(const core::Planner& planner, const plan::PlanData& plan, const PlanIndex& index,
                                 const std::vector<std::pair<QString, core::Date>>& days);

}  // namespace reschedule
