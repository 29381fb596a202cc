#pragma once
// The plan grid's edits and the bulk change of the confirmation kind as the
// session's actions: each is one undo step, a refused one leaves none.

#include "reschedule/GridEdit.h"
#include "session/PlanSession.h"

#include <vector>

namespace session {

// Whether the record's row may be edited; a refusal has been told.
bool canEditGridRow(PlanSession& session, int recordNo);

// One cell as the planner typed or chose it.
reschedule::RuleOutcome editGridCell(PlanSession& session, int recordNo, reschedule::GridField field, const QString& text);

// The confirmation kind of the rows' orders, in one step.
reschedule::RuleOutcome bulkChangeConfirmKind(PlanSession& session, const std::vector<int>& recordNos, plan::ConfirmKind kind);

}  // namespace session
