#include "plan/RecordImages.h"

#include <tuple>
#include <utility>

namespace plan {

namespace {

// The placement beyond the times, cheap comparisons first.
constexpr auto kPlacementFieldPairs = std::make_tuple(
    std::pair{&PlacementFields::setupMinutes, &PlanRecord::setupMinutes},
    std::pair{&PlacementFields::workMinutes, &PlanRecord::workMinutes}, std::pair{&PlacementFields::cycle, &PlanRecord::cycle},
    std::pair{&PlacementFields::pieceSeconds, &PlanRecord::pieceSeconds},
    std::pair{&PlacementFields::isEdited, &PlanRecord::isEdited}, std::pair{&PlacementFields::orderQty, &PlanRecord::orderQty},
    std::pair{&PlacementFields::memberOrderQty, &PlanRecord::memberOrderQty},
    std::pair{&PlacementFields::memberOrderQtyB, &PlanRecord::memberOrderQtyB},
    std::pair{&PlacementFields::machineCode, &PlanRecord::machineCode},
    std::pair{&PlacementFields::destCode, &PlanRecord::destCode}, std::pair{&PlacementFields::inOutKind, &PlanRecord::inOutKind},
    std::pair{&PlacementFields::mouldNo, &PlanRecord::mouldNo});

template <typename Image, typename Pairs>
void swapFields(Image& image, PlanRecord& r, const Pairs& pairs)
{
    using std::swap;
    std::apply([&](auto... f) { (swap(image.*f.first, r.*f.second), ...); }, pairs);
}

template <typename Image, typename Pairs>
bool sameFields(const Image& image, const PlanRecord& r, const Pairs& pairs)
{
    return std::apply([&](auto... f) { return ((image.*f.first == r.*f.second) && ...); }, pairs);
}

}  // namespace

void TimeFields::swapWith(PlanRecord& r) { swapFields(*this, r, kTimeFieldPairs); }

bool TimeFields::sameAs(const PlanRecord& r) const { return sameFields(*this, r, kTimeFieldPairs); }

PlacementFields PlacementFields::of(const PlanRecord& r)
{
    PlacementFields p;
    p.times = TimeFields::of(r);
    std::apply([&](auto... f) { ((p.*f.first = r.*f.second), ...); }, kPlacementFieldPairs);
    return p;
}

void PlacementFields::swapWith(PlanRecord& r)
{
    times.swapWith(r);
    swapFields(*this, r, kPlacementFieldPairs);
}

bool PlacementFields::sameAs(const PlanRecord& r) const
{
    return times.sameAs(r) && sameFields(*this, r, kPlacementFieldPairs);
}

}  // namespace plan
