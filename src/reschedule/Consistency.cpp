#include "reschedule/Consistency.h"

#include <QHash>
#include <numeric>

namespace reschedule {

namespace {
template <typename Field>
std::int64_t sum(const plan::MemberSlots& group, Field field)
{
    return std::accumulate(group.begin(), group.end(), std::int64_t(0),
                           [&](std::int64_t total, const plan::MemberOrder& m) { return total + m.*field; });
}
QString rec(int i) { return QStringLiteral("record %1: ").arg(i); }
}  // namespace

QStringList checkConsistency(const plan::PlanData& plan)
{
    QStringList problems;
    if (plan.size() < 1 || plan[1].barIndex != 0 || plan[1].machineCode != QStringLiteral(" "))
        problems << QStringLiteral("record 1 is not the placeholder");

    QHash<int, int> bars;
    QHash<std::int64_t, int> reps;  // order number → live record that carries it first
    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (r.barIndex == 0) problems << rec(i) + QStringLiteral("no bar index");
        else if (bars.contains(r.barIndex)) problems << rec(i) + QStringLiteral("bar index %1 also on record %2").arg(r.barIndex).arg(bars[r.barIndex]);
        else bars.insert(r.barIndex, i);
        if (r.barIndex != 0 && plan.findByBarIndex(r.barIndex) != bars.value(r.barIndex))
            problems << rec(i) + QStringLiteral("bar index not found again");
        if (!r.isDeleted && !r.isMergedAway && r.orderNo != 0 && !reps.contains(r.orderNo)) reps.insert(r.orderNo, i);
    }

    for (int i = 2; i <= plan.size(); ++i) {
        const plan::PlanRecord& r = plan[i];
        if (r.isMergedAway) {
            if (r.orderNo != 0 || r.orderQty != 0 || r.isChanged) problems << rec(i) + QStringLiteral("merged away but still live");
            continue;
        }
        if (r.isDeleted) continue;
        if (r.orderQty != sum(r.members(), &plan::MemberOrder::orderQty))
            problems << rec(i) + QStringLiteral("orderQty %1 is not the members' sum").arg(r.orderQty);
        if (r.receivedQty != sum(r.members(), &plan::MemberOrder::receivedQty))
            problems << rec(i) + QStringLiteral("receivedQty %1 is not the members' sum").arg(r.receivedQty);
        const bool member = r.setRepOrderNo != 0 && r.setRepOrderNo != r.orderNo;
        if (r.isSetMember != member) problems << rec(i) + QStringLiteral("isSetMember disagrees with the set numbers");
        if (r.isChanged && r.end() < r.start()) problems << rec(i) + QStringLiteral("ends before it starts");
        if (r.isSetMember && reps.contains(r.setRepOrderNo)) {
            const plan::PlanRecord& p = plan[reps[r.setRepOrderNo]];
            if (r.start() != p.start() || r.end() != p.end() || r.machineCode != p.machineCode || r.destCode != p.destCode)
                problems << rec(i) + QStringLiteral("set member not where its representative is");
        }
    }
    return problems;
}

}  // namespace reschedule
