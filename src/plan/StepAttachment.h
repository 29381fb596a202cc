#pragma once
// State outside the plan table that an undo step carries along (a machine
// day's calendar, say). The history knows nothing of what it holds: whoever
// owns that state attaches the state before the change while the step is open,
// and the history calls swap() where it swaps record images (undo, redo,
// abandon), so one linear history covers both.

namespace plan {

class StepAttachment {
public:
    virtual ~StepAttachment() = default;
    // Exchanges the held state with the live one: afterwards the live state
    // is what was held, and the attachment holds what was live.
    virtual void swap() = 0;
};

}  // namespace plan
