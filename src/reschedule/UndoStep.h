#pragma once
// One user action = one undo step. The chart wraps every rescheduling action:
//
//   auto out = reschedule::runStep(history, tr("移動"), [&] { return dropBar(ctx, drop); });
//
// A refused action (or one that throws) leaves no step and no change behind;
// an action that changed nothing leaves no step either.

#include "plan/PlanHistory.h"
#include "reschedule/RuleOutcome.h"

#include <QString>
#include <utility>

namespace reschedule {

template <typename Action>
RuleOutcome runStep(plan::PlanHistory& history, const QString& name, Action&& action)
{
    if (history.isOpen()) {
        // Part of a larger step: the outer step decides what is kept.
        RuleOutcome out = std::forward<Action>(action)();
        out.changed = !out.refused && !out.touched.empty();
        return out;
    }
    history.begin(name);
    RuleOutcome out;
    try {
        out = std::forward<Action>(action)();
    } catch (...) {
        history.abandon();
        throw;
    }
    if (out.refused) {
        history.abandon();
        out.changed = false;
        return out;
    }
    out.changed = history.end();
    return out;
}

}  // namespace reschedule
