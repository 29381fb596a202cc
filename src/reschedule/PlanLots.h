#pragma once
// The lots (work orders) of one production plan across all its processes, as
// the order Gantt window shows them: read from the database, with the open
// plan's unsaved state over the orders it holds, ordered by process, and
// classed for colouring.

#include "plan/PlanData.h"

#include <QSet>
#include <QString>
#include <vector>

namespace reschedule {

struct PlanLot {
    std::int64_t orderNo = 0;        // 手配番号; negative: split off in this session, not saved yet
    std::int64_t sourceOrderNo = 0;  // a lot split off: the order it came from
    std::int64_t parentOrderNo = 0;  // 上位手配番号: the next process's lot this one supplies
    std::int64_t planNo = 0;         // 生産計画番号
    QString itemCode;
    QString itemName;
    int processSeq = 0;
    QString processName;
    QString processClass;            // 工程分類コード
    QString machineCode;             // blank: on no machine
    QString destCode;
    plan::InOutKind inOutKind = plan::InOutKind::None;
    bool allocated = false;          // has its times on a machine or at a supplier
    core::Moment start, end;         // when allocated
    core::Date startDay, dueDate;    // 開始日, 納期: the window of an unallocated lot
    std::int64_t orderQty = 0;
    std::int64_t receivedQty = 0;
    plan::FixKind fixKind = plan::FixKind::Free;
    plan::ConfirmKind confirmKind = plan::ConfirmKind::None;
    bool completed = false;          // 完納区分 "2"
    int recordNo = 0;                // the open plan's record holding it; 0 when not loaded here
    bool changed = false;            // the open plan changed it since loading or saving
};

enum class LotClass { Selected, Unallocated, Overlapping, Other };

// Puts the open plan's state over the lots read from the database: the lots
// of orders the plan holds take its times, machine, quantity and kinds; lots
// the plan deleted or merged away are left out; lots split off in this
// session (in plan `planNo`, not in the database yet) are added.
void overlayOpenPlan(std::vector<PlanLot>& lots, std::int64_t planNo, const plan::PlanData& plan);

// One row per lot: by process sequence, then by start (unallocated lots last), then by order number.
void sortIntoProcessOrder(std::vector<PlanLot>& lots);

// The class of each lot, in the order given: the lots of `selectedOrders`
// first, then unallocated lots, then lots that start before a lot of the
// previous process of their chain ends, then all others.
//
// A lot's previous process is the lots that supply it (上位手配番号 naming it,
// or naming the order it was split from). A plan without any such links is
// one chain: the lots of the next lower process sequence come before.
std::vector<LotClass> classifyLots(const std::vector<PlanLot>& lots, const QSet<std::int64_t>& selectedOrders);

// Whether each lot overlaps its previous process (in the order given).
std::vector<bool> overlapsPreviousProcess(const std::vector<PlanLot>& lots);

// The production plan a plan record belongs to (its first member's); 0 when none.
std::int64_t planNoOf(const plan::PlanRecord& r);

}  // namespace reschedule
