#pragma once
// Expanding a machine row (展開): its free bars laid out one after another from
// the machine's working start on the first displayed day.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

namespace reschedule {

// expandRow for chart row `row` (1-based, the row index plus the first visible row).
// Refuses supplier rows and the unplaced row with their messages, and a No to
// the question. Tells the number of bars found ("n件"). Bars starting on or
// before the first displayed day and fully fixed bars keep their times; the
// others are packed behind them in start order (table order on equal starts).
RuleOutcome expandRow(RuleContext& ctx, int row);

}  // namespace reschedule
