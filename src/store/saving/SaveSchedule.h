#pragma once
// Saving the schedule: every changed order and its dependent
// rows are written in one transaction, or nothing is.

#include "core/ProgramSettings.h"
#include "core/Prompt.h"
#include "core/WorkingTime.h"
#include "db/Database.h"
#include "plan/PlanData.h"

#include <QSet>
#include <QString>
#include <utility>
#include <vector>

namespace store {

// A machine day changed in the line plan window: (machine row index, day index).
using ChangedCalendarDays = QSet<std::pair<int, int>>;

enum class SaveOutcome {
    Saved,           // everything written and committed
    NothingToSave,   // no changed record, no changed calendar day
    Cancelled,       // the planner stopped it (time check, mould question, conflict question)
    Failed,          // rolled back; the plan in memory is unchanged
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::NothingToSave;
    QString error;            // the database's own text when Failed
    int ordersWritten = 0;    // existing work orders rewritten
    int ordersCreated = 0;    // new work orders from split members
    std::vector<int> recordsChanged;  // plan records the save rewrote (flags, numbers), when Saved
};

// The save. On Saved, changed flags are cleared, split members carry their new
// order numbers, the loaded row stamps are renewed, the changed calendar days
// are forgotten and the plan's undo history is cleared (its steps lead back to
// states that are no longer what the database holds); the caller redraws the
// chart and disables ComHozon. On any other outcome the plan table and the
// database are exactly as before. Cancelled and Failed have been told to the
// planner through the prompt (Failed with the database's own text).
// `now` is the moment written into the audit columns.
SaveResult saveSchedule(db::Database& db, const core::ProgramSettings& settings, const core::Planner& planner,
                        plan::PlanData& plan, core::Prompt& prompt, ChangedCalendarDays& changedDays, core::Moment now);

}  // namespace store
