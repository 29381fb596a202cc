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
    r.memberGroup.clear();
    r.fixKind.clear();
    r.instructionDate.clear();
    return r;
}
}  // namespace

PlanData::PlanData() { clear(); }

void PlanData::clear()
{
    if (history_) history_->clear();
    records_.clear();
    recordOfBar_.clear();
    loadedStamps.clear();
    records_.push_back(placeholder());
}

PlanRecord& PlanData::edit(int i)
{
    PlanRecord& r = records_.at(std::size_t(i - 1));
    if (history_ && history_->isOpen()) history_->willChange(i, r);
    return r;
}

int PlanData::append(PlanRecord r)
{
    records_.push_back(std::move(r));
    const int n = size();
    indexBar(n);
    if (history_ && history_->isOpen()) history_->didAppend(n);
    return n;
}

void PlanData::indexBar(int recordNo)
{
    const int bar = records_[std::size_t(recordNo - 1)].barIndex;
    if (bar != 0 && !recordOfBar_.contains(bar)) recordOfBar_.insert(bar, recordNo);  // first match wins
}

int PlanData::findByBarIndex(int barIndex) const { return barIndex == 0 ? 0 : recordOfBar_.value(barIndex, 0); }

int PlanData::largestBarIndex() const
{
    int m = 0;
    for (const auto& r : records_) m = std::max(m, r.barIndex);
    return m;
}

}  // namespace plan
