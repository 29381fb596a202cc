#include "reschedule/Arranging.h"

#include "core/ChartGeometry.h"
#include "plan/PlanTime.h"
#include "reschedule/BarState.h"
#include "reschedule/Messages.h"
#include "reschedule/OverlapResolution.h"
#include "reschedule/RowPlacement.h"
#include "reschedule/SetMembers.h"

#include <QLocale>
#include <algorithm>

namespace reschedule {

namespace {

QString count(int n) { return QLocale(QLocale::English).toString(n); }  // "#,##0"

bool isArrangeable(const core::Planner& planner, const plan::PlanRecord& r)
{
    // A bar whose stored start and end could not be read stays where it was
    // drawn until the planner moves it: nothing is computed from made-up times.
    return r.confirmKind != plan::ConfirmKind::None && r.hasMachine() && planner.rows.findRow(r.machineCode) >= 2
        && !(r.isSetMember && r.setRepOrderNo != 0) && !r.isDeleted && !r.isMergedAway && !r.placementUnreadable;
}

// Whether any two possible neighbours a, b on the row satisfy
// a.start <= b.start < a.end: only then can resolving overlaps change anything.
bool rowHasOverlap(const plan::PlanData& plan, const std::vector<int>& row)
{
    std::vector<std::pair<core::Moment, core::Moment>> bars;
    for (int i : row)
        if (canBeRowNeighbour(plan[i])) bars.emplace_back(plan[i].start(), plan[i].end());
    std::sort(bars.begin(), bars.end());
    std::optional<core::Moment> latestEnd;  // of the bars with an earlier start
    for (std::size_t i = 0; i < bars.size();) {
        const core::Moment start = bars[i].first;
        if (latestEnd && *latestEnd > start) return true;
        std::size_t k = i;
        core::Moment groupEnd = bars[i].second;
        for (; k < bars.size() && bars[k].first == start; ++k) groupEnd = std::max(groupEnd, bars[k].second);
        if (k - i > 1 && groupEnd > start) return true;  // equal starts and one of them runs on
        latestEnd = latestEnd ? std::max(*latestEnd, groupEnd) : groupEnd;
        i = k;
    }
    return false;
}

struct ArrangeModeScope {
    RuleContext& ctx;
    bool saved;
    explicit ArrangeModeScope(RuleContext& c) : ctx(c), saved(c.ArrangeMode) { ctx.ArrangeMode = true; }
    ~ArrangeModeScope() { ctx.ArrangeMode = saved; }
};

}  // namespace

RuleOutcome planDataYoteiBarSet(RuleContext& ctx, const ProgressText& progress)
{
    ArrangeModeScope arrangeMode(ctx);
    RuleOutcome out;
    const plan::PlanData& plan = ctx.plan;
    const core::RowTable& rows = ctx.planner.rows;
    QHash<QString, QString> destinations;

    // 1. Confirmed bars keep their times; where they overlap, resolve as a drop would.
    for (int row = 2; row <= rows.machineRowCount(); ++row) {
        const std::vector<int> onRow = ctx.rowIndex().onMachine(rows.row(row).RowCode);
        if (onRow.empty() || !rowHasOverlap(plan, onRow)) continue;
        for (int i : onRow)
            if (isArrangeable(ctx.planner, plan[i]) && plan[i].isConfirmed()) resolveOverlaps(ctx, i, out);
    }

    // 2. The last end per machine among the bars that stay where they are: the
    // confirmed or changed ones, but never the bars about to be packed, so that
    // arranging twice packs them in the same place.
    QHash<QString, core::Moment> lastEnd;
    for (int row = 2; row <= rows.machineRowCount(); ++row) {
        const QString code = rows.row(row).RowCode.trimmed();
        for (int i : ctx.rowIndex().onMachine(code)) {
            const plan::PlanRecord& r = plan[i];
            // Set members only mirror their representatives' times.
            if (r.isHidden() || r.placementUnreadable || !(r.isConfirmed() || r.isChanged)) continue;
            if (isArrangeable(ctx.planner, r) && !r.isConfirmed()) continue;
            const auto it = lastEnd.find(code);
            if (it == lastEnd.end()) lastEnd.insert(code, r.end());
            else if (r.end() > it.value()) it.value() = r.end();
        }
    }

    // 3. Bars on a machine without a confirmed placement go one after another
    // behind the machine's last bar, in table order.
    const int n = plan.size();
    const core::Moment firstDisplayed = core::chartOrigin(ctx.planner.PeriodStart, ctx.planner.DayChangeTime);
    for (int i = 2; i <= n; ++i) {
        if (progress && i % 50 == 0) progress(msg::arrangingProgress() + count(i) + QStringLiteral("／") + count(n));
        const plan::PlanRecord& r = plan[i];
        if (!isArrangeable(ctx.planner, r)) continue;
        if (r.isConfirmed()) {
            if (r.setRepOrderNo != 0) setDPlanUpdate(ctx, i, out);
            continue;
        }
        const BarState before = BarState::of(r);
        const QString code = r.machineCode.trimmed();
        std::optional<core::Moment> latest;
        if (lastEnd.contains(code)) latest = lastEnd.value(code);
        else if (r.startDate.isNull()) latest = firstDisplayed;
        if (latest) {
            const core::Moment start = core::roundUpToUnit(*latest, ctx.timeUnitMinutes());
            if (start != r.start()) ctx.plan.editTimes(i).setStart(start);
        }
        const double pieceSeconds = plan::effectivePieceSeconds(plan[i]);
        const std::int64_t work = plan::workMinutesFor(pieceSeconds, plan[i].orderQty, plan[i].requiredPersons);
        if (pieceSeconds != plan[i].pieceSeconds || work != plan[i].workMinutes) {
            plan::PlanRecord& m = ctx.plan.editPlacement(i);
            m.pieceSeconds = pieceSeconds;
            m.workMinutes = work;
        }
        // Nothing stands in front of or behind a bar started at the machine's last
        // end, so the placement is all that insertPlanBarStep2 does here.
        placeOnRow(ctx, i, QString(plan[i].machineCode), &destinations);
        markIfChanged(ctx, i, before, out);
        if (plan[i].setRepOrderNo != 0) setDPlanUpdate(ctx, i, out);
        const auto it = lastEnd.find(code);
        if (it == lastEnd.end()) lastEnd.insert(code, plan[i].end());
        else if (plan[i].end() > it.value()) it.value() = plan[i].end();
    }
    if (progress) progress(msg::arrangingDone() + count(n) + QStringLiteral("／") + count(n));
    out.tidy();
    out.changed = !out.touched.empty();
    return out;
}

std::optional<core::Moment> getMachineLastDate(const plan::PlanData& plan, const QString& machineCode)
{
    const QString code = machineCode.trimmed();
    if (code.isEmpty()) return std::nullopt;
    std::optional<core::Moment> latest;
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (r.isDeleted || r.isMergedAway || r.machineCode.trimmed() != code) continue;
        if (!r.isConfirmed() && !r.isChanged) continue;
        if (!latest || r.end() > *latest) latest = r.end();
    }
    return latest;
}

}  // namespace reschedule
