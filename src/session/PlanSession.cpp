#include "session/PlanSession.h"

#include "session/PlanWatch.h"

#include "reschedule/Arranging.h"
#include "reschedule/CalendarFit.h"
#include "reschedule/Expand.h"
#include "reschedule/GridDrag.h"
#include "reschedule/Merge.h"
#include "store/loading/PlanLoading.h"
#include "store/loading/SqlMasterLookup.h"

#include <QScopeGuard>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace session {

// The state of one machine day before (or, once undone, after) a calendar
// step: its values and whether it was marked changed. Kept by machine code and
// date, never by row: rows are rebuilt when the machine selection changes.
class PlanSession::CalendarDayImage : public plan::StepAttachment {
public:
    CalendarDayImage(PlanSession& session, store::CalendarDayKey key, QString machineCode)
        : session_(session), key(std::move(key)), machineCode(std::move(machineCode))
    {
    }
    void swap() override { session_.swapCalendarDay(*this); }

    PlanSession& session_;
    const store::CalendarDayKey key;
    const QString machineCode;  // as the machine table holds it, for the save
    bool marked = false;
    core::DayCalendar values;
    // The values while the day is not marked (as loaded), when the step began
    // unmarked: while the machine is away the tables cannot tell them.
    std::optional<core::DayCalendar> loaded;
};

namespace {
// Answers every question with its default and shows nothing: a session
// nobody has given a prompt to must not block.
class DefaultAnswers : public core::Prompt {
public:
    bool askYesNo(const QString&, const QString&, bool defaultYes) override { return defaultYes; }
    void tell(const QString&, const QString&, Icon) override {}
};
}  // namespace

PlanSession::PlanSession(core::ProgramSettings& settings, db::Database* db, QObject* parent)
    : QObject(parent), settings_(settings), db_(db), fallbackPrompt_(std::make_unique<DefaultAnswers>())
{
    prompt_ = fallbackPrompt_.get();
    watch_ = new PlanWatch(*this);
}

PlanSession::~PlanSession() = default;

reschedule::MasterLookup& PlanSession::masterLookup()
{
    if (lookup_) return *lookup_;
    if (!db_) throw std::logic_error("PlanSession: no database and no master look-up");
    if (!sqlLookup_) sqlLookup_ = std::make_unique<store::SqlMasterLookup>(*db_, settings_.KojoCode);
    return *sqlLookup_;
}

void PlanSession::setPrompt(core::Prompt* prompt)
{
    prompt_ = prompt ? prompt : fallbackPrompt_.get();
    if (rules_) renewRuleContext();
}

void PlanSession::setMasterLookup(reschedule::MasterLookup* lookup)
{
    lookup_ = lookup;
    if (rules_) renewRuleContext();
}

// The context holds references to the prompt and the look-up; a new one keeps
// the row index it has built.
void PlanSession::renewRuleContext()
{
    std::shared_ptr<reschedule::PlanIndex> index = rules_ ? rules_->index : nullptr;
    rules_ = std::make_unique<reschedule::RuleContext>(
        reschedule::RuleContext{planner_, plan_, stepPrompt_, masterLookup(), settings_});
    rules_->index = std::move(index);
}

reschedule::RuleContext& PlanSession::rules()
{
    if (!rules_) renewRuleContext();
    return *rules_;
}

void PlanSession::load(const ProgressText& progress)
{
    if (!db_) throw std::logic_error("PlanSession::load without a database");
    history_.clear();
    changedDays_.clear();
    if (sqlLookup_) sqlLookup_->clear();
    store::resourcesSet(*db_, settings_, planner_, *prompt_);
    store::returnPlanData(*db_, settings_, planner_, plan_, progress);
    rules_.reset();  // the rows changed: the row index starts again
    reschedule::planDataYoteiBarSet(rules(), progress);
    adoptLoadedPlan();
    tellLoadProblems();
}

// Orders whose stored values could not be used, in one notice: they are drawn
// at their start so they can be found, and what was made up for them is
// never written back unless the planner changes it.
void PlanSession::tellLoadProblems()
{
    const QStringList& problems = plan_.loadProblems;
    if (problems.isEmpty()) return;
    constexpr int kListed = 20;
    QString text = QStringLiteral("保存されている値を使えない手配があります。読めない値は、変更しない限りそのまま残ります。");
    for (int i = 0; i < problems.size() && i < kListed; ++i) text += QStringLiteral("\r") + problems[i];
    if (problems.size() > kListed) text += QStringLiteral("\r") + QStringLiteral("ほか %1件").arg(problems.size() - kListed);
    prompt_->tell(text, QStringLiteral("計画データの確認"), core::Prompt::Icon::Warning);
}

