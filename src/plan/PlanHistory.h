#pragma once
// Undo and redo of plan changes. A step holds one image of every record it
// changed (the whole record, or only its placement or time fields when the
// record was changed through editPlacement or editTimes) and the records it
// appended. While the step is done the image is the
// record before the step; undo swaps image and record (so the image then holds
// the record after the step) and takes the appended records out; redo swaps
// back and puts them in again. A step that changed nothing is not kept.
// A step may also carry attachments (state kept outside the plan table); they
// are swapped with the record images, in reverse order on the way back.

#include "plan/PlanRecord.h"
#include "plan/RecordImages.h"
#include "plan/StepAttachment.h"

#include <QString>
#include <cstdint>
#include <map>
#include <memory>
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
    // Closes the step (with every nested one) and puts everything it changed
    // back: a refused or failed operation.
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
    // Records the open step has changed or appended so far (unsorted; some may
    // be back to their state before the step).
    std::vector<int> openStepRecords() const;
    // Records changed, appended or dropped by the last kept step (end), undo,
    // redo or abandon: exactly those whose state differs from before it. Unsorted.
    const std::vector<int>& lastChanged() const { return lastChanged_; }

    // Called by PlanData.
    void willChange(int recordNo, const PlanRecord& before);
    void willChangePlacement(int recordNo, const PlanRecord& before);
    void willChangeTimes(int recordNo, const PlanRecord& before)
    {
        if (recordNo <= open_.sizeBefore && !inOpenStep(recordNo)) keepTimes(recordNo, before);
    }

    // Adds state outside the plan to the open step (ignored when no step is
    // open). The attachment holds the state before the change; a step with an
    // attachment is kept even when no record changed.
    void attach(std::unique_ptr<StepAttachment> attachment);

private:
    struct Step {
        QString name;
        std::map<int, PlanRecord> images;  // record number → the other state of that record
        std::vector<std::pair<int, PlacementFields>> placements;  // the same for placement-only changes
        std::vector<std::pair<int, TimeFields>> times;            // and for time-only changes; record 0 = superseded
        int sizeBefore = 0;                // plan size before the step
        int sizeAfter = 0;                 // plan size after the step
        std::vector<PlanRecord> appended;  // the appended records while the step is undone
        std::vector<std::unique_ptr<StepAttachment>> attachments;
    };
    // How much of a record the open step keeps; a record is in one tier only.
    enum class Tier : std::uint8_t { Times, Placement, Whole };
    bool inOpenStep(int recordNo) const
    {
        return std::size_t(recordNo) < openEntry_.size() && openEntry_[std::size_t(recordNo)].stamp == stamp_;
    }
    void keepTimes(int recordNo, const PlanRecord& before);
    void enterOpenStep(int recordNo, Tier tier, std::size_t at)
    {
        openEntry_[std::size_t(recordNo)] = OpenEntry{stamp_, std::uint32_t(at), tier};
    }
    template <typename Image>
    void supersede(int recordNo, Image& image);
    void swapImages(Step& s);
    void dropAppended(Step& s);

    PlanData& plan_;
    std::vector<Step> steps_;
    Step open_;
    // Record → its tier and entry in the open step, valid when stamped with the
    // open step's stamp (no clearing, no allocation per step). Sized at begin()
    // for every record the step can keep an image of.
    struct OpenEntry {
        std::uint32_t stamp = 0;
        std::uint32_t at = 0;
        Tier tier = Tier::Times;
    };
    std::vector<OpenEntry> openEntry_;
    std::uint32_t stamp_ = 0;
    std::size_t timesOfLastStep_ = 0;  // time images the last step took, to size the next
    int depth_ = 0;
    int current_ = 0;
    int clean_ = 0;
    std::vector<int> lastChanged_;
};

}  // namespace plan
