#pragma once
// What a planner has open: the settings, the machine rows with their
// calendars, the plan table with its undo history, one rule context that
// lives as long as the plan (so its row index only follows the changes), the
// master look-ups and the database the plan came from.
//
// Every view works the same way: it asks the session for one action, the
// session runs the rule as one undo step and says through its signals which
// records changed; the views redraw those records. Nobody else wires loading,
// rules and saving together.

#include "core/ProgramSettings.h"
#include "core/Prompt.h"
#include "core/WorkingTime.h"
#include "db/Database.h"
#include "plan/PlanData.h"
#include "plan/PlanHistory.h"
#include "reschedule/BarMove.h"
#include "reschedule/DetailForm.h"
#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"
#include "reschedule/Split.h"
#include "reschedule/UndoStep.h"
#include "store/saving/MachineSelection.h"
#include "store/saving/SaveSchedule.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace store { class SqlMasterLookup; }

namespace session {

class PlanWatch;

class PlanSession : public QObject {
    Q_OBJECT
public:
    using ProgressText = std::function<void(const QString&)>;

    // db may be null for a plan built in memory (tests, benchmarks); then
    // load() and save() are not available and a master look-up must be set.
    PlanSession(core::ProgramSettings& settings, db::Database* db, QObject* parent = nullptr);
    ~PlanSession() override;

    // Rows, calendars and plan from the database, every bar arranged on its
    // row; the history starts empty and clean. Throws db::Error, and
    // store::BreakMasterEmpty after the planner was told.
    void load(const ProgressText& progress = {});
    // The same end of a load for rows and plan filled in by the caller.
    void adoptLoadedPlan();

    // What is open. Views read; only the session's verbs change the plan.
    const core::ProgramSettings& settings() const { return settings_; }
    core::ProgramSettings& settings() { return settings_; }
    const core::Planner& planner() const { return planner_; }
    core::Planner& planner() { return planner_; }
    const plan::PlanData& plan() const { return plan_; }
    plan::PlanData& plan() { return plan_; }
    const plan::PlanHistory& history() const { return history_; }
    db::Database* database() const { return db_; }

    bool inquiryMode() const { return settings_.inquiryMode(); }
    // The plan (or a machine day's calendar) differs from what was loaded or saved.
    bool hasUnsavedChanges() const { return !history_.isClean() || !changedDays_.empty(); }
    // Something to save and the operator may save it.
    bool canSave() const { return !inquiryMode() && hasUnsavedChanges(); }

    // The planner's answers (message boxes in the window, a script in tests).
    core::Prompt& prompt() const { return *prompt_; }
    void setPrompt(core::Prompt* prompt);
    // The rules' master look-ups: the database's unless one is set.
    reschedule::MasterLookup& masterLookup();
    void setMasterLookup(reschedule::MasterLookup* lookup);
    // The one rule context of this plan (read-only questions and tests).
    reschedule::RuleContext& rules();
    // The plan's conflicts and machine load, kept current from this session's signals.
    PlanWatch& watch() { return *watch_; }

    // Questions a view asks while the planner drags; they change nothing.
    // The start a drop would give, or nullopt when the look-up failed.
    std::optional<core::Moment> previewStart(const reschedule::BarDrop& drop);
    // Refusals are told to the planner.
    bool canStartGridDrag(int recordNo);

    // One action each, one undo step each. A refused or failed action leaves
    // no step and no change.
    reschedule::RuleOutcome dropBar(const reschedule::BarDrop& drop);
    reschedule::RuleOutcome mergeBars(const reschedule::BarDrop& drop, int targetRecordNo);
    reschedule::RuleOutcome expandRow(int row);
    reschedule::RuleOutcome dropGridRow(int draggedRecordNo, int targetRecordNo);
    // Any rule as one step; the windows' actions come through here.
    reschedule::RuleOutcome apply(const QString& stepName,
                                  const std::function<reschedule::RuleOutcome(reschedule::RuleContext&)>& action);

    // Runs `action` on the plan and puts everything back afterwards: nothing
    // it changes is kept, undoable or announced (a preview of a larger
    // change). `attempt` runs one part of it on its own: a refused part (or one
    // that throws) is put back alone, an accepted one stays until the end and
    // its outcome names every record it changed.
    using Part = std::function<reschedule::RuleOutcome()>;
    using Attempt = std::function<reschedule::RuleOutcome(const Part&)>;
    void tryOut(const std::function<void(reschedule::RuleContext&, const Attempt&)>& action);

    // The order detail window and the order split (DetailActions.cpp). Reads
    // that fail are told to the planner: no form, or the box stays.
    reschedule::OrderDetailLookup& detailLookup();
    void setDetailLookup(reschedule::OrderDetailLookup* lookup);
    std::optional<reschedule::DetailForm> openDetail(int recordNo);
    reschedule::EnterResult enterDetailBox(reschedule::DetailForm& form, reschedule::DetailBox box);
    void leaveDetailItemCode(reschedule::DetailForm& form);
    bool changeDetailVariant(reschedule::DetailForm& form, int variant);
    // "変更完了" and "分割実施": one step each.
    reschedule::RuleOutcome applyDetail(const reschedule::DetailForm& form);
    reschedule::RuleOutcome splitOrder(int recordNo, const reschedule::SplitLots& lots);

