#pragma once
// The drop a planner makes on the session's chart: the bar's left edge put at
// `start` on the row of `rowCode`, at one hour per 600 twips.

#include "core/ChartGeometry.h"
#include "reschedule/BarMove.h"
#include "session/PlanSession.h"

namespace testing_support {

inline reschedule::BarDrop dropAt(const session::PlanSession& session, int recordNo, const QString& rowCode, core::Moment start)
{
    const core::ProgramSettings& settings = session.settings();
    reschedule::BarDrop d;
    d.recordNo = recordNo;
    d.DragStartKikai = session.plan()[recordNo].machineCode;
    d.newKikai = rowCode;
    d.origin = core::chartOrigin(settings.PeriodStart, settings.DayChangeTime);
    d.scale = 600;  // twips per hour
    d.currentLeftTwips = double(core::dateTimeToX(d.origin, session.plan()[recordNo].start(), d.scale));
    d.newLeftTwips = double(core::dateTimeToX(d.origin, start, d.scale));
    return d;
}

}  // namespace testing_support
