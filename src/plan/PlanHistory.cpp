#include "plan/PlanHistory.h"

#include "plan/PlanData.h"

#include <algorithm>
#include <utility>

namespace plan {

PlanHistory::PlanHistory(PlanData& plan) : plan_(plan) { plan_.setHistory(this); }

PlanHistory::~PlanHistory()
{
    if (plan_.history() == this) plan_.setHistory(nullptr);
}

void PlanHistory::begin(const QString& name)
{
    if (depth_++ > 0) return;
    open_ = Step{};
    if (++stamp_ == 0) {  // wrapped: forget every old stamp
        std::fill(placementStamp_.begin(), placementStamp_.end(), 0);
        stamp_ = 1;
    }
    open_.name = name;
    open_.sizeBefore = plan_.size();
}

void PlanHistory::willChange(int recordNo, const PlanRecord& before)
{
    if (recordNo > open_.sizeBefore) return;  // appended in this step: kept whole in the step
    if (open_.images.find(recordNo) != open_.images.end()) return;
    PlanRecord image = before;
    if (std::size_t(recordNo) < placementStamp_.size() && placementStamp_[std::size_t(recordNo)] == stamp_) {
        // Only the placement changed so far: the record before the step is the
        // current one with the remembered placement.
        auto& entry = open_.placements[placementAt_[std::size_t(recordNo)]];
        entry.second.swapWith(image);
        entry.first = 0;  // superseded by the whole image
        placementStamp_[std::size_t(recordNo)] = 0;
    }
    open_.images.emplace(recordNo, std::move(image));
}

void PlanHistory::willChangePlacement(int recordNo, const PlanRecord& before)
{
    if (recordNo > open_.sizeBefore) return;
    const std::size_t no = std::size_t(recordNo);
    if (no >= placementStamp_.size()) {
        placementStamp_.resize(std::size_t(open_.sizeBefore) + 1, 0);
        placementAt_.resize(std::size_t(open_.sizeBefore) + 1, 0);
    }
    if (placementStamp_[no] == stamp_ || open_.images.find(recordNo) != open_.images.end()) return;
    placementStamp_[no] = stamp_;
    placementAt_[no] = std::uint32_t(open_.placements.size());
    open_.placements.emplace_back(recordNo, PlacementFields::of(before));
}

void PlanHistory::didAppend(int) {}

bool PlanHistory::end()
{
    if (depth_ == 0 || --depth_ > 0) return false;
    Step s = std::move(open_);
    open_ = Step{};
    std::erase_if(s.placements, [&](const auto& e) {
        return e.first == 0 || e.second.sameAs(plan_[e.first]);  // superseded or unchanged
    });
    for (auto it = s.images.begin(); it != s.images.end();) {
        if (plan_[it->first] == it->second)
            it = s.images.erase(it);  // touched but unchanged
        else
            ++it;
    }
    s.sizeAfter = plan_.size();
    if (s.images.empty() && s.placements.empty() && s.sizeAfter == s.sizeBefore) return false;
    steps_.resize(std::size_t(current_));  // a new step drops the redo branch
    if (clean_ > current_) clean_ = -1;    // the saved state can no longer be reached
    steps_.push_back(std::move(s));
    ++current_;
    return true;
}

void PlanHistory::swapImages(Step& s)
{
    for (auto& [no, placement] : s.placements) {
        if (no == 0) continue;
        placement.swapWith(plan_.records_[std::size_t(no - 1)]);
        plan_.note(no);
        lastRestored_.push_back(no);
    }
    for (auto& [no, image] : s.images) {
        std::swap(plan_.records_[std::size_t(no - 1)], image);
        plan_.note(no);
        lastRestored_.push_back(no);
    }
}

void PlanHistory::dropAppended(Step& s)
{
    for (int i = s.sizeBefore + 1; i <= plan_.size(); ++i) {
        s.appended.push_back(std::move(plan_.records_[std::size_t(i - 1)]));
        plan_.note(i);
        lastRestored_.push_back(i);
    }
    plan_.records_.resize(std::size_t(s.sizeBefore));
}

void PlanHistory::abandon()
{
    if (depth_ == 0) return;
    depth_ = 0;
    lastRestored_.clear();
    Step s = std::move(open_);
    open_ = Step{};
    swapImages(s);
    dropAppended(s);
}

bool PlanHistory::undo()
{
    if (!canUndo() || isOpen()) return false;
    lastRestored_.clear();
    Step& s = steps_[std::size_t(--current_)];
    swapImages(s);
    s.appended.clear();
    dropAppended(s);
    return true;
}

bool PlanHistory::redo()
{
    if (!canRedo() || isOpen()) return false;
    lastRestored_.clear();
    Step& s = steps_[std::size_t(current_++)];
    swapImages(s);
    for (PlanRecord& r : s.appended) {
        plan_.records_.push_back(std::move(r));
        plan_.note(plan_.size());
        lastRestored_.push_back(plan_.size());
    }
    s.appended.clear();
    return true;
}

QString PlanHistory::undoText() const { return canUndo() ? steps_[std::size_t(current_ - 1)].name : QString(); }
QString PlanHistory::redoText() const { return canRedo() ? steps_[std::size_t(current_)].name : QString(); }

void PlanHistory::clear()
{
    steps_.clear();
    open_ = Step{};
    depth_ = 0;
    current_ = clean_ = 0;
    lastRestored_.clear();
}

}  // namespace plan
