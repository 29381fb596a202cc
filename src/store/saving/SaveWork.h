#pragma once
// What a save has to write, read from the plan table alone: the member work
// orders of every changed bar, the orders of merged-away bars, and the
// production plans they touch.

#include "plan/PlanData.h"

#include <QSet>
#include <QString>
#include <cstdint>
#include <vector>

namespace store {

// One member work order of a changed bar.
struct MemberOrder {
    int recordNo = 0;
    bool groupB = false;
    int slot = 0;                    // 0..19 (member slot 1..20)
    std::int64_t orderNo = 0;        // 手配番号, or a split member's temporary negative number
    std::int64_t sourceOrderNo = 0;  // split member: the order it was split from; 0 otherwise
    std::int64_t quantity = 0;       // 手配数 of the member
    QString itemCode;                // 品名コード
    int processSeq = 0;              // 順序
    std::int64_t planNo = 0;         // 生産計画番号

    bool isNew() const { return sourceOrderNo != 0; }
};

struct SaveWork {
    std::vector<int> changedRecords;             // records written, in table order
    std::vector<MemberOrder> members;            // their member orders, existing and new
    std::vector<std::int64_t> mergedAwayOrders;  // deleted with their components
    std::vector<int> mergedAwayRecords;
    QSet<std::int64_t> planNos;                  // production plans whose totals are recomputed

    bool isEmpty() const { return changedRecords.empty() && mergedAwayOrders.empty(); }
    int newOrderCount() const;
    // Existing orders whose rows the save overwrites (members and merged-away orders).
    std::vector<std::int64_t> existingOrders() const;
    // Orders that split members are copied from.
    std::vector<std::int64_t> sourceOrders() const;
};

SaveWork collectSaveWork(const plan::PlanData& plan);

}  // namespace store
