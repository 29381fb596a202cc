#pragma once
// Partial images of a plan record, for undo: what a step must keep of a record
// it changed only in part. A push of hundreds of bars changes their times
// alone; a move also changes the row; a set member also takes over the mould
// and quantities. The smaller the image, the cheaper the step is to remember.

#include "plan/PlanRecord.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace plan {

// An image field beside the record field it keeps. Taking, swapping and
// comparing an image all walk one list of these, so an image never keeps a
// field it does not put back or compare.
template <typename Image, typename T>
struct Kept {
    T Image::*image;
    T PlanRecord::*record;

    void take(Image& i, const PlanRecord& r) const { i.*image = r.*record; }
    void swap(Image& i, PlanRecord& r) const
    {
        using std::swap;
        swap(i.*image, r.*record);
    }
    bool same(const Image& i, const PlanRecord& r) const { return i.*image == r.*record; }
};

// The order quantities of a member group, slot by slot.
template <typename Image>
struct KeptMemberQuantities {
    std::vector<std::int64_t> Image::*image;
    MemberSlots PlanRecord::*record;

    void take(Image& i, const PlanRecord& r) const
    {
        const MemberSlots& group = r.*record;
        std::vector<std::int64_t>& q = i.*image;
        q.resize(group.size());
        for (std::size_t k = 0; k < group.size(); ++k) q[k] = group[k].orderQty;
    }
    void swap(Image& i, PlanRecord& r) const
    {
        MemberSlots& group = r.*record;
        std::vector<std::int64_t>& q = i.*image;
        for (std::size_t k = 0; k < std::min(q.size(), group.size()); ++k) std::swap(q[k], group[k].orderQty);
    }
    bool same(const Image& i, const PlanRecord& r) const
    {
        const MemberSlots& group = r.*record;
        const std::vector<std::int64_t>& q = i.*image;
        return std::equal(q.begin(), q.end(), group.begin(), group.end(),
                          [](std::int64_t a, const MemberOrder& m) { return a == m.orderQty; });
    }
};

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

inline constexpr auto kTimeFields = std::make_tuple(
    Kept<TimeFields, core::Date>{&TimeFields::startDate, &PlanRecord::startDate},
    Kept<TimeFields, core::TimeOfDay>{&TimeFields::startTime, &PlanRecord::startTime},
    Kept<TimeFields, core::Date>{&TimeFields::endDate, &PlanRecord::endDate},
    Kept<TimeFields, core::TimeOfDay>{&TimeFields::endTime, &PlanRecord::endTime},
    Kept<TimeFields, bool>{&TimeFields::isChanged, &PlanRecord::isChanged});

TimeFields TimeFields::of(const PlanRecord& r)
{
    TimeFields t;
    std::apply([&](const auto&... f) { (f.take(t, r), ...); }, kTimeFields);
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
    std::vector<std::int64_t> memberOrderQtyA, memberOrderQtyB;

    static PlacementFields of(const PlanRecord& r);
    void swapWith(PlanRecord& r);
    bool sameAs(const PlanRecord& r) const;
};

}  // namespace plan
