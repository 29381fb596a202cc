#include "store/saving/DependentRows.h"

#include <algorithm>

namespace store {

namespace {
// A DB0492 row's key: item, step and machine as held.
QString lineCycleKey(const QString& item, std::int64_t seq, const QString& machine)
{
    return item + QLatin1Char('|') + QString::number(seq) + QLatin1Char('|') + machine;
}
}  // namespace

void keepLineCycles(SaveContext& ctx)
{
    struct Cycle {
        QString item, machine;
        int seq;
        double cycle;
    };
    std::vector<Cycle> cycles;
    QSet<QString> seen, items;
    for (int i : ctx.work.changedRecords) {
        const plan::PlanRecord& r = ctx.plan[i];
        if (!r.hasMachine() || r.cycle == 0 || r.itemCode.trimmed().isEmpty()) continue;
        const QString key = lineCycleKey(r.itemCode, r.processSeq, r.machineCode);
        if (seen.contains(key)) continue;  // one row per item, step and machine
        seen.insert(key);
        cycles.push_back({r.itemCode, r.machineCode, r.processSeq, r.cycle});
        items.insert(r.itemCode);
    }
    if (cycles.empty()) return;

    QSet<QString> existing;
    queryInChunks(ctx.db, QStringLiteral("SELECT 品名コード,順序,機械コード FROM DB0492  WHERE 品名コード IN "), inList(items), {},
                  [&](db::Cursor& c) {
                      existing.insert(lineCycleKey(c.text(QStringLiteral("品名コード")), c.integer(QStringLiteral("順序")),
                                                   c.text(QStringLiteral("機械コード"))));
                  });

    const TableColumns& t = ctx.tables.db0492;
    KeyedRows updates;
    updates.keyColumns = {QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("機械コード")};
    NewRows inserts;
    for (const Cycle& c : cycles) {
        Assignments a;
        a.set(QStringLiteral("削除フラグ"), text(QStringLiteral("0")));
        a.set(QStringLiteral("サイクル"), c.cycle);
        if (existing.contains(lineCycleKey(c.item, c.seq, c.machine))) {
            setUpdateAudit(a, t, ctx.audit);
            updates.add({text(c.item), number(c.seq), text(c.machine)}, a);
        } else {
            a.set(QStringLiteral("品名コード"), text(c.item));
            a.set(QStringLiteral("順序"), number(c.seq));
            a.set(QStringLiteral("機械コード"), text(c.machine));
            setInsertAudit(a, t, ctx.audit);
            inserts.add(a);
        }
    }
    updateRows(ctx.db, t, updates);
    insertRows(ctx.db, t, inserts);
}

void updatePlanTotals(SaveContext& ctx)
{
    const QVariantList plans = inList(ctx.work.planNos);
    if (plans.isEmpty()) return;

    // One statement per 500 plans: the totals of the plan's own item at its
    // final step (順序 999) over its confirmed orders, and whether any
    // confirmed order exists. Deleted orders (merged away, emptied) no longer
    // count as instructed.
    const QString ofPlan = QStringLiteral(" FROM DB0253  WHERE DB0253.生産計画番号=DB0251.生産計画番号");
    const QString finalConfirmed = QStringLiteral(" AND DB0253.品名コード=DB0251.品名コード AND DB0253.順序=999 AND DB0253.手配確定区分='2'"
                                                  " AND DB0253.削除フラグ='0'");
    const QString anyConfirmed = QStringLiteral("CASE WHEN EXISTS (SELECT DB0253.手配確定区分") + ofPlan +
                                 QStringLiteral(" AND DB0253.手配確定区分='2' AND DB0253.削除フラグ='0') THEN '2' ELSE '1' END");
    Assignments audit;
    setUpdateAudit(audit, ctx.tables.db0251, ctx.audit);
    QStringList sets = {
        QStringLiteral("指示済数 = COALESCE((SELECT SUM(DB0253.手配数)") + ofPlan + finalConfirmed + QStringLiteral("), 0)"),
        QStringLiteral("生産完了日 = COALESCE((SELECT MAX(DB0253.納期)") + ofPlan + finalConfirmed + QStringLiteral("), '00000000')"),
        QStringLiteral("確定区分 = ") + anyConfirmed, QStringLiteral("指示済区分 = ") + anyConfirmed};
    for (const QString& c : audit.columns()) sets << c + QStringLiteral(" = ?");
    execInChunks(ctx.db, QStringLiteral("UPDATE DB0251 SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE 生産計画番号 IN "),
                 plans, {}, audit.values());
}

void writeCalendarDays(SaveContext& ctx)
{
    // Written from the values kept with each changed day, not from the
    // calendar tables: the machine may have left the rows since.
    struct Day {
        QString machine, date;
        const core::DayCalendar* values;
    };
    std::vector<Day> days;
    QSet<QString> machines, dates;
    for (const auto& [key, day] : ctx.changedDays) {
        if (key.second.isNull()) continue;
        const QString date = key.second.toYmdText();
        days.push_back({day.machineCode, date, &day.values});
        machines.insert(day.machineCode);
        dates.insert(date);
    }
    if (days.empty()) return;
    std::sort(days.begin(), days.end(), [](const Day& a, const Day& b) { return std::tie(a.machine, a.date) < std::tie(b.machine, b.date); });

    QSet<QString> existing;
    queryInChunks(
        ctx.db, QStringLiteral("SELECT 機械コード,年月日 FROM DB0491 WHERE 年月日 BETWEEN ? AND ? AND 機械コード IN "), inList(machines), {},
        [&](db::Cursor& c) { existing.insert(c.text(QStringLiteral("機械コード")) + QLatin1Char('|') + c.text(QStringLiteral("年月日"))); },
        {*std::min_element(dates.cbegin(), dates.cend()), *std::max_element(dates.cbegin(), dates.cend())});

    const TableColumns& t = ctx.tables.db0491;
    KeyedRows updates;
    updates.keyColumns = {QStringLiteral("機械コード"), QStringLiteral("年月日")};
    NewRows inserts;
    for (const Day& d : days) {
        const core::DayCalendar& m = *d.values;
        Assignments a;
        a.set(QStringLiteral("勤務時間"), number(m.KinmuJikan));
        a.set(QStringLiteral("開始時刻１"), text(m.ShiftTime[1].toHhnnss()));
        a.set(QStringLiteral("終了時刻１"), text(m.ShiftTime[2].toHhnnss()));
        a.set(QStringLiteral("開始時刻２"), text(m.ShiftTime[3].toHhnnss()));
        a.set(QStringLiteral("終了時刻２"), text(m.ShiftTime[4].toHhnnss()));
        a.set(QStringLiteral("停止タイトル"), text(m.stop.title));
        a.set(QStringLiteral("停止備考"), text(m.stop.remark));
        a.set(QStringLiteral("停止開始時刻"), text(m.stop.start.toHhnnss()));
        a.set(QStringLiteral("停止時間"), number(m.stop.hours));
        a.set(QStringLiteral("削除フラグ"), text(QStringLiteral("0")));
        if (existing.contains(d.machine + QLatin1Char('|') + d.date)) {
            setUpdateAudit(a, t, ctx.audit);
            updates.add({text(d.machine), text(d.date)}, a);
        } else {
            a.set(QStringLiteral("機械コード"), text(d.machine));
            a.set(QStringLiteral("年月日"), text(d.date));
            setInsertAudit(a, t, ctx.audit);
            inserts.add(a);
        }
    }
    updateRows(ctx.db, t, updates);
    insertRows(ctx.db, t, inserts);
}

}  // namespace store
