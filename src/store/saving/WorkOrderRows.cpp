#include "store/saving/WorkOrderRows.h"

#include "store/loading/RowStamp.h"
#include "store/saving/OrderNumbers.h"

#include <QRegularExpression>
#include <cmath>

namespace store {

namespace {

// Reads DB0253 rows into ctx.rows, keyed by order number.
void readOrderRows(SaveContext& ctx, const QVariantList& orders)
{
    const QStringList& names = ctx.tables.db0253.names();
    // Every chunk runs the same statement, so the columns are found once.
    std::vector<int> columns;
    std::optional<store::OrderRowStamper> stamper;
    queryInChunks(ctx.db, QStringLiteral("SELECT * FROM DB0253 WHERE 手配番号 IN "), orders, {}, [&](db::Cursor& c) {
        if (!stamper) {
            stamper.emplace(c);
            for (const QString& n : names) columns.push_back(c.column(n));
        }
        OrderRow row;
        row.values.reserve(names.size());
        for (int col : columns) row.values << (col < 0 ? QVariant() : c.value(col));
        row.stamp = stamper->stamp(c);
        ctx.rows.insert(c.integer(QStringLiteral("手配番号")), row);
    });
}

QString ymd(core::Date d) { return d.toYmdText(); }

// A price in millionths: decimal text exactly; a driver's double (SQLite)
// to the nearest millionth, which is what the column keeps. nullopt for
// anything that is no number or beyond the column.
std::optional<std::int64_t> millionthsOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::Double) {
        const double scaled = v.toDouble() * 1e6;
        if (!std::isfinite(scaled) || std::fabs(scaled) >= 1e18) return std::nullopt;
        return std::int64_t(std::llround(scaled));
    }
    static const QRegularExpression decimal(QStringLiteral("^\\s*([+-]?)(\\d{1,12})(?:\\.(\\d*))?\\s*$"));
    const QRegularExpressionMatch m = decimal.match(v.toString());
    if (!m.hasMatch()) return std::nullopt;
    const QString decimals = m.captured(3);
    if (decimals.size() > 6) return millionthsOf(QVariant(v.toString().toDouble()));
    const std::int64_t whole = m.captured(2).toLongLong() * 1'000'000 + (decimals + QStringLiteral("000000")).left(6).toLongLong();
    return m.captured(1) == QStringLiteral("-") ? -whole : whole;
}

void setAmounts(Assignments& a, const Amounts& x)
{
    a.set(QStringLiteral("金額"), x.amount);
    a.set(QStringLiteral("消費税額"), x.tax);
    a.set(QStringLiteral("合計金額"), x.total);
}

// Values loading had to make up (unreadable times, minutes beyond a bar's
// range) are not written over what the row holds while the bar still holds
// them: only the planner's change replaces a stored value.
void keepWhatLoadingMadeUp(const SaveContext& ctx, const MemberOrder& m, Assignments& a)
{
    if (m.isNew()) return;
    const auto stamp = ctx.plan.loadedStamps.constFind(m.orderNo);
    if (stamp == ctx.plan.loadedStamps.cend()) return;
    const plan::PlanRecord& r = ctx.record(m);
    const auto keep = [&](const char16_t* column) {
        const QString name = QString::fromUtf16(column);
        a.set(name, ctx.rowValue(m.orderNo, name));
    };
    if (stamp->placementMadeUp && r.start() == stamp->madeUpStart && r.end() == stamp->madeUpEnd)
        for (const char16_t* c : {u"作業開始日付", u"作業終了日付", u"作業開始時間", u"作業終了時間"}) keep(c);
    const bool setupKept = stamp->setupMadeUp && r.setupMinutes == 0;
    const bool workKept = stamp->workMadeUp && r.workMinutes == 0;
    if (setupKept) keep(u"段取時間");
    if (workKept) keep(u"作業時間");
    if (setupKept || workKept) keep(u"GNT所要時間＿分");
}

}  // namespace

std::optional<Amounts> amountsOf(const QVariant& unitPrice, std::int64_t quantity)
{
    const std::optional<std::int64_t> price = millionthsOf(unitPrice);
    if (!price) return std::nullopt;
    // 18 digits with 6 decimals: the amount in millionths must stay below 10^18.
    constexpr std::int64_t kLimit = 999'999'999'999'999'999;
    const std::int64_t magnitude = *price < 0 ? -*price : *price;
    const std::int64_t count = quantity < 0 ? -quantity : quantity;
    if (count != 0 && magnitude > kLimit / count) return std::nullopt;
    const std::int64_t amount = *price * quantity;  // millionths, exact
    // Tax: a tenth of the amount, down to the yen.
    const std::int64_t tenth = amount / 10;
    std::int64_t taxYen = tenth / 1'000'000;
    if (tenth % 1'000'000 != 0 && tenth < 0) --taxYen;  // floor, also below zero
    Amounts x;
    x.amount = double(amount) / 1e6;
    x.tax = double(taxYen);
    x.total = double(amount + taxYen * 1'000'000) / 1e6;
    return x;
}

