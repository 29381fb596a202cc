#include "reschedule/DetailForm.h"

#include "core/TotalSearch.h"
#include "core/TypedText.h"
#include "plan/PlanTime.h"
#include "reschedule/BarState.h"
#include "reschedule/DetailMessages.h"
#include "reschedule/OverlapResolution.h"
#include "reschedule/Requirement.h"
#include "reschedule/RowPlacement.h"
#include "reschedule/SetMembers.h"
#include "reschedule/Split.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace reschedule {

namespace {

// The longest job the boxes compute with: the save refuses 10,000 hours and more.
constexpr std::int64_t kMaxTotalMinutes = 10000LL * 60;

// The largest quantity a box is read as: twelve digits, far above any order,
// and far below where the minute arithmetic would overflow.
constexpr std::int64_t kMaxQuantity = 999'999'999'999;

double value(const QString& text) { return core::leadingValue(text); }
std::int64_t wholeValue(const QString& text) { return core::roundToInt64(value(text)); }
std::int64_t quantityValue(const QString& text) { return std::clamp(wholeValue(text), -kMaxQuantity, kMaxQuantity); }
QString number(std::int64_t n) { return QString::number(n); }
bool blankOrZero(const QString& text) { return text.isEmpty() || text == QStringLiteral("0"); }

// Int() that a binary quotient a hair below a whole number does not cost a unit.
std::int64_t floorOf(double x)
{
    if (!std::isfinite(x)) return 0;
    const double f = std::floor(x + 1e-9 * std::max(1.0, std::fabs(x)));
    if (f >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (f <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(f);
}

// The start the boxes give; nullopt when either is not valid.
std::optional<core::Moment> startOf(const DetailBoxes& b)
{
    const core::Date d = core::typedDate(b.startDate);
    const std::optional<core::TimeOfDay> t = core::typedTime(b.startTime);
    if (d.isNull() || !t) return std::nullopt;
    return core::Moment::of(d, *t);
}

// The record's exact figure while its box shows what it was filled with.
double pieceSecondsOf(const DetailForm& f)
{
    return f.boxes.pieceSeconds == f.opened.pieceSeconds ? f.copy.pieceSeconds : value(f.boxes.pieceSeconds);
}
double cycleOf(const DetailForm& f) { return f.boxes.cycle == f.opened.cycle ? f.copy.cycle : value(f.boxes.cycle); }

std::int64_t jobMinutesOf(const QString& text)
{
    return std::clamp<std::int64_t>(core::roundToInt32(value(text)), std::numeric_limits<std::int32_t>::min(), kMaxTotalMinutes);
}

core::Moment endOfJob(RuleContext& ctx, const DetailForm& f, core::Moment start, std::int64_t minutes)
{
    return plan::getEndTime(ctx.planner, core::machineOfCode(ctx.planner, f.copy.machineCode), start, minutes);
}

void showEnd(DetailBoxes& b, core::Moment end)
{
    b.endDate = dateText(end.date());
    b.endTime = timeText(end.time());
}

// Formula W into 作業時間 and 合計時間, then the end.
void workFromFormulaW(RuleContext& ctx, DetailForm& f)
{
    const std::int64_t w = formulaW(f);
    f.boxes.workMinutes = number(w);
    f.boxes.totalMinutes = number(wholeValue(f.boxes.setupMinutes) + w);
    endFromStart(ctx, f);
}

EnterResult stay(DetailBox box) { return EnterResult{false, box}; }

// R4: the total minutes whose calendar end meets the typed end.
EnterResult enterEndTime(RuleContext& ctx, DetailForm& f)
{
    DetailBoxes& b = f.boxes;
    const std::optional<core::TimeOfDay> t = core::typedTime(b.endTime);
    if (!t) {
        ctx.prompt.tell(msg::enterValidTime());
        return stay(DetailBox::EndTime);
    }
    const core::Date d = core::typedDate(b.endDate);
    if (d.isNull()) {
        ctx.prompt.tell(msg::enterValidDate());
        return stay(DetailBox::EndDate);
    }
    const std::optional<core::Moment> start = startOf(b);
    if (!start) {
        ctx.prompt.tell(msg::enterValidDate());
        return stay(core::typedDate(b.startDate).isNull() ? DetailBox::StartDate : DetailBox::StartTime);
    }
    const core::Moment wanted = core::Moment::of(d, *t);
    if (wanted < *start) {
        ctx.prompt.tell(msg::endBeforeStart());
        return stay(DetailBox::EndTime);
    }
    b.endTime = timeText(*t);
    // A total of 0 stands for the 480 minutes the end computation gives it.
    std::int64_t current = jobMinutesOf(b.totalMinutes);
    if (current == 0) current = 480;
    const std::int64_t setup = std::max<std::int64_t>(0, wholeValue(b.setupMinutes));
    const core::TotalSearch found = core::searchTotalMinutes(
        [&](std::int64_t total) { return endOfJob(ctx, f, *start, total); }, current, wanted, std::max<std::int64_t>(1, setup),
        std::max<std::int64_t>(kMaxTotalMinutes, setup));
    if (found.outcome != core::TotalSearch::Outcome::Found) {
        ctx.prompt.tell(msg::noTotalReachesEnd());
        return stay(DetailBox::EndTime);
    }
    if (found.total == current && core::minuteOf(found.end) == core::minuteOf(wanted)) return {};  // already meets it
    // An end typed inside a break becomes the minute the calendar reaches.
    if (core::minuteOf(found.end) != core::minuteOf(wanted)) showEnd(b, found.end);
    b.totalMinutes = number(found.total);
    b.workMinutes = number(found.total - wholeValue(b.setupMinutes));
    const plan::MemberSlots& group = f.copy.members();
    const bool singleQuantity = !group.empty() && f.copy.orderQty == group.front().orderQty;
    if (value(b.pieceSeconds) != 0 && singleQuantity && ctx.prompt.askYesNo(msg::askQuantityForEnd(), {}, false))
        if (const auto q = formulaQ(f)) applyFormulaQ(ctx, f, *q);
    return {};
}

}  // namespace

QString dateText(core::Date d) { return d.toDisplayText(); }
QString timeText(core::TimeOfDay t) { return t.toDisplayText(); }
QString plainNumber(double v)
{
    if (!std::isfinite(v)) return QStringLiteral("0");
    return QString::number(v, 'g', 7);
}

DetailBoxes boxesOf(const plan::PlanRecord& r)
{
    DetailBoxes b;
    b.orderNo = number(r.orderNo);
    std::int64_t planNo = 0;
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
        for (const plan::MemberOrder& m : *group)
            if (m.orderNo != 0 && planNo == 0) planNo = m.planNo;
    b.planNo = number(planNo);
    b.planQty = number(r.planQty);
    b.setRepOrderNo = number(r.setRepOrderNo);
    b.fixKind = plan::textOf(r.fixKind, r.fixKindOtherText);
    b.startDate = dateText(r.startDate);
    b.startTime = timeText(r.startTime);
    b.endDate = dateText(r.endDate);
    b.endTime = timeText(r.endTime);
    b.initialDueDate = dateText(r.initialDueDate);
    b.destCode = r.destCode;
    b.machineCode = r.machineCode.trimmed();
    b.mouldShortName = r.mouldShortName;
    b.itemCode = r.itemCode2;
    b.itemName = r.modelName;
    b.processSeq = number(r.processSeq);
    b.packUnitQty = number(r.packUnitQty);
    b.pieceSeconds = plainNumber(r.pieceSeconds);
    b.requiredPersons = number(r.requiredPersons);
    b.processName = r.processName;
    b.cavities = number(r.cavities);
    b.cycle = plainNumber(r.cycle);
    b.shotWeight = plainNumber(r.shotWeightPerPiece);
    b.orderQty = number(r.orderQty);
    b.setupMinutes = number(r.setupMinutes);
    b.workMinutes = number(r.workMinutes);
    b.totalMinutes = number(std::int64_t(r.setupMinutes) + r.workMinutes);
    b.acceptInspectKind = r.acceptInspectKind;
    b.receivedQty = number(r.receivedQty);
    b.lastResultDate = dateText(r.lastResultDate);
    b.actualMinutes = number(r.actualMinutes);
    b.remarks = r.remarks;
    recomputeCases(b);
    return b;
}

int currentVariant(const plan::PlanRecord& r, const std::vector<BomVariant>& variants)
{
    const auto holds = [&](const QString& item) {
        return std::any_of(r.components.begin(), r.components.end(),
                           [&](const plan::Component& c) { return c.itemCode.trimmed() == item.trimmed(); });
    };
    for (const BomVariant& v : variants)
        if (!v.lines.empty() && std::all_of(v.lines.begin(), v.lines.end(), [&](const VariantLine& l) { return holds(l.itemCode); }))
            return v.number;
    return 0;
}

DetailForm openDetail(RuleContext& ctx, OrderDetailLookup& lookup, int recordNo)
{
    DetailForm f;
    f.recordNo = recordNo;
    f.copy = ctx.plan[recordNo];
    f.boxes = boxesOf(f.copy);
    const std::int64_t master = masterOrderNo(f.copy);
    const NeighbourTimes n = lookup.neighbourTimes(master, f.copy.parentOrderNo);
    const auto dateOrZero = [](core::Date d) { return d.isNull() ? QStringLiteral("0000/00/00") : dateText(d); };
    f.boxes.beforeEndDate = dateOrZero(n.beforeEndDate);
    f.boxes.beforeEndTime = timeText(n.beforeEndTime);
    f.boxes.afterStartDate = dateOrZero(n.afterStartDate);
    f.boxes.afterStartTime = timeText(n.afterStartTime);
    f.related = lookup.relatedOrders(master);
    f.variants = lookup.variants(f.copy.itemCode, f.copy.processSeq);
    const int variant = currentVariant(f.copy, f.variants);
    f.boxes.variant = variant != 0 ? number(variant) : QString();
    f.componentRules.assign(f.copy.components.size(), std::nullopt);
    f.itemLookedUp = f.copy.itemCode2;
    f.opened = f.boxes;
    return f;
}

void refreshAfterSplit(RuleContext& ctx, DetailForm& f)
{
    const plan::PlanRecord& r = ctx.plan[f.recordNo];
    const DetailBoxes now = boxesOf(r);
    f.copy = r;
    f.componentRules.assign(f.copy.components.size(), std::nullopt);
    for (DetailBoxes* b : {&f.boxes, &f.opened}) {
        b->orderNo = now.orderNo;
        b->planNo = now.planNo;
        b->orderQty = now.orderQty;
        b->looseQty = now.looseQty;
        b->cases = now.cases;
        b->workMinutes = now.workMinutes;
        b->totalMinutes = now.totalMinutes;
        b->endDate = now.endDate;
        b->endTime = now.endTime;
        b->requiredPersons = now.requiredPersons;
        b->cycle = now.cycle;
        b->remarks = now.remarks;
        b->receivedQty = now.receivedQty;
    }
}

void endFromStart(RuleContext& ctx, DetailForm& f)
{
    const std::optional<core::Moment> start = startOf(f.boxes);
    if (!start) return;
    showEnd(f.boxes, endOfJob(ctx, f, *start, jobMinutesOf(f.boxes.totalMinutes)));
}

std::int64_t formulaW(const DetailForm& f)
{
    const DetailBoxes& b = f.boxes;
    const double cavities = value(b.cavities);
    const double c = cavities == 0 ? 1 : cavities;
    double p = 0;
    if (!blankOrZero(b.pieceSeconds)) p = pieceSecondsOf(f);
    else if (!blankOrZero(b.cycle)) p = cycleOf(f) / c;
    else p = 1 / c;
    const std::int64_t persons = core::roundToInt64(value(b.requiredPersons));
    return core::calcProcessMinutes(p, quantityValue(b.orderQty), persons);
}

std::optional<std::int64_t> formulaQ(const DetailForm& f)
{
    const DetailBoxes& b = f.boxes;
    const double p = blankOrZero(b.pieceSeconds) ? 0 : pieceSecondsOf(f);
    if (p == 0 || !std::isfinite(p)) return std::nullopt;
    const std::int64_t persons = core::roundToInt64(value(b.requiredPersons));
    const std::int64_t q = floorOf(value(b.workMinutes) * 60 / p);
    const std::int64_t factor = persons < 1 ? 1 : persons;
    return std::clamp(q, -kMaxQuantity / factor, kMaxQuantity / factor) * factor;
}

void applyFormulaQ(RuleContext& ctx, DetailForm& f, std::int64_t quantity)
{
    f.boxes.orderQty = number(quantity);
    setOrderQuantity(f.copy, quantity);
    recomputeCases(f.boxes);
    recomputeComponents(ctx, f);
}

void recomputeCases(DetailBoxes& b)
{
    const std::int64_t u = wholeValue(b.packUnitQty), n = quantityValue(b.orderQty);
    if (u == 0) {
        b.looseQty = number(n);
        b.cases = number(0);
        return;
    }
    b.looseQty = number(n % u);
    b.cases = number(n / u);
}

void recomputeComponents(RuleContext& ctx, DetailForm& f)
{
    const std::int64_t qty = quantityValue(f.boxes.orderQty);
    f.componentRules.resize(f.copy.components.size());
    const std::int64_t master = masterOrderNo(f.copy);
    for (std::size_t k = 0; k < f.copy.components.size(); ++k) {
        plan::Component& c = f.copy.components[k];
        if (c.itemCode.trimmed().isEmpty()) continue;
        const std::optional<RequirementRule> rule = f.componentRules[k] ? f.componentRules[k] : ctx.lookup.requirementRule(master, c.itemCode);
        if (!rule) continue;
        if (const std::optional<double> need = requirementFor(qty, *rule)) {
            c.requiredQty = *need;
        } else {
            ctx.prompt.tell(msg::requirementUndefined(c.itemCode));
        }
    }
}

bool changeVariant(RuleContext& ctx, DetailForm& f, int variantNumber)
{
    if (value(f.boxes.receivedQty) != 0) {
        ctx.prompt.tell(msg::variantLocked());
        return false;
    }
    if (number(variantNumber) == f.boxes.variant) return false;
    const auto v = std::find_if(f.variants.begin(), f.variants.end(), [&](const BomVariant& x) { return x.number == variantNumber; });
    if (v == f.variants.end()) return false;
    f.boxes.variant = number(variantNumber);
    f.copy.components.clear();
    f.componentRules.clear();
    for (const VariantLine& l : v->lines) {
        f.copy.components.push_back(plan::Component{l.itemCode, l.itemName, 0, l.unitNum, l.unitDen, l.unitNum, l.unitDen, l.defectRate});
        f.componentRules.push_back(RequirementRule{l.roundingKind, l.digitPosition, l.unitNum, l.unitDen, l.defectRate});
    }
    recomputeComponents(ctx, f);
    return true;
}

void leaveFixKind(DetailForm& f) { f.boxes.fixKind = core::toHalfWidth(f.boxes.fixKind); }

void leaveItemCode(OrderDetailLookup& lookup, DetailForm& f)
{
    const QString code = f.boxes.itemCode;
    if (code == f.itemLookedUp) return;
    if (code == QStringLiteral("199913") || code == QStringLiteral("199914") || code == QStringLiteral("199915")) return;
    f.itemLookedUp = code;
    if (const std::optional<ItemNames> names = lookup.itemNames(code)) {
        f.boxes.itemName = names->modelName;
        f.boxes.processName = names->modelNameAnk;
    }
}

EnterResult enterBox(RuleContext& ctx, DetailForm& f, DetailBox box)
{
    DetailBoxes& b = f.boxes;
    switch (box) {
    case DetailBox::StartTime: {  // R1
        const std::optional<core::TimeOfDay> t = core::typedTime(b.startTime);
        if (!t) {
            ctx.prompt.tell(msg::enterValidTime());
            return stay(box);
        }
        b.startTime = timeText(*t);
        endFromStart(ctx, f);
        return {};
    }
    case DetailBox::StartDate: {  // R2
        const QString d = core::mDateChr(b.startDate);
        if (d.isEmpty()) {
            ctx.prompt.tell(msg::enterValidDate());
            return stay(box);
        }
        b.startDate = d;
        endFromStart(ctx, f);
        return {};
    }
    case DetailBox::EndDate: {  // R3
        const QString d = core::mDateChr(b.endDate);
        if (d.isEmpty()) {
            ctx.prompt.tell(msg::enterValidTime());
            return stay(box);
        }
        b.endDate = d;
        return {};
    }
    case DetailBox::EndTime:  // R4
        return enterEndTime(ctx, f);
    case DetailBox::SetupMinutes:  // R5
    case DetailBox::PieceSeconds:
    case DetailBox::RequiredPersons:
        workFromFormulaW(ctx, f);
        return {};
    case DetailBox::OrderQty:  // R6
        if (ctx.prompt.askYesNo(msg::askAdjustTimes(), {}, false)) workFromFormulaW(ctx, f);
        recomputeCases(b);
        recomputeComponents(ctx, f);
        return {};
    case DetailBox::WorkMinutes:  // R7
        b.totalMinutes = number(wholeValue(b.setupMinutes) + wholeValue(b.workMinutes));
        if (ctx.prompt.askYesNo(msg::askQuantityForWork(), {}, false)) {
            if (const auto q = formulaQ(f)) {
                applyFormulaQ(ctx, f, *q);
            } else {
                ctx.prompt.tell(msg::noProductivity());
            }
        }
        endFromStart(ctx, f);
        return {};
    case DetailBox::TotalMinutes:  // R8
        endFromStart(ctx, f);
        b.workMinutes = number(wholeValue(b.totalMinutes) - wholeValue(b.setupMinutes));
        return {};
    case DetailBox::MachineCode: {  // R9
        QString m = core::toHalfWidth(b.machineCode.trimmed());
        if (ctx.settings.DbKind == QStringLiteral("2") && !m.isEmpty()) m = m.leftJustified(8, u' ');
        b.machineCode = m;
        return {};
    }
    default:
        return {};
    }
}

bool mayStartSplit(RuleContext& ctx, const DetailForm& f)
{
    if (value(f.boxes.setRepOrderNo) != 0) {
        ctx.prompt.tell(msg::setCannotSplit());
        return false;
    }
    return true;
}

bool quantityAccepted(RuleContext& ctx, const DetailForm& f)
{
    if (quantityValue(f.boxes.orderQty) > 0) return true;
    ctx.prompt.tell(msg::quantityRequired());
    return false;
}

namespace {

struct RowChoice {
    bool changed = false;  // the machine or the destination box differs from the record
    bool known = true;     // a typed machine is a chart row
    QString machineCode;   // " " for none
    QString rowCode;       // where the bar goes
};

RowChoice rowChoiceOf(RuleContext& ctx, const DetailForm& f)
{
    RowChoice c;
    const DetailBoxes& b = f.boxes;
    c.changed = b.machineCode != f.opened.machineCode || b.destCode != f.opened.destCode;
    if (!c.changed) return c;
    const QString machine = core::toHalfWidth(b.machineCode).trimmed();
    if (machine.isEmpty()) {
        c.machineCode = QStringLiteral(" ");
        c.rowCode = b.destCode;
        return c;
    }
    const int row = ctx.planner.rows.findRow(machine);
    if (row == 0 || row == 1) {
        c.known = false;
        return c;
    }
    c.machineCode = ctx.planner.rows.isMachineRow(row) ? ctx.planner.rows.row(row).RowCode : QStringLiteral(" ");
    c.rowCode = ctx.planner.rows.row(row).RowCode;
    return c;
}

bool isKindText(const QString& text, std::initializer_list<const char16_t*> kinds)
{
    const QString t = core::toHalfWidth(text).trimmed();
    return std::any_of(kinds.begin(), kinds.end(), [&](const char16_t* k) { return t == QString::fromUtf16(k); });
}

}  // namespace

CloseCheck checkClose(RuleContext& ctx, const DetailForm& f)
{
    const DetailBoxes& b = f.boxes;
    CloseCheck c;
    if (b.itemCode.isEmpty()) {
        c.kind = CloseCheck::Kind::JustClose;
        return c;
    }
    const auto refuse = [&](const QString& text, DetailBox box) {
        ctx.prompt.tell(text);
        c.kind = CloseCheck::Kind::Refused;
        c.focus = box;
        return c;
    };
    if (core::typedDate(b.startDate).isNull()) return refuse(msg::enterValidDate(), DetailBox::StartDate);
    if (!core::typedTime(b.startTime)) return refuse(msg::enterValidDate(), DetailBox::StartTime);
    // The end is checked again: a box left with text that is no date or time must not reach the record.
    if (core::typedDate(b.endDate).isNull()) return refuse(msg::enterValidDate(), DetailBox::EndDate);
    if (!core::typedTime(b.endTime)) return refuse(msg::enterValidTime(), DetailBox::EndTime);
    if (b.fixKind != f.opened.fixKind && !isKindText(b.fixKind, {u"0", u"1", u"2"}))
        return refuse(msg::fixKindChoices(), DetailBox::FixKind);
    if (b.acceptInspectKind != f.opened.acceptInspectKind && !isKindText(b.acceptInspectKind, {u"0", u"1"}))
        return refuse(msg::acceptKindChoices(), DetailBox::AcceptInspectKind);
    if (!rowChoiceOf(ctx, f).known) return refuse(msg::unknownMachine(), DetailBox::MachineCode);
    return c;
}

RuleOutcome applyDetail(RuleContext& ctx, const DetailForm& f)
{
    RuleOutcome out;
    const int i = f.recordNo;
    const plan::PlanRecord before = ctx.plan[i];
    const DetailBoxes& b = f.boxes;
    const DetailBoxes& o = f.opened;
    plan::PlanRecord next = before;
    next.isDeleted = false;
    next.itemCode2 = b.itemCode;
    next.modelName = b.itemName;
    next.acceptInspectKind = core::toHalfWidth(b.acceptInspectKind).trimmed();
    if (b.acceptInspectKind == o.acceptInspectKind) next.acceptInspectKind = before.acceptInspectKind;
    next.remarks = b.remarks;

    RowChoice row;
    // A set member stands where its representative stands: its schedule follows the representative's.
    if (!before.isSetMember) {
        if (b.fixKind != o.fixKind) {
            next.fixKind = plan::fixKindFromText(core::toHalfWidth(b.fixKind).trimmed());
            next.fixKindOtherText.clear();
        }
        if (b.startDate != o.startDate || b.startTime != o.startTime) {
            core::Date d = core::typedDate(b.startDate);
            core::TimeOfDay t = core::typedTime(b.startTime).value_or(before.startTime);
            if (!d.isNull()) {
                core::roundUpDateTime(ctx.planner, d, t);
                next.startDate = d;
                next.startTime = t;
            }
        }
        if (b.endDate != o.endDate || b.endTime != o.endTime) {
            const core::Date d = core::typedDate(b.endDate);
            if (!d.isNull()) next.endDate = d;
            if (const auto t = core::typedTime(b.endTime)) next.endTime = *t;
        }
        if (b.requiredPersons != o.requiredPersons) next.requiredPersons = wholeValue(b.requiredPersons);
        if (b.setupMinutes != o.setupMinutes) next.setupMinutes = int(std::clamp<std::int64_t>(wholeValue(b.setupMinutes), 0, kMaxTotalMinutes));
        if (b.pieceSeconds != o.pieceSeconds) next.pieceSeconds = value(b.pieceSeconds);
        if (b.workMinutes != o.workMinutes) next.workMinutes = std::clamp<std::int64_t>(wholeValue(b.workMinutes), 0, kMaxTotalMinutes);
        if (b.orderQty != o.orderQty) setOrderQuantity(next, quantityValue(b.orderQty));
        next.components = f.copy.components;
        row = rowChoiceOf(ctx, f);
        if (row.changed && row.known) {
            next.machineCode = row.machineCode.isEmpty() ? next.machineCode : row.machineCode;
            if (!next.hasMachine()) next.destCode = b.destCode;
        }
    }
    next.isChanged = before.isChanged;
    if (next == before) return out;  // nothing differs: no step, no mark

    const bool placementChanged = !(BarState::of(next) == BarState::of(before)) || next.fixKind != before.fixKind
        || next.requiredPersons != before.requiredPersons || next.isDeleted != before.isDeleted;
    next.isChanged = true;
    ctx.plan.edit(i) = next;
    out.touch(i);
    if (placementChanged) {
        // Placed again on its row: the end from the start and the job's minutes,
        // then the bars in front and behind, and its set members following.
        if (row.changed && row.known && !row.rowCode.trimmed().isEmpty()) {
            insertPlanBarStep2(ctx, i, row.rowCode, out);
        } else {
            recomputeEnd(ctx, i);
            resolveOverlaps(ctx, i, out);
        }
    }
    out.tidy();
    return out;
}

}  // namespace reschedule
