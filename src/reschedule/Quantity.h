#pragma once
// Changing an order's quantity, as the detail window and the plan grid do.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <cstdint>

namespace reschedule {

// The largest quantity a work order can hold.
constexpr std::int64_t MaxOrderQty = 99'999'999;

// The work minutes of a record for another quantity or number of persons:
// from its per-piece time (the detail window's formula). A record without a
// per-piece time and without a cycle (work given only in hours, as outside
// work often is) keeps its minutes per piece and person instead of being
// timed at a second per piece.
std::int64_t adjustedWorkMinutes(const plan::PlanRecord& r, std::int64_t qty, std::int64_t persons);

// changeQuantity: the bar's quantity becomes qty, its member orders brought in
// line (setOrderQuantity). The planner is asked "作業時間・終了時間の調整を行ないますか？"
// (default No); Yes recomputes the work minutes from the per-piece time, the
// persons and the new quantity, the end from the start, and resolves the
// overlaps on the bar's row (adjustedWorkMinutes). Either way the component requirements are
// recomputed, and a set representative's members take their share with theirs.
// A quantity below 1 or above MaxOrderQty is refused with its message; the
// same quantity changes nothing and asks nothing.
RuleOutcome changeQuantity(RuleContext& ctx, int recordNo, std::int64_t qty);

}  // namespace reschedule
