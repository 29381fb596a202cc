#include "store/saving/ComponentRows.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace store {

namespace {

QString componentKey(std::int64_t orderNo, const QString& item) { return QString::number(orderNo) + QLatin1Char('|') + item.trimmed(); }

struct BomLine {
    QString supplyControl;  // 支給制御区分
    QString chargeKind;     // 有償無償区分
};

QString bomKey(const QString& parent, int seq, const QString& child)
{
    return parent.trimmed() + QLatin1Char('|') + QString::number(seq) + QLatin1Char('|') + child.trimmed();
}

// The bar's requirement for one member: a bar of several orders shares its
// requirement among them by quantity.
double requirementOf(const plan::PlanRecord& r, const MemberOrder& m, int slot)
{
    const double whole = r.components[std::size_t(slot)].requiredQty;
    if (r.orderQty == 0 || r.orderQty == m.quantity) return whole;
    return whole * double(m.quantity) / double(r.orderQty);
}

// new quantity ÷ the quantity the order is stored with (1 when that is unknown or 0).
double quantityShare(const SaveContext& ctx, std::int64_t storedOrderNo, std::int64_t quantity)
{
    const double stored = db::numberFromText(ctx.rowValue(storedOrderNo, QStringLiteral("手配数")).toString());
    return stored == 0 ? 1.0 : double(quantity) / stored;
}

// To the thousandth: a proportion of a decimal requirement carries binary noise.
double roundedRequirement(double v) { return std::round(v * 1000) / 1000; }

}  // namespace

void copySplitComponents(SaveContext& ctx)
{
    const QVariantList sources = inList(ctx.work.sourceOrders());
    if (sources.isEmpty()) return;
    const TableColumns& t = ctx.tables.db0252;
    QHash<std::int64_t, std::vector<QVariantList>> rowsOfSource;
    queryInChunks(ctx.db, QStringLiteral("SELECT * FROM DB0252 WHERE 上位手配番号 IN "), sources, {}, [&](db::Cursor& c) {
        QVariantList values;
        for (const QString& n : t.names()) values << c.value(n);
        rowsOfSource[c.integer(QStringLiteral("上位手配番号"))].push_back(values);
    });

    const int required = t.indexOf(QStringLiteral("必要数"));
    NewRows rows;
    for (const MemberOrder& m : ctx.work.members) {
        if (!m.isNew()) continue;
        const std::int64_t no = ctx.numberOf(m);
        // The bar's own group gets the bar's requirements below; another group's
        // member takes its source's in proportion to the quantity it carries.
        const double share = ctx.inOwnGroup(m) ? 1.0 : quantityShare(ctx, m.sourceOrderNo, m.quantity);
        for (const QVariantList& source : rowsOfSource.value(m.sourceOrderNo)) {
            Assignments a;
            for (int i = 0; i < t.names().size(); ++i) a.set(t.names()[i], source.at(i));
            if (share != 1.0 && required >= 0) a.set(QStringLiteral("必要数"), roundedRequirement(db::numberFromText(source.at(required).toString()) * share));
            a.set(QStringLiteral("上位手配番号"), number(no));
            if (t.has(QStringLiteral("手配番号"))) a.set(QStringLiteral("手配番号"), number(no));
            a.set(QStringLiteral("実績数"), number(0));
            a.set(QStringLiteral("支給数"), number(0));
            a.set(QStringLiteral("完納区分"), text(QStringLiteral("0")));
            setInsertAudit(a, t, ctx.audit);
            rows.add(a);
        }
    }
    insertRows(ctx.db, t, rows);
}

namespace {

// Existing orders of another group whose quantity changed (a split took part
// of an outer ring): their own live components follow in proportion.
void scaleOtherGroupComponents(SaveContext& ctx)
{
    QHash<std::int64_t, double> shareOf;
    QVariantList orders;
    for (const MemberOrder& m : ctx.work.members) {
        if (m.isNew() || ctx.inOwnGroup(m) || !ctx.staysLive(m)) continue;
        const double share = quantityShare(ctx, m.orderNo, m.quantity);
        if (share == 1.0) continue;
        shareOf.insert(m.orderNo, share);
        orders << number(m.orderNo);
    }
    if (orders.isEmpty()) return;
    const TableColumns& t = ctx.tables.db0252;
    KeyedRows updates;
    updates.keyColumns = {QStringLiteral("上位手配番号"), QStringLiteral("品名コード"), QStringLiteral("順序")};
    queryInChunks(ctx.db, QStringLiteral("SELECT 上位手配番号,品名コード,順序,必要数 FROM DB0252 WHERE 上位手配番号 IN "), orders,
                  QStringLiteral(" AND 削除フラグ='0'"), [&](db::Cursor& c) {
                      const std::int64_t no = c.integer(QStringLiteral("上位手配番号"));
                      Assignments a;
                      a.set(QStringLiteral("必要数"), roundedRequirement(c.number(QStringLiteral("必要数")) * shareOf.value(no, 1.0)));
                      setUpdateAudit(a, t, ctx.audit);
                      updates.add({number(no), text(c.text(QStringLiteral("品名コード"))), number(c.integer(QStringLiteral("順序")))}, a);
                  });
    updateRows(ctx.db, t, updates);
}

}  // namespace