void PlanSession::adoptLoadedPlan()
{
    // Arranging at load is not something the planner can take back.
    history_.clear();
    history_.setClean();
    changedDays_.clear();
    rules_.reset();
    emit planReset();
    emit historyChanged();
}

bool PlanSession::StepPrompt::askYesNo(const QString& text, const QString& title, bool defaultYes)
{
    session_.showOpenStep();
    return session_.prompt().askYesNo(text, title, defaultYes);
}

void PlanSession::StepPrompt::tell(const QString& text, const QString& title, Icon icon)
{
    session_.showOpenStep();
    session_.prompt().tell(text, title, icon);
}

void PlanSession::showOpenStep()
{
    std::vector<int> records = history_.openStepRecords();
    if (records.empty()) return;
    shownMidStep_.insert(shownMidStep_.end(), records.begin(), records.end());
    announce(std::move(records));
}

// Adds the records shown during the step to `records` (each once), so the
// views draw them again as the step ended.
void PlanSession::mergeShownMidStep(std::vector<int>& records)
{
    std::vector<int> shown = std::exchange(shownMidStep_, {});
    if (shown.empty()) return;
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    // Usually the dropped bar alone was shown before the question: a few look-ups.
    if (shown.size() > 16) {
        records.insert(records.end(), shown.begin(), shown.end());
        std::sort(records.begin(), records.end());
        records.erase(std::unique(records.begin(), records.end()), records.end());
        return;
    }
    const std::size_t n = records.size();
    for (int rec : shown)
        if (std::find(records.begin(), records.begin() + std::ptrdiff_t(n), rec) == records.begin() + std::ptrdiff_t(n))
            records.push_back(rec);
}

void PlanSession::tellDatabaseError(const db::Error& e)
{
    prompt_->tell(e.message.isEmpty() ? QString::fromLocal8Bit(e.what()) : e.message, QString(), core::Prompt::Icon::Critical);
}

// After a failure: a connection that no longer answers is opened again, once
// per failure. When that fails too the planner is told; the plan stays as it
// is and the next action or save tries again.
void PlanSession::recoverConnection()
{
    if (!db_ || db_->isAlive()) {
        connectionLost_ = false;
        return;
    }
    try {
        db_->reconnect();
        connectionLost_ = false;
    } catch (const db::Error& e) {
        connectionLost_ = true;
        prompt_->tell(QStringLiteral("データベースに再接続できませんでした。変更は失われていません。接続が戻ってから保存してください。\n") + e.message,
                      QString(), core::Prompt::Icon::Critical);
    }
}

std::optional<core::Moment> PlanSession::previewStart(const reschedule::BarDrop& drop)
{
    try {
        return reschedule::previewStart(rules(), drop);
    } catch (const db::Error&) {
        return std::nullopt;  // the drop itself will tell the planner
    }
}

bool PlanSession::canStartGridDrag(int recordNo) { return !reschedule::canStartGridDrag(rules(), recordNo).refused; }

reschedule::RuleOutcome PlanSession::runAction(const QString& stepName,
                                               const std::function<reschedule::RuleOutcome(reschedule::RuleContext&)>& action)
{
    if (connectionLost_) recoverConnection();
    reschedule::RuleContext& ctx = rules();
    reschedule::RuleOutcome out;
    shownMidStep_.clear();
    try {
        out = reschedule::runStep(history_, stepName, [&] { return action(ctx); });
    } catch (const db::Error& e) {
        // runStep has put back everything the action changed.
        std::vector<int> shown;
        mergeShownMidStep(shown);
        announce(std::move(shown));
        tellDatabaseError(e);
        recoverConnection();
        return reschedule::RuleOutcome::refusal();
    }
    // What the views were shown during the step is drawn again as it ended
    // (a refused step has been put back).
    std::vector<int> changed = out.changed ? history_.lastChanged() : std::vector<int>{};  // each record once
    mergeShownMidStep(changed);
    announce(std::move(changed));
    if (out.changed) emit historyChanged();
    return out;
}

