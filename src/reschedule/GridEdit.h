#pragma once
// Editing the plan grid in place: the confirmation kind, the fix kind, the
// quantity, the start, the persons and the remark of an order, and the bulk
// change of the confirmation kind of many rows.
//
// Set members change only with their representative, fully fixed orders not
// at all (each refused with its message). An edit marks the record changed
// and edited only when it changed something; the caller runs it as one undo
// step (runStep, PlanSession::apply).

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <QString>
#include <vector>

namespace reschedule {

enum class GridField { ConfirmKind, FixKind, OrderQty, Start, Persons, Remarks };

// Whether the planner may edit the record's row. Refuses set members and fully
// fixed orders with their messages, and rows that hold no live order silently.
RuleOutcome canEditGridRow(RuleContext& ctx, int recordNo);

// A cell as the planner typed or chose it: the row checked, the text read
// (full-width digits as well), the change made. Bad input is told and changes nothing.
RuleOutcome editGridCell(RuleContext& ctx, int recordNo, GridField field, const QString& text);

// The changes themselves (each checks the row first).
// Confirmed ("確定") needs the order to stand on a machine or at a supplier; a
// set representative's members take the same kind.
RuleOutcome changeConfirmKind(RuleContext& ctx, int recordNo, plan::ConfirmKind kind);
RuleOutcome changeFixKind(RuleContext& ctx, int recordNo, plan::FixKind kind);
// The start placed as a drop at that moment would be: rounded up to the grid,
// brought onto the row's working time, the end from the job's minutes, the
// overlaps on the row resolved with the same questions. A back-fixed order may
// only go earlier. An order on no row keeps no machine: the end on the clock.
RuleOutcome changeStart(RuleContext& ctx, int recordNo, core::Moment start);
// Persons divide the work minutes: the work minutes, the end and the overlaps follow.
RuleOutcome changePersons(RuleContext& ctx, int recordNo, std::int64_t persons);
RuleOutcome changeRemarks(RuleContext& ctx, int recordNo, const QString& remarks);
// The quantity with the detail window's rules (changeQuantity) after the row check.
RuleOutcome changeGridQuantity(RuleContext& ctx, int recordNo, std::int64_t qty);

// The confirmation kind of many rows in one change. Rows that may not take it
// are named together in one message; the others change. Refused (nothing
// changes) only when no row could change. A set member whose representative
// is among the rows follows it without being named.
RuleOutcome bulkChangeConfirmKind(RuleContext& ctx, const std::vector<int>& recordNos, plan::ConfirmKind kind);

// The grid's texts of the kinds, and back.
QString confirmKindLabel(plan::ConfirmKind kind);   // "確定" / "予定"
QStringList confirmKindChoices();
QString fixKindLabel(plan::FixKind kind);           // "0:可動", "1:後ろ固定", "2:完全固定"
QStringList fixKindChoices();

// The code of the chart row the record stands on (its machine's, or its
// supplier's for work sent out); empty for the unplaced row and for a machine
// the chart has no row for.
QString rowCodeOf(const core::Planner& planner, const plan::PlanRecord& r);

}  // namespace reschedule
