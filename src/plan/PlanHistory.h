#pragma once
// Undo and redo of plan changes. A step holds, for every record it touched,
// the record before and after the step, and the records it appended. Undo puts
// the "before" records back and drops the appended ones; redo does the reverse.
// A step that changed nothing is not kept.

#include "plan/PlanRecord.h"

#include <QString>
#include <map>
#include <vector>

namespace plan {

class PlanData;

class PlanHistory {
public:
    explicit PlanHistory(PlanData& plan);
    ~PlanHistory();
    PlanHistory(const PlanHistory&) = delete;
    PlanHistory& operator=(const PlanHistory&) = delete;

    // Opens a step; nested begin/end pairs join the outer step.
    void begin(const QString& name);
    // Closes the step; returns true when it changed something and was kept.
    bool end();
    // Closes the step and puts everything it changed back (a refused operation).
    void abandon();
    bool isOpen() const { return depth_ > 0; }

    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ < int(steps_.size()); }
    QString undoText() const;
    QString redoText() const;
    bool undo();
    bool redo();

    // The saved state: the plan differs from the database exactly when the
    // position is not the clean one.
    bool isClean() const { return current_ == clean_; }
    void setClean() { clean_ = current_; }
    // Forgets every step (after a load or a save).
    void clear();

    int stepCount() const { return int(steps_.size()); }

    // Called by PlanData.
    void willChange(int recordNo, const PlanRecord& before);
    void didAppend(int recordNo);

private:
    struct Step {
        QString name;
        std::map<int, PlanRecord> before;  // record number → state before the step
        std::map<int, PlanRecord> after;   // filled when the step ends
        int sizeBefore = 0;                // plan size before the step
        std::vector<PlanRecord> appended;  // records appended by the step (for redo)
    };
    void restore(const std::map<int, PlanRecord>& images);

    PlanData& plan_;
    std::vector<Step> steps_;
    Step open_;
    int depth_ = 0;
    int current_ = 0;
    int clean_ = 0;
};

}  // namespace plan
