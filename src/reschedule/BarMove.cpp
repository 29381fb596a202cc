#include "reschedule/BarMove.h"

#include "core/ChartGeometry.h"
#include "plan/PlanTime.h"
#include "reschedule/BarState.h"
#include "reschedule/CycleLookup.h"
#include "reschedule/Messages.h"
#include "reschedule/OverlapResolution.h"
#include "reschedule/RowPlacement.h"
#include "reschedule/SetMembers.h"

namespace reschedule {

namespace {

bool isRecord(const RuleContext& ctx, int i) { return i >= 2 && i <= ctx.plan.size(); }

// The unplaced row takes bars dropped below the last row and on the blank first row.
bool isUnplacedTarget(const QString& rowCode) { return rowCode.trimmed().isEmpty(); }

bool sameRow(const QString& a, const QString& b) { return a.trimmed() == b.trimmed(); }

// The machine whose working time a drop on rowCode snaps to; blank for suppliers.
QString snapMachine(const RuleContext& ctx, const QString& rowCode)
{
    const RowTarget t = splitRowCode(ctx.planner, rowCode);
    return t.machineRow ? t.machineCode : QStringLiteral(" ");
}

enum class Refusal { None, Silent, CannotReturn, CannotMoveLater };

Refusal refusalOf(const RuleContext& ctx, const BarDrop& drop)
{
    if (!canStartBarDrag(ctx, drop.recordNo)) return Refusal::Silent;
    const plan::PlanRecord& r = ctx.plan[drop.recordNo];
    if (r.fixKind != plan::FixKind::BackFixed) return Refusal::None;
    if (isUnplacedTarget(drop.newKikai)) return Refusal::CannotReturn;
    if (drop.newLeftTwips > drop.currentLeftTwips) return Refusal::CannotMoveLater;
    return Refusal::None;
}

core::Moment restoredStart(const plan::PlanRecord& r)
{
    return r.startDateOrig.isNull() ? r.start() : core::Moment::of(r.startDateOrig, r.startTime);
}

}  // namespace

bool canStartBarDrag(const RuleContext& ctx, int recordNo)
{
    if (!isRecord(ctx, recordNo)) return false;
    return ctx.plan[recordNo].isDraggable();
}

core::Moment twipToDateTime(const RuleContext& ctx, core::Moment origin, double leftTwips, double scale,
                           const QString& machineCode)
{
    const core::Moment dropped = core::xToMoment(origin, leftTwips, scale);
    return core::snapToWorkingTime(ctx.planner, core::roundUpToGrid(ctx.planner, dropped), machineCode);
}

core::Moment previewStart(RuleContext& ctx, const BarDrop& drop)
{
    if (!isRecord(ctx, drop.recordNo)) return {};
    const plan::PlanRecord& r = ctx.plan[drop.recordNo];
    if (refusalOf(ctx, drop) != Refusal::None) return r.start();
    if (isUnplacedTarget(drop.newKikai)) return restoredStart(r);
    return twipToDateTime(ctx, drop.origin, drop.newLeftTwips, drop.scale, snapMachine(ctx, drop.newKikai));
}

void returnToUnplaced(RuleContext& ctx, int recordNo, RuleOutcome& out)
{
    const BarState before = BarState::of(ctx.plan[recordNo]);
    {
        plan::PlanRecord& m = ctx.plan.editPlacement(recordNo);
        m.machineCode = QStringLiteral(" ");
        if (!m.startDateOrig.isNull()) m.startDate = m.startDateOrig;
        if (!m.endDateOrig.isNull()) m.endDate = m.endDateOrig;
        m.isEdited = true;
    }
    // The loaded dates with the moved times of day could put the end before the start.
    if (ctx.plan[recordNo].end() < ctx.plan[recordNo].start()) recomputeEnd(ctx, recordNo);
    markIfChanged(ctx, recordNo, before, out);
    const plan::PlanRecord& m = ctx.plan[recordNo];
    if (m.setRepOrderNo != 0 && !m.isSetMember) setDPlanUpdate(ctx, recordNo, out);
    out.touch(recordNo);
}

namespace {
// FollowMove_PlanBar: the horizontal part of a drop. A back-fixed bar may not
// go later (refused with its message); any other bar starts where it was dropped.
bool FollowMove_PlanBar(RuleContext& ctx, const BarDrop& drop)
{
    if (refusalOf(ctx, drop) == Refusal::CannotMoveLater) {
        ctx.prompt.tell(msg::cannotMoveLaterBackFixed());
        return false;
    }
    const core::Moment start = twipToDateTime(ctx, drop.origin, drop.newLeftTwips, drop.scale, snapMachine(ctx, drop.newKikai));
    if (start != ctx.plan[drop.recordNo].start()) ctx.plan.editTimes(drop.recordNo).setStart(start);
    return true;
}
}  // namespace

RuleOutcome dropBar(RuleContext& ctx, const BarDrop& drop)
{
    // Every refusal is decided before anything changes.
    const Refusal refusal = refusalOf(ctx, drop);
    if (refusal == Refusal::Silent) return RuleOutcome::refusal();
    if (refusal == Refusal::CannotReturn) {
        ctx.prompt.tell(msg::cannotReturnBackFixed());
        return RuleOutcome::refusal();
    }
    RuleOutcome out;
    const int i = drop.recordNo;
    if (isUnplacedTarget(drop.newKikai)) {
        returnToUnplaced(ctx, i, out);
    } else {
        const BarState before = BarState::of(ctx.plan[i]);
        if (!FollowMove_PlanBar(ctx, drop)) return RuleOutcome::refusal();
        if (!sameRow(drop.DragStartKikai, drop.newKikai)) stretchBar(ctx, i, drop.newKikai);
        insertPlanBarStep2(ctx, i, drop.newKikai, out);
        markIfChanged(ctx, i, before, out);
    }
    out.touch(i);  // redrawn at its place even when nothing changed
    out.tidy();
    return out;
}

}  // namespace reschedule
