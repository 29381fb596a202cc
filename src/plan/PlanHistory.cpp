#include "plan/PlanHistory.h"

#include "plan/PlanData.h"

namespace plan {

PlanHistory::PlanHistory(PlanData& plan) : plan_(plan) { plan_.setHistory(this); }

PlanHistory::~PlanHistory() { plan_.setHistory(nullptr); }

void PlanHistory::begin(const QString& name)
{
    if (depth_++ > 0) return;
    open_ = Step{};
    open_.name = name;
    open_.sizeBefore = plan_.size();
}

void PlanHistory::willChange(int recordNo, const PlanRecord& before)
{
    if (recordNo > open_.sizeBefore) return;  // appended in this step: redo re-appends it whole
    open_.before.try_emplace(recordNo, before);
}

void PlanHistory::didAppend(int) {}

bool PlanHistory::end()
{
    if (depth_ == 0 || --depth_ > 0) return false;
    Step s = std::move(open_);
    open_ = Step{};
    for (auto it = s.before.begin(); it != s.before.end();) {
        const PlanRecord& now = plan_[it->first];
        if (now == it->second) {
            it = s.before.erase(it);  // touched but unchanged
        } else {
            s.after.emplace(it->first, now);
            ++it;
        }
    }
    for (int i = s.sizeBefore + 1; i <= plan_.size(); ++i) s.appended.push_back(plan_[i]);
    if (s.before.empty() && s.appended.empty()) return false;
    steps_.resize(std::size_t(current_));  // a new step drops the redo branch
    if (clean_ > current_) clean_ = -1;   // the saved state can no longer be reached
    steps_.push_back(std::move(s));
    ++current_;
    return true;
}

void PlanHistory::abandon()
{
    if (depth_ == 0) return;
    depth_ = 0;
    restore(open_.before);
    plan_.records_.resize(std::size_t(open_.sizeBefore));
    plan_.recordOfBar_.clear();
    for (int i = 1; i <= plan_.size(); ++i) plan_.indexBar(i);
    open_ = Step{};
}

void PlanHistory::restore(const std::map<int, PlanRecord>& images)
{
    for (const auto& [no, rec] : images) plan_.records_[std::size_t(no - 1)] = rec;
}

bool PlanHistory::undo()
{
    if (!canUndo() || isOpen()) return false;
    const Step& s = steps_[std::size_t(--current_)];
    restore(s.before);
    if (!s.appended.empty()) {
        plan_.records_.resize(std::size_t(s.sizeBefore));
        plan_.recordOfBar_.clear();
        for (int i = 1; i <= plan_.size(); ++i) plan_.indexBar(i);
    }
    return true;
}

bool PlanHistory::redo()
{
    if (!canRedo() || isOpen()) return false;
    const Step& s = steps_[std::size_t(current_++)];
    restore(s.after);
    for (const PlanRecord& r : s.appended) {
        plan_.records_.push_back(r);
        plan_.indexBar(plan_.size());
    }
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
}

}  // namespace plan
