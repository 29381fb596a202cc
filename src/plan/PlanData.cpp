#include "plan/PlanData.h"

#include "plan/PlanHistory.h"

#include <algorithm>

namespace plan {

namespace {
PlanRecord placeholder()
{
    PlanRecord r;
    r.barIndex = 0;
    r.machineCode = QStringLiteral(" ");
    r.instructionDate.clear();
    return r;
}
}  // namespace

PlanData::PlanData() { clear(); }

PlanData::PlanData(const PlanData& other)
    : loadedStamps(other.loadedStamps), loadProblems(other.loadProblems), records_(other.records_)
{
    for (int i = 1; i <= size(); ++i) note(i);
}

PlanData& PlanData::operator=(const PlanData& other)
{
    if (this == &other) return *this;
    if (history_) history_->clear();  // the old steps describe other records
    records_ = other.records_;
    loadedStamps = other.loadedStamps;
    loadProblems = other.loadProblems;
    recordOfBar_.clear();
    barsReadTo_ = 0;
    journal_.clear();
    journalSeen_ = 0;
    ++generation_;
    for (int i = 1; i <= size(); ++i) note(i);
    return *this;
}

void PlanData::clear()
{
    if (history_) history_->clear();
    records_.clear();
    recordOfBar_.clear();
    barsReadTo_ = 0;
    journal_.clear();
    journalSeen_ = 0;
    ++generation_;
    loadedStamps.clear();
    loadProblems.clear();
    records_.push_back(placeholder());
    note(1);
}

PlanRecord& PlanData::edit(int i)
{
    PlanRecord& r = records_.at(std::size_t(i - 1));
    if (history_ && history_->isOpen()) history_->willChange(i, r);
    note(i);
    return r;
}

PlanRecord& PlanData::editPlacement(int i)
{
    PlanRecord& r = records_.at(std::size_t(i - 1));
    if (history_ && history_->isOpen()) history_->willChangePlacement(i, r);
    note(i);
    return r;
}

int PlanData::append(PlanRecord r)
{
    records_.push_back(std::move(r));
    const int n = size();
    note(n);
    return n;
}

// Files the bar indexes of every record named in the journal since the last
// look-up. A record whose bar index changed, or that was dropped by an undo,
// leaves a stale entry behind; lookups check the entry before trusting it.
void PlanData::catchUpBars() const
{
    for (const std::size_t end = journalEnd(); barsReadTo_ < end; ++barsReadTo_) {
        const int no = journal_[barsReadTo_];
        if (no < 1 || no > size()) continue;
        const int bar = records_[std::size_t(no - 1)].barIndex;
        if (bar == 0) continue;
        const int filed = recordOfBar_.value(bar, 0);
        const bool stale = filed < 1 || filed > size() || records_[std::size_t(filed - 1)].barIndex != bar;
        if (stale || no < filed) recordOfBar_.insert(bar, no);  // first match wins
    }
}

int PlanData::findByBarIndex(int barIndex) const
{
    if (barIndex == 0) return 0;
    catchUpBars();
    const int no = recordOfBar_.value(barIndex, 0);
    if (no >= 1 && no <= size() && records_[std::size_t(no - 1)].barIndex == barIndex) return no;
    // A stale entry (the record took another bar index): fall back to the search.
    for (int i = 1; i <= size(); ++i)
        if (records_[std::size_t(i - 1)].barIndex == barIndex) {
            recordOfBar_.insert(barIndex, i);
            return i;
        }
    recordOfBar_.remove(barIndex);
    return 0;
}

int PlanData::largestBarIndex() const
{
    int m = 0;
    records_.forEach([&](const PlanRecord& r) { m = std::max(m, r.barIndex); });
    return m;
}

}  // namespace plan