reschedule::RuleOutcome PlanSession::apply(const QString& stepName,
                                           const std::function<reschedule::RuleOutcome(reschedule::RuleContext&)>& action)
{
    return runAction(stepName, action);
}

reschedule::RuleOutcome PlanSession::dropBar(const reschedule::BarDrop& drop)
{
    return runAction(QStringLiteral("移動"), [&](reschedule::RuleContext& ctx) { return reschedule::dropBar(ctx, drop); });
}

reschedule::RuleOutcome PlanSession::mergeBars(const reschedule::BarDrop& drop, int targetRecordNo)
{
    return runAction(QStringLiteral("合体"),
                     [&](reschedule::RuleContext& ctx) { return reschedule::mergeBars(ctx, drop, targetRecordNo); });
}

reschedule::RuleOutcome PlanSession::expandRow(int row)
{
    return runAction(QStringLiteral("展開"), [&](reschedule::RuleContext& ctx) { return reschedule::expandRow(ctx, row); });
}

reschedule::RuleOutcome PlanSession::dropGridRow(int draggedRecordNo, int targetRecordNo)
{
    return runAction(QStringLiteral("行移動"), [&](reschedule::RuleContext& ctx) {
        return reschedule::dropGridRow(ctx, draggedRecordNo, targetRecordNo);
    });
}

void PlanSession::tryOut(const std::function<void(reschedule::RuleContext&, const Attempt&)>& action)
{
    if (history_.isOpen()) throw std::logic_error("PlanSession::tryOut inside a step");
    reschedule::RuleContext& ctx = rules();
    // A history of its own takes the plan's changes while the trial runs; the
    // session's history never sees them.
    plan::PlanHistory scratch(plan_);
    const auto restore = qScopeGuard([&] {
        scratch.abandon();
        while (scratch.undo()) {
        }
        plan_.setHistory(&history_);
    });
    const Attempt attempt = [&](const Part& part) {
        reschedule::RuleOutcome out = reschedule::runStep(scratch, QStringLiteral("試行"), part);
        if (out.changed) {  // the history knows exactly what changed, whatever the rule reported
            out.touched.insert(out.touched.end(), scratch.lastChanged().begin(), scratch.lastChanged().end());
            std::sort(out.touched.begin(), out.touched.end());
            out.touched.erase(std::unique(out.touched.begin(), out.touched.end()), out.touched.end());
        }
        return out;
    };
    action(ctx, attempt);
}

bool PlanSession::undo()
{
    if (!history_.undo()) return false;
    announce(history_.lastChanged());
    announceSwappedDays();
    emit historyChanged();
    return true;
}

bool PlanSession::redo()
{
    if (!history_.redo()) return false;
    announce(history_.lastChanged());
    announceSwappedDays();
    emit historyChanged();
    return true;
}

bool PlanSession::changeMachineDay(int row, int dayIndex, const core::DayCalendar& values)
{
    if (inquiryMode() || !planner_.rows.isMachineRow(row) || !planner_.calendar.contains(dayIndex, row)) return false;
    core::MachineDay& day = planner_.calendar.day(dayIndex, row);
    if (day.values() == values) return false;
    const store::CalendarDayKey key = store::calendarDayKey(planner_, row, dayIndex);
    const QString code = planner_.rows.row(row).RowCode;
    auto image = std::make_unique<CalendarDayImage>(*this, key, code);
    image->marked = changedDays_.count(key) != 0;
    image->values = day.values();
    if (!image->marked) image->loaded = image->values;
    history_.begin(QStringLiteral("稼働時間変更"));
    history_.attach(std::move(image));
    day.setValues(values);
    core::buildMachineCalendar(planner_.calendar, dayIndex, row, planner_.DayChangeTime);
    changedDays_[key] = {code, values};
    history_.end();
    emit calendarDayChanged(row, dayIndex);
    emit historyChanged();
    return true;
}

