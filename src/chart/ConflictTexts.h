#pragma once
// How the chart names conflicts and machine load to the planner.

#include "core/RowTable.h"
#include "plan/PlanData.h"
#include "reschedule/Conflicts.h"
#include "reschedule/MachineLoad.h"

#include <QString>

namespace chart {

QString conflictKindText(reschedule::ConflictKind kind);  // "機械重複", "金型重複", "納期遅れ", "工程順序"
// The orders of a record as the list shows them ("1234" or "1234 他2件").
QString ordersText(const plan::PlanRecord& r);
// The machine (or supplier) code of a record; "" when on none.
QString placeCode(const plan::PlanRecord& r);
// "m/d hh:mm～m/d hh:mm".
QString spanText(core::Moment from, core::Moment to);
// One line for a bar's hover tip: the conflict as seen from that bar.
QString conflictTipLine(const reschedule::Conflict& c, int fromRecord, const plan::PlanData& plan);
// "負荷 M01 5/7: 計画 820分 / 稼働 900分 (91%)", with 過負荷 when overloaded.
QString loadTipText(const QString& machineCode, core::Date day, const reschedule::DayLoad& load);

}  // namespace chart
