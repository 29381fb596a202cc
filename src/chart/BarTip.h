#pragma once
// The text of the hover tip hoverTip: what a planner needs to know about an
// order without opening its detail window.

#include "core/RowTable.h"
#include "plan/PlanRecord.h"

#include <QString>

namespace chart {

QString fixKindText(plan::FixKind fixKind);
QString confirmKindText(plan::ConfirmKind confirmKind);
QString barTipText(const plan::PlanRecord& r, const core::RowTable& rows);

}  // namespace chart
