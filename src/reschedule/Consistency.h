#pragma once
// The invariants every rescheduling step keeps, checked as a whole. Tests
// assert it after every step; an empty list means the plan table is sound.

#include "plan/PlanData.h"

#include <QStringList>

namespace reschedule {

// Checks, for the live records (not deleted, not merged away):
//  - record 1 is the placeholder; bar indexes are unique and found again;
//  - orderQty and receivedQty are the sums of the member group in use;
//  - isSetMember agrees with setRepOrderNo and orderNo;
//  - a set member stands where its representative stands (times, machine, destination);
//  - a changed bar does not end before it starts;
// and for merged-away records: no order number, no quantity, not marked changed.
QStringList checkConsistency(const plan::PlanData& plan);

}  // namespace reschedule
