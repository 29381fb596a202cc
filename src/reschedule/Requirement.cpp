#include "reschedule/Requirement.h"

#include "reschedule/DetailMessages.h"

#include <algorithm>
#include <cmath>

namespace reschedule {

namespace {
double powerOfTen(int n)
{
    double p = 1;
    for (int i = 0; i < n; ++i) p *= 10;  // exact up to 10^22
    return p;
}
}  // namespace

std::optional<double> requirementFor(std::int64_t orderQty, const RequirementRule& rule)
{
    // Grossing up by 1 / (1 − rate) has no meaning at 100 % and beyond.
    if (!(rule.defectRate < 100)) return std::nullopt;
    int d = rule.digitPosition;
    if (d >= 128 && d <= 255) d -= 256;  // the master keeps it as a signed byte
    d = std::clamp(d, -15, 15);
    const double adj = rule.roundingKind == QStringLiteral("2") ? 0.999 : rule.roundingKind == QStringLiteral("3") ? 0.5 : 0.0;
    // Scale 10^−d, applied with an exact power of ten on the side where it is exact.
    const double p = powerOfTen(std::abs(d));
    double x = double(orderQty) * rule.unitNum;
    x = d >= 0 ? x / p : x * p;
    if (rule.unitDen != 0) x /= rule.unitDen;
    x /= 1 - rule.defectRate / 100;
    // Decimal ratios are not exact in binary: 1000 × 0.7 may come out a hair
    // below 700. A nudge far below any real fraction of the inputs (quantities
    // and ratios with a few decimals) but far above the binary error (about
    // 1e-16 relative) keeps Int from losing a whole unit to it.
    const double v = x + adj;
    const double whole = std::floor(v + 1e-9 + std::fabs(v) * 1e-12);
    const double need = d >= 0 ? whole * p : whole / p;
    if (!std::isfinite(need)) return std::nullopt;
    return need;
}

bool recalcRequirement(RuleContext& ctx, int recordNo, int slot, RuleOutcome& out)
{
    const plan::PlanRecord& r = ctx.plan[recordNo];
    if (slot < 1 || slot > int(r.components.size())) return false;
    const std::size_t k = std::size_t(slot - 1);
    const QString item = r.components[k].itemCode;
    if (item.trimmed().isEmpty()) return false;
    const std::optional<RequirementRule> rule = ctx.lookup.requirementRule(r.orderNo, item);
    if (!rule) return false;
    const std::optional<double> need = requirementFor(r.orderQty, *rule);
    if (!need) {
        ctx.prompt.tell(msg::requirementUndefined(item), {}, core::Prompt::Icon::Warning);
        return false;
    }
    if (*need == r.components[k].requiredQty) return false;
    plan::PlanRecord& m = ctx.plan.edit(recordNo);
    m.components[k].requiredQty = *need;
    m.isChanged = true;
    out.touch(recordNo);
    return true;
}

void recalcRequirements(RuleContext& ctx, int recordNo, RuleOutcome& out)
{
    const int count = int(ctx.plan[recordNo].components.size());
    for (int slot = 1; slot <= count; ++slot) recalcRequirement(ctx, recordNo, slot, out);
}

}  // namespace reschedule