double hoursOfMinutes(std::int64_t minutes)
{
    const std::int64_t micro = minutes * 1'000'000 / 60;
    return double(micro) / 1'000'000.0;
}

void lockAndReadOrders(SaveContext& ctx)
{
    std::vector<std::int64_t> orders = ctx.work.existingOrders();
    for (std::int64_t no : ctx.work.sourceOrders()) orders.push_back(no);
    ctx.rows.clear();
    if (orders.empty()) return;
    const QVariantList list = inList(orders);
    // Taking the row locks first makes another program's change wait for this
    // save instead of slipping in between the check and the write.
    if (!ctx.db.dialect().writeTransactionExcludesWriters())
        execInChunks(ctx.db, QStringLiteral("UPDATE DB0253 SET 削除フラグ = 削除フラグ WHERE 手配番号 IN "), list);
    readOrderRows(ctx, list);
}

std::vector<std::int64_t> changedSinceLoading(const SaveContext& ctx, const QHash<std::int64_t, plan::LoadedRowStamp>& expected)
{
    std::vector<std::int64_t> changed;
    for (std::int64_t no : ctx.work.existingOrders()) {
        const auto want = expected.constFind(no);
        if (want == expected.cend()) continue;  // never loaded here: nothing to compare with
        const auto row = ctx.rows.constFind(no);
        if (row == ctx.rows.cend() || !(row->stamp == *want)) changed.push_back(no);
    }
    return changed;
}

void deleteMergedAwayOrders(SaveContext& ctx)
{
    if (ctx.work.mergedAwayOrders.empty()) return;
    const QVariantList list = inList(ctx.work.mergedAwayOrders);
    for (const auto& [table, key] : {std::pair{&ctx.tables.db0253, QStringLiteral("手配番号")},
                                     std::pair{&ctx.tables.db0252, QStringLiteral("上位手配番号")}}) {
        Assignments a;
        a.set(QStringLiteral("削除フラグ"), text(QStringLiteral("1")));
        setUpdateAudit(a, *table, ctx.audit);
        QStringList sets;
        for (const QString& c : a.columns()) sets << c + QStringLiteral(" = ?");
        execInChunks(ctx.db, QStringLiteral("UPDATE ") + table->table() + QStringLiteral(" SET ") + sets.join(QStringLiteral(", ")) +
                                 QStringLiteral(" WHERE ") + key + QStringLiteral(" IN "),
                     list, {}, a.values());
    }
    for (std::int64_t no : ctx.work.mergedAwayOrders) ctx.product.deletedOrders.insert(no);
}

