#include "store/saving/SaveChecks.h"

#include <QHash>
#include <vector>

namespace store {

bool exceedsTimeLimit(const plan::PlanRecord& r)
{
    const std::int64_t setup = r.setupMinutes;
    const std::int64_t work = r.workMinutes;
    if (setup + work >= 10'000'000) return true;
    // Hours kept to hundredths, truncated, as the time columns hold them.
    const std::int64_t hundredths = work * 100 / 60 + setup * 100 / 60;
    return hundredths >= 1'000'000;
}

namespace {

// Merged-away and deleted bars no longer occupy their mould.
bool holdsMould(const plan::PlanRecord& r)
{
    return !r.isHidden() && !r.mouldNo.trimmed().isEmpty() && r.hasMachine();
}

}  // namespace

int countMouldDoubleBookings(const plan::PlanData& plan)
{
    QHash<QString, std::vector<int>> barsOfMould;
    for (int i = 2; i <= plan.size(); ++i)
        if (holdsMould(plan[i])) barsOfMould[plan[i].mouldNo.trimmed()].push_back(i);

    int count = 0;
    for (auto it = barsOfMould.cbegin(); it != barsOfMould.cend(); ++it) {
        const std::vector<int>& bars = it.value();
        if (bars.size() < 2) continue;
        for (int i : bars) {
            const plan::PlanRecord& a = plan[i];
            if (!a.isChanged) continue;
            const core::Moment aStart = a.start(), aEnd = a.end();
            for (int j : bars) {
                if (j == i) continue;
                const plan::PlanRecord& b = plan[j];
                if (b.start() < aEnd && b.end() > aStart) ++count;
            }
        }
    }
    return count;
}

}  // namespace store
