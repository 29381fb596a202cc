#include "plan/PlanHistory.h"

#include "plan/PlanData.h"

#include <algorithm>
#include <type_traits>
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
        for (OpenEntry& e : openEntry_) e.stamp = 0;
        stamp_ = 1;
    }
    open_.name = name;
    open_.sizeBefore = plan_.size();
    // Records appended during the step are kept whole with the step, never entered.
    if (openEntry_.size() <= std::size_t(open_.sizeBefore)) openEntry_.resize(std::size_t(open_.sizeBefore) + 1);
}

// A record kept in a smaller tier moves up: the bigger image is the current
// record with the smaller image's fields put back (they hold the state before the step).
template <typename Image>
void PlanHistory::supersede(int recordNo, Image& image)
{
    if (!inOpenStep(recordNo)) return;
    const std::size_t at = openEntry_[std::size_t(recordNo)].at;
    switch (openEntry_[std::size_t(recordNo)].tier) {
    case Tier::Times:
        if constexpr (std::is_same_v<Image, PlacementFields>) image.times = open_.times[at].second;
        else open_.times[at].second.swapWith(image);
        open_.times[at].first = 0;
        break;
    case Tier::Placement:
        if constexpr (std::is_same_v<Image, PlanRecord>) {
            open_.placements[at].second.swapWith(image);
            open_.placements[at].first = 0;
        }
        break;
    case Tier::Whole: break;
    }
}

void PlanHistory::willChange(int recordNo, const PlanRecord& before)
{
    if (recordNo > open_.sizeBefore) return;  // appended in this step: kept whole in the step
    if (inOpenStep(recordNo) && openEntry_[std::size_t(recordNo)].tier == Tier::Whole) return;
    PlanRecord image = before;
    supersede(recordNo, image);
    open_.images.emplace(recordNo, std::move(image));
    enterOpenStep(recordNo, Tier::Whole, 0);
}

void PlanHistory::willChangePlacement(int recordNo, const PlanRecord& before)
{
    if (recordNo > open_.sizeBefore) return;
    if (inOpenStep(recordNo) && openEntry_[std::size_t(recordNo)].tier != Tier::Times) return;
    PlacementFields image = PlacementFields::of(before);
    supersede(recordNo, image);
    if (open_.placements.empty()) open_.placements.reserve(16);  // a moved set brings its members
    enterOpenStep(recordNo, Tier::Placement, open_.placements.size());
    open_.placements.emplace_back(recordNo, std::move(image));
}

void PlanHistory::keepTimes(int recordNo, const PlanRecord& before)
{
    enterOpenStep(recordNo, Tier::Times, open_.times.size());
    // A push moves many bars, and the next action is likely to move about as many.
    if (open_.times.empty()) open_.times.reserve(std::max<std::size_t>(64, timesOfLastStep_));
    open_.times.emplace_back(recordNo, TimeFields::of(before));
}

void PlanHistory::attach(std::unique_ptr<StepAttachment> attachment)
{
    if (depth_ == 0 || !attachment) return;
    open_.attachments.push_back(std::move(attachment));
}

namespace {
void swapAttachments(std::vector<std::unique_ptr<StepAttachment>>& attachments, bool backwards)
{
    if (backwards) {
        for (auto it = attachments.rbegin(); it != attachments.rend(); ++it) (*it)->swap();
    } else {
        for (auto& a : attachments) a->swap();
    }
}
}  // namespace

