#pragma once
// Placing a moved bar on its row and resolving the overlaps it causes there:
// the bar in front may take the moved bar behind itself, and the bars behind
// are pushed later in a chain up to the first gap or the first fixed bar.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <QHash>
#include <vector>

namespace reschedule {

// Whether record j can stand in a moved bar's way at all: loaded, confirmed or
// changed, not a set member, not deleted or merged away. Inline: asked of every
// bar on the row.
inline bool canBeRowNeighbour(const plan::PlanRecord& j)
{
    return j.loadMark >= 1 && (j.isConfirmed() || j.isChanged) && !j.isHidden();
}

// The row neighbours of record m, in table order: the bars on m's machine, or,
// for a bar without a machine, the bars at m's destination without a machine.
std::vector<int> rowNeighbours(RuleContext& ctx, int m);

// Places record m on the row (step 1), then resolves the overlaps (steps 2 to 4).
void insertPlanBarStep2(RuleContext& ctx, int m, const QString& rowCode, RuleOutcome& out,
                         QHash<QString, QString>* destinations = nullptr);

// Steps 2 to 4 only, for a bar that keeps its row and times: the bar in front
// (asked), the bars behind (asked outside arrange mode), set members following.
void resolveOverlaps(RuleContext& ctx, int m, RuleOutcome& out);

}  // namespace reschedule
