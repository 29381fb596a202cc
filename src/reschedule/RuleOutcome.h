#pragma once
// What a rescheduling action did: whether it changed the plan, whether it was
// refused (then it changed nothing), and which records the chart must redraw.

#include <algorithm>
#include <vector>

namespace reschedule {

struct RuleOutcome {
    bool changed = false;
    bool refused = false;
    std::vector<int> touched;  // record numbers to redraw; sorted and unique after tidy()

    void touch(int recordNo) { touched.push_back(recordNo); }
    void tidy()
    {
        // Rules touch records mostly in table order: sort the unsorted tail only, then merge.
        const auto sortedEnd = std::is_sorted_until(touched.begin(), touched.end());
        std::sort(sortedEnd, touched.end());
        std::inplace_merge(touched.begin(), sortedEnd, touched.end());
        touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    }
    static RuleOutcome refusal()
    {
        RuleOutcome o;
        o.refused = true;
        return o;
    }
};

}  // namespace reschedule