    bool undo();
    bool redo();
    QString undoText() const { return history_.undoText(); }
    QString redoText() const { return history_.redoText(); }
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }

    // A machine day's new calendar (the line plan window's OK) as one undo
    // step: the day is rebuilt and marked changed for the next save. No bar is
    // recomputed (barsOffCalendar tells which no longer fit). False when
    // nothing changes, the row has no calendar or in inquiry mode.
    bool changeMachineDay(int row, int dayIndex, const core::DayCalendar& values);
    // Machine days changed since the load or the save, by machine and date.
    const store::ChangedCalendarDays& changedCalendarDays() const { return changedDays_; }
    bool isDayChanged(int row, int dayIndex) const;
    // Bars that cross a changed day of their machine and whose end no longer
    // follows from their start on the machine's calendar.
    std::vector<int> barsOffCalendar();

    // The operator's machine selection (DB0497) of the factory and class.
    // Throws db::Error.
    std::vector<store::MachineChoice> machineSelection();
    // Writes every choice in one transaction; a failure is rolled back and
    // told to the planner. Works in inquiry mode: it is the operator's view.
    bool saveMachineSelection(const std::vector<store::MachineChoice>& choices);
    // The machine rows and calendars again from the database. The plan is not
    // touched: bars of machines no longer shown wait apart and return with
    // their machine; unsaved calendar days stay as changed; the history stays
    // exact. Failures are told; the rows then stay as they were.
    bool reloadRows();

    // The moment the save writes into the audit columns (the clock unless set;
    // tests and tools that compare what was written set their own).
    void setClock(std::function<core::Moment()> now) { clock_ = std::move(now); }

    // Writes the changes (inquiry mode never writes). The outcome tells
    // whether the plan is saved; failures have been told to the planner.
    store::SaveResult save();

signals:
    // Records whose state changed through a step, an undo, a redo or a save,
    // each once; also while a step asks the planner something, the records it
    // has changed so far (views draw the step as it stands).
    void recordsChanged(const std::vector<int>& records);
    // A machine day's calendar tables changed (row and day index of the calendar).
    void calendarDayChanged(int row, int dayIndex);
    // The machine rows were rebuilt (reloadRows); the plan is the same.
    void rowsChanged();
    // A new plan was loaded: everything is new, rows included.
    void planReset();
    // Undo, redo or the saved state changed (the save button and the menu follow it).
    void historyChanged();

private:
    // What the rules ask goes through here: before a question the views are
    // shown the step so far, so the planner sees what the question is about.
    class StepPrompt : public core::Prompt {
    public:
        explicit StepPrompt(PlanSession& session) : session_(session) {}
        bool askYesNo(const QString& text, const QString& title, bool defaultYes) override;
        void tell(const QString& text, const QString& title, Icon icon) override;

    private:
        PlanSession& session_;
    };
    void showOpenStep();
    class CalendarDayImage;
    void swapCalendarDay(CalendarDayImage& image);
    void announceSwappedDays();
    void mergeShownMidStep(std::vector<int>& records);

    reschedule::RuleOutcome runAction(const QString& stepName,
                                      const std::function<reschedule::RuleOutcome(reschedule::RuleContext&)>& action);
    void announce(std::vector<int> records);
    void renewRuleContext();
    void tellDatabaseError(const db::Error& e);
    void tellLoadProblems();
    void recoverConnection();

    core::ProgramSettings& settings_;
    db::Database* db_;
    core::Planner planner_;
    plan::PlanData plan_;
    plan::PlanHistory history_{plan_};
    std::unique_ptr<core::Prompt> fallbackPrompt_;
    core::Prompt* prompt_ = nullptr;
    StepPrompt stepPrompt_{*this};
    std::vector<int> shownMidStep_;  // records the views were shown before the step ended
    std::unique_ptr<store::SqlMasterLookup> sqlLookup_;
    reschedule::MasterLookup* lookup_ = nullptr;
    std::unique_ptr<reschedule::RuleContext> rules_;
    std::shared_ptr<reschedule::OrderDetailLookup> sqlDetail_;
    reschedule::OrderDetailLookup* detailLookup_ = nullptr;
    store::ChangedCalendarDays changedDays_;
    std::vector<std::pair<int, int>> swappedDays_;  // (row, day) an undo or redo changed, to be announced
    std::function<core::Moment()> clock_;
    bool connectionLost_ = false;  // a reconnection failed: tried again before the next action
    PlanWatch* watch_ = nullptr;   // a child of the session
};

}  // namespace session
