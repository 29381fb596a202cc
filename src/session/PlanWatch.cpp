#include "session/PlanWatch.h"

#include "session/PlanSession.h"

#include <algorithm>


namespace session {

PlanWatch::PlanWatch(PlanSession& session) : QObject(&session), session_(session)
{
    connect(&session, &PlanSession::recordsChanged, this, &PlanWatch::noteRecords);
    connect(&session, &PlanSession::calendarDayChanged, this, &PlanWatch::noteDay);
    connect(&session, &PlanSession::planReset, this, &PlanWatch::noteEverything);
    connect(&session, &PlanSession::rowsChanged, this, &PlanWatch::noteEverything);
}

// Called on every step: only remembers, never checks.
void PlanWatch::noteRecords(const std::vector<int>& records)
{
    if (whole_) return;
    dirty_.insert(dirty_.end(), records.begin(), records.end());
    scheduleRefresh();
}

void PlanWatch::noteDay(int row, int dayIndex)
{
    if (whole_) return;
    days_.emplace_back(row, dayIndex);
    scheduleRefresh();
}

void PlanWatch::noteEverything()
{
    whole_ = true;
    dirty_.clear();
    days_.clear();
    scheduleRefresh();
}

// One check after the event loop's turn, however many steps were noted.
void PlanWatch::scheduleRefresh()
{
    if (refreshQueued_) return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshQueued_ = false;
            bringUpToDate();
        },
        Qt::QueuedConnection);
}

void PlanWatch::bringUpToDate()
{
    if (!isStale()) return;
    const core::Planner& p = session_.planner();
    const plan::PlanData& plan = session_.plan();
    const auto bitsOf = [&plan](int no) -> char {
        if (no < 2 || no > plan.size()) return 0;
        const plan::PlanRecord& r = plan[no];
        return char((r.isHidden() ? 0 : 1) | (r.isChanged ? 2 : 0));
    };
    if (whole_) {
        conflicts_.rebuild(plan);
        load_.rebuild(p, plan);
        counted_.assign(std::size_t(plan.size()) + 1, 0);
        shown_ = changed_ = 0;
        for (int i = 2; i <= plan.size(); ++i) {
            const char bits = bitsOf(i);
            counted_[std::size_t(i)] = bits;
            shown_ += bits & 1;
            changed_ += (bits >> 1) & 1;
        }
        whole_ = false;
    } else {
        // Each record once, however many steps named it (a step and its undo);
        // the counts follow on the way.
        std::vector<int>& dirty = scratch_;
        dirty.clear();
        ++check_;
        int largest = plan.size();
        for (int no : dirty_) largest = std::max(largest, no);
        if (std::size_t(largest) >= seen_.size()) seen_.resize(std::size_t(largest) + 1, 0);
        if (std::size_t(largest) >= counted_.size()) counted_.resize(std::size_t(largest) + 1, 0);
        for (int no : dirty_) {
            if (no < 2) continue;
            if (seen_[std::size_t(no)] == check_) continue;
            seen_[std::size_t(no)] = check_;
            dirty.push_back(no);
            const char now = bitsOf(no);
            char& was = counted_[std::size_t(no)];
            if (now == was) continue;
            shown_ += (now & 1) - (was & 1);
            changed_ += ((now >> 1) & 1) - ((was >> 1) & 1);
            was = now;
        }
        conflicts_.update(plan, dirty);
        load_.update(p, plan, dirty);
        for (const auto& [row, day] : std::exchange(days_, {})) load_.calendarDayChanged(p, plan, row, day);
    }
    dirty_.clear();  // keeps its capacity for the next steps
    days_.clear();
    emit updated();
}

const reschedule::ConflictIndex& PlanWatch::conflicts()
{
    bringUpToDate();
    return conflicts_;
}

const reschedule::MachineLoad& PlanWatch::load()
{
    bringUpToDate();
    return load_;
}

int PlanWatch::shownBars()
{
    bringUpToDate();
    return shown_;
}

int PlanWatch::changedBars()
{
    bringUpToDate();
    return changed_;
}

}  // namespace session
