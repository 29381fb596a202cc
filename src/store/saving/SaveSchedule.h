#pragma once
// Saving the schedule: every changed order and its dependent
// rows are written in one transaction, or nothing is.

#include "core/ProgramSettings.h"
#include "core/Prompt.h"
#include "core/WorkingTime.h"
#include "db/Database.h"
#include "plan/PlanData.h"

#include <QString>
#include <map>
#include <utility>
#include <vector>

namespace store {

// Machine days changed in the line plan window, by trimmed machine code and
// production day, with the values to write. They are kept apart from the row
// table: a day changed before the machine rows were rebuilt is still saved
// for the right machine, also when that machine is no longer shown.
using CalendarDayKey = std::pair<QString, core::Date>;
struct ChangedCalendarDay {
    QString machineCode;  // as the machine table holds it (the key is trimmed)
    core::DayCalendar values;
    friend bool operator==(const ChangedCalendarDay&, const ChangedCalendarDay&) = default;
};
using ChangedCalendarDays = std::map<CalendarDayKey, ChangedCalendarDay>;

// The key of a machine row's day (dayIndex as in the calendar tables).
CalendarDayKey calendarDayKey(const core::Planner& planner, int row, int dayIndex);
// Notes a machine row's day as changed with the values the tables hold now;
// rows without a calendar and days outside the tables are ignored.
void keepChangedDay(ChangedCalendarDays& days, const core::Planner& planner, int row, int dayIndex);

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
// chart and disables saveButton. On any other outcome the plan table and the
// database are exactly as before. Cancelled and Failed have been told to the
// planner through the prompt (Failed with the database's own text).
// `now` is the moment written into the audit columns.
SaveResult saveSchedule(db::Database& db, const core::ProgramSettings& settings, const core::Planner& planner,
                        plan::PlanData& plan, core::Prompt& prompt, ChangedCalendarDays& changedDays, core::Moment now);

}  // namespace store
