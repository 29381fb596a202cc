#include "reschedule/GridEdit.h"

#include "core/SearchText.h"
#include "core/TypedText.h"
#include "reschedule/BarState.h"
#include "reschedule/GridMessages.h"
#include "reschedule/Messages.h"
#include "reschedule/OverlapResolution.h"
#include "reschedule/Quantity.h"
#include "reschedule/RowPlacement.h"
#include "reschedule/SetMembers.h"

#include <QSet>
#include <algorithm>

namespace reschedule {

namespace {

constexpr int kMaxRemarkChars = 200;      // 備考 holds 200 characters in every database kind
constexpr std::int64_t kMaxPersons = 999;
constexpr int kMaxNamedRows = 20;         // rows named one by one in the bulk change's message

bool isRecord(const RuleContext& ctx, int i) { return i >= 2 && i <= ctx.plan.size(); }

enum class RowRefusal { None, Silent, SetMember, FullyFixed };

RowRefusal rowRefusal(const plan::PlanRecord& r)
{
    if (r.isDeleted || r.isMergedAway) return RowRefusal::Silent;
    if (r.isSetMember) return RowRefusal::SetMember;
    if (r.fixKind == plan::FixKind::FullyFixed) return RowRefusal::FullyFixed;
    return RowRefusal::None;
}

QString refusalText(RowRefusal why)
{
    return why == RowRefusal::SetMember ? msg::setMemberEditRefused() : msg::fullyFixedEditRefused();
}

// Marks a record changed and edited in the plan grid.
void markEdited(RuleContext& ctx, int recordNo, RuleOutcome& out)
{
    const plan::PlanRecord& r = ctx.plan[recordNo];
    if (!r.isChanged || !r.isEdited) {
        plan::PlanRecord& m = ctx.plan.editPlacement(recordNo);
        m.isChanged = true;
        m.isEdited = true;
    }
    out.touch(recordNo);
}

// The other orders of a set whose representative is recordNo; none for any other record.
std::vector<int> setMembersOf(RuleContext& ctx, int recordNo)
{
    const plan::PlanRecord& r = ctx.plan[recordNo];
    if (r.setRepOrderNo == 0 || r.isSetMember) return {};
    std::vector<int> members = ctx.rowIndex().setMembersOf(r.setRepOrderNo);
    members.erase(std::remove_if(members.begin(), members.end(),
                                 [&](int j) { return j == recordNo || ctx.plan[j].isDeleted || ctx.plan[j].isMergedAway; }),
                  members.end());
    return members;
}

bool standsOnRow(const RuleContext& ctx, const plan::PlanRecord& r) { return !rowCodeOf(ctx.planner, r).isEmpty(); }

// The kinds are set on the representative and on its members alike: the set
// is one job in one mould, and is saved and loaded as such.
void applyConfirmKind(RuleContext& ctx, int recordNo, plan::ConfirmKind kind, RuleOutcome& out)
{
    std::vector<int> records = setMembersOf(ctx, recordNo);
    records.insert(records.begin(), recordNo);
    for (int j : records) {
        if (ctx.plan[j].confirmKind == kind) continue;
        ctx.plan.edit(j).confirmKind = kind;
        markEdited(ctx, j, out);
    }
}

void applyFixKind(RuleContext& ctx, int recordNo, plan::FixKind kind, RuleOutcome& out)
{
    std::vector<int> records = setMembersOf(ctx, recordNo);
    records.insert(records.begin(), recordNo);
    for (int j : records) {
        const plan::PlanRecord& r = ctx.plan[j];
        if (r.fixKind == kind && r.fixKindOtherText.isEmpty()) continue;
        plan::PlanRecord& m = ctx.plan.edit(j);
        m.fixKind = kind;
        m.fixKindOtherText.clear();
        markEdited(ctx, j, out);
    }
}

// After the work minutes changed: the end from the start, the overlaps on the row.
void afterWorkMinutes(RuleContext& ctx, int recordNo, RuleOutcome& out)
{
    recomputeEnd(ctx, recordNo);
    if (standsOnRow(ctx, ctx.plan[recordNo])) {
        resolveOverlaps(ctx, recordNo, out);
    } else if (ctx.plan[recordNo].setRepOrderNo != 0 && !ctx.plan[recordNo].isSetMember) {
        setDPlanUpdate(ctx, recordNo, out);
    }
}

}  // namespace

QString confirmKindLabel(plan::ConfirmKind kind)
{
    return kind == plan::ConfirmKind::Confirmed ? QStringLiteral("確定") : QStringLiteral("予定");
}
QStringList confirmKindChoices() { return {QStringLiteral("予定"), QStringLiteral("確定")}; }

QString fixKindLabel(plan::FixKind kind)
{
    switch (kind) {
    case plan::FixKind::BackFixed: return QStringLiteral("1:後ろ固定");
    case plan::FixKind::FullyFixed: return QStringLiteral("2:完全固定");
    default: return QStringLiteral("0:可動");
    }
}
QStringList fixKindChoices() { return {QStringLiteral("0:可動"), QStringLiteral("1:後ろ固定"), QStringLiteral("2:完全固定")}; }

QString rowCodeOf(const core::Planner& planner, const plan::PlanRecord& r)
{
    const core::RowTable& rows = planner.rows;
    if (r.hasMachine()) {
        const int row = rows.findRow(r.machineCode);
        return row >= 2 ? rows.row(row).RowCode : QString();
    }
    const int row = rows.findRow(r.destCode);
    return rows.isSupplierRow(row) ? rows.row(row).RowCode : QString();
}

RuleOutcome canEditGridRow(RuleContext& ctx, int recordNo)
{
    if (!isRecord(ctx, recordNo)) return RuleOutcome::refusal();
    const RowRefusal why = rowRefusal(ctx.plan[recordNo]);
    if (why == RowRefusal::None) return {};
    if (why != RowRefusal::Silent) ctx.prompt.tell(refusalText(why));
    return RuleOutcome::refusal();
}

RuleOutcome changeConfirmKind(RuleContext& ctx, int recordNo, plan::ConfirmKind kind)
{
    if (RuleOutcome gate = canEditGridRow(ctx, recordNo); gate.refused) return gate;
    if (ctx.plan[recordNo].confirmKind == kind) return {};
    if (kind == plan::ConfirmKind::Confirmed && !standsOnRow(ctx, ctx.plan[recordNo])) {
        ctx.prompt.tell(msg::confirmUnplacedRefused());
        return RuleOutcome::refusal();
    }
    RuleOutcome out;
    applyConfirmKind(ctx, recordNo, kind, out);
    out.tidy();
    return out;
}

RuleOutcome changeFixKind(RuleContext& ctx, int recordNo, plan::FixKind kind)
{
    if (RuleOutcome gate = canEditGridRow(ctx, recordNo); gate.refused) return gate;
    RuleOutcome out;
    applyFixKind(ctx, recordNo, kind, out);
    out.tidy();
    return out;
}

RuleOutcome changeStart(RuleContext& ctx, int recordNo, core::Moment typed)
{
    if (RuleOutcome gate = canEditGridRow(ctx, recordNo); gate.refused) return gate;
    const plan::PlanRecord& r = ctx.plan[recordNo];
    const QString row = rowCodeOf(ctx.planner, r);
    const RowTarget target = splitRowCode(ctx.planner, row);
    const QString machine = row.isEmpty() ? r.machineCode : target.machineRow ? target.machineCode : QStringLiteral(" ");
    const core::Moment start = core::snapToWorkingTime(ctx.planner, core::roundUpToGrid(ctx.planner, typed), machine);
    if (start == r.start()) return {};
    if (r.fixKind == plan::FixKind::BackFixed && start > r.start()) {
        ctx.prompt.tell(msg::cannotMoveLaterBackFixed());
        return RuleOutcome::refusal();
    }
    RuleOutcome out;
    const BarState before = BarState::of(r);
    if (row.isEmpty()) {
        placeAt(ctx, recordNo, start);
        if (r.setRepOrderNo != 0) setDPlanUpdate(ctx, recordNo, out);
    } else {
        ctx.plan.editTimes(recordNo).setStart(start);
        insertPlanBarStep2(ctx, recordNo, row, out);
    }
    if (!(BarState::of(ctx.plan[recordNo]) == before)) markEdited(ctx, recordNo, out);
    out.tidy();
    return out;
}

RuleOutcome changePersons(RuleContext& ctx, int recordNo, std::int64_t persons)
{
    if (RuleOutcome gate = canEditGridRow(ctx, recordNo); gate.refused) return gate;
    if (persons < 0 || persons > kMaxPersons) {
        ctx.prompt.tell(msg::personsInvalid());
        return RuleOutcome::refusal();
    }
    if (ctx.plan[recordNo].requiredPersons == persons) return {};
    RuleOutcome out;
    {
        const std::int64_t work = adjustedWorkMinutes(ctx.plan[recordNo], ctx.plan[recordNo].orderQty, persons);
        plan::PlanRecord& m = ctx.plan.edit(recordNo);
        m.requiredPersons = persons;
        m.workMinutes = work;
    }
    markEdited(ctx, recordNo, out);
    afterWorkMinutes(ctx, recordNo, out);
    out.tidy();
    return out;
}

RuleOutcome changeRemarks(RuleContext& ctx, int recordNo, const QString& remarks)
{
    if (RuleOutcome gate = canEditGridRow(ctx, recordNo); gate.refused) return gate;
    if (remarks.size() > kMaxRemarkChars) {
        ctx.prompt.tell(msg::remarksTooLong());
        return RuleOutcome::refusal();
    }
    // The grid shows the remark trimmed: trailing blanks stored by other programs are no change.
    if (ctx.plan[recordNo].remarks.trimmed() == remarks.trimmed()) return {};
    RuleOutcome out;
    ctx.plan.edit(recordNo).remarks = remarks;
    markEdited(ctx, recordNo, out);
    out.tidy();
    return out;
}

RuleOutcome changeGridQuantity(RuleContext& ctx, int recordNo, std::int64_t qty)
{
    if (RuleOutcome gate = canEditGridRow(ctx, recordNo); gate.refused) return gate;
    RuleOutcome out = changeQuantity(ctx, recordNo, qty);
    if (out.refused || out.touched.empty()) return out;
    markEdited(ctx, recordNo, out);
    out.tidy();
    return out;
}

RuleOutcome editGridCell(RuleContext& ctx, int recordNo, GridField field, const QString& text)
{
    if (RuleOutcome gate = canEditGridRow(ctx, recordNo); gate.refused) return gate;
    const QString folded = core::foldForSearch(text.trimmed());
    const auto bad = [&](const QString& message) {
        ctx.prompt.tell(message);
        return RuleOutcome::refusal();
    };
    switch (field) {
    case GridField::ConfirmKind:
        if (folded == QStringLiteral("確定") || folded == QStringLiteral("2")) return changeConfirmKind(ctx, recordNo, plan::ConfirmKind::Confirmed);
        if (folded == QStringLiteral("予定") || folded == QStringLiteral("1")) return changeConfirmKind(ctx, recordNo, plan::ConfirmKind::Planned);
        return bad(msg::kindInvalid());
    case GridField::FixKind: {
        const QStringList choices = fixKindChoices();
        for (int k = 0; k < choices.size(); ++k)
            if (folded == choices[k] || folded == QString::number(k) || folded == choices[k].mid(2))
                return changeFixKind(ctx, recordNo, plan::FixKind(k));
        return bad(msg::kindInvalid());
    }
    case GridField::OrderQty: {
        if (folded.isEmpty()) return bad(msg::quantityRequired());
        const std::optional<std::int64_t> qty = core::typedWholeNumber(text);
        if (!qty) return bad(msg::quantityInvalid());
        return changeGridQuantity(ctx, recordNo, *qty);
    }
    case GridField::Start: {
        const QStringList parts = folded.split(u' ', Qt::SkipEmptyParts);
        if (parts.isEmpty() || parts.size() > 2) return bad(msg::dateInvalid());
        const core::Date date = core::Date::fromDisplayText(parts[0]);
        if (date.isNull()) return bad(msg::dateInvalid());
        core::TimeOfDay time = ctx.plan[recordNo].startTime;  // a date alone keeps the time of day
        if (parts.size() == 2) {
            const std::optional<core::TimeOfDay> t = core::TimeOfDay::fromDisplayText(parts[1]);
            if (!t) return bad(msg::timeInvalid());
            time = *t;
        }
        return changeStart(ctx, recordNo, core::Moment::of(date, time));
    }
    case GridField::Persons: {
        const std::optional<std::int64_t> persons = folded.isEmpty() ? std::optional<std::int64_t>(0) : core::typedWholeNumber(text);
        if (!persons) return bad(msg::personsInvalid());
        return changePersons(ctx, recordNo, *persons);
    }
    case GridField::Remarks:
        return changeRemarks(ctx, recordNo, text);
    }
    return RuleOutcome::refusal();
}

RuleOutcome bulkChangeConfirmKind(RuleContext& ctx, const std::vector<int>& recordNos, plan::ConfirmKind kind)
{
    std::vector<int> rows;
    for (int i : recordNos)
        if (isRecord(ctx, i)) rows.push_back(i);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    QStringList refused;
    std::vector<int> accepted, members;
    QSet<std::int64_t> acceptedSets;
    const auto refuse = [&](const plan::PlanRecord& r, const QString& why) {
        refused << QStringLiteral("手配番号 %1：%2").arg(r.orderNo).arg(why);
    };
    for (int i : rows) {
        const plan::PlanRecord& r = ctx.plan[i];
        const RowRefusal why = rowRefusal(r);
        if (why == RowRefusal::Silent) continue;
        if (why == RowRefusal::SetMember) {
            members.push_back(i);
        } else if (why == RowRefusal::FullyFixed) {
            refuse(r, refusalText(why));
        } else if (kind == plan::ConfirmKind::Confirmed && r.confirmKind != kind && !standsOnRow(ctx, r)) {
            refuse(r, msg::confirmUnplacedRefused());
        } else {
            accepted.push_back(i);
            if (r.setRepOrderNo != 0) acceptedSets.insert(r.setRepOrderNo);
        }
    }
    for (int i : members)
        if (!acceptedSets.contains(ctx.plan[i].setRepOrderNo)) refuse(ctx.plan[i], msg::setMemberEditRefused());

    RuleOutcome out;
    for (int i : accepted) applyConfirmKind(ctx, i, kind, out);
    if (!refused.isEmpty()) {
        const qsizetype named = std::min<qsizetype>(refused.size(), kMaxNamedRows);
        QString text = msg::bulkRefusedHeader() + u'\n' + refused.mid(0, named).join(u'\n');
        if (refused.size() > named) text += QStringLiteral("\nほか %1 件").arg(refused.size() - named);
        ctx.prompt.tell(text);
        if (out.touched.empty()) return RuleOutcome::refusal();
    }
    out.tidy();
    return out;
}

}  // namespace reschedule
