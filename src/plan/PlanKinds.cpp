#include "plan/PlanKinds.h"

namespace plan {

FixKind fixKindFromText(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("0")) return FixKind::Free;
    if (text == QLatin1String("1")) return FixKind::BackFixed;
    if (text == QLatin1String("2")) return FixKind::FullyFixed;
    return FixKind::Other;
}

QString textOf(FixKind kind, const QString& otherText)
{
    switch (kind) {
    case FixKind::Free: return QStringLiteral("0");
    case FixKind::BackFixed: return QStringLiteral("1");
    case FixKind::FullyFixed: return QStringLiteral("2");
    case FixKind::Other: break;
    }
    return otherText;
}

ConfirmKind confirmKindFromText(const QString& text)
{
    if (text.isEmpty()) return ConfirmKind::None;
    if (text == QLatin1String("1")) return ConfirmKind::Planned;
    if (text == QLatin1String("2")) return ConfirmKind::Confirmed;
    return ConfirmKind::Other;
}

QString textOf(ConfirmKind kind, const QString& otherText)
{
    switch (kind) {
    case ConfirmKind::None: return QString();
    case ConfirmKind::Planned: return QStringLiteral("1");
    case ConfirmKind::Confirmed: return QStringLiteral("2");
    case ConfirmKind::Other: break;
    }
    return otherText;
}

InOutKind inOutKindFromText(const QString& text)
{
    if (text == QLatin1String("1")) return InOutKind::InHouse;
    if (text == QLatin1String("2")) return InOutKind::Outside;
    return InOutKind::None;
}

QString textOf(InOutKind kind)
{
    switch (kind) {
    case InOutKind::None: break;
    case InOutKind::InHouse: return QStringLiteral("1");
    case InOutKind::Outside: return QStringLiteral("2");
    }
    return QString();
}

}  // namespace plan
