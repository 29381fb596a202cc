#pragma once
// Partial images of a plan record, for undo: what a step must keep of a record
// it changed only in part. A push of hundreds of bars changes their times
// alone; a move also changes the row; a set member also takes over the mould
// and quantities. The smaller the image, the cheaper the step is to remember.

#include "plan/PlanRecord.h"

#include <tuple>
#include <utility>

namespace plan {

// Start, end and the changed mark (PlanData::editTimes).
struct TimeFields {
    core::Date startDate;
    core::TimeOfDay startTime;
    core::Date endDate;
    core::TimeOfDay endTime;
    bool isChanged = false;

    inline static TimeFields of(const PlanRecord& r);  // inline: a push takes one per bar it moves
    void swapWith(PlanRecord& r);  // exchanges these fields with the record's
    bool sameAs(const PlanRecord& r) const;
};

// Each image field beside the record field it keeps. Taking, swapping and
// comparing an image all walk one such list, so an image never keeps a field
// it does not put back or compare.
inline constexpr auto kTimeFieldPairs = std::make_tuple(
    std::pair{&TimeFields::startDate, &PlanRecord::startDate}, std::pair{&TimeFields::startTime, &PlanRecord::startTime},
    std::pair{&TimeFields::endDate, &PlanRecord::endDate}, std::pair{&TimeFields::endTime, &PlanRecord::endTime},
    std::pair{&TimeFields::isChanged, &PlanRecord::isChanged});

TimeFields TimeFields::of(const PlanRecord& r)
{
    TimeFields t;
    std::apply([&](auto... f) { ((t.*f.first = r.*f.second), ...); }, kTimeFieldPairs);
    return t;
}

// A record's placement (PlanData::editPlacement): its times, row, minutes and
// cycle, and what set members take over from their representative.
struct PlacementFields {
    TimeFields times;
    QString machineCode, destCode;
    InOutKind inOutKind = InOutKind::None;
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
