#include "reschedule/PlanIndex.h"

#include <algorithm>

namespace reschedule {

namespace {
const std::vector<int> kNone;

void insertSorted(std::vector<int>& v, int no)
{
    const auto it = std::lower_bound(v.begin(), v.end(), no);
    if (it == v.end() || *it != no) v.insert(it, no);
}

void eraseSorted(std::vector<int>& v, int no)
{
    const auto it = std::lower_bound(v.begin(), v.end(), no);
    if (it != v.end() && *it == no) v.erase(it);
}

template <typename Key>
const std::vector<int>& listOf(const QHash<Key, std::vector<int>>& h, const Key& k)
{
    const auto it = h.constFind(k);
    return it == h.constEnd() ? kNone : it.value();
}
}  // namespace

PlanIndex::PlanIndex(const plan::PlanData& plan) : plan_(plan) { rebuild(); }

PlanIndex::Keys PlanIndex::keysOf(const plan::PlanRecord& r)
{
    Keys k;
    k.filed = true;
    k.rawMachine = r.machineCode;
    k.rawDestination = r.destCode;
    k.machine = r.machineCode.trimmed();
    if (k.machine.isEmpty()) k.destination = r.destCode.trimmed();
    if (r.isSetMember) k.rep = r.setRepOrderNo;
    return k;
}

void PlanIndex::rebuild()
{
    machines_.clear();
    destinations_.clear();
    members_.clear();
    keys_.assign(std::size_t(plan_.size()) + 1, Keys{});
    // Record numbers ascend, so plain appends keep every list in table order.
    for (int i = 1; i <= plan_.size(); ++i) {
        const Keys k = keysOf(plan_[i]);
        if (!k.machine.isEmpty()) machines_[k.machine].push_back(i);
        else if (!k.destination.isEmpty()) destinations_[k.destination].push_back(i);
        if (k.rep != 0) members_[k.rep].push_back(i);
        keys_[std::size_t(i)] = k;
    }
    generation_ = plan_.generation();
    readTo_ = plan_.journalEnd();
}

void PlanIndex::file(int no, const Keys& k)
{
    if (!k.machine.isEmpty()) insertSorted(machines_[k.machine], no);
    else if (!k.destination.isEmpty()) insertSorted(destinations_[k.destination], no);
    if (k.rep != 0) insertSorted(members_[k.rep], no);
}

void PlanIndex::unfile(int no, const Keys& k)
{
    if (!k.filed) return;
    if (!k.machine.isEmpty()) eraseSorted(machines_[k.machine], no);
    else if (!k.destination.isEmpty()) eraseSorted(destinations_[k.destination], no);
    if (k.rep != 0) eraseSorted(members_[k.rep], no);
}

void PlanIndex::refile(int no)
{
    if (no < 1) return;
    if (std::size_t(no) >= keys_.size()) keys_.resize(std::size_t(no) + 1);
    Keys& old = keys_[std::size_t(no)];
    if (no > plan_.size()) {  // dropped by an undo
        unfile(no, old);
        old = Keys{};
        return;
    }
    const plan::PlanRecord& r = plan_[no];
    if (old.filed && r.machineCode == old.rawMachine && r.destCode == old.rawDestination
        && (r.isSetMember ? r.setRepOrderNo : 0) == old.rep)
        return;  // filed under the same keys
    const Keys now = keysOf(r);
    if (now.sameFiling(old)) {
        old = now;
        return;
    }
    unfile(no, old);
    file(no, now);
    old = now;
}

void PlanIndex::sync()
{
    if (generation_ != plan_.generation()) {
        rebuild();
        return;
    }
    const std::size_t end = plan_.journalEnd();
    for (; readTo_ < end; ++readTo_) refile(plan_.journalEntry(readTo_));
}

const std::vector<int>& PlanIndex::onMachine(const QString& machineCode) const
{
    return listOf(machines_, machineCode.trimmed());
}

const std::vector<int>& PlanIndex::atDestination(const QString& destCode) const
{
    return listOf(destinations_, destCode.trimmed());
}

const std::vector<int>& PlanIndex::setMembersOf(std::int64_t repOrderNo) const
{
    return repOrderNo == 0 ? kNone : listOf(members_, repOrderNo);
}

bool PlanIndex::matchesFreshBuild() const
{
    const PlanIndex fresh(plan_);
    auto same = [](const auto& a, const auto& b) {
        for (auto it = a.begin(); it != a.end(); ++it)
            if (!it.value().empty() && listOf(b, it.key()) != it.value()) return false;
        for (auto it = b.begin(); it != b.end(); ++it)
            if (!it.value().empty() && listOf(a, it.key()) != it.value()) return false;
        return true;
    };
    return same(machines_, fresh.machines_) && same(destinations_, fresh.destinations_) && same(members_, fresh.members_);
}

}  // namespace reschedule
