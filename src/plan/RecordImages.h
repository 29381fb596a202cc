#pragma once
// Partial images of a plan record, for undo: what a step must keep of a record
// it changed only in part. A push of hundreds of bars changes their times
// alone; a move also changes the row; a set member also takes over the mould
// and quantities. The smaller the image, the cheaper the step is to remember.

#include "plan/PlanRecord.h"

namespace plan {

// Start, end and the changed mark (PlanData::editTimes).
struct TimeFields {
    core::Date startDate;
    core::TimeOfDay startTime;
    core::Date endDate;
    core::TimeOfDay endTime;
    bool isChanged = false;

    static TimeFields of(const PlanRecord& r) { return {r.startDate, r.startTime, r.endDate, r.endTime, r.isChanged}; }
    void swapWith(PlanRecord& r);  // exchanges these fields with the record's
    bool sameAs(const PlanRecord& r) const;
};

// A record's placement (PlanData::editPlacement): its times, row, minutes and
// cycle, and what set members take over from their representative.
struct PlacementFields {
    TimeFields times;
    QString machineCode, destCode, inOutKind;
    int setupMinutes = 0;
    std::int64_t workMinutes = 0;
    double cycle = 0, pieceSeconds = 0;
    bool isEdited = false;
    QString mouldNo;
    std::int64_t orderQty = 0;
    Slots<std::int64_t> memberOrderQty{}, memberOrderQtyB{};

    static PlacementFields of(const PlanRecord& r);
    void swapWith(PlanRecord& r);
    bool sameAs(const PlanRecord& r) const;
};

}  // namespace plan