Assignments workOrderColumns(const SaveContext& ctx, const MemberOrder& m)
{
    const plan::PlanRecord& r = ctx.record(m);
    const QString dest = ctx.destinationOf(m);
    Assignments a;
    a.set(QStringLiteral("生産計画番号"), number(m.planNo));
    a.set(QStringLiteral("品名コード"), text(m.itemCode));
    a.set(QStringLiteral("順序"), number(m.processSeq));
    if (r.inOutKind == plan::InOutKind::Outside) {
        // Work placed with a subcontractor: an outside purchase, accepted on receipt.
        a.set(QStringLiteral("手配区分"), text(QStringLiteral("2")));
        a.set(QStringLiteral("社内社外区分"), text(plan::textOf(plan::InOutKind::Outside)));
        a.set(QStringLiteral("仕入区分"), text(QStringLiteral("2")));
        a.set(QStringLiteral("受入即検収区分"), text(QStringLiteral("1")));
    } else {
        a.set(QStringLiteral("手配区分"), text(ctx.masters.supplierClass(dest) == QStringLiteral("1") ? QStringLiteral("2") : QStringLiteral("3")));
        a.set(QStringLiteral("社内社外区分"), text(plan::textOf(plan::InOutKind::InHouse)));
        a.set(QStringLiteral("仕入区分"), text(QStringLiteral(" ")));
        a.set(QStringLiteral("受入即検収区分"), text(r.acceptInspectKind));
    }
    a.set(QStringLiteral("手配確定区分"), text(plan::textOf(r.confirmKind)));
    a.set(QStringLiteral("生産工場コード"), number(ctx.settings.KojoCode));
    a.set(QStringLiteral("スケジューラ固定区分"), text(plan::textOf(r.fixKind, r.fixKindOtherText)));
    if (ctx.inOwnGroup(m)) {
        a.set(QStringLiteral("GNT表示区分"), text(QString::number(r.ganttDisplayKind)));
        a.set(QStringLiteral("サイクル"), r.cycle);
        a.set(QStringLiteral("備考"), text(r.remarks));
    } else {
        // Every row of a write assigns the same columns: the other group's own values, as stored.
        const std::int64_t stored = m.isNew() ? m.sourceOrderNo : m.orderNo;
        for (const char16_t* c : {u"GNT表示区分", u"サイクル", u"備考"})
            a.set(QString::fromUtf16(c), ctx.rowValue(stored, QString::fromUtf16(c)));
    }
    a.set(QStringLiteral("機械コード"), text(r.machineCode));
    a.set(QStringLiteral("指示先コード"), text(dest));
    // The cost is booked where the work is done.
    a.set(QStringLiteral("計上先コード"), text(dest));
    a.set(QStringLiteral("手配数"), number(m.quantity));
    a.set(QStringLiteral("発注数"), number(m.quantity));
    a.set(QStringLiteral("作業開始日付"), text(ymd(r.startDate)));
    a.set(QStringLiteral("作業終了日付"), text(ymd(r.endDate)));
    a.set(QStringLiteral("作業開始時間"), text(r.startTime.toHhnnss()));
    a.set(QStringLiteral("作業終了時間"), text(r.endTime.toHhnnss()));
    a.set(QStringLiteral("開始日"), text(ymd(r.startDay)));
    a.set(QStringLiteral("納期"), text(ymd(r.dueDate)));
    a.set(QStringLiteral("GNT初期納期"), text(ymd(r.initialDueDate)));
    a.set(QStringLiteral("GNT所要時間＿分"), number(std::int64_t(r.setupMinutes) + r.workMinutes));
    a.set(QStringLiteral("作業時間"), hoursOfMinutes(r.workMinutes));
    a.set(QStringLiteral("必要人員"), number(r.requiredPersons));
    a.set(QStringLiteral("段取時間"), hoursOfMinutes(r.setupMinutes));
    a.set(QStringLiteral("削除フラグ"), text(ctx.staysLive(m) ? QStringLiteral("0") : QStringLiteral("1")));
    keepWhatLoadingMadeUp(ctx, m, a);

    // Both write paths give 手配区分 "2" or "3", so every order is priced: the
    // destination's newest price, else the general one; without any price the
    // row's own 単価 stays and only the amounts follow the quantity.
    const std::int64_t rowNo = m.isNew() ? m.sourceOrderNo : m.orderNo;
    const std::optional<UnitPrice> price = ctx.masters.priceFor(dest, m.itemCode, m.processSeq);
    const QVariant unitPrice = price ? price->price : ctx.rowValue(rowNo, QStringLiteral("単価"));
    a.set(QStringLiteral("単価"), unitPrice);
    const std::optional<Amounts> amounts = unitPrice.isNull() ? std::nullopt : amountsOf(unitPrice, m.quantity);
    if (amounts) {
        setAmounts(a, *amounts);
    } else {  // no price, or none that gives an amount: the row's own amounts stay
        for (const char16_t* c : {u"金額", u"消費税額", u"合計金額"})
            a.set(QString::fromUtf16(c), ctx.rowValue(rowNo, QString::fromUtf16(c)));
    }
    return a;
}

