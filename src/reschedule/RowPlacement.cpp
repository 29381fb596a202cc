#include "reschedule/RowPlacement.h"

#include "reschedule/BarState.h"

namespace reschedule {

RowTarget splitRowCode(const core::Planner& planner, const QString& rowCode)
{
    RowTarget t;
    const int row = planner.rows.findRow(rowCode);
    if (!rowCode.trimmed().isEmpty() && planner.rows.isMachineRow(row)) {
        t.machineRow = true;
        t.machineCode = planner.rows.row(row).RowCode;
        t.destCode = QString(12, u' ');
    } else {
        t.machineCode = QStringLiteral(" ");
        t.destCode = rowCode;
    }
    return t;
}

void placeOnRow(RuleContext& ctx, int recordNo, const QString& rowCode, QHash<QString, QString>* destinations)
{
    const RowTarget t = splitRowCode(ctx.planner, rowCode);
    const plan::PlanRecord& r = ctx.plan[recordNo];
    if (t.machineRow) {
        QString dest = t.destCode;
        if (dest.trimmed().isEmpty()) {
            if (destinations && destinations->contains(t.machineCode)) {
                dest = destinations->value(t.machineCode);
            } else {
                dest = ctx.lookup.machineDestination(t.machineCode);
                if (destinations) destinations->insert(t.machineCode, dest);
            }
        }
        if (r.inOutKind != plan::InOutKind::InHouse || r.machineCode != t.machineCode || r.destCode != dest) {
            plan::PlanRecord& m = ctx.plan.editPlacement(recordNo);
            m.inOutKind = plan::InOutKind::InHouse;
            m.machineCode = t.machineCode;
            m.destCode = dest;
        }
    } else if (!t.destCode.trimmed().isEmpty() && t.destCode != r.destCode) {
        plan::PlanRecord& m = ctx.plan.editPlacement(recordNo);
        m.inOutKind = plan::InOutKind::Outside;
        m.destCode = t.destCode;
        m.machineCode = QStringLiteral(" ");
    }
    recomputeEnd(ctx, recordNo);
}

}  // namespace reschedule
