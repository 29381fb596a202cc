#include "store/saving/TagRows.h"

namespace store {

namespace {

QString tagKey(std::int64_t orderNo, std::int64_t lot) { return QString::number(orderNo) + QLatin1Char('|') + QString::number(lot); }

// Text of a read DB0253 column, with a fall-back for a blank one.
QString textOr(const QVariant& v, const QString& fallback)
{
    const QString s = v.isNull() ? QString() : v.toString();
    return s.trimmed().isEmpty() ? fallback : s;
}

}  // namespace

QString tagClassOf(const std::optional<RoutingTags>& routing)
{
    if (!routing) return QStringLiteral("0");
    const QString& c = routing->tagOutputClass;
    return c == QStringLiteral("0") || c == QStringLiteral("2") ? QStringLiteral("3") : QStringLiteral("1");
}

void addMissingTags(SaveContext& ctx)
{
    QVariantList orders;
    for (const MemberOrder& m : ctx.work.members)
        if (ctx.staysLive(m)) orders << number(ctx.numberOf(m));
    if (orders.isEmpty()) return;

    // The order tag rows that exist, by order and lot (lot 0 for items without
    // lots). A deleted one still holds its key: it is taken back into use.
    QSet<QString> live, deleted;
    QSet<std::int64_t> ordersWithTag;
    queryInChunks(
        ctx.db,
        QStringLiteral("SELECT 手配番号,ロット番号,削除フラグ FROM DB0259 WHERE 生産工場コード=? and 実績区分 = ' ' and 実績番号 = 0 "
                       "and 実績行番号 = 0 and 手配番号 IN "),
        orders, {},
        [&](db::Cursor& c) {
            const std::int64_t no = c.integer(QStringLiteral("手配番号"));
            const QString key = tagKey(no, c.integer(QStringLiteral("ロット番号")));
            if (c.text(QStringLiteral("削除フラグ")) == QStringLiteral("0")) {
                live.insert(key);
                ordersWithTag.insert(no);
            } else {
                deleted.insert(key);
            }
        },
        {ctx.settings.KojoCode});

    const TableColumns& t = ctx.tables.db0259;
    NewRows rows;
    KeyedRows revived;
    revived.keyColumns = {QStringLiteral("生産工場コード"), QStringLiteral("手配番号"), QStringLiteral("実績区分"),
                          QStringLiteral("実績番号"), QStringLiteral("実績行番号"), QStringLiteral("ロット番号")};
    for (const MemberOrder& m : ctx.work.members) {
        if (!ctx.staysLive(m)) continue;
        const std::int64_t no = ctx.numberOf(m);
        const std::optional<RoutingTags> routing = ctx.masters.routing(m.itemCode, m.processSeq);
        // A lot-managed item carries its order as the lot; others have one tag row per order.
        const bool lotManaged = routing && routing->lotControl == QStringLiteral("1");
        const std::int64_t lot = lotManaged ? no : 0;
        if (lotManaged ? live.contains(tagKey(no, lot)) : ordersWithTag.contains(no)) continue;

        // Order date, orderer and store come from the work order as it stands
        // (the source's for a new order, which is a copy of it).
        const std::int64_t rowNo = m.isNew() ? m.sourceOrderNo : m.orderNo;
        const QString orderDate = textOr(ctx.rowValue(rowNo, QStringLiteral("手配日")), ctx.audit.date);
        Assignments a;
        a.set(QStringLiteral("生産工場コード"), number(ctx.settings.KojoCode));
        a.set(QStringLiteral("手配番号"), number(no));
        a.set(QStringLiteral("実績区分"), text(QStringLiteral(" ")));
        a.set(QStringLiteral("実績番号"), number(0));
        a.set(QStringLiteral("実績行番号"), number(0));
        a.set(QStringLiteral("ロット別在庫管理区分"), text(routing ? routing->lotControl : QStringLiteral("0")));
        a.set(QStringLiteral("ロット番号"), number(lot));
        a.set(QStringLiteral("指示先コード"), text(ctx.destinationOf(m)));
        a.set(QStringLiteral("完成入庫場所"), ctx.rowValue(rowNo, QStringLiteral("完成入庫場所")));
        a.set(QStringLiteral("品名コード"), text(m.itemCode));
        a.set(QStringLiteral("品名＿諸口"), ctx.rowValue(rowNo, QStringLiteral("品名＿諸口")));
        a.set(QStringLiteral("順序"), number(m.processSeq));
        a.set(QStringLiteral("数量"), number(m.quantity));
        a.set(QStringLiteral("手配＿実績日"), text(orderDate));
        a.set(QStringLiteral("手配日"), text(orderDate));
        a.set(QStringLiteral("手配担当者コード"), text(textOr(ctx.rowValue(rowNo, QStringLiteral("手配担当者コード")), ctx.audit.operatorCode)));
        a.set(QStringLiteral("現品票発行区分"), text(tagClassOf(routing)));
        a.set(QStringLiteral("現品票発行日"), text(QStringLiteral("00000000")));
        a.set(QStringLiteral("削除フラグ"), text(QStringLiteral("0")));
        if (deleted.contains(tagKey(no, lot))) {
            setUpdateAudit(a, t, ctx.audit);
            revived.add({number(ctx.settings.KojoCode), number(no), text(QStringLiteral(" ")), number(0), number(0), number(lot)}, a);
        } else {
            setInsertAudit(a, t, ctx.audit);
            rows.add(a);
        }
    }
    insertRows(ctx.db, t, rows);
    updateRows(ctx.db, t, revived);
}

}  // namespace store
