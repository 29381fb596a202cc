#include "store/saving/SaveSchedule.h"

#include "plan/PlanHistory.h"
#include "store/saving/ComponentRows.h"
#include "store/saving/ForeignOverlaps.h"
#include "store/saving/DependentRows.h"
#include "store/saving/OrderNumbers.h"
#include "store/saving/SaveChecks.h"
#include "store/saving/SaveContext.h"
#include "store/saving/TagRows.h"
#include "store/saving/WorkOrderRows.h"

namespace store {

namespace {

const QString kTitle = QStringLiteral("保存の確認");

QString conflictQuestion(const std::vector<std::int64_t>& orders)
{
    QStringList shown;
    for (std::size_t i = 0; i < orders.size() && i < 10; ++i) shown << QString::number(orders[i]);
    QString list = shown.join(QStringLiteral(", "));
    if (orders.size() > 10) list += QStringLiteral(" 他%1件").arg(orders.size() - 10);
    return QStringLiteral("次の手配は読み込んだ後に他のプログラムで変更されています。") + QStringLiteral("\r") +
           QStringLiteral("手配番号：") + list + QStringLiteral("\r") + QStringLiteral("上書きして保存しますか？");
}

void rollbackQuietly(db::Database& db)
{
    try {
        db.rollback();
    } catch (const db::Error&) {
        // The connection is gone or already rolled back: nothing was committed.
    }
}

// A step whose failure is reported and passed over: its savepoint takes back
// only what the step wrote, so the rest of the save still holds together.
template <typename Step>
void runPassable(SaveContext& ctx, const QString& savepoint, const QString& failureText, Step step)
{
    ctx.db.savepoint(savepoint);
    try {
        step(ctx);
        ctx.db.releaseSavepoint(savepoint);
    } catch (const db::Error&) {
        ctx.db.rollbackToSavepoint(savepoint);
        ctx.prompt.tell(failureText, kTitle, core::Prompt::Icon::Warning);
    }
}

void writeEverything(SaveContext& ctx)
{
    // Master data for all orders at once.
    QSet<QString> machines, destinations, items;
    for (int i : ctx.work.changedRecords) {
        const plan::PlanRecord& r = ctx.plan[i];
        if (r.destCode.trimmed().isEmpty() && r.hasMachine()) machines.insert(r.machineCode);
    }
    ctx.masters.readDestinations(ctx.db, machines, ctx.settings.KojoCode);
    for (int i : ctx.work.changedRecords) {
        const QString dest = ctx.masters.destinationOf(ctx.plan[i]);
        ctx.product.destinationOfRecord.insert(i, dest);
        destinations.insert(dest);
    }
    for (const MemberOrder& m : ctx.work.members) items.insert(m.itemCode);
    ctx.masters.readSuppliers(ctx.db, destinations);
    ctx.masters.readItems(ctx.db, items, ctx.settings.KojoCode);

    deleteMergedAwayOrders(ctx);
    createSplitOrders(ctx);
    runPassable(ctx, QStringLiteral("save_split_components"),
                QStringLiteral("所要量情報の保持に失敗しました(他の更新は問題ありません)"), copySplitComponents);
    addMissingTags(ctx);
    rewriteChangedOrders(ctx);
    rebuildComponents(ctx);
    runPassable(ctx, QStringLiteral("save_line_cycles"),
                QStringLiteral("ライン別のサイクル情報の保持に失敗しました(他の更新は問題ありません)"), keepLineCycles);
    updatePlanTotals(ctx);
    writeCalendarDays(ctx);
    readBackStamps(ctx);
}

void renumberMembers(plan::PlanRecord& r, bool groupB, const SaveProduct& product)
{
    for (plan::MemberOrder& m : r.members(groupB)) {
        const auto it = product.numberOfTemporary.constFind(m.orderNo);
        if (m.newOrderNo == 0 || it == product.numberOfTemporary.cend()) continue;
        m.orderNo = *it;
        m.newOrderNo = 0;
    }
}

// The plan after the commit: it now reads as a fresh load of what was written.
void applySaved(plan::PlanData& plan, const SaveWork& work, const SaveProduct& product)
{
    for (int i : work.changedRecords) {
        plan::PlanRecord& r = plan.edit(i);
        const bool wholeNew = product.numberOfTemporary.contains(r.orderNo);
        renumberMembers(r, false, product);
        renumberMembers(r, true, product);
        if (wholeNew) {
            r.orderNo = product.numberOfTemporary.value(r.orderNo);
            r.instructionDate = QStringLiteral("00000000");
            r.lastResultDate = core::Date();
        }
        r.destCode = product.destinationOfRecord.value(i, r.destCode);
        if (r.inOutKind == plan::InOutKind::Outside) {
            r.acceptInspectKind = QStringLiteral("1");
        } else {
            r.inOutKind = plan::InOutKind::InHouse;
        }
        r.confirmKindDb = r.confirmKind;
        r.confirmKindDbOtherText.clear();
        r.machineCodeDb = r.machineCode;
        r.startDateOrig = r.startDate;
        r.endDateOrig = r.endDate;
        r.storedComponentItems.clear();
        for (plan::Component& c : r.components) {
            c.unitNumOrig = c.unitNum;
            c.unitDenOrig = c.unitDen;
            r.storedComponentItems.push_back(c.itemCode.trimmed());
        }
        r.isChanged = false;
        r.isEdited = false;
    }
    // Their orders are deleted now; a later save has nothing more to do for them.
    for (int i : work.mergedAwayRecords) {
        plan::PlanRecord& r = plan.edit(i);
        for (plan::MemberOrder& m : r.membersA) m.orderNo = 0;
        for (plan::MemberOrder& m : r.membersB) m.orderNo = 0;
    }
    for (auto it = product.stamps.cbegin(); it != product.stamps.cend(); ++it) plan.loadedStamps.insert(it.key(), it.value());
    for (std::int64_t no : product.deletedOrders) plan.loadedStamps.remove(no);
    // Undoing a step from before the save would bring back temporary numbers
    // and flags of orders that are written now.
    if (plan.history()) plan.history()->clear();
}

SaveResult failed(core::Prompt& prompt, const QString& text)
{
    prompt.tell(QStringLiteral("保存に失敗しました。変更は保存されていません。") + QStringLiteral("\r") + text, kTitle,
                core::Prompt::Icon::Critical);
    SaveResult r;
    r.outcome = SaveOutcome::Failed;
    r.error = text;
    return r;
}

}  // namespace

CalendarDayKey calendarDayKey(const core::Planner& planner, int row, int dayIndex)
{
    return {planner.rows.row(row).RowCode.trimmed(), planner.PeriodStart.addDays(dayIndex - 2)};
}

void keepChangedDay(ChangedCalendarDays& days, const core::Planner& planner, int row, int dayIndex)
{
    if (!planner.rows.isMachineRow(row) || !planner.calendar.contains(dayIndex, row)) return;
    days[calendarDayKey(planner, row, dayIndex)] = {planner.rows.row(row).RowCode, planner.calendar.day(dayIndex, row).values()};
}

SaveResult saveSchedule(db::Database& db, const core::ProgramSettings& settings, const core::Planner& planner,
                        plan::PlanData& plan, core::Prompt& prompt, ChangedCalendarDays& changedDays, core::Moment now)
{
    SaveResult result;
    const SaveWork work = collectSaveWork(plan);
    if (work.isEmpty() && changedDays.empty()) return result;

    // Step 1: a time that the columns cannot hold stops the save.
    for (int i : work.changedRecords) {
        if (exceedsTimeLimit(plan[i])) {
            prompt.tell(QStringLiteral("時間が10000時間を越えています。") + QStringLiteral("\r") + QStringLiteral("保存処理を中止します。"),
                        kTitle, core::Prompt::Icon::Warning);
            result.outcome = SaveOutcome::Cancelled;
            return result;
        }
    }
    // Step 2: one mould cannot run on two machines at once.
    if (const int n = countMouldDoubleBookings(plan); n != 0) {
        if (!prompt.askYesNo(QStringLiteral("金型が重複します。 [") + QString::number(n) + QStringLiteral("件]") + QStringLiteral("\r") +
                                 QStringLiteral("そのまま保存しますか？"),
                             kTitle)) {
            prompt.tell(QStringLiteral("保存を中断しました。"), kTitle);
            result.outcome = SaveOutcome::Cancelled;
            return result;
        }
    }

    AuditValues audit;
    audit.date = now.date().toYmdText();
    audit.time = now.time().toHhnnss();
    audit.operatorCode = settings.TantoCode;
    audit.terminal = settings.TanmatsuNo;
    audit.program = settings.ProgramId;

    // What each row must still hold for the save to write over it; grows by
    // the rows the planner agrees to overwrite.
    QHash<std::int64_t, plan::LoadedRowStamp> expected = plan.loadedStamps;
    QSet<std::int64_t> acceptedOverlaps;  // stored orders the planner agreed to overlap
    for (;;) {
        try {
            SaveContext ctx(db, settings, planner, plan, prompt, changedDays, work, audit);
            db.begin();
            lockAndReadOrders(ctx);
            const std::vector<std::int64_t> changed = changedSinceLoading(ctx, expected);
            if (!changed.empty()) {
                // Never keep the rows locked while the planner thinks it over.
                rollbackQuietly(db);
                if (!prompt.askYesNo(conflictQuestion(changed), kTitle, false)) {
                    prompt.tell(QStringLiteral("保存を中断しました。"), kTitle);
                    result.outcome = SaveOutcome::Cancelled;
                    return result;
                }
                for (std::int64_t no : changed) {
                    const auto row = ctx.rows.constFind(no);
                    if (row != ctx.rows.cend()) {
                        expected.insert(no, row->stamp);
                    } else {
                        expected.remove(no);  // gone: there is nothing left to compare
                    }
                }
                continue;  // check again: the rows may have changed once more meanwhile
            }
            // Another planner's bars saved meanwhile on the same machine or mould.
            const std::vector<ForeignOverlap> overlaps = findForeignOverlaps(ctx, acceptedOverlaps);
            if (!overlaps.empty()) {
                rollbackQuietly(db);
                if (!prompt.askYesNo(foreignOverlapQuestion(overlaps), kTitle, false)) {
                    prompt.tell(QStringLiteral("保存を中断しました。"), kTitle);
                    result.outcome = SaveOutcome::Cancelled;
                    return result;
                }
                for (const ForeignOverlap& o : overlaps) acceptedOverlaps.insert(o.otherOrder);
                continue;
            }
            writeEverything(ctx);
            db.commit();

            applySaved(plan, work, ctx.product);
            changedDays.clear();
            result.outcome = SaveOutcome::Saved;
            result.ordersWritten = ctx.product.ordersWritten;
            result.ordersCreated = ctx.product.ordersCreated;
            result.recordsChanged = work.changedRecords;
            result.recordsChanged.insert(result.recordsChanged.end(), work.mergedAwayRecords.begin(), work.mergedAwayRecords.end());
            return result;
        } catch (const NumberingFailed&) {
            rollbackQuietly(db);
            const QString text = QStringLiteral("手配番号を採番できませんでした");
            prompt.tell(text, kTitle, core::Prompt::Icon::Warning);
            result.outcome = SaveOutcome::Failed;
            result.error = text;
            return result;
        } catch (const db::Error& e) {
            rollbackQuietly(db);
            return failed(prompt, e.message);
        } catch (const std::exception& e) {
            rollbackQuietly(db);
            return failed(prompt, QString::fromLocal8Bit(e.what()));
        }
    }
}

}  // namespace store
