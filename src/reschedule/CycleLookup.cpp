#include "reschedule/CycleLookup.h"

#include "plan/PlanTime.h"

#include <exception>

namespace reschedule {

bool stretchBar(RuleContext& ctx, int recordNo, const QString& newKikai)
{
    if (newKikai.trimmed().isEmpty()) return false;
    const core::RowTable& rows = ctx.planner.rows;
    const int row = rows.findRow(newKikai);
    if (!rows.isMachineRow(row)) return false;
    const plan::PlanRecord& r = ctx.plan[recordNo];
    double cycle = 0, pieceSeconds = 0;
    try {
        const std::optional<double> machineCycle = ctx.lookup.machineCycle(r.itemCode, r.processSeq, rows.row(row).RowCode);
        if (machineCycle && *machineCycle != 0) {
            cycle = *machineCycle;
            pieceSeconds = plan::pieceSecondsOfCycle(cycle, r.cavities);
        } else if (const auto prod = ctx.lookup.routingProductivity(r.itemCode, r.processSeq); prod && prod->value != 0) {
            pieceSeconds = plan::pieceSecondsFromProductivity(prod->value, prod->unitClass);
            cycle = pieceSeconds * double(plan::cavitiesDivisor(r.cavities));
        }
    } catch (const std::exception&) {
        return false;  // the master could not be read: the bar moves with its old cycle
    }
    if (pieceSeconds == 0) return false;
    const std::int64_t work = plan::workMinutesFor(pieceSeconds, r.orderQty, r.requiredPersons);
    if (cycle == r.cycle && pieceSeconds == r.pieceSeconds && work == r.workMinutes) return false;
    plan::PlanRecord& m = ctx.plan.editPlacement(recordNo);
    m.cycle = cycle;
    m.pieceSeconds = pieceSeconds;
    m.workMinutes = work;
    return true;
}

}  // namespace reschedule
