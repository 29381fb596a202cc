#pragma once
// Where a machine cannot run on a production day: the complement of its
// working periods (CalTime) and the day's stop period (StopInfo), as moments.

#include "core/WorkingTime.h"

#include <QString>
#include <optional>
#include <vector>

namespace chart {

struct TimeSpan {
    core::Moment from;
    core::Moment to;
};

struct MachineDayShading {
    std::vector<TimeSpan> idle;     // non-working time of the production day
    std::optional<TimeSpan> stop;   // the day's stop period, when it has one
    QString stopTitle;
    QString stopRemark;
};

// Start of production day `dayIndex` (index 2 = PeriodStart).
core::Moment productionDayStart(const core::Planner& p, int dayIndex);

// The machine row's day; rows without a calendar (row 1, suppliers) have no shading.
MachineDayShading shadingOf(const core::Planner& p, int row, int dayIndex);

}  // namespace chart
