#pragma once
// Arranging the loaded plan on its rows (配置).

#include "reschedule/RuleContext.h"

#include <optional>

namespace reschedule {

// Lays out every loaded bar on its machine row after loading. Confirmed, placed
// bars keep their loaded times; bars standing on a machine without a confirmed
// placement are packed behind the machine's last bar. Only records whose times
// actually change are marked changed.
void FunPlanDataYoteiBarSet(RuleContext& ctx, const ProgressText& progress = {});

// Latest end among the bars of a machine that are confirmed or changed; nullopt for none.
std::optional<core::Moment> FunGetMachineLastDate(const plan::PlanData& plan, const QString& machineCode);

}  // namespace reschedule
