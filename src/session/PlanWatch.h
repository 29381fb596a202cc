#pragma once
// What a planner should see while planning: the plan's conflicts and each
// machine's load per production day, kept current from the session's change
// signals.
//
// A step only notes which records it touched; the check itself runs when a
// view asks (current(), or the queued refresh after the step), so several
// steps are checked together and a drop costs no more than it did. After a
// new plan or new rows everything is checked again.

#include "reschedule/Conflicts.h"
#include "reschedule/MachineLoad.h"

#include <QObject>
#include <cstdint>
#include <utility>
#include <vector>

namespace session {

class PlanSession;

class PlanWatch : public QObject {
    Q_OBJECT
public:
    explicit PlanWatch(PlanSession& session);

    // Brings the figures up to date (emits updated() when anything was checked).
    void bringUpToDate();
    // The figures, brought up to date first.
    const reschedule::ConflictIndex& conflicts();
    const reschedule::MachineLoad& load();
    // Bars on the board and bars changed since the load or the save.
    int shownBars();
    int changedBars();
    // Whether something is waiting to be checked.
    bool isStale() const { return whole_ || !dirty_.empty() || !days_.empty(); }

signals:
    // The figures were checked again (views redraw marks, lists and counts).
    void updated();

private:
    void noteRecords(const std::vector<int>& records);
    void noteDay(int row, int dayIndex);
    void noteEverything();
    void scheduleRefresh();

    PlanSession& session_;
    reschedule::ConflictIndex conflicts_;
    reschedule::MachineLoad load_;
    bool whole_ = true;          // nothing checked yet, or a new plan or rows
    bool refreshQueued_ = false;
    std::vector<int> dirty_;
    std::vector<int> scratch_;  // the records of one check, each once
    std::vector<std::pair<int, int>> days_;
    std::vector<char> counted_;  // by record: bit 1 shown, bit 2 changed
    std::vector<std::uint32_t> seen_;  // by record: the check that last took it
    std::uint32_t check_ = 0;
    int shown_ = 0;
    int changed_ = 0;
};

}  // namespace session
