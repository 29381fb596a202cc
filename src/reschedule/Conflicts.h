#pragma once
// What is wrong with the plan as it stands, found while the planner works
// rather than when the schedule is saved:
//   - two bars on one machine at the same time;
//   - one mould on two bars at the same time (what the save asks about);
//   - a bar that ends after its due date;
//   - a process that starts before the process supplying it ends.
//
// ConflictIndex keeps the answer for a whole plan and, after a step, checks
// again only the records the step touched against their neighbours on the
// same machine, mould and lot chain.

#include "plan/PlanData.h"
#include "reschedule/OrderLinks.h"

#include <QHash>
#include <QString>
#include <QVarLengthArray>
#include <compare>
#include <cstdint>
#include <utility>
#include <vector>

namespace reschedule {

enum class ConflictKind : std::uint8_t { MachineOverlap, MouldClash, Late, ChainOrder };

struct Conflict {
    ConflictKind kind = ConflictKind::MachineOverlap;
    // The two records; overlaps and clashes: the lower record number first.
    // ChainOrder: the supplying (previous) process first, then the process that
    // starts too early. Late: the late bar, second = 0.
    int first = 0;
    int second = 0;
    // The time in conflict: the overlap; for ChainOrder from the later
    // process's start to the previous one's end; for Late from the end of the
    // due date to the bar's end.
    core::Moment from;
    core::Moment to;

    friend bool operator==(const Conflict&, const Conflict&) = default;
    friend auto operator<=>(const Conflict& a, const Conflict& b)
    {
        if (a.first != b.first) return a.first <=> b.first;
        if (a.kind != b.kind) return a.kind <=> b.kind;
        return a.second <=> b.second;
    }
};

// A bar that stands on a machine or at an outside supplier (placed on the board).
bool isScheduled(const plan::PlanRecord& r);
// A scheduled bar on a machine: it takes the machine's time.
bool occupiesMachine(const plan::PlanRecord& r);
// A bar on a machine with a mould (the save's mould check counts the same bars).
bool occupiesMould(const plan::PlanRecord& r);
// The due date the bar is coloured by: the first due date (GNT初期納期),
// otherwise the due date (納期); null when neither is set.
core::Date dueDateOf(const plan::PlanRecord& r);

// Every conflict of the plan, in the order of ConflictIndex::all().
std::vector<Conflict> findConflicts(const plan::PlanData& plan);

class ConflictIndex {
public:
    // Everything again from the plan table.
    void rebuild(const plan::PlanData& plan);
    // The records a step changed, appended or took out (record numbers beyond
    // the table are records an undo dropped). Each is checked again against
    // its machine, mould and lot-chain neighbours. Records the plan's journal
    // names are filed again; the others only moved. A plan other than the one
    // last rebuilt from, or one cleared since, is rebuilt.
    void update(const plan::PlanData& plan, const std::vector<int>& changed);

    // Every conflict, ordered by first record, kind and second record.
    std::vector<Conflict> all() const;
    // The conflicts of one kind, in no particular order (cheaper than all()).
    std::vector<Conflict> ofKind(ConflictKind kind) const;
    std::size_t count() const { return count_; }
    std::size_t count(ConflictKind kind) const { return kindCount_[int(kind)]; }
    // The conflicts a record takes part in (either side).
    const std::vector<Conflict>& of(int recordNo) const;
    // Machine-overlap partners and kinds at a glance, for drawing.
    bool has(int recordNo, ConflictKind kind) const;

private:
    // Where a record is filed. Its times live apart (spans_): the checks read
    // them for every neighbour, and a push changes nothing else.
    struct Entry {
        int machine = -1;  // group of the machine; -1 = takes no machine time
        int mould = -1;    // group of the mould; -1 = none
        bool scheduled = false;
        std::int64_t lateFrom = INT64_MAX;  // the day after the due date begins (seconds): a bar ending then or later is late
        std::int64_t parent = 0;          // 上位手配番号 of a scheduled bar
        QVarLengthArray<std::int64_t, 2> orders;  // orders the bar holds (split lots: also their source)
        // What the filing was made from: a step that moved the bar only (a
        // push) is recognised without trimming or hashing anything.
        QString rawMachine, rawMould, rawDest;
        std::uint64_t membersKey = 0;
        std::uint8_t flags = 0;
    };
    struct Span {
        std::int64_t start = 0, end = 0;  // seconds
    };
    struct Group {
        std::vector<int> records;  // by start, then record number
        std::vector<Span> spans;   // moulds: the records' times beside them (read for every bar of the mould)
        std::int64_t longest = 0;  // longest bar ever filed (seconds): the search reaches back this far
        bool sorted = true;
        std::uint32_t stamp = 0;   // the update that last counted its changed records
        int changed = 0;           // records of the group that update changed
        std::uint32_t sweptIn = 0; // the update that swept it whole
    };
    using Links = OrderLinks;

    Entry entryOf(const plan::PlanData& plan, int recordNo, Span& span);
    bool sameFiling(const plan::PlanRecord& r, const Entry& e) const;
    Group& group(bool mould, int id) { return (mould ? moulds_ : machines_)[std::size_t(id)]; }
    void unsort(bool mould, int id);
    int groupOf(QHash<QString, int>& ids, std::vector<Group>& groups, const QString& key);
    void file(int recordNo, const Entry& e);
    void unfile(int recordNo, const Entry& e);
    void sortGroup(Group& g);
    void placeMould(const Group& g, std::size_t from);
    bool before(int a, int b) const;
    void checkRecord(int recordNo, bool machineSwept);
    void checkOverlaps(int recordNo, const Group& g, ConflictKind kind);
    void sweep(const Group& g, ConflictKind kind, bool changedOnly);
    void checkChain(int recordNo);
    bool maySupply(std::int64_t order) const;
    void add(ConflictKind kind, int first, int second, core::Moment from, core::Moment to);
    void dropConflictsOf(int recordNo);
    void grow(int size);

    std::vector<Entry> entries_;  // by record number
    std::vector<Span> spans_;     // by record number
    std::vector<std::vector<Conflict>> byRecord_;
    std::size_t count_ = 0;
    std::size_t kindCount_[4] = {};
    QHash<QString, int> machineIds_, mouldIds_;
    std::vector<Group> machines_, moulds_;
    std::vector<std::pair<bool, int>> unsorted_;  // (mould, group) to sort before the checks
    std::vector<std::uint32_t> changedIn_;        // by record: the update that changed it
    std::vector<std::uint32_t> refileIn_;         // by record: the update that files it again
    std::vector<int> mouldSlot_;                  // by record: its place in its mould's records and times
    std::vector<std::uint8_t> listed_;            // by record: whether its list in byRecord_ holds anything
    std::uint32_t update_ = 0;
    // The plan's change journal as far as read: a record it does not name
    // changed its times only, and keeps its filing.
    const plan::PlanData* plan_ = nullptr;
    std::uint64_t generation_ = 0;
    std::size_t journalRead_ = 0;
    Links suppliersOf_;  // order → bars naming it as their parent
    Links holdersOf_;    // order → bars holding it
    std::vector<std::uint64_t> parentBits_;  // a quick "no bar names this order as its parent"
    std::vector<int> scratchJournal_, scratchAll_, scratchTouched_, scratchSwept_;  // kept to save allocations per update
};

}  // namespace reschedule