// Undo and redo of a calendar step. The day's machine may have left the rows
// since (or come back): its values then live in the changed days alone.
void PlanSession::swapCalendarDay(CalendarDayImage& image)
{
    const int row = planner_.rows.findRow(image.key.first);
    const int dayIndex = planner_.PeriodStart.daysTo(image.key.second) + 2;
    const bool shown = planner_.rows.isMachineRow(row) && planner_.calendar.contains(dayIndex, row);
    const auto it = changedDays_.find(image.key);
    const bool nowMarked = it != changedDays_.end();
    const core::DayCalendar nowValues = shown       ? planner_.calendar.day(dayIndex, row).values()
                                        : nowMarked ? it->second.values
                                                    : image.loaded.value_or(image.values);
    if (image.marked) {
        changedDays_[image.key] = {image.machineCode, image.values};
    } else if (nowMarked) {
        changedDays_.erase(it);
    }
    if (shown) {
        planner_.calendar.day(dayIndex, row).setValues(image.values);
        core::buildMachineCalendar(planner_.calendar, dayIndex, row, planner_.DayChangeTime);
        swappedDays_.emplace_back(row, dayIndex);
    }
    image.marked = nowMarked;
    image.values = nowValues;
}

void PlanSession::announceSwappedDays()
{
    for (const auto& [row, dayIndex] : std::exchange(swappedDays_, {})) emit calendarDayChanged(row, dayIndex);
}

bool PlanSession::isDayChanged(int row, int dayIndex) const
{
    if (!planner_.rows.isMachineRow(row)) return false;
    return changedDays_.count(store::calendarDayKey(planner_, row, dayIndex)) != 0;
}

std::vector<int> PlanSession::barsOffCalendar()
{
    std::vector<std::pair<QString, core::Date>> days;
    days.reserve(changedDays_.size());
    for (const auto& entry : changedDays_) days.push_back(entry.first);
    return reschedule::barsOffCalendar(planner_, plan_, rules().rowIndex(), days);
}

std::vector<store::MachineChoice> PlanSession::machineSelection()
{
    if (!db_) return {};
    if (connectionLost_) recoverConnection();
    return store::readMachineSelection(*db_, settings_);
}

bool PlanSession::saveMachineSelection(const std::vector<store::MachineChoice>& choices)
{
    if (!db_) return false;
    if (connectionLost_) recoverConnection();
    try {
        store::saveMachineSelection(*db_, settings_, choices, clock_ ? clock_() : core::nowMoment());
        return true;
    } catch (const db::Error&) {
        prompt_->tell(QStringLiteral("subSaveKikaiSelect関数で異常が発生しました。"), QString(), core::Prompt::Icon::Critical);
        recoverConnection();
        return false;
    }
}

bool PlanSession::reloadRows()
{
    if (!db_) return false;
    if (connectionLost_) recoverConnection();
    core::Planner fresh;
    try {
        store::resourcesSet(*db_, settings_, fresh, *prompt_);
    } catch (const store::BreakMasterEmpty&) {
        return false;  // told; the rows stay as they were
    } catch (const db::Error& e) {
        tellDatabaseError(e);
        recoverConnection();
        return false;
    }
    // Unsaved calendar days read from the database again would be lost.
    for (const auto& [key, day] : changedDays_) {
        const int row = fresh.rows.findRow(key.first);
        const int dayIndex = fresh.PeriodStart.daysTo(key.second) + 2;
        if (!fresh.rows.isMachineRow(row) || !fresh.calendar.contains(dayIndex, row)) continue;
        fresh.calendar.day(dayIndex, row).setValues(day.values);
        core::buildMachineCalendar(fresh.calendar, dayIndex, row, fresh.DayChangeTime);
    }
    planner_ = std::move(fresh);
    rules_.reset();  // its row index belongs to the old rows
    emit rowsChanged();
    return true;
}

store::SaveResult PlanSession::save()
{
    store::SaveResult result;
    if (inquiryMode() || !db_) return result;  // looking and trying never writes
    if (connectionLost_) recoverConnection();
    result = store::saveSchedule(*db_, settings_, planner_, plan_, *prompt_, changedDays_, clock_ ? clock_() : core::nowMoment());
    if (result.outcome == store::SaveOutcome::Failed) recoverConnection();  // the planner can press save again
    if (result.outcome != store::SaveOutcome::Saved) return result;
    if (sqlLookup_) sqlLookup_->clear();  // the save may have written what it remembers
    history_.clear();
    history_.setClean();
    announce(result.recordsChanged);
    emit historyChanged();
    return result;
}

void PlanSession::announce(std::vector<int> records)
{
    if (records.empty()) return;
    emit recordsChanged(records);
}

}  // namespace session
