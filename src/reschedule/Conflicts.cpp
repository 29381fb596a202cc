#include "reschedule/Conflicts.h"

#include "core/MostlySorted.h"

#include <algorithm>

namespace reschedule {

namespace {
const std::vector<Conflict> kNone;

bool overlap(std::int64_t aStart, std::int64_t aEnd, std::int64_t bStart, std::int64_t bEnd)
{
    return bStart < aEnd && bEnd > aStart;  // as the save's mould check compares
}

void eraseValue(std::vector<int>& v, int value)
{
    const auto it = std::find(v.begin(), v.end(), value);
    if (it != v.end()) v.erase(it);
}
}  // namespace

bool isScheduled(const plan::PlanRecord& r)
{
    if (r.isHidden()) return false;
    return r.hasMachine() || (r.inOutKind == plan::InOutKind::Outside && !r.destCode.trimmed().isEmpty());
}

bool occupiesMachine(const plan::PlanRecord& r) { return !r.isHidden() && r.hasMachine(); }

bool occupiesMould(const plan::PlanRecord& r) { return occupiesMachine(r) && !r.mouldNo.trimmed().isEmpty(); }

core::Date dueDateOf(const plan::PlanRecord& r) { return r.initialDueDate.isNull() ? r.dueDate : r.initialDueDate; }

std::vector<Conflict> findConflicts(const plan::PlanData& plan)
{
    ConflictIndex index;
    index.rebuild(plan);
    return index.all();
}

int ConflictIndex::groupOf(QHash<QString, int>& ids, std::vector<Group>& groups, const QString& key)
{
    const auto it = ids.constFind(key);
    if (it != ids.constEnd()) return it.value();
    const int id = int(groups.size());
    ids.insert(key, id);
    groups.emplace_back();
    return id;
}

ConflictIndex::Entry ConflictIndex::entryOf(const plan::PlanData& plan, int no)
{
    Entry e;
    if (no < 2 || no > plan.size()) return e;  // the placeholder, or taken out by an undo
    const plan::PlanRecord& r = plan[no];
    e.scheduled = isScheduled(r);
    if (!e.scheduled) return e;
    e.start = r.start().seconds();
    e.end = r.end().seconds();
    e.due = dueDateOf(r);
    if (occupiesMachine(r)) {
        e.machine = groupOf(machineIds_, machines_, r.machineCode.trimmed());
        const QString mould = r.mouldNo.trimmed();
        if (!mould.isEmpty()) e.mould = groupOf(mouldIds_, moulds_, mould);
    }
    e.parent = r.parentOrderNo;
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
        for (const plan::MemberOrder& m : *group) {
            if (m.orderNo != 0) e.orders.push_back(m.orderNo);
            if (m.orderNo != 0 && m.newOrderNo != 0) e.orders.push_back(m.newOrderNo);
        }
    if (r.orderNo != 0) e.orders.push_back(r.orderNo);
    std::sort(e.orders.begin(), e.orders.end());
    e.orders.erase(std::unique(e.orders.begin(), e.orders.end()), e.orders.end());
    return e;
}

void ConflictIndex::file(int no, const Entry& e)
{
    for (auto [id, groups] : {std::pair{e.machine, &machines_}, std::pair{e.mould, &moulds_}}) {
        if (id < 0) continue;
        Group& g = (*groups)[std::size_t(id)];
        g.records.push_back(no);
        g.sorted = false;
        g.longest = std::max(g.longest, e.end - e.start);
    }
    if (!e.scheduled) return;
    if (e.parent != 0) suppliersOf_[e.parent].push_back(no);
    for (std::int64_t o : e.orders) holdersOf_[o].push_back(no);
}

void ConflictIndex::unfile(int no, const Entry& e)
{
    if (e.machine >= 0) eraseValue(machines_[std::size_t(e.machine)].records, no);
    if (e.mould >= 0) eraseValue(moulds_[std::size_t(e.mould)].records, no);
    if (!e.scheduled) return;
    if (e.parent != 0) eraseValue(suppliersOf_[e.parent], no);
    for (std::int64_t o : e.orders) eraseValue(holdersOf_[o], no);
}

void ConflictIndex::sortGroup(Group& g)
{
    if (g.sorted) return;
    // A push keeps the order of the bars it moves: mostly sorted already.
    core::sortMostlySorted(g.records.begin(), g.records.end(), [this](int a, int b) {
        const std::int64_t sa = entries_[std::size_t(a)].start, sb = entries_[std::size_t(b)].start;
        return sa != sb ? sa < sb : a < b;
    });
    g.sorted = true;
}

void ConflictIndex::grow(int size)
{
    if (int(entries_.size()) > size) return;
    entries_.resize(std::size_t(size) + 1);
    byRecord_.resize(std::size_t(size) + 1);
}

void ConflictIndex::add(ConflictKind kind, int first, int second, core::Moment from, core::Moment to)
{
    std::vector<Conflict>& list = byRecord_[std::size_t(first)];
    for (const Conflict& c : list)
        if (c.kind == kind && c.first == first && c.second == second) return;  // found from both sides
    const Conflict c{kind, first, second, from, to};
    list.push_back(c);
    if (second != 0) byRecord_[std::size_t(second)].push_back(c);
    ++count_;
}

void ConflictIndex::dropConflictsOf(int no)
{
    std::vector<Conflict>& list = byRecord_[std::size_t(no)];
    for (const Conflict& c : list) {
        const int other = c.first == no ? c.second : c.first;
        if (other != 0 && other != no) {
            std::vector<Conflict>& theirs = byRecord_[std::size_t(other)];
            theirs.erase(std::remove(theirs.begin(), theirs.end(), c), theirs.end());
        }
        --count_;
    }
    list.clear();
}

void ConflictIndex::checkOverlaps(int no, const Group& g, ConflictKind kind)
{
    const Entry& e = entries_[std::size_t(no)];
    // Bars starting before this one ends, no earlier than the longest bar reaches back.
    auto it = std::lower_bound(g.records.begin(), g.records.end(), e.start - g.longest,
                               [this](int rec, std::int64_t s) { return entries_[std::size_t(rec)].start < s; });
    for (; it != g.records.end(); ++it) {
        const Entry& o = entries_[std::size_t(*it)];
        if (o.start >= e.end) break;  // no later bar can reach into this one
        if (*it == no || !overlap(e.start, e.end, o.start, o.end)) continue;
        add(kind, std::min(no, *it), std::max(no, *it), core::Moment::fromSeconds(std::max(e.start, o.start)),
            core::Moment::fromSeconds(std::min(e.end, o.end)));
    }
}

void ConflictIndex::checkChain(int no)
{
    const Entry& e = entries_[std::size_t(no)];
    // This bar as the later process: the bars that supply one of its orders.
    for (std::int64_t o : e.orders) {
        const auto sup = suppliersOf_.constFind(o);
        if (sup == suppliersOf_.constEnd()) continue;
        for (int s : sup.value()) {
            const Entry& p = entries_[std::size_t(s)];
            if (s != no && e.start < p.end)
                add(ConflictKind::ChainOrder, s, no, core::Moment::fromSeconds(e.start), core::Moment::fromSeconds(p.end));
        }
    }
    // This bar as the previous process: the bars holding the order it supplies.
    if (e.parent == 0) return;
    const auto next = holdersOf_.constFind(e.parent);
    if (next == holdersOf_.constEnd()) return;
    for (int h : next.value()) {
        const Entry& n = entries_[std::size_t(h)];
        if (h != no && n.start < e.end)
            add(ConflictKind::ChainOrder, no, h, core::Moment::fromSeconds(n.start), core::Moment::fromSeconds(e.end));
    }
}

void ConflictIndex::checkRecord(int no)
{
    const Entry& e = entries_[std::size_t(no)];
    if (!e.scheduled) return;
    if (e.machine >= 0) checkOverlaps(no, machines_[std::size_t(e.machine)], ConflictKind::MachineOverlap);
    if (e.mould >= 0) checkOverlaps(no, moulds_[std::size_t(e.mould)], ConflictKind::MouldClash);
    const core::Moment end = core::Moment::fromSeconds(e.end);
    if (!e.due.isNull() && end.date() > e.due)
        add(ConflictKind::Late, no, 0, core::Moment::of(e.due.addDays(1), core::TimeOfDay()), end);
    checkChain(no);
}

void ConflictIndex::rebuild(const plan::PlanData& plan)
{
    entries_.clear();
    byRecord_.clear();
    count_ = 0;
    machineIds_.clear();
    mouldIds_.clear();
    machines_.clear();
    moulds_.clear();
    suppliersOf_.clear();
    holdersOf_.clear();
    grow(plan.size());
    for (int i = 2; i <= plan.size(); ++i) {
        entries_[std::size_t(i)] = entryOf(plan, i);
        file(i, entries_[std::size_t(i)]);
    }
    for (auto* groups : {&machines_, &moulds_})
        for (Group& g : *groups) {
            std::sort(g.records.begin(), g.records.end(), [this](int a, int b) {
                const std::int64_t sa = entries_[std::size_t(a)].start, sb = entries_[std::size_t(b)].start;
                return sa != sb ? sa < sb : a < b;
            });
            g.sorted = true;
        }
    // One sweep per group: each bar against the bars starting before it ends.
    for (auto [groups, kind] : {std::pair{&machines_, ConflictKind::MachineOverlap}, std::pair{&moulds_, ConflictKind::MouldClash}})
        for (const Group& g : *groups)
            for (std::size_t k = 0; k < g.records.size(); ++k) {
                const int a = g.records[k];
                const Entry& ea = entries_[std::size_t(a)];
                for (std::size_t j = k + 1; j < g.records.size(); ++j) {
                    const int b = g.records[j];
                    const Entry& eb = entries_[std::size_t(b)];
                    if (eb.start >= ea.end) break;
                    if (!overlap(ea.start, ea.end, eb.start, eb.end)) continue;
                    const Conflict c{kind, std::min(a, b), std::max(a, b), core::Moment::fromSeconds(std::max(ea.start, eb.start)),
                                     core::Moment::fromSeconds(std::min(ea.end, eb.end))};
                    byRecord_[std::size_t(c.first)].push_back(c);
                    byRecord_[std::size_t(c.second)].push_back(c);
                    ++count_;
                }
            }
    for (int i = 2; i <= plan.size(); ++i) {
        const Entry& e = entries_[std::size_t(i)];
        if (!e.scheduled) continue;
        const core::Moment end = core::Moment::fromSeconds(e.end);
        if (!e.due.isNull() && end.date() > e.due)
            add(ConflictKind::Late, i, 0, core::Moment::of(e.due.addDays(1), core::TimeOfDay()), end);
        // Each link is found from its supplying side.
        if (e.parent == 0) continue;
        const auto next = holdersOf_.constFind(e.parent);
        if (next == holdersOf_.constEnd()) continue;
        for (int h : next.value()) {
            const Entry& n = entries_[std::size_t(h)];
            if (h != i && n.start < e.end)
                add(ConflictKind::ChainOrder, i, h, core::Moment::fromSeconds(n.start), core::Moment::fromSeconds(e.end));
        }
    }
}

void ConflictIndex::update(const plan::PlanData& plan, const std::vector<int>& changed)
{
    std::vector<int> dirty;
    dirty.reserve(changed.size());
    for (int no : changed)
        if (no >= 2) dirty.push_back(no);
    std::sort(dirty.begin(), dirty.end());
    dirty.erase(std::unique(dirty.begin(), dirty.end()), dirty.end());
    if (dirty.empty()) return;
    grow(std::max(plan.size(), dirty.back()));

    for (int no : dirty) {
        Entry now = entryOf(plan, no);
        Entry& old = entries_[std::size_t(no)];
        const bool sameFiling = now.machine == old.machine && now.mould == old.mould && now.scheduled == old.scheduled
                             && now.parent == old.parent && now.orders == old.orders;
        if (sameFiling) {
            // Only the times moved (a push): the groups need sorting again, nothing else.
            if (now.start != old.start || now.end != old.end)
                for (auto [id, groups] : {std::pair{now.machine, &machines_}, std::pair{now.mould, &moulds_}}) {
                    if (id < 0) continue;
                    Group& g = (*groups)[std::size_t(id)];
                    g.sorted = false;
                    g.longest = std::max(g.longest, now.end - now.start);
                }
            old = std::move(now);
            continue;
        }
        unfile(no, old);
        old = std::move(now);
        file(no, old);
    }
    for (auto* groups : {&machines_, &moulds_})
        for (Group& g : *groups) sortGroup(g);
    for (int no : dirty) dropConflictsOf(no);
    for (int no : dirty) checkRecord(no);
}

std::vector<Conflict> ConflictIndex::all() const
{
    std::vector<Conflict> out;
    out.reserve(count_);
    for (std::size_t i = 0; i < byRecord_.size(); ++i)
        for (const Conflict& c : byRecord_[i])
            if (std::size_t(c.first) == i) out.push_back(c);
    std::sort(out.begin(), out.end());
    return out;
}

const std::vector<Conflict>& ConflictIndex::of(int recordNo) const
{
    return recordNo >= 0 && std::size_t(recordNo) < byRecord_.size() ? byRecord_[std::size_t(recordNo)] : kNone;
}

bool ConflictIndex::has(int recordNo, ConflictKind kind) const
{
    for (const Conflict& c : of(recordNo))
        if (c.kind == kind) return true;
    return false;
}

}  // namespace reschedule