void createSplitOrders(SaveContext& ctx)
{
    const int count = ctx.work.newOrderCount();
    if (count == 0) return;
    std::int64_t next = takeOrderNumbers(ctx.db, ctx.tables.db0018, ctx.audit, count);
    for (const MemberOrder& m : ctx.work.members)
        if (m.isNew()) ctx.product.numberOfTemporary.insert(m.orderNo, next++);

    // A copied 上位手配番号 stays only while that parent order is live.
    const TableColumns& t = ctx.tables.db0253;
    const int parentColumn = t.indexOf(QStringLiteral("上位手配番号"));
    QVariantList parents;
    for (std::int64_t source : ctx.work.sourceOrders()) {
        const auto row = ctx.rows.constFind(source);
        if (row == ctx.rows.cend())
            throw db::Error(QStringLiteral("分割元の手配 %1 が見つかりません").arg(source));
        const std::int64_t parent = db::integerFromText(row->values.at(parentColumn).toString());
        if (parent != 0) parents << number(parent);
    }
    QSet<std::int64_t> liveParents;
    if (!parents.isEmpty()) {
        queryInChunks(ctx.db, QStringLiteral("SELECT 手配番号,削除フラグ FROM DB0253 WHERE 手配番号 IN "), parents, {},
                      [&](db::Cursor& c) {
                          if (c.text(QStringLiteral("削除フラグ")) == QStringLiteral("0")) liveParents.insert(c.integer(QStringLiteral("手配番号")));
                      });
    }

    NewRows rows;
    for (const MemberOrder& m : ctx.work.members) {
        if (!m.isNew()) continue;
        const OrderRow& source = ctx.rows[m.sourceOrderNo];
        Assignments a;
        for (int i = 0; i < t.names().size(); ++i) a.set(t.names()[i], source.values.at(i));
        const std::int64_t parent = db::integerFromText(source.values.at(parentColumn).toString());
        a.set(QStringLiteral("手配番号"), number(ctx.numberOf(m)));
        a.set(QStringLiteral("上位手配番号"), number(liveParents.contains(parent) ? parent : 0));
        // The new order starts without any result of its source.
        for (const char16_t* c : {u"指示書発行日", u"最終実績日", u"製造開始日", u"製造終了日"})
            a.set(QString::fromUtf16(c), text(QStringLiteral("00000000")));
        for (const char16_t* c : {u"受入実績数", u"手配実績数", u"手配実績数＿発注単位", u"受入実績数＿発注単位"})
            a.set(QString::fromUtf16(c), number(0));
        a.set(QStringLiteral("完納区分"), text(QStringLiteral("0")));
        const Assignments columns = workOrderColumns(ctx, m);
        for (int i = 0; i < columns.columns().size(); ++i) a.set(columns.columns()[i], columns.values()[i]);
        setInsertAudit(a, t, ctx.audit);
        rows.add(a);
    }
    insertRows(ctx.db, t, rows);
    ctx.product.ordersCreated = count;
}

void rewriteChangedOrders(SaveContext& ctx)
{
    KeyedRows rows;
    rows.keyColumns = {QStringLiteral("手配番号")};
    for (const MemberOrder& m : ctx.work.members) {
        if (m.isNew()) continue;
        Assignments a = workOrderColumns(ctx, m);
        setUpdateAudit(a, ctx.tables.db0253, ctx.audit);
        rows.add({number(m.orderNo)}, a);
        if (!ctx.staysLive(m)) ctx.product.deletedOrders.insert(m.orderNo);
    }
    if (rows.keys.empty()) return;
    ctx.product.ordersWritten = updateRows(ctx.db, ctx.tables.db0253, rows);
}

void readBackStamps(SaveContext& ctx)
{
    QVariantList written;
    for (const MemberOrder& m : ctx.work.members) written << number(ctx.numberOf(m));
    if (written.isEmpty()) return;
    std::optional<store::OrderRowStamper> stamper;
    queryInChunks(ctx.db, QStringLiteral("SELECT * FROM DB0253 WHERE 手配番号 IN "), written, {}, [&](db::Cursor& c) {
        if (!stamper) stamper.emplace(c);
        ctx.product.stamps.insert(c.integer(QStringLiteral("手配番号")), stamper->stamp(c));
    });
}

QString SaveContext::destinationOf(const MemberOrder& m) const
{
    const auto it = product.destinationOfRecord.constFind(m.recordNo);
    return it != product.destinationOfRecord.cend() ? *it : record(m).destCode;
}

QVariant SaveContext::rowValue(std::int64_t orderNo, const QString& column) const
{
    const auto row = rows.constFind(orderNo);
    if (row == rows.cend()) return {};
    const int i = tables.db0253.indexOf(column);
    return i < 0 ? QVariant() : row->values.at(i);
}

SaveTables::SaveTables(db::Database& db)
    : db0018(db, QStringLiteral("DB0018")), db0251(db, QStringLiteral("DB0251")), db0252(db, QStringLiteral("DB0252")),
      db0253(db, QStringLiteral("DB0253")), db0259(db, QStringLiteral("DB0259")), db0491(db, QStringLiteral("DB0491")),
      db0492(db, QStringLiteral("DB0492"))
{
}

}  // namespace store
