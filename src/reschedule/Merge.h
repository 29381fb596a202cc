#pragma once
// A bar dropped onto another bar of the same item and process merges into it
// (when the planner agrees); every other such drop is an ordinary move.

#include "reschedule/BarMove.h"

namespace reschedule {

// mergeBars: the bar of drop.recordNo dropped onto the bar of record
// targetRecordNo; `drop` describes the same point as a drop on the chart
// background, for the cases that fall back to a move.
// Falls back to a move: the same bar, another item/process/model, a set
// (message), received quantities (message), or No to the question.
// Merging adds the dropped bar's quantities to the target, recomputes the
// target's work minutes and end, and flags the dropped record merged away.
RuleOutcome mergeBars(RuleContext& ctx, const BarDrop& drop, int targetRecordNo);

}  // namespace reschedule
