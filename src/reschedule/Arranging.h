#pragma once
// Arranging the loaded plan on its rows (配置).

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <optional>

namespace reschedule {

// Lays out every loaded bar on its machine row after loading, in arrange mode:
//  - confirmed, placed bars keep their loaded times; only where such bars
//    overlap on a machine are the overlaps resolved as for a drop (the bar in
//    front is asked about, the bars behind are pushed without asking);
//  - bars standing on a machine without a confirmed placement are packed one
//    after another behind the machine's last confirmed bar, in table order;
//  - set members follow their representatives;
//  - only records that really change are marked changed.
// Arranging an arranged plan again changes nothing.
RuleOutcome planDataYoteiBarSet(RuleContext& ctx, const ProgressText& progress = {});

// Latest end among the bars of a machine that are confirmed or changed (deleted
// and merged-away records do not count); nullopt for none or an empty code.
std::optional<core::Moment> getMachineLastDate(const plan::PlanData& plan, const QString& machineCode);

}  // namespace reschedule
