#pragma once
// The fields the rescheduling rules change on a bar, to tell whether a rule
// really changed it (only then is the record marked changed), and the common
// "start here, end from the job's minutes" step.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <cstdint>

namespace reschedule {

struct BarState {
    core::Moment start, end;
    QString machineCode, destCode;
    plan::InOutKind inOutKind = plan::InOutKind::None;
    int setupMinutes = 0;
    std::int64_t workMinutes = 0, orderQty = 0;
    double cycle = 0, pieceSeconds = 0;
    bool isEdited = false;

    static BarState of(const plan::PlanRecord& r);
    friend bool operator==(const BarState&, const BarState&) = default;
};

// Marks the record changed and due for redrawing when it differs from `before`.
void markIfChanged(RuleContext& ctx, int recordNo, const BarState& before, RuleOutcome& out);

// Set-up plus work minutes of a record.
inline std::int64_t jobMinutes(const plan::PlanRecord& r) { return std::int64_t(r.setupMinutes) + r.workMinutes; }

// The record's end from its start and its job minutes on its own machine (getEndTime).
void recomputeEnd(RuleContext& ctx, int recordNo);
// Puts the record's start at `start` and recomputes its end; with `markChanged`
// the record is also marked changed, in the same edit.
void placeAt(RuleContext& ctx, int recordNo, core::Moment start, bool markChanged = false);
// The same for a record on `machine`, looked up once for a whole row; returns
// the new end, which the next bar of a push starts from.
core::Moment placeAt(RuleContext& ctx, int recordNo, core::Moment start, core::MachineOfCode machine, bool markChanged);

}  // namespace reschedule
