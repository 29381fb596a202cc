#pragma once
// The rows that follow from the written orders: line cycles (DB0492),
// production-plan totals (DB0251) and machine calendar days (DB0491).

#include "store/saving/SaveContext.h"

namespace store {

// Step 8: the cycle of each changed bar on its machine. A bar without a
// cycle has nothing to keep (its machine had no cycle row either).
void keepLineCycles(SaveContext& ctx);

// Step 9: 指示済数, 生産完了日, 確定区分 and 指示済区分 of every plan touched,
// from its live confirmed orders.
void updatePlanTotals(SaveContext& ctx);

// Step 10: the machine days changed in the line plan window, from the
// planner's calendar tables.
void writeCalendarDays(SaveContext& ctx);

}  // namespace store
