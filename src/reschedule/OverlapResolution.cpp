#include "reschedule/OverlapResolution.h"

#include "reschedule/BarState.h"
#include "reschedule/Messages.h"
#include "reschedule/PushOrder.h"
#include "reschedule/RowPlacement.h"
#include "reschedule/SetMembers.h"

#include <algorithm>

namespace reschedule {

std::vector<int> rowNeighbours(RuleContext& ctx, int m)
{
    const plan::PlanRecord& mr = ctx.plan[m];
    PlanIndex& index = ctx.rowIndex();
    const std::vector<int>* row = nullptr;
    if (mr.hasMachine())
        row = &index.onMachine(mr.machineCode);
    else if (!mr.destCode.trimmed().isEmpty())
        row = &index.atDestination(mr.destCode);
    std::vector<int> out;
    if (!row) return out;
    out.reserve(row->size());
    for (int j : *row) {
        const plan::PlanRecord& jr = ctx.plan[j];
        if (j != m && jr.barIndex != mr.barIndex && canBeRowNeighbour(jr)) out.push_back(j);
    }
    return out;
}

namespace {

// Step 2: the bar in front that still runs into m's start (latest end; the later
// one in table order on equal ends) may take m behind itself.
void startAfterBarInFront(RuleContext& ctx, int m, const std::vector<int>& neighbours, RuleOutcome& out)
{
    const core::Moment mStart = ctx.plan[m].start();
    int front = 0;
    core::Moment frontEnd;
    for (int j : neighbours) {
        const plan::PlanRecord& jr = ctx.plan[j];
        if (!(jr.start() < mStart && jr.end() > mStart)) continue;
        if (front == 0 || jr.end() >= frontEnd) {
            front = j;
            frontEnd = jr.end();
        }
    }
    if (front == 0 || !ctx.prompt.askYesNo(msg::askStartAfterFront())) return;
    placeAt(ctx, m, core::roundUpToUnit(frontEnd, ctx.timeUnitMinutes()));
    out.touch(m);
}

// Step 3: the bars behind m are pushed one after another until a gap or a fixed bar.
void pushBarsBehind(RuleContext& ctx, int m, const std::vector<int>& neighbours, RuleOutcome& out)
{
    const core::Moment mStart = ctx.plan[m].start();
    const core::Moment mEnd = ctx.plan[m].end();
    std::vector<int> behind;
    behind.reserve(neighbours.size());
    bool overlap = false;
    for (int j : neighbours) {
        const plan::PlanRecord& jr = ctx.plan[j];
        if (jr.start() < mStart) continue;
        behind.push_back(j);
        overlap = overlap || jr.start() < mEnd;
    }
    if (!overlap) return;
    if (!ctx.ArrangeMode && !ctx.prompt.askYesNo(msg::askPushBehind())) return;

    sortIntoPushOrder(ctx.plan, behind);
    // The push stops at the first fixed bar behind (in push order, so also in start
    // order); none further down is ever reached.
    const std::size_t firstFixed = std::size_t(
        std::find_if(behind.begin(), behind.end(), [&](int j) { return ctx.plan[j].isFixed(); }) - behind.begin());
    const bool anyFixed = firstFixed < behind.size();
    const core::Moment fixedStart = anyFixed ? ctx.plan[behind[firstFixed]].start() : core::Moment();

    core::Moment prevEnd = mEnd;
    const int unitMinutes = ctx.timeUnitMinutes();
    out.touched.reserve(out.touched.size() + behind.size() + 1);
    // Every bar behind stands on m's row, so on the same machine code (or none).
    const core::MachineOfCode machine = core::machineOfCode(ctx.planner, ctx.plan[behind.front()].machineCode);
    for (std::size_t idx = 0; idx < behind.size(); ++idx) {
        const int j = behind[idx];
        if (idx == firstFixed || !(ctx.plan[j].start() < prevEnd)) {
            if (idx == 0 && idx == firstFixed) ctx.prompt.tell(msg::firstBehindIsFixed());
            break;
        }
        // The end as placed, not read back through the record's date and time:
        // each bar waits for the one before it, so this path sets the pace.
        prevEnd = placeAt(ctx, j, core::roundUpToUnit(prevEnd, unitMinutes), machine, true);

        // A bar that would now run into the fixed bar further down the row leaves the
        // machine rather than overlap it; the bar right before the fixed one stays.
        if (anyFixed && fixedStart < prevEnd && firstFixed != idx + 1) ctx.plan.editPlacement(j).machineCode = QStringLiteral(" ");
        // Members follow after the machine is settled, so they never stay behind on it.
        out.touch(j);  // before its members: the outcome's list stays in table order
        if (ctx.plan[j].setRepOrderNo != 0) setDPlanUpdate(ctx, j, out);
    }
}

}  // namespace

void resolveOverlaps(RuleContext& ctx, int m, RuleOutcome& out)
{
    const std::vector<int> neighbours = rowNeighbours(ctx, m);
    if (!neighbours.empty()) {
        startAfterBarInFront(ctx, m, neighbours, out);
        pushBarsBehind(ctx, m, neighbours, out);
    }
    const plan::PlanRecord& mr = ctx.plan[m];
    if (mr.setRepOrderNo != 0 && !mr.isSetMember) setDPlanUpdate(ctx, m, out);
}

void insertPlanBarStep2(RuleContext& ctx, int m, const QString& rowCode, RuleOutcome& out,
                         QHash<QString, QString>* destinations)
{
    const BarState before = BarState::of(ctx.plan[m]);
    placeOnRow(ctx, m, rowCode, destinations);
    resolveOverlaps(ctx, m, out);
    markIfChanged(ctx, m, before, out);
    out.touch(m);
}

}  // namespace reschedule
