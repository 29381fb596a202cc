#pragma once
// What a rescheduling action did: whether it changed the plan, whether it was
// refused (then it changed nothing), and which records the chart must redraw.

#include "core/MostlySorted.h"

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
        core::sortMostlySorted(touched.begin(), touched.end());  // rules touch records mostly in table order
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
