#include "chart/ConflictTexts.h"

namespace chart {

QString conflictKindText(reschedule::ConflictKind kind)
{
    switch (kind) {
    case reschedule::ConflictKind::MachineOverlap: return QStringLiteral("機械重複");
    case reschedule::ConflictKind::MouldClash: return QStringLiteral("金型重複");
    case reschedule::ConflictKind::Late: return QStringLiteral("納期遅れ");
    case reschedule::ConflictKind::ChainOrder: return QStringLiteral("工程順序");
    }
    return {};
}

QString ordersText(const plan::PlanRecord& r)
{
    QString text = QString::number(r.orderNo);
    if (r.memberCount > 1) text += QStringLiteral(" 他%1件").arg(r.memberCount - 1);
    return text;
}

QString placeCode(const plan::PlanRecord& r) { return r.hasMachine() ? r.machineCode.trimmed() : r.destCode.trimmed(); }

QString spanText(core::Moment from, core::Moment to)
{
    const auto text = [](core::Moment m) { return m.date().toMonthDayText() + QLatin1Char(' ') + m.time().toHhmm(); };
    return text(from) + QStringLiteral("～") + text(to);
}

QString conflictTipLine(const reschedule::Conflict& c, int fromRecord, const plan::PlanData& plan)
{
    const QString kind = conflictKindText(c.kind);
    if (c.kind == reschedule::ConflictKind::Late)
        return QStringLiteral("※%1: 納期 %2 を過ぎて終了").arg(kind, c.from.addDays(-1).date().toDisplayText());
    const int other = c.first == fromRecord ? c.second : c.first;
    if (other < 2 || other > plan.size()) return QStringLiteral("※%1").arg(kind);
    const plan::PlanRecord& o = plan[other];
    QString role;
    if (c.kind == reschedule::ConflictKind::ChainOrder) role = c.first == fromRecord ? QStringLiteral("後工程 ") : QStringLiteral("前工程 ");
    if (c.kind == reschedule::ConflictKind::MouldClash) role = QStringLiteral("金型 %1 ").arg(o.mouldNo.trimmed());
    return QStringLiteral("※%1: %2手配 %3 (%4) %5").arg(kind, role, ordersText(o), placeCode(o), spanText(c.from, c.to));
}

QString loadTipText(const QString& machineCode, core::Date day, const reschedule::DayLoad& load)
{
    QString text = QStringLiteral("負荷 %1 %2: 計画 %3分 / 稼働 %4分").arg(machineCode.trimmed(), day.toMonthDayText()).arg(load.planned).arg(load.offered);
    if (load.offered > 0) text += QStringLiteral(" (%1%)").arg(load.planned * 100 / load.offered);
    if (load.overloaded()) text += QStringLiteral(" 過負荷");
    return text;
}

}  // namespace chart