bool PlanHistory::end()
{
    if (depth_ == 0 || --depth_ > 0) return false;
    Step s = std::move(open_);
    open_ = Step{};
    timesOfLastStep_ = s.times.size();
    const auto supersededOrUnchanged = [&](const auto& e) { return e.first == 0 || e.second.sameAs(plan_[e.first]); };
    std::erase_if(s.placements, supersededOrUnchanged);
    std::erase_if(s.times, supersededOrUnchanged);
    for (auto it = s.images.begin(); it != s.images.end();) {
        if (plan_[it->first] == it->second)
            it = s.images.erase(it);  // touched but unchanged
        else
            ++it;
    }
    s.sizeAfter = plan_.size();
    lastChanged_.clear();
    if (s.images.empty() && s.placements.empty() && s.times.empty() && s.sizeAfter == s.sizeBefore && s.attachments.empty())
        return false;
    for (const auto& [no, image] : s.times) lastChanged_.push_back(no);
    for (const auto& [no, image] : s.placements) lastChanged_.push_back(no);
    for (const auto& [no, image] : s.images) lastChanged_.push_back(no);
    for (int i = s.sizeBefore + 1; i <= s.sizeAfter; ++i) lastChanged_.push_back(i);
    steps_.resize(std::size_t(current_));  // a new step drops the redo branch
    if (clean_ > current_) clean_ = -1;    // the saved state can no longer be reached
    steps_.push_back(std::move(s));
    ++current_;
    return true;
}

void PlanHistory::swapImages(Step& s)
{
    const auto swapPartial = [&](auto& entries, bool journaled) {
        for (auto& [no, image] : entries) {
            if (no == 0) continue;
            image.swapWith(plan_.records_[std::size_t(no - 1)]);
            if (journaled) plan_.note(no);
            lastChanged_.push_back(no);
        }
    };
    swapPartial(s.times, false);  // as editTimes(): no index key changes
    swapPartial(s.placements, true);
    for (auto& [no, image] : s.images) {
        std::swap(plan_.records_[std::size_t(no - 1)], image);
        plan_.note(no);
        lastChanged_.push_back(no);
    }
}

void PlanHistory::dropAppended(Step& s)
{
    for (int i = s.sizeBefore + 1; i <= plan_.size(); ++i) {
        s.appended.push_back(std::move(plan_.records_[std::size_t(i - 1)]));
        plan_.note(i);
        lastChanged_.push_back(i);
    }
    plan_.records_.truncate(std::size_t(s.sizeBefore));
}

void PlanHistory::abandon()
{
    if (depth_ == 0) return;
    depth_ = 0;
    lastChanged_.clear();
    Step s = std::move(open_);
    open_ = Step{};
    swapImages(s);
    dropAppended(s);
    swapAttachments(s.attachments, true);
}

bool PlanHistory::undo()
{
    if (!canUndo() || isOpen()) return false;
    lastChanged_.clear();
    Step& s = steps_[std::size_t(--current_)];
    swapImages(s);
    s.appended.clear();
    dropAppended(s);
    swapAttachments(s.attachments, true);
    return true;
}

bool PlanHistory::redo()
{
    if (!canRedo() || isOpen()) return false;
    lastChanged_.clear();
    Step& s = steps_[std::size_t(current_++)];
    swapAttachments(s.attachments, false);
    swapImages(s);
    for (PlanRecord& r : s.appended) {
        plan_.records_.push_back(std::move(r));
        plan_.note(plan_.size());
        lastChanged_.push_back(plan_.size());
    }
    s.appended.clear();
    return true;
}

std::vector<int> PlanHistory::openStepRecords() const
{
    std::vector<int> out;
    if (!isOpen()) return out;
    for (const auto& [no, image] : open_.times)
        if (no != 0) out.push_back(no);
    for (const auto& [no, image] : open_.placements)
        if (no != 0) out.push_back(no);
    for (const auto& [no, image] : open_.images) out.push_back(no);
    for (int i = open_.sizeBefore + 1; i <= plan_.size(); ++i) out.push_back(i);
    return out;
}

QString PlanHistory::undoText() const { return canUndo() ? steps_[std::size_t(current_ - 1)].name : QString(); }
QString PlanHistory::redoText() const { return canRedo() ? steps_[std::size_t(current_)].name : QString(); }

void PlanHistory::clear()
{
    steps_.clear();
    open_ = Step{};
    depth_ = 0;
    current_ = clean_ = 0;
    lastChanged_.clear();
}

}  // namespace plan
