#pragma once
// A bar that changes machine takes the item's cycle on the new machine: the
// machine-specific cycle first, the routing's productivity second.

#include "reschedule/RuleContext.h"

namespace reschedule {

// stretchBar: re-reads the cycle of the record's item and process for the
// machine row newKikai and recomputes the work minutes. Does nothing for an
// empty code, a code that is no machine row, or when neither source knows a
// time; a failing look-up keeps the old cycle. Returns true when it changed the record.
bool stretchBar(RuleContext& ctx, int recordNo, const QString& newKikai);

}  // namespace reschedule
