#include "plan/RecordImages.h"

#include <tuple>
#include <utility>

namespace plan {

namespace {

// The placement beyond the times, cheap comparisons first.
template <typename T>
using KeptPlacement = Kept<PlacementFields, T>;
constexpr auto kPlacementFields = std::make_tuple(
    KeptPlacement<int>{&PlacementFields::setupMinutes, &PlanRecord::setupMinutes},
    KeptPlacement<std::int64_t>{&PlacementFields::workMinutes, &PlanRecord::workMinutes},
    KeptPlacement<double>{&PlacementFields::cycle, &PlanRecord::cycle},
    KeptPlacement<double>{&PlacementFields::pieceSeconds, &PlanRecord::pieceSeconds},
    KeptPlacement<bool>{&PlacementFields::isEdited, &PlanRecord::isEdited},
    KeptPlacement<InOutKind>{&PlacementFields::inOutKind, &PlanRecord::inOutKind},
    KeptPlacement<std::int64_t>{&PlacementFields::orderQty, &PlanRecord::orderQty},
    KeptMemberQuantities<PlacementFields>{&PlacementFields::memberOrderQtyA, &PlanRecord::membersA},
    KeptMemberQuantities<PlacementFields>{&PlacementFields::memberOrderQtyB, &PlanRecord::membersB},
    KeptPlacement<QString>{&PlacementFields::machineCode, &PlanRecord::machineCode},
    KeptPlacement<QString>{&PlacementFields::destCode, &PlanRecord::destCode},
    KeptPlacement<QString>{&PlacementFields::mouldNo, &PlanRecord::mouldNo});

template <typename Image, typename Fields>
void swapFields(Image& image, PlanRecord& r, const Fields& fields)
{
    std::apply([&](const auto&... f) { (f.swap(image, r), ...); }, fields);
}

template <typename Image, typename Fields>
bool sameFields(const Image& image, const PlanRecord& r, const Fields& fields)
{
    return std::apply([&](const auto&... f) { return (f.same(image, r) && ...); }, fields);
}

}  // namespace

void TimeFields::swapWith(PlanRecord& r) { swapFields(*this, r, kTimeFields); }

bool TimeFields::sameAs(const PlanRecord& r) const { return sameFields(*this, r, kTimeFields); }

PlacementFields PlacementFields::of(const PlanRecord& r)
{
    PlacementFields p;
    p.times = TimeFields::of(r);
    std::apply([&](const auto&... f) { (f.take(p, r), ...); }, kPlacementFields);
    return p;
}

void PlacementFields::swapWith(PlanRecord& r)
{
    times.swapWith(r);
    swapFields(*this, r, kPlacementFields);
}

bool PlacementFields::sameAs(const PlanRecord& r) const
{
    return times.sameAs(r) && sameFields(*this, r, kPlacementFields);
}

}  // namespace plan
