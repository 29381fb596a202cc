#pragma once
// Bookings this planner cannot see: orders stored on the machine or in the
// mould of a bar being saved, at an overlapping time, that another planner
// (or program) placed there since this plan was loaded. Read inside the
// save's transaction, after the rows to be written are locked.

#include "store/saving/SaveContext.h"

#include <QSet>
#include <QString>
#include <cstdint>
#include <vector>

namespace store {

struct ForeignOverlap {
    std::int64_t savedOrder = 0;  // the order this save places
    std::int64_t otherOrder = 0;  // the stored order it meets
    QString machineCode;          // where they meet: the machine ...
    QString mouldNo;              // ... or the mould (empty when on the machine)
};

// Overlaps with stored orders that are not written by this save and whose
// stored placement is not the one the planner's plan shows for them; orders
// in `accepted` are left out (the planner has agreed to them).
std::vector<ForeignOverlap> findForeignOverlaps(SaveContext& ctx, const QSet<std::int64_t>& accepted);

// The question put to the planner.
QString foreignOverlapQuestion(const std::vector<ForeignOverlap>& overlaps);

}  // namespace store
