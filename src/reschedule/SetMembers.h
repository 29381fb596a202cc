#pragma once
// Orders made together in one multi-item mould (セット取り) move as one: the
// members follow their representative's placement, with quantities scaled by
// their cavities.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <cstdint>

namespace reschedule {

// Copies the representative's placement to every member of its set
// (setDPlanUpdate). Members that are deleted or merged away stay as they are.
void setDPlanUpdate(RuleContext& ctx, int repRecordNo, RuleOutcome& out);

// rep quantity ÷ rep cavities × member cavities (cavities below 1 count as 1),
// to the nearest integer with halves to even, computed exactly.
std::int64_t memberQuantity(std::int64_t repQty, std::int64_t repCavities, std::int64_t memberCavities);

// Sets a record's quantity and keeps its member group summing to it: a single
// member takes the whole; several are scaled, the rounding rest going to the first.
void setOrderQuantity(plan::PlanRecord& r, std::int64_t qty);

}  // namespace reschedule
