#pragma once
// Dragging a row of the plan grid onto another row: the dragged order takes
// the other order's place.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

namespace reschedule {

// PlanDataGrid_MouseDown: refuses back-fixed and fully fixed orders and set
// members with their messages (refused = true); otherwise the drag may start.
RuleOutcome canStartGridDrag(RuleContext& ctx, int recordNo);

// dropGridRow: the dragged order takes the target order's start.
// A target on a machine row: the start is brought onto that machine's working
// time, the work minutes are recomputed with that machine's cycle when one is
// known, and the bar is placed on the row with its overlaps resolved.
// A target that is not on a machine: the dragged order leaves its machine and
// starts where the target starts, its end on the clock.
// Either way the order is marked changed and edited.
RuleOutcome dropGridRow(RuleContext& ctx, int draggedRecordNo, int targetRecordNo);

}  // namespace reschedule
