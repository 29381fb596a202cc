#include "reschedule/Conflicts.h"

#include "core/MostlySorted.h"

#include <algorithm>
#include <utility>

namespace reschedule {

namespace {
const std::vector<Conflict> kNone;
constexpr std::size_t kParentBits = 1 << 16;
constexpr int kSweepFrom = 8;
constexpr std::size_t kSmallGroup = 16;  // moulds with at most this many bars are read whole, in any order

bool overlap(std::int64_t aStart, std::int64_t aEnd, std::int64_t bStart, std::int64_t bEnd)
{
    return bStart < aEnd && bEnd > aStart;  // as the save's mould check compares
}

void eraseValue(std::vector<int>& v, int value)
{
    const auto it = std::find(v.begin(), v.end(), value);
    if (it != v.end()) v.erase(it);
}

std::size_t parentBit(std::int64_t order) { return std::size_t((std::uint64_t(order) * 0x9E3779B97F4A7C15ull) >> 48); }

bool sameText(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// The member orders a bar holds, folded into one number: a split or a merge changes it.
std::uint64_t membersKeyOf(const plan::PlanRecord& r)
{
    std::uint64_t h = std::uint64_t(r.orderNo) * 0x9E3779B97F4A7C15ull;
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB}) {
        h = (h ^ 0xFF) * 0x100000001B3ull;
        for (const plan::MemberOrder& m : *group) {
            h = (h ^ std::uint64_t(m.orderNo)) * 0x100000001B3ull;
            h = (h ^ std::uint64_t(m.newOrderNo)) * 0x100000001B3ull;
        }
    }
    return h;
}

// Where lateness begins: the start of the day after the due date; never
// for a bar without one.
std::int64_t lateFromOf(const plan::PlanRecord& r)
{
    const core::Date due = dueDateOf(r);
    return due.isNull() ? INT64_MAX : core::Moment::of(due.addDays(1), core::TimeOfDay()).seconds();
}

std::uint8_t flagsOf(const plan::PlanRecord& r)
{
    return std::uint8_t((r.isHidden() ? 1 : 0) | (r.inOutKind == plan::InOutKind::Outside ? 2 : 0));
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

ConflictIndex::Entry ConflictIndex::entryOf(const plan::PlanData& plan, int no, Span& span)
{
    Entry e;
    span = Span{};
    if (no < 2 || no > plan.size()) return e;  // the placeholder, or taken out by an undo
    const plan::PlanRecord& r = plan[no];
    e.rawMachine = r.machineCode;
    e.rawMould = r.mouldNo;
    e.rawDest = r.destCode;
    e.membersKey = membersKeyOf(r);
    e.flags = flagsOf(r);
    e.parent = r.parentOrderNo;
    e.scheduled = isScheduled(r);
    if (!e.scheduled) return e;
    span = Span{r.start().seconds(), r.end().seconds()};
    e.lateFrom = lateFromOf(r);
    if (occupiesMachine(r)) {
        e.machine = groupOf(machineIds_, machines_, r.machineCode.trimmed());
        const QString mould = r.mouldNo.trimmed();
        if (!mould.isEmpty()) e.mould = groupOf(mouldIds_, moulds_, mould);
    }
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

// Whether the record is still filed where the entry says: the same machine,
// mould, destination, kinds, members and parent.
bool ConflictIndex::sameFiling(const plan::PlanRecord& r, const Entry& e) const
{
    return sameText(r.machineCode, e.rawMachine) && sameText(r.mouldNo, e.rawMould) && sameText(r.destCode, e.rawDest)
        && flagsOf(r) == e.flags && r.parentOrderNo == e.parent && membersKeyOf(r) == e.membersKey;
}

void ConflictIndex::unsort(bool mould, int id)
{
    Group& g = group(mould, id);
    if (!g.sorted) return;
    g.sorted = false;
    unsorted_.emplace_back(mould, id);
}

void ConflictIndex::file(int no, const Entry& e)
{
    const Span& s = spans_[std::size_t(no)];
    for (auto [mould, id] : {std::pair{false, e.machine}, std::pair{true, e.mould}}) {
        if (id < 0) continue;
        Group& g = group(mould, id);
        g.records.push_back(no);
        if (mould) {
            g.spans.push_back(s);
            mouldSlot_[std::size_t(no)] = int(g.records.size()) - 1;
        }
        g.longest = std::max(g.longest, s.end - s.start);
        unsort(mould, id);
    }
    if (!e.scheduled) return;
    if (e.parent != 0) {
        suppliersOf_.insert(e.parent, no);
        parentBits_[parentBit(e.parent) / 64] |= std::uint64_t(1) << (parentBit(e.parent) % 64);
    }
    for (std::int64_t o : e.orders) holdersOf_.insert(o, no);
}

void ConflictIndex::unfile(int no, const Entry& e)
{
    if (e.machine >= 0) eraseValue(machines_[std::size_t(e.machine)].records, no);
    if (e.mould >= 0) {
        Group& g = moulds_[std::size_t(e.mould)];
        const auto it = std::find(g.records.begin(), g.records.end(), no);
        if (it != g.records.end()) {
            const std::size_t at = std::size_t(it - g.records.begin());
            g.spans.erase(g.spans.begin() + std::ptrdiff_t(at));
            g.records.erase(it);
            placeMould(g, at);
        }
    }
    if (!e.scheduled) return;
    if (e.parent != 0) suppliersOf_.erase(e.parent, no);  // its bit stays: the filter only says "surely not"
    for (std::int64_t o : e.orders) holdersOf_.erase(o, no);
}

inline bool ConflictIndex::maySupply(std::int64_t order) const
{
    const std::size_t bit = parentBit(order);
    return (parentBits_[bit / 64] >> (bit % 64)) & 1;
}

bool ConflictIndex::before(int a, int b) const
{
    const std::int64_t sa = spans_[std::size_t(a)].start, sb = spans_[std::size_t(b)].start;
    return sa != sb ? sa < sb : a < b;
}

void ConflictIndex::placeMould(const Group& g, std::size_t from)
{
    for (std::size_t k = from; k < g.records.size(); ++k) mouldSlot_[std::size_t(g.records[k])] = int(k);
}

void ConflictIndex::sortGroup(Group& g)
{
    if (g.sorted) return;
    // A push keeps the order of the bars it moves: mostly sorted already.
    const Span* spans = spans_.data();
    core::sortMostlySorted(g.records.begin(), g.records.end(), [spans](int a, int b) {
        const std::int64_t sa = spans[a].start, sb = spans[b].start;
        return sa != sb ? sa < sb : a < b;
    });
    if (!g.spans.empty())
        for (std::size_t k = 0; k < g.records.size(); ++k) g.spans[k] = spans[g.records[k]];
    if (!g.spans.empty()) placeMould(g, 0);
    g.sorted = true;
}

void ConflictIndex::grow(int size)
{
    if (int(entries_.size()) > size) return;
    entries_.resize(std::size_t(size) + 1);
    spans_.resize(std::size_t(size) + 1);
    byRecord_.resize(std::size_t(size) + 1);
    changedIn_.resize(std::size_t(size) + 1, 0);
    refileIn_.resize(std::size_t(size) + 1, 0);
    mouldSlot_.resize(std::size_t(size) + 1, 0);
    listed_.resize(std::size_t(size) + 1, 0);
}

void ConflictIndex::add(ConflictKind kind, int first, int second, core::Moment from, core::Moment to)
{
    std::vector<Conflict>& list = byRecord_[std::size_t(first)];
    for (const Conflict& c : list)
        if (c.kind == kind && c.first == first && c.second == second) return;  // found from both sides
    const Conflict c{kind, first, second, from, to};
    list.push_back(c);
    listed_[std::size_t(first)] = 1;
    if (second != 0) {
        byRecord_[std::size_t(second)].push_back(c);
        listed_[std::size_t(second)] = 1;
    }
    ++count_;
    ++kindCount_[int(kind)];
}

inline void ConflictIndex::dropConflictsOf(int no)
{
    if (!listed_[std::size_t(no)]) return;  // most records have none: their lists are not read
    listed_[std::size_t(no)] = 0;
    std::vector<Conflict>& list = byRecord_[std::size_t(no)];
    for (const Conflict& c : list) {
        const int other = c.first == no ? c.second : c.first;
        if (other != 0 && other != no) {
            std::vector<Conflict>& theirs = byRecord_[std::size_t(other)];
            theirs.erase(std::remove(theirs.begin(), theirs.end(), c), theirs.end());
            listed_[std::size_t(other)] = !theirs.empty();
        }
        --count_;
        --kindCount_[int(c.kind)];
    }
    list.clear();
}

void ConflictIndex::checkOverlaps(int no, const Group& g, ConflictKind kind)
{
    const Span e = spans_[std::size_t(no)];
    const bool beside = !g.spans.empty();  // a mould's times are kept beside its records
    const std::size_t n = g.records.size();
    if (beside && n <= kSmallGroup) {
        // A few bars (a mould's, which need not be in order) are read whole:
        // one pass without branches notes the overlapping ones (this bar among
        // them), and only those are looked at.
        if (n < 2) return;
        const Span* o = g.spans.data();
        std::uint8_t hits[kSmallGroup];
        std::size_t h = 0;
        for (std::size_t k = 0; k < n; ++k) {
            hits[h] = std::uint8_t(k);
            h += std::size_t(o[k].start < e.end && o[k].end > e.start);  // overlap() as one expression
        }
        for (std::size_t i = 0; i < h; ++i) {
            const int other = g.records[hits[i]];
            if (other == no) continue;
            const Span t = o[hits[i]];
            add(kind, std::min(no, other), std::max(no, other), core::Moment::fromSeconds(std::max(e.start, t.start)),
                core::Moment::fromSeconds(std::min(e.end, t.end)));
        }
        return;
    }
    const Span* spans = spans_.data();
    const auto spanAt = [&](std::size_t k) { return beside ? g.spans[k] : spans[g.records[k]]; };
    // The bars starting before this one ends, no earlier than the longest bar
    // reaches back.
    std::size_t lo = 0, hi = n;
    const std::int64_t from = e.start - g.longest;
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (spanAt(mid).start < from) lo = mid + 1;
        else hi = mid;
    }
    for (std::size_t k = lo; k < g.records.size(); ++k) {
        const Span o = spanAt(k);
        if (o.start >= e.end) break;  // no later bar can reach into this one
        const int other = g.records[k];
        if (other == no || !overlap(e.start, e.end, o.start, o.end)) continue;
        add(kind, std::min(no, other), std::max(no, other), core::Moment::fromSeconds(std::max(e.start, o.start)),
            core::Moment::fromSeconds(std::min(e.end, o.end)));
    }
}

// Every overlapping pair of a group in one pass over it by start; with
// `changedOnly` only pairs with a record this update changed (the others stand).
void ConflictIndex::sweep(const Group& g, ConflictKind kind, bool changedOnly)
{
    const std::vector<int>& recs = g.records;
    for (std::size_t k = 0; k < recs.size(); ++k) {
        const int a = recs[k];
        const Span ea = spans_[std::size_t(a)];
        const bool aChanged = !changedOnly || changedIn_[std::size_t(a)] == update_;
        for (std::size_t j = k + 1; j < recs.size(); ++j) {
            const int b = recs[j];
            const Span eb = spans_[std::size_t(b)];
            if (eb.start >= ea.end) break;
            if (!overlap(ea.start, ea.end, eb.start, eb.end)) continue;
            if (!aChanged && changedIn_[std::size_t(b)] != update_) continue;
            add(kind, std::min(a, b), std::max(a, b), core::Moment::fromSeconds(std::max(ea.start, eb.start)),
                core::Moment::fromSeconds(std::min(ea.end, eb.end)));
        }
    }
}

inline void ConflictIndex::checkChain(int no)
{
    const Entry& e = entries_[std::size_t(no)];
    const Span span = spans_[std::size_t(no)];
    // This bar as the later process: the bars that supply one of its orders.
    for (std::int64_t o : e.orders) {
        if (!maySupply(o)) continue;
        suppliersOf_.forEach(o, [&](int s) {
            const Span p = spans_[std::size_t(s)];
            if (s != no && span.start < p.end)
                add(ConflictKind::ChainOrder, s, no, core::Moment::fromSeconds(span.start), core::Moment::fromSeconds(p.end));
        });
    }
    // This bar as the previous process: the bars holding the order it supplies.
    if (e.parent == 0) return;
    holdersOf_.forEach(e.parent, [&](int h) {
        const Span n = spans_[std::size_t(h)];
        if (h != no && n.start < span.end)
            add(ConflictKind::ChainOrder, no, h, core::Moment::fromSeconds(n.start), core::Moment::fromSeconds(span.end));
    });
}

inline void ConflictIndex::checkRecord(int no, bool machineSwept)
{
    const Entry& e = entries_[std::size_t(no)];
    if (!e.scheduled) return;
    if (e.machine >= 0 && !machineSwept) checkOverlaps(no, machines_[std::size_t(e.machine)], ConflictKind::MachineOverlap);
    if (e.mould >= 0) checkOverlaps(no, moulds_[std::size_t(e.mould)], ConflictKind::MouldClash);
    const std::int64_t end = spans_[std::size_t(no)].end;
    if (end >= e.lateFrom) add(ConflictKind::Late, no, 0, core::Moment::fromSeconds(e.lateFrom), core::Moment::fromSeconds(end));
    checkChain(no);
}

void ConflictIndex::rebuild(const plan::PlanData& plan)
{
    entries_.clear();
    spans_.clear();
    byRecord_.clear();
    changedIn_.clear();
    mouldSlot_.clear();
    listed_.clear();
    count_ = 0;
    std::fill(std::begin(kindCount_), std::end(kindCount_), 0);
    machineIds_.clear();
    mouldIds_.clear();
    machines_.clear();
    moulds_.clear();
    unsorted_.clear();
    suppliersOf_.clear();
    holdersOf_.clear();
    holdersOf_.reserve(std::size_t(plan.size()));
    parentBits_.assign(kParentBits / 64, 0);
    refileIn_.clear();
    plan_ = &plan;
    generation_ = plan.generation();
    journalRead_ = plan.journalEnd();
    grow(plan.size());
    for (int i = 2; i <= plan.size(); ++i) {
        entries_[std::size_t(i)] = entryOf(plan, i, spans_[std::size_t(i)]);
        file(i, entries_[std::size_t(i)]);
    }
    for (const auto& [mould, id] : std::exchange(unsorted_, {})) {
        Group& g = group(mould, id);
        std::sort(g.records.begin(), g.records.end(), [this](int a, int b) { return before(a, b); });
        if (mould) {
            for (std::size_t k = 0; k < g.records.size(); ++k) g.spans[k] = spans_[std::size_t(g.records[k])];
            placeMould(g, 0);
        }
        g.sorted = true;
    }
    for (const Group& g : machines_) sweep(g, ConflictKind::MachineOverlap, false);
    for (const Group& g : moulds_) sweep(g, ConflictKind::MouldClash, false);
    for (int i = 2; i <= plan.size(); ++i) {
        const Entry& e = entries_[std::size_t(i)];
        if (!e.scheduled) continue;
        const Span span = spans_[std::size_t(i)];
        if (span.end >= e.lateFrom)
            add(ConflictKind::Late, i, 0, core::Moment::fromSeconds(e.lateFrom), core::Moment::fromSeconds(span.end));
        // Each link is found from its supplying side.
        if (e.parent == 0) continue;
        holdersOf_.forEach(e.parent, [&](int h) {
            const Span n = spans_[std::size_t(h)];
            if (h != i && n.start < span.end)
                add(ConflictKind::ChainOrder, i, h, core::Moment::fromSeconds(n.start), core::Moment::fromSeconds(span.end));
        });
    }
}

void ConflictIndex::update(const plan::PlanData& plan, const std::vector<int>& changed)
{
    if (plan_ != &plan || generation_ != plan.generation()) {
        rebuild(plan);
        return;
    }
    std::vector<int>& journaled = scratchJournal_;
    journaled.clear();
    for (const std::size_t end = plan.journalEnd(); journalRead_ < end; ++journalRead_) journaled.push_back(plan.journalEntry(journalRead_));
    int largest = 0;
    for (int no : changed) largest = std::max(largest, no);
    for (int no : journaled) largest = std::max(largest, no);
    if (largest < 2) return;
    grow(std::max(plan.size(), largest));
    ++update_;
    for (int no : journaled)
        if (no >= 2) refileIn_[std::size_t(no)] = update_;
    for (int no : changed)
        if (no >= 2) changedIn_[std::size_t(no)] = update_;
    // What the journal names and was not reported is checked as well.
    std::vector<int>& all = scratchAll_;
    all.clear();
    if (!journaled.empty()) {
        all = changed;
        for (int no : journaled)
            if (no >= 2 && changedIn_[std::size_t(no)] != update_) {
                changedIn_[std::size_t(no)] = update_;
                all.push_back(no);
            }
    }
    const std::vector<int>& records = journaled.empty() ? changed : all;
    // A record named twice is filed and checked twice: harmless.
    for (int no : records) {
        if (no < 2) continue;
        Entry& old = entries_[std::size_t(no)];
        const bool named = refileIn_[std::size_t(no)] == update_;  // by the journal: more than its times may differ
        if (no <= plan.size() && (!named || sameFiling(plan[no], old))) {
            // Only the times moved (a push): the groups need sorting again, nothing else.
            if (!old.scheduled) continue;
            const plan::PlanRecord& r = plan[no];
            if (named) old.lateFrom = lateFromOf(r);
            Span& span = spans_[std::size_t(no)];
            const Span now{r.start().seconds(), r.end().seconds()};
            if (now.start == span.start && now.end == span.end) continue;
            span = now;
            for (auto [mould, id] : {std::pair{false, old.machine}, std::pair{true, old.mould}}) {
                if (id < 0) continue;
                Group& g = group(mould, id);
                g.longest = std::max(g.longest, now.end - now.start);
                if (mould && g.records.size() <= kSmallGroup) {
                    // A mould's few bars are read whole by the checks: their order does not matter.
                    const std::size_t at = std::size_t(mouldSlot_[std::size_t(no)]);
                    Q_ASSERT(at < g.records.size() && g.records[at] == no);
                    g.spans[at] = now;
                    continue;
                }
                if (g.sorted) unsort(mould, id);
            }
            continue;
        }
        unfile(no, old);
        old = entryOf(plan, no, spans_[std::size_t(no)]);
        file(no, old);
    }
    for (const auto& [mould, id] : std::exchange(unsorted_, {})) sortGroup(group(mould, id));
    // A machine most of whose bars moved (a push along it) is swept once
    // instead of searched for each of them.
    std::vector<int>& touched = scratchTouched_;
    std::vector<int>& swept = scratchSwept_;
    touched.clear();
    swept.clear();
    for (int no : records) {
        if (no < 2 || entries_[std::size_t(no)].machine < 0) continue;
        Group& g = machines_[std::size_t(entries_[std::size_t(no)].machine)];
        if (g.stamp != update_) {
            g.stamp = update_;
            g.changed = 0;
            touched.push_back(entries_[std::size_t(no)].machine);
        }
        ++g.changed;
    }
    for (int id : touched) {
        const Group& g = machines_[std::size_t(id)];
        if (g.changed >= kSweepFrom && g.changed * 4 >= int(g.records.size())) {
            swept.push_back(id);
            machines_[std::size_t(id)].sweptIn = update_;
        }
    }
    for (int no : records)
        if (no >= 2) dropConflictsOf(no);
    for (int id : swept) sweep(machines_[std::size_t(id)], ConflictKind::MachineOverlap, true);
    for (int no : records) {
        if (no < 2) continue;
        const int machine = entries_[std::size_t(no)].machine;
        checkRecord(no, machine >= 0 && machines_[std::size_t(machine)].sweptIn == update_);
    }
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

std::vector<Conflict> ConflictIndex::ofKind(ConflictKind kind) const
{
    std::vector<Conflict> out;
    if (kindCount_[int(kind)] == 0) return out;
    for (std::size_t i = 0; i < byRecord_.size(); ++i)
        for (const Conflict& c : byRecord_[i])
            if (c.kind == kind && std::size_t(c.first) == i) out.push_back(c);
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
