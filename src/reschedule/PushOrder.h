#pragma once
// The order in which bars behind a moved bar are pushed: earlier start first;
// with equal starts the smaller work minutes (when both have some), else the
// smaller quantity; otherwise table order.

#include "plan/PlanData.h"

#include <vector>

namespace reschedule {

// True when a is pushed before b.
bool pushedBefore(const plan::PlanRecord& a, const plan::PlanRecord& b);

// Sorts record numbers into push order, exactly as a bubble sort with pushedBefore does.
void sortIntoPushOrder(const plan::PlanData& plan, std::vector<int>& bars);

}  // namespace reschedule
