#include "reschedule/Split.h"

#include "core/TypedText.h"
#include "plan/PlanTime.h"
#include "reschedule/BarState.h"
#include "reschedule/DetailMessages.h"
#include "reschedule/OverlapResolution.h"
#include "reschedule/Requirement.h"

#include <algorithm>
#include <atomic>
#include <numeric>

namespace reschedule {

namespace {

std::int64_t totalOf(const std::vector<LotLine>& lines)
{
    return std::accumulate(lines.begin(), lines.end(), std::int64_t(0), [](std::int64_t t, const LotLine& l) { return t + l.count; });
}

std::int64_t firstOrderNo(const plan::PlanRecord& r)
{
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
        for (const plan::MemberOrder& m : *group)
            if (m.orderNo != 0) return m.orderNo;
    return 0;
}

// Quantities of the group in use and the member count, after members moved.
void recount(plan::PlanRecord& r)
{
    r.orderQty = 0;
    r.receivedQty = 0;
    for (const plan::MemberOrder& m : r.members()) {
        r.orderQty += m.orderQty;
        r.receivedQty += m.receivedQty;
    }
    r.memberCount = 0;
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
        for (const plan::MemberOrder& m : *group) r.memberCount += m.orderNo != 0 ? 1 : 0;
}

// The members of `lines` with a count move to `added`: the whole member when
// it gives all it has (it has no results then), a new member with a temporary
// number otherwise.
void moveMembers(const std::vector<LotLine>& lines, bool outer, plan::PlanRecord& source, plan::PlanRecord& added)
{
    plan::MemberSlots& from = source.members(outer);
    plan::MemberSlots& to = added.members(outer);
    for (const LotLine& line : lines) {
        if (line.count <= 0 || line.slot < 0 || std::size_t(line.slot) >= from.size()) continue;
        plan::MemberOrder& m = from[std::size_t(line.slot)];
        if (m.orderNo == 0) continue;
        const int slot = plan::lowestFreeSlot(to);
        if (slot < 0) continue;  // never: the new bar has no more lots than the source
        plan::MemberOrder moved = m;
        if (m.orderQty <= line.count && m.receivedQty == 0) {
            m = plan::MemberOrder{};
        } else {
            moved.orderNo = takeTemporaryOrderNo();
            moved.newOrderNo = m.newOrderNo != 0 ? m.newOrderNo : m.orderNo;
            moved.orderQty = line.count;
            moved.receivedQty = 0;
            m.orderQty -= line.count;
        }
        plan::memberSlot(to, slot) = moved;
    }
}

// Component requirements for the record's new quantity: by the unit's rule
// where the master knows the component, in proportion otherwise.
void recomputeComponents(RuleContext& ctx, plan::PlanRecord& r, std::int64_t oldQty)
{
    const std::int64_t master = masterOrderNo(r);
    for (plan::Component& c : r.components) {
        if (c.itemCode.trimmed().isEmpty()) continue;
        const std::optional<RequirementRule> rule = ctx.lookup.requirementRule(master, c.itemCode);
        if (rule) {
            if (const std::optional<double> need = requirementFor(r.orderQty, *rule)) {
                c.requiredQty = *need;
            } else {
                ctx.prompt.tell(msg::requirementUndefined(c.itemCode));
            }
        } else if (oldQty != 0) {
            c.requiredQty = c.requiredQty * double(r.orderQty) / double(oldQty);
        }
    }
}

}  // namespace

std::int64_t SplitLots::innerTotal() const { return totalOf(inner); }
std::int64_t SplitLots::outerTotal() const { return totalOf(outer); }

SplitLots splitLotsOf(const plan::PlanRecord& r)
{
    SplitLots lots;
    for (bool outer : {false, true}) {
        const plan::MemberSlots& group = r.members(outer);
        for (std::size_t k = 0; k < group.size(); ++k) {
            const plan::MemberOrder& m = group[k];
            if (m.orderNo == 0) continue;
            const QString process = m.processName.trimmed().isEmpty() ? r.processName : m.processName;
            const QString model = m.modelName.trimmed().isEmpty() ? r.modelName : m.modelName;
            LotLine line;
            line.slot = int(k);
            line.planNo = m.planNo;
            line.names = (process.trimmed() + u' ' + model.trimmed()).trimmed();
            line.quantity = m.orderQty - m.receivedQty;
            (outer ? lots.outer : lots.inner).push_back(line);
        }
    }
    return lots;
}

void setLotCount(SplitLots& lots, std::int64_t planNo, std::int64_t count)
{
    for (std::vector<LotLine>* lines : {&lots.inner, &lots.outer})
        for (LotLine& l : *lines)
            if (l.planNo == planNo) l.count = std::max<std::int64_t>(0, count);
}

QString lotLineText(const LotLine& line)
{
    return QString::number(line.planNo).leftJustified(9, u' ', true) + core::fitByteWidth(line.names, 36, QStringLiteral("L"))
        + u' ' + QString::number(line.count).rightJustified(9, u' ') + u'/' + QString::number(line.quantity).leftJustified(9, u' ');
}

std::int64_t planNoOfLineText(const QString& text) { return core::roundToInt64(core::leadingValue(text.left(8))); }

std::int64_t countOfLineText(const QString& text)
{
    if (text.size() < 19) return 0;
    return core::roundToInt64(core::leadingValue(text.mid(text.size() - 19, 9)));
}

std::optional<QString> checkSplit(const SplitLots& lots)
{
    const std::int64_t inner = lots.innerTotal(), outer = lots.outerTotal();
    if (inner == 0 && outer == 0) return msg::chooseLots();
    if (inner == 0 && !lots.inner.empty()) return msg::chooseInner();
    if (outer == 0 && !lots.outer.empty()) return msg::chooseOuter();
    if (inner != 0 && outer != 0 && inner != outer) return msg::innerOuterDiffer();
    const auto over = [](const std::vector<LotLine>& lines) {
        return std::any_of(lines.begin(), lines.end(), [](const LotLine& l) { return l.count > l.quantity; });
    };
    if (over(lots.inner)) return msg::innerOverLot();
    if (over(lots.outer)) return msg::outerOverLot();
    // The bar must keep something of each ring it has.
    const auto keepsNothing = [](const std::vector<LotLine>& lines) {
        return !lines.empty() && std::all_of(lines.begin(), lines.end(), [](const LotLine& l) { return l.quantity - l.count <= 0; });
    };
    if (keepsNothing(lots.inner) || keepsNothing(lots.outer)) return msg::wholeLotsRefused();
    return std::nullopt;
}

RuleOutcome splitOrder(RuleContext& ctx, int recordNo, const SplitLots& lots)
{
    RuleOutcome out;
    if (recordNo < 2 || recordNo > ctx.plan.size()) return RuleOutcome::refusal();
    const plan::PlanRecord before = ctx.plan[recordNo];
    plan::PlanRecord source = before;
    plan::PlanRecord added = before;
    added.membersA.clear();
    added.membersB.clear();
    moveMembers(lots.inner, false, source, added);
    moveMembers(lots.outer, true, source, added);
    if (firstOrderNo(added) == 0) return RuleOutcome::refusal();

    source.orderNo = firstOrderNo(source);
    added.orderNo = firstOrderNo(added);
    recount(source);
    recount(added);
    for (plan::PlanRecord* r : {&source, &added})
        r->workMinutes = plan::workMinutesFor(plan::effectivePieceSeconds(*r), r->orderQty, r->requiredPersons);

    // The new bar follows the shortened source on its row.
    const core::MachineOfCode machine = core::machineOfCode(ctx.planner, source.machineCode);
    if (!source.startDate.isNull()) {
        source.setEnd(plan::getEndTime(ctx.planner, machine, source.start(), jobMinutes(source)));
        const core::Moment start = core::roundUpToGrid(ctx.planner, source.end());
        added.setStart(start);
        added.setEnd(plan::getEndTime(ctx.planner, machine, start, jobMinutes(added)));
    } else {
        added.startDate = source.startDate.addDays(2);
        added.endDate = source.endDate.addDays(2);
    }
    if (added.orderNo < 0) {  // a new order: nothing of it is made or instructed yet
        added.instructionDate = QStringLiteral("00000000");
        added.lastResultDate = core::Date();
        added.actualMinutes = 0;
    }
    recomputeComponents(ctx, source, before.orderQty);
    recomputeComponents(ctx, added, before.orderQty);
    added.barIndex = ctx.plan.largestBarIndex() + 1;
    source.isChanged = true;
    added.isChanged = true;

    ctx.plan.edit(recordNo) = std::move(source);
    const int n = ctx.plan.append(std::move(added));
    out.touch(recordNo);
    out.touch(n);
    resolveOverlaps(ctx, n, out);
    out.tidy();
    return out;
}

std::int64_t takeTemporaryOrderNo()
{
    static std::atomic<std::int64_t> last{0};
    return last.fetch_sub(1) - 1;
}

std::int64_t masterOrderNo(const plan::PlanRecord& r)
{
    if (r.orderNo > 0) return r.orderNo;
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
        for (const plan::MemberOrder& m : *group)
            if (m.orderNo == r.orderNo && m.orderNo != 0) return m.newOrderNo;
    return 0;
}

}  // namespace reschedule
