#pragma once
// Moving a bar with the mouse: which bars may be dragged, where a dropped bar
// starts, and the drop itself with its refusals, the cycle of a new machine,
// the overlap handling on the target row and the set members following.
//
// The chart previews a drag with previewStart() and calls dropBar()
// once at the release, inside one undo step (runStep).

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

namespace reschedule {

struct BarDrop {
    int recordNo = 0;             // record of the dragged bar
    QString DragStartKikai;       // row code under the pointer when the drag began
    QString newKikai;             // row code at the drop point; empty below the last row
    double newLeftTwips = 0;      // the bar's new left edge: drop X − DragOffsetX
    double currentLeftTwips = 0;  // the bar's left edge before the drag
    core::Moment origin;          // the chart's origin (first displayed day at the day start)
    double scale = 0;             // twips per hour of the surface the bar stands on
};

// PlanBar_MouseDown: whether the record exists and its bar may be dragged
// (PlanRecord::isDraggable).
bool canStartBarDrag(const RuleContext& ctx, int recordNo);

// The start a bar dropped as described would get, without changing anything:
// the position turned into a moment, rounded up to the grid and brought onto
// the target machine's working time; the unchanged start for a drop that would
// be refused; the restored start for a return to the unplaced row.
core::Moment previewStart(RuleContext& ctx, const BarDrop& drop);

// dropBar: the drop of a bar on the chart background.
// Refused (nothing changes): a fully fixed bar; a back-fixed bar dropped below
// the last row or later than it stood (each with its message).
// A drop below the last row (or on the blank first row) returns the order to
// the unplaced row. Otherwise the bar starts where it was dropped, takes the
// new machine's cycle when the row changed, is placed on the row and the
// overlaps there are resolved (insertPlanBarStep2).
RuleOutcome dropBar(RuleContext& ctx, const BarDrop& drop);

// twipToDateTime: the start of a bar whose left edge is at leftTwips, rounded up
// to the grid and brought onto the working time of machineCode (blank: none).
core::Moment twipToDateTime(const RuleContext& ctx, core::Moment origin, double leftTwips, double scale,
                           const QString& machineCode);

// Takes an order off its machine back to the unplaced row: no machine, the
// loaded dates back, marked edited.
void returnToUnplaced(RuleContext& ctx, int recordNo, RuleOutcome& out);

}  // namespace reschedule