void rebuildComponents(SaveContext& ctx)
{
    const TableColumns& t = ctx.tables.db0252;
    // The orders whose components are the bar's, and those no longer live.
    QVariantList orders;
    for (const MemberOrder& m : ctx.work.members)
        if (ctx.inOwnGroup(m) || !ctx.staysLive(m)) orders << number(ctx.numberOf(m));
    scaleOtherGroupComponents(ctx);
    if (orders.isEmpty()) return;

    // 1. Rows are marked deleted: every row of an order that no longer carries a
    // quantity, and of a live order the rows of components the bar held as
    // stored but no longer has. The others are revived below, one by one; rows
    // the plan never loaded (an order has more components than a bar keeps)
    // are left exactly as they are.
    Assignments deleted;
    deleted.set(QStringLiteral("削除フラグ"), text(QStringLiteral("1")));
    setUpdateAudit(deleted, t, ctx.audit);
    QStringList sets;
    for (const QString& c : deleted.columns()) sets << c + QStringLiteral(" = ?");
    const QString deleteHead = QStringLiteral("UPDATE DB0252 SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ");
    QVariantList deadOrders;
    for (const MemberOrder& m : ctx.work.members) {
        if (!ctx.staysLive(m)) {
            deadOrders << number(ctx.numberOf(m));
            continue;
        }
        if (!ctx.inOwnGroup(m)) continue;  // an outer ring keeps components of its own
        const plan::PlanRecord& r = ctx.record(m);
        QVariantList dropped;
        for (const QString& item : r.storedComponentItems) {
            const bool kept = std::any_of(r.components.begin(), r.components.end(),
                                          [&](const plan::Component& c) { return c.itemCode.trimmed() == item; });
            if (!kept && !item.isEmpty()) dropped << text(item);
        }
        if (!dropped.isEmpty())
            execInChunks(ctx.db, deleteHead + QStringLiteral("上位手配番号 = ? AND RTRIM(品名コード) IN "), dropped, {},
                         deleted.values() + QVariantList{number(ctx.numberOf(m))});
    }
    if (!deadOrders.isEmpty())
        execInChunks(ctx.db, deleteHead + QStringLiteral("上位手配番号 IN "), deadOrders, {}, deleted.values());

    // 2. The rows that exist, by order and component.
    QHash<QString, QList<int>> stepsOf;
    queryInChunks(ctx.db, QStringLiteral("SELECT 上位手配番号,品名コード,順序 FROM DB0252 WHERE 上位手配番号 IN "), orders, {},
                  [&](db::Cursor& c) {
                      stepsOf[componentKey(c.integer(QStringLiteral("上位手配番号")), c.text(QStringLiteral("品名コード")))]
                          << int(c.integer(QStringLiteral("順序")));
                  });

    // 3. What is to be revived and what is missing.
    struct Wanted {
        const MemberOrder* member;
        int slot;
    };
    std::vector<Wanted> revive, missing;
    QSet<QString> parentItems, childItems;
    for (const MemberOrder& m : ctx.work.members) {
        if (!ctx.staysLive(m) || !ctx.inOwnGroup(m)) continue;
        const plan::PlanRecord& r = ctx.record(m);
        QSet<QString> done;
        for (int k = 0; k < int(r.components.size()); ++k) {
            const QString item = r.components[std::size_t(k)].itemCode.trimmed();
            if (item.isEmpty() || done.contains(item)) continue;
            done.insert(item);
            if (stepsOf.contains(componentKey(ctx.numberOf(m), item))) {
                revive.push_back({&m, k});
            } else {
                missing.push_back({&m, k});
                parentItems.insert(m.itemCode);
                childItems.insert(item);
            }
        }
    }

    const auto common = [&](Assignments& a, const MemberOrder& m, int k) {
        const plan::PlanRecord& r = ctx.record(m);
        a.set(QStringLiteral("削除フラグ"), text(QStringLiteral("0")));
        // Never a requirement the column cannot mean: the stored one stays.
        if (const double need = requirementOf(r, m, k); std::isfinite(need)) a.set(QStringLiteral("必要数"), need);
        a.set(QStringLiteral("確定区分"), text(plan::textOf(r.confirmKind)));
        a.set(QStringLiteral("開始日"), text(r.startDate.toYmdText()));
        const plan::Component& c = r.components[std::size_t(k)];
        a.set(QStringLiteral("原単位分子"), c.unitNum);
        a.set(QStringLiteral("原単位分母"), c.unitDen);
        a.set(QStringLiteral("不良率"), c.defectRate);
    };

    // 4. Revive the bar's components.
    KeyedRows updates;
    updates.keyColumns = {QStringLiteral("上位手配番号"), QStringLiteral("品名コード"), QStringLiteral("順序")};
    for (const Wanted& w : revive) {
        const std::int64_t no = ctx.numberOf(*w.member);
        const QString item = ctx.record(*w.member).components[std::size_t(w.slot)].itemCode;
        for (int step : stepsOf.value(componentKey(no, item))) {
            Assignments a;
            common(a, *w.member, w.slot);
            setUpdateAudit(a, t, ctx.audit);
            updates.add({number(no), text(item), number(step)}, a);
        }
    }
    updateRows(ctx.db, t, updates);
    if (missing.empty()) return;

    // 5. Add the missing ones that the bill of materials lists for the member's item and step.
    QHash<QString, BomLine> bom;
    queryInChunks(
        ctx.db, QStringLiteral("SELECT DB0383.* FROM DB0383  WHERE 生産工場コード = ? AND 上位品名コード IN "), inList(parentItems),
        QStringLiteral(" AND 削除フラグ = '0' ORDER BY 表示順"),
        [&](db::Cursor& c) {
            const QString key = bomKey(c.text(QStringLiteral("上位品名コード")), int(c.integer(QStringLiteral("順序"))),
                                       c.text(QStringLiteral("下位品名コード")));
            if (!bom.contains(key)) bom.insert(key, BomLine{c.text(QStringLiteral("支給制御区分")), c.text(QStringLiteral("有償無償区分"))});
        },
        {ctx.settings.KojoCode});
    // A made component is consumed from its last step; bought material has none (0).
    QHash<QString, int> lastStep;
    queryInChunks(
        ctx.db, QStringLiteral("SELECT 品名コード,MAX(順序) AS 最終順序 FROM DB0381 WHERE 生産工場コード = ? AND 品名コード IN "), inList(childItems),
        QStringLiteral(" GROUP BY 品名コード"),
        [&](db::Cursor& c) { lastStep.insert(c.text(QStringLiteral("品名コード")).trimmed(), int(c.integer(QStringLiteral("最終順序")))); },
        {ctx.settings.KojoCode});

    NewRows inserts;
    for (const Wanted& w : missing) {
        const MemberOrder& m = *w.member;
        const QString item = ctx.record(m).components[std::size_t(w.slot)].itemCode.trimmed();
        const auto line = bom.constFind(bomKey(m.itemCode, m.processSeq, item));
        if (line == bom.cend()) continue;  // no longer in the bill of materials
        Assignments a;
        a.set(QStringLiteral("上位手配番号"), number(ctx.numberOf(m)));
        a.set(QStringLiteral("生産工場コード"), number(ctx.settings.KojoCode));
        a.set(QStringLiteral("品名コード"), text(item));
        a.set(QStringLiteral("順序"), number(lastStep.value(item, 0)));
        a.set(QStringLiteral("実績数"), number(0));
        a.set(QStringLiteral("支給数"), number(0));
        a.set(QStringLiteral("完納区分"), text(QStringLiteral("0")));
        a.set(QStringLiteral("上位品名コード"), text(m.itemCode));
        a.set(QStringLiteral("上位順序"), number(m.processSeq));
        a.set(QStringLiteral("生産計画番号"), number(m.planNo));
        a.set(QStringLiteral("支給制御区分"), text(line->supplyControl));
        a.set(QStringLiteral("有償無償区分"), text(line->chargeKind));
        a.set(QStringLiteral("支給完納区分"), text(QStringLiteral("0")));
        a.set(QStringLiteral("品名＿諸口"), text(QString()));
        a.set(QStringLiteral("ﾛｯﾄ消費方法区分"), text(QStringLiteral("0")));
        common(a, m, w.slot);
        setInsertAudit(a, t, ctx.audit);
        inserts.add(a);
    }
    insertRows(ctx.db, t, inserts);
}

}  // namespace store
