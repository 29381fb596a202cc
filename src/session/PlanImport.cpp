// Applying a brought-back plan: each line through the rules a planner's hand
// uses, the questions answered by the import's policy; a preview that puts
// everything back, and the real thing as one undo step.

#include "session/PlanImport.h"

#include "core/ChartGeometry.h"
#include "reschedule/BarMove.h"
#include "reschedule/GridEdit.h"
#include "reschedule/GridMessages.h"
#include "reschedule/Messages.h"

#include <map>
#include <set>

namespace session {

namespace {

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Answers the rules' questions from the policy and keeps what they tell.
class PolicyPrompt : public core::Prompt {
public:
    explicit PolicyPrompt(const ImportPolicy& policy) : policy_(policy) {}
    bool askYesNo(const QString& text, const QString&, bool defaultYes) override
    {
        if (text == reschedule::msg::askStartAfterFront() || text == reschedule::msg::askPushBehind()) return policy_.pushLater;
        if (text == reschedule::msg::askAdjustWorkTime()) return true;  // a new quantity brings its work time
        notes << QStringLiteral("「%1」に%2").arg(oneLine(text), defaultYes ? QStringLiteral("はい") : QStringLiteral("いいえ"));
        return defaultYes;
    }
    void tell(const QString& text, const QString&, Icon) override { told << oneLine(text); }
    void clear()
    {
        told.clear();
        notes.clear();
    }
    QStringList told;
    QStringList notes;

private:
    const ImportPolicy& policy_;
};

// The session's rule context with the policy answering.
reschedule::RuleContext contextWith(reschedule::RuleContext& ctx, core::Prompt& prompt)
{
    ctx.rowIndex();  // built once, shared
    reschedule::RuleContext local{ctx.planner, ctx.plan, prompt, ctx.lookup, ctx.settings};
    local.index = ctx.index;
    return local;
}

bool take(reschedule::RuleOutcome step, reschedule::RuleOutcome& all)
{
    all.touched.insert(all.touched.end(), step.touched.begin(), step.touched.end());
    return !step.refused;
}

// A drop of the bar at `start` on `rowCode`, as the chart makes it: the drop
// position is the start itself (one twip a minute from it).
reschedule::RuleOutcome dropAt(reschedule::RuleContext& ctx, int recordNo, const QString& rowCode, core::Moment start)
{
    const plan::PlanRecord& r = ctx.plan[recordNo];
    reschedule::BarDrop drop;
    drop.recordNo = recordNo;
    drop.DragStartKikai = reschedule::rowCodeOf(ctx.planner, r);
    drop.newKikai = rowCode;
    drop.origin = start;
    drop.scale = 60;
    drop.newLeftTwips = 0;
    drop.currentLeftTwips = double(core::dateTimeToX(start, r.start(), drop.scale));
    return reschedule::dropBar(ctx, drop);
}

// One line: the changes in the order a planner would make them. Loosening the
// fix kind comes first (a back-fixed order set free may then move later),
// tightening it last (after the moves it would forbid).
reschedule::RuleOutcome applyRow(reschedule::RuleContext& ctx, const ImportRow& row)
{
    using reschedule::RuleOutcome;
    RuleOutcome all;
    const int i = row.recordNo;
    const plan::FixKind fixBefore = ctx.plan[i].fixKind;
    const bool loosen = row.fixKind && fixBefore != plan::FixKind::Other && int(*row.fixKind) < int(fixBefore);
    if (row.fixKind && loosen && !take(reschedule::changeFixKind(ctx, i, *row.fixKind), all)) return RuleOutcome::refusal();
    if (row.rowCode) {
        const core::Moment start = row.start.value_or(ctx.plan[i].start());
        if (!take(dropAt(ctx, i, *row.rowCode, start), all)) return RuleOutcome::refusal();
        // Back on the unplaced row, a start is the grid's edit there.
        if (row.rowCode->trimmed().isEmpty() && row.start && !take(reschedule::changeStart(ctx, i, *row.start), all))
            return RuleOutcome::refusal();
    } else if (row.start) {
        const QString rowCode = reschedule::rowCodeOf(ctx.planner, ctx.plan[i]);
        const RuleOutcome moved = rowCode.isEmpty() ? reschedule::changeStart(ctx, i, *row.start) : dropAt(ctx, i, rowCode, *row.start);
        if (!take(moved, all)) return RuleOutcome::refusal();
    }
    if (row.quantity && !take(reschedule::changeGridQuantity(ctx, i, *row.quantity), all)) return RuleOutcome::refusal();
    if (row.persons && !take(reschedule::changePersons(ctx, i, *row.persons), all)) return RuleOutcome::refusal();
    if (row.confirmKind && !take(reschedule::changeConfirmKind(ctx, i, *row.confirmKind), all)) return RuleOutcome::refusal();
    if (row.fixKind && !loosen && !take(reschedule::changeFixKind(ctx, i, *row.fixKind), all)) return RuleOutcome::refusal();
    all.tidy();
    return all;
}

QString placeText(const core::Planner& planner, const plan::PlanRecord& r)
{
    const QString code = reschedule::rowCodeOf(planner, r);
    if (code.isEmpty()) return r.hasMachine() ? r.machineCode.trimmed() : QStringLiteral("（未配置）");
    const QString name = planner.rows.row(planner.rows.findRow(code)).RowName.trimmed();
    return name.isEmpty() || name == code.trimmed() ? code.trimmed() : QStringLiteral("%1 %2").arg(code.trimmed(), name);
}

QString startText(const plan::PlanRecord& r) { return r.startDate.isNull() ? QString() : r.start().toDisplayText(); }
QString endText(const plan::PlanRecord& r) { return r.endDate.isNull() ? QString() : r.end().toDisplayText(); }
QString confirmText(const plan::PlanRecord& r)
{
    return r.confirmKind == plan::ConfirmKind::Confirmed || r.confirmKind == plan::ConfirmKind::Planned
             ? reschedule::confirmKindLabel(r.confirmKind)
             : plan::textOf(r.confirmKind);
}

void diffRecord(const core::Planner& planner, int recordNo, const plan::PlanRecord& a, const plan::PlanRecord& b,
                std::vector<RecordChange>& out)
{
    const auto add = [&](const QString& field, const QString& before, const QString& after) {
        if (before != after) out.push_back(RecordChange{recordNo, b.orderNo, field, before, after});
    };
    add(QStringLiteral("機械"), placeText(planner, a), placeText(planner, b));
    add(QStringLiteral("開始"), startText(a), startText(b));
    add(QStringLiteral("終了"), endText(a), endText(b));
    add(QStringLiteral("手配数"), QString::number(a.orderQty), QString::number(b.orderQty));
    add(QStringLiteral("必要人員"), QString::number(a.requiredPersons), QString::number(b.requiredPersons));
    add(QStringLiteral("作業時間(分)"), QString::number(a.workMinutes), QString::number(b.workMinutes));
    add(QStringLiteral("固定区分"), reschedule::fixKindLabel(a.fixKind), reschedule::fixKindLabel(b.fixKind));
    add(QStringLiteral("確定"), confirmText(a), confirmText(b));
    if (a.components != b.components)
        add(QStringLiteral("使用部材"), QString(), QStringLiteral("必要数を再計算（%1 件）").arg(b.components.size()));
}

void count(ImportReport& report)
{
    report.applied = report.unchanged = report.refused = 0;
    for (const RowReport& r : report.rows) {
        if (r.status == RowStatus::Applied) ++report.applied;
        else if (r.status == RowStatus::Refused) ++report.refused;
        else ++report.unchanged;
    }
}

}  // namespace

ImportReport previewImport(PlanSession& session, const ImportRequest& request, const ImportPolicy& policy)
{
    ImportReport report;
    std::set<int> touched;
    std::map<int, plan::PlanRecord> after;
    try {
        session.tryOut([&](reschedule::RuleContext& ctx, const PlanSession::Attempt& attempt) {
            PolicyPrompt prompt(policy);
            reschedule::RuleContext local = contextWith(ctx, prompt);
            for (const ImportRow& row : request.rows) {
                RowReport r;
                r.lineNo = row.lineNo;
                r.recordNo = row.recordNo;
                r.orderText = row.orderText;
                r.requested = row.requested;
                if (!row.refusal.isEmpty()) {
                    r.status = RowStatus::Refused;
                    r.reason = row.refusal;
                } else if (row.hasChanges()) {
                    prompt.clear();
                    const reschedule::RuleOutcome out = attempt([&] { return applyRow(local, row); });
                    if (out.refused) {
                        r.status = RowStatus::Refused;
                        r.reason = prompt.told.isEmpty() ? QStringLiteral("変更できませんでした。") : prompt.told.join(u' ');
                    } else if (out.changed) {
                        r.status = RowStatus::Applied;
                        r.notes = prompt.told + prompt.notes;
                        touched.insert(out.touched.begin(), out.touched.end());
                    }
                }
                report.rows.push_back(r);
            }
            for (int i : touched) after.emplace(i, ctx.plan[i]);
        });
    } catch (const db::Error& e) {
        report = ImportReport{};
        report.failure = QStringLiteral("データベースを読めないため、取り込めません。\n%1").arg(e.message);
        return report;
    }
    for (const auto& [i, b] : after) diffRecord(session.planner(), i, session.plan()[i], b, report.changes);
    count(report);
    return report;
}

ImportReport applyImport(PlanSession& session, const ImportRequest& request, const ImportPolicy& policy)
{
    ImportReport report = previewImport(session, request, policy);
    if (report.failed() || report.applied == 0) return report;
    std::set<int> applying;
    for (const RowReport& r : report.rows)
        if (r.status == RowStatus::Applied) applying.insert(r.lineNo);
    bool diverged = false;
    PolicyPrompt prompt(policy);
    const reschedule::RuleOutcome out = session.apply(QStringLiteral("CSV取込"), [&](reschedule::RuleContext& ctx) {
        reschedule::RuleContext local = contextWith(ctx, prompt);
        reschedule::RuleOutcome all;
        for (const ImportRow& row : request.rows) {
            if (!applying.count(row.lineNo)) continue;
            if (!take(applyRow(local, row), all)) {
                diverged = true;  // the rows that were tried alone: cannot happen unless the masters changed meanwhile
                return reschedule::RuleOutcome::refusal();
            }
        }
        all.tidy();
        return all;
    });
    if (out.refused)
        report.failure = diverged ? QStringLiteral("取込の途中で確認と違う結果になったため、何も取り込んでいません。もう一度取り込んでください。")
                                  : QStringLiteral("データベースを読めないため、何も取り込んでいません。");
    return report;
}

QStringList reportLines(const ImportReport& report)
{
    std::map<int, QStringList> results;  // record → its changes as they came out
    std::map<int, std::int64_t> orderOf;
    for (const RecordChange& c : report.changes) {
        results[c.recordNo] << QStringLiteral("%1 %2").arg(c.field, c.after.isEmpty() ? QStringLiteral("（なし）") : c.after);
        orderOf[c.recordNo] = c.orderNo;
    }
    std::set<int> ownRecords;
    QStringList lines;
    for (const RowReport& r : report.rows) {
        const QString head = QStringLiteral("%1 行目 手配番号 %2: ").arg(r.lineNo).arg(r.orderText.isEmpty() ? QStringLiteral("（なし）") : r.orderText);
        if (r.status == RowStatus::Applied) {
            QString line = head + QStringLiteral("取込 / applied: ") + r.requested.join(QStringLiteral("、"));
            ownRecords.insert(r.recordNo);
            if (const auto it = results.find(r.recordNo); it != results.end())
                line += QStringLiteral(" ／ 結果 / result: ") + it->second.join(QStringLiteral("、"));
            if (!r.notes.isEmpty()) line += QStringLiteral("（%1）").arg(r.notes.join(QStringLiteral(" ")));
            lines << line;
        } else if (r.status == RowStatus::Refused) {
            lines << head + QStringLiteral("取込不可 / refused: ") + r.reason;
        }
    }
    QStringList pushed;
    for (const auto& [recordNo, changes] : results)
        if (!ownRecords.count(recordNo)) pushed << QString::number(orderOf[recordNo]);
    if (!pushed.isEmpty())
        lines << QStringLiteral("押し出された手配 / also moved: %1").arg(pushed.join(u' '));
    return lines;
}

QString reportSummary(const ImportReport& report)
{
    return QStringLiteral("取込 %1 行、変更なし %2 行、取込不可 %3 行 / applied %1, unchanged %2, refused %3")
        .arg(report.applied)
        .arg(report.unchanged)
        .arg(report.refused);
}

}  // namespace session
