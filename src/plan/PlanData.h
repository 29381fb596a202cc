#pragma once
// The plan table: records numbered from 1, record 1 a placeholder, loaded
// orders from 2 on. Records are only appended and flagged, never removed, so
// record numbers stay valid; a bar is identified by its barIndex.
//
// Every change goes through edit() or append(). While a change step is open
// (PlanHistory), the first edit of a record in that step keeps its previous
// state, so the step can be taken back exactly.

#include "plan/ChunkedVector.h"
#include "plan/PlanHistory.h"
#include "plan/PlanRecord.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace plan {

// What each loaded order's DB0253 row held when it was read (for conflict checks).
struct LoadedRowStamp {
    QString updateDate;     // 更新日
    QString updateTime;     // 更新時刻
    QString updateOperator; // 更新オペレータ
    QString updateTerminal; // 更新端末番号
    QString updateProgram;  // 更新プログラム
    std::uint64_t contentDigest = 0;  // hash of the compared columns as read, for rows written without audit columns
    // What loading had to make up because the row's value was unusable. A save
    // writes the row's own value back as long as the bar still holds the made-up one.
    bool setupMadeUp = false;          // 段取時間 out of range: 0 minutes
    bool workMadeUp = false;           // 作業時間 out of range: 0 minutes
    bool placementMadeUp = false;      // start or end unreadable or end before start
    core::Moment madeUpStart, madeUpEnd;
    friend bool operator==(const LoadedRowStamp&, const LoadedRowStamp&) = default;
};

class PlanData {
public:
    PlanData();  // holds the placeholder record 1
    // Copies carry the records only: a copy is a snapshot, not attached to any history.
    PlanData(const PlanData& other);
    PlanData& operator=(const PlanData& other);
    // Same records field for field and the same loaded row stamps.
    friend bool operator==(const PlanData& a, const PlanData& b)
    {
        return a.records_ == b.records_ && a.loadedStamps == b.loadedStamps;
    }

    // Upper bound: the number of records including the placeholder.
    int size() const { return int(records_.size()); }
    const PlanRecord& operator[](int i) const { return records_[std::size_t(i - 1)]; }
    const PlanRecord& at(int i) const { return records_.at(std::size_t(i - 1)); }

    // The record for changing; remembered for undo when a step is open.
    PlanRecord& edit(int i);
    // The record for changing its placement only: the fields of PlacementFields
    // (times, machine, destination, in/out kind, set-up and work minutes, cycle,
    // per-piece seconds, change marks, and the mould and quantities a set member
    // takes over from its representative). Undo keeps just those fields, which is
    // what makes a push of hundreds of bars cheap to remember. Writing any
    // other field through this reference is a fault: undo would not restore it.
    PlanRecord& editPlacement(int i);
    // The record for changing its start, end and changed mark only (TimeFields):
    // the cheapest to remember, for the bars a push moves along their row. Not
    // journaled (see below).
    inline PlanRecord& editTimes(int i);
    // Appends a record; returns its number.
    int append(PlanRecord r);
    // Back to the placeholder only (a new load); forgets the history.
    void clear();

    // Record whose barIndex equals the argument; 0 when none.
    int findByBarIndex(int barIndex) const;
    int largestBarIndex() const;

    // Loaded row stamps of DB0253 by order number.
    QHash<std::int64_t, LoadedRowStamp> loadedStamps;
    // Orders whose stored values could not be used as they are, one line each
    // ("手配 n: what was wrong"), for the planner after loading.
    QStringList loadProblems;

    void setHistory(PlanHistory* h) { history_ = h; }
    PlanHistory* history() const { return history_; }

    // Change journal: the record numbers handed out by edit(), editPlacement()
    // and append() and those put back by the history, in order. editTimes() is
    // left out: start, end and the changed mark are no index's key, and a push
    // would otherwise refile every bar it moves. Indexes over the table remember
    // how far they have read and catch up from there instead of walking the
    // whole table; a new generation (clear()) means "start again".
    std::uint64_t generation() const { return generation_; }
    std::size_t journalEnd() const
    {
        journalSeen_ = journal_.size();  // a reader has now seen the last entry
        return journal_.size();
    }
    int journalEntry(std::size_t k) const { return journal_[k]; }

private:
    friend class PlanHistory;
    // Repeated edits of one record in a row are journaled once, unless a reader
    // has already seen that entry (it must then see the record again).
    void note(int recordNo)
    {
        if (journal_.size() > journalSeen_ && journal_.back() == recordNo) return;
        journal_.push_back(recordNo);
    }
    void catchUpBars() const;

    // In chunks: a growing table never moves its records (no copy of the
    // whole table while it loads, and references stay valid across appends).
    ChunkedVector<PlanRecord> records_;
    mutable QHash<int, int> recordOfBar_;  // barIndex → record, kept current from the journal
    mutable std::size_t barsReadTo_ = 0;
    std::vector<int> journal_;
    mutable std::size_t journalSeen_ = 0;
    std::uint64_t generation_ = 0;
    PlanHistory* history_ = nullptr;
};

// Inline: a push calls it for every bar it moves.
PlanRecord& PlanData::editTimes(int i)
{
    PlanRecord& r = records_.at(std::size_t(i - 1));
    if (history_ && history_->isOpen()) history_->willChangeTimes(i, r);
    return r;
}

}  // namespace plan
