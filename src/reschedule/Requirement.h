#pragma once
// Component requirements of an order: quantity × usage ratio, grossed up by the
// defect rate and rounded as the component's unit prescribes.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <cstdint>
#include <optional>

namespace reschedule {

// The requirement for orderQty pieces under the rule: rounded at the digit
// position (10^−d units) by truncating, rounding up ("2") or half up ("3").
double requirementFor(std::int64_t orderQty, const RequirementRule& rule);
// The same, or nullopt where the rule gives no requirement: a defect rate of
// 100 % or more would divide by zero or turn it negative.
std::optional<double> definedRequirement(std::int64_t orderQty, const RequirementRule& rule);

// recalcRequirement: recomputes the required quantity of component `slot`
// (from 1) of the record from the master's rule. Does nothing for a slot past
// the record's components, a blank item or a component the master does not
// know. A rule that gives no requirement (definedRequirement) keeps the
// previous value and is told to the planner. True when the value changed.
bool recalcRequirement(RuleContext& ctx, int recordNo, int slot, RuleOutcome& out);

// Every component slot of the record (after its quantity changed).
void recalcRequirements(RuleContext& ctx, int recordNo, RuleOutcome& out);

}  // namespace reschedule
