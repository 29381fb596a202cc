#include "session/GridActions.h"

namespace session {

namespace {
QString stepName(reschedule::GridField field)
{
    switch (field) {
    case reschedule::GridField::ConfirmKind: return QStringLiteral("確定区分の変更");
    case reschedule::GridField::FixKind: return QStringLiteral("固定区分の変更");
    case reschedule::GridField::OrderQty: return QStringLiteral("手配数の変更");
    case reschedule::GridField::Start: return QStringLiteral("作業開始の変更");
    case reschedule::GridField::Persons: return QStringLiteral("必要人員の変更");
    case reschedule::GridField::Remarks: return QStringLiteral("備考の変更");
    }
    return QStringLiteral("一覧の変更");
}
}  // namespace

bool canEditGridRow(PlanSession& session, int recordNo)
{
    return !reschedule::canEditGridRow(session.rules(), recordNo).refused;
}

reschedule::RuleOutcome editGridCell(PlanSession& session, int recordNo, reschedule::GridField field, const QString& text)
{
    return session.apply(stepName(field), [&](reschedule::RuleContext& ctx) {
        return reschedule::editGridCell(ctx, recordNo, field, text);
    });
}

reschedule::RuleOutcome bulkChangeConfirmKind(PlanSession& session, const std::vector<int>& recordNos, plan::ConfirmKind kind)
{
    const QString name = kind == plan::ConfirmKind::Confirmed ? QStringLiteral("一括確定") : QStringLiteral("一括予定");
    return session.apply(name, [&](reschedule::RuleContext& ctx) {
        return reschedule::bulkChangeConfirmKind(ctx, recordNos, kind);
    });
}

}  // namespace session
