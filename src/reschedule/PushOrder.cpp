#include "reschedule/PushOrder.h"

#include <algorithm>

namespace reschedule {

bool pushedBefore(const plan::PlanRecord& a, const plan::PlanRecord& b)
{
    if (a.startDate != b.startDate) return a.startDate < b.startDate;
    if (a.startTime != b.startTime) return a.startTime < b.startTime;
    if (a.workMinutes != 0 && b.workMinutes != 0 && a.workMinutes != b.workMinutes) return a.workMinutes < b.workMinutes;
    return a.orderQty < b.orderQty;
}

namespace {
// pushedBefore is a strict weak order unless bars with the same start mix zero
// and non-zero work minutes (then "smaller work minutes" and "smaller quantity"
// can contradict each other in a circle).
bool orderIsConsistent(const plan::PlanData& plan, const std::vector<int>& sortedByStart)
{
    for (std::size_t i = 0; i < sortedByStart.size();) {
        std::size_t k = i;
        bool zero = false, nonZero = false;
        const plan::PlanRecord& first = plan[sortedByStart[i]];
        for (; k < sortedByStart.size() && plan[sortedByStart[k]].start() == first.start(); ++k)
            (plan[sortedByStart[k]].workMinutes == 0 ? zero : nonZero) = true;
        if (k - i > 1 && zero && nonZero) return false;
        i = k;
    }
    return true;
}
}  // namespace

void sortIntoPushOrder(const plan::PlanData& plan, std::vector<int>& bars)
{
    const auto before = [&](int a, int b) { return pushedBefore(plan[a], plan[b]); };
    // A row's bars are mostly in order already; both sorts below leave such a list as it is.
    if (std::is_sorted(bars.begin(), bars.end(), before)) return;
    std::vector<int> sorted = bars;
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) { return plan[a].start() < plan[b].start(); });
    if (orderIsConsistent(plan, sorted)) {
        // A stable sort by a strict weak order gives what the bubble sort gives.
        std::stable_sort(bars.begin(), bars.end(), before);
        return;
    }
    const std::size_t n = bars.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t k = n - 1; k > i; --k)
            if (before(bars[k], bars[k - 1])) std::swap(bars[k], bars[k - 1]);
}

}  // namespace reschedule
