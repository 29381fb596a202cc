// Writes the laid-out plans and orders: DB0251, DB0253, DB0252, the customer
// orders and requirement plans with their links, unit prices and the number row.

#include "DemoOrders.h"
#include "reschedule/Requirement.h"

#include <cmath>

namespace demoplant {

namespace {

QString ymd(core::Date d) { return d.toYmdText(); }  // "00000000" for no date

QString flag(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }

QString completion(const Order& o) { return o.state == OrderState::Completed ? QStringLiteral("2") : QStringLiteral("0"); }

QString deletion(const Order& o) { return flag(o.state == OrderState::Deleted); }

// The planner's requirement rule for a bill-of-materials line, with the rounding
// of the component's unit: the stored 必要数 is what a quantity edit would give.
reschedule::RequirementRule requirementRuleOf(const PlantModel& model, const BomLine& b, double defect)
{
    reschedule::RequirementRule rule{QStringLiteral("1"), 0, b.num, b.den, defect};
    if (const Item* child = model.item(b.child))
        if (const auto u = model.units.find(child->unitCode); u != model.units.end()) {
            rule.roundingKind = u->second.roundingKind;
            rule.digitPosition = u->second.digitPosition;
        }
    return rule;
}

void writePlans(db::Database& db, const PlantModel& model, const OrderBook& book)
{
    TableWriter plans(db, QStringLiteral("DB0251"),
                      {QStringLiteral("生産計画番号"), QStringLiteral("?生産工場コード"), QStringLiteral("品名コード"),
                       QStringLiteral("計画数"), QStringLiteral("指示済数"), QStringLiteral("生産完了日"),
                       QStringLiteral("確定区分"), QStringLiteral("指示済区分")}, model.audit);
    for (const Plan& p : book.plans)
        plans.add({p.no, model.options.factory, p.item, p.qty, p.qty, ymd(p.due), QStringLiteral("2"), QStringLiteral("1")});
    plans.flush();
}

void writeWorkOrders(db::Database& db, const PlantModel& model, const OrderBook& book)
{
    static const QStringList columns = {
        QStringLiteral("手配番号"), QStringLiteral("上位手配番号"), QStringLiteral("生産計画番号"), QStringLiteral("生産工場コード"),
        QStringLiteral("品名コード"), QStringLiteral("品名＿諸口"), QStringLiteral("順序"), QStringLiteral("工程内容コード"),
        QStringLiteral("機械コード"), QStringLiteral("ラインコード"), QStringLiteral("指示先コード"), QStringLiteral("計上先コード"),
        QStringLiteral("金型番号"), QStringLiteral("セット品グループ"), QStringLiteral("セット品代表手配番号"), QStringLiteral("手配区分"),
        QStringLiteral("社内社外区分"), QStringLiteral("仕入区分"), QStringLiteral("手配確定区分"), QStringLiteral("スケジューラ固定区分"),
        QStringLiteral("受入即検収区分"), QStringLiteral("GNT表示区分"), QStringLiteral("完納区分"), QStringLiteral("作業開始日付"),
        QStringLiteral("作業開始時間"), QStringLiteral("作業終了日付"), QStringLiteral("作業終了時間"), QStringLiteral("開始日"),
        QStringLiteral("納期"), QStringLiteral("GNT初期納期"), QStringLiteral("GNT所要時間＿分"), QStringLiteral("作業時間"),
        QStringLiteral("段取時間"), QStringLiteral("必要人員"), QStringLiteral("実績時間"), QStringLiteral("手配数"),
        QStringLiteral("発注数"), QStringLiteral("手配実績数"), QStringLiteral("受入実績数"), QStringLiteral("手配実績数＿発注単位"),
        QStringLiteral("受入実績数＿発注単位"), QStringLiteral("最終実績日"), QStringLiteral("製造開始日"), QStringLiteral("製造終了日"),
        QStringLiteral("指示書発行日"), QStringLiteral("サイクル"), QStringLiteral("備考"), QStringLiteral("単価"),
        QStringLiteral("金額"), QStringLiteral("消費税額"), QStringLiteral("合計金額"), QStringLiteral("削除フラグ"),
        QStringLiteral("?手配日"), QStringLiteral("?手配担当者コード"), QStringLiteral("?完成入庫場所")};
    TableWriter orders(db, QStringLiteral("DB0253"), columns, model.audit);
    const QString zeroTime = QStringLiteral("000000");
    for (const Order& o : book.orders) {
        const bool out = o.outside();
        const bool timed = o.placed;
        const QString confirm = (o.placed || o.confirmedWithoutTimes) ? QStringLiteral("2") : QStringLiteral("1");
        const QVariant initialDue = !o.initialDue.isNull() ? QVariant(ymd(o.initialDue))
                                    : o.initialDueZeroText ? QVariant(QStringLiteral("00000000")) : QVariant();
        const double amount = std::round(o.unitPrice * o.qty);
        const double tax = std::floor(amount * 0.1);
        const bool started = o.received > 0;
        orders.add({
            o.no, o.parentNo, o.planNo, model.options.factory,
            o.item->code, o.looseName, o.step->seq, o.step->contentCode,
            out ? QStringLiteral(" ") : o.machine, QStringLiteral(" "), o.dest, o.dest,
            o.item->mouldNo.isEmpty() || !o.step->moulded ? QString() : o.item->mouldNo, o.setGroup, o.setRep,
            out ? QStringLiteral("3") : QStringLiteral("1"),
            out ? QStringLiteral("2") : QStringLiteral("1"), out ? QStringLiteral("2") : QStringLiteral(" "), confirm, o.fixKind,
            out ? QStringLiteral("1") : QStringLiteral("0"), o.ganttDisplay, completion(o),
            timed ? ymd(o.start.date()) : QStringLiteral("00000000"), timed ? o.start.time().toHhnnss() : zeroTime,
            timed ? ymd(o.end.date()) : QStringLiteral("00000000"), timed ? o.end.time().toHhnnss() : zeroTime,
            ymd(o.startDay), ymd(o.due), initialDue, qint64(o.setupMinutes + o.workMinutes),
            o.workHours, o.setupHours, o.persons, o.actualMinutes,
            o.qty, o.qty, o.received, o.received, o.received,
            o.received, ymd(o.lastResult), started ? ymd(o.startDay) : QStringLiteral("00000000"),
            o.state == OrderState::Completed ? ymd(o.lastResult) : QStringLiteral("00000000"),
            ymd(o.instructionDate), o.ownCycle, o.remark, o.unitPrice,
            amount, tax, amount + tax, deletion(o),
            model.audit.date, model.audit.operatorCode, out ? QStringLiteral("G01") : QStringLiteral("S01")});
    }
    orders.flush();
}

// Component rows: the bill of materials of the order's step; with a fixed total
// the rows are spread evenly and padded with consumables.
void writeComponents(db::Database& db, const PlantModel& model, const OrderBook& book, DemoRandom& rnd)
{
    static const QStringList columns = {
        QStringLiteral("上位手配番号"), QStringLiteral("品名コード"), QStringLiteral("順序"), QStringLiteral("生産工場コード"),
        QStringLiteral("必要数"), QStringLiteral("実績数"), QStringLiteral("支給数"), QStringLiteral("完納区分"),
        QStringLiteral("確定区分"), QStringLiteral("開始日"), QStringLiteral("上位品名コード"), QStringLiteral("上位順序"),
        QStringLiteral("生産計画番号"), QStringLiteral("原単位分子"), QStringLiteral("原単位分母"), QStringLiteral("不良率"),
        QStringLiteral("支給制御区分"), QStringLiteral("有償無償区分"), QStringLiteral("支給完納区分"), QStringLiteral("品名＿諸口"),
        QStringLiteral("ﾛｯﾄ消費方法区分"), QStringLiteral("削除フラグ"), QStringLiteral("?手配番号")};
    TableWriter rows(db, QStringLiteral("DB0252"), columns, model.audit);

    std::vector<QString> padding = model.extraMaterials;
    for (const Item& i : model.items)
        if (i.family == Family::Material && std::find(padding.begin(), padding.end(), i.code) == padding.end())
            padding.push_back(i.code);

    const std::int64_t total = model.options.componentRows;
    const std::int64_t n = std::int64_t(book.orders.size());
    for (std::int64_t k = 0; k < n; ++k) {
        const Order& o = book.orders[std::size_t(k)];
        std::vector<BomLine> lines;  // the composition the orders are made of; the others are alternatives
        for (const BomLine& b : o.step->bom)
            if (b.variant == 1) lines.push_back(b);
        if (total >= 0) {
            const std::size_t want = std::size_t(total / n + (k < total % n ? 1 : 0));
            for (std::size_t p = 0; lines.size() < want && p < padding.size(); ++p) {
                bool used = false;
                for (const BomLine& b : lines)
                    used = used || b.child == padding[p];
                if (!used)
                    lines.push_back({padding[p], 0, 1, 1, 100});
            }
            if (lines.size() > want)
                lines.resize(want);
        }
        for (const BomLine& b : lines) {
            const double defect = rnd.pick(std::vector<double>{0, 0, 1, 2, 3});
            const double required = reschedule::requirementFor(o.qty, requirementRuleOf(model, b, defect)).value_or(0);
            const bool issued = !o.instructionDate.isNull();
            rows.add({o.no, b.child, b.childSeq, model.options.factory, required,
                      o.qty ? std::round(required * o.received / o.qty * 1000) / 1000 : 0.0, issued ? required : 0.0,
                      completion(o), (o.placed || o.confirmedWithoutTimes) ? QStringLiteral("2") : QStringLiteral("1"),
                      ymd(o.startDay), o.item->code, o.step->seq, o.planNo, b.num, b.den, defect, QStringLiteral("1"),
                      QStringLiteral("0"), QStringLiteral("0"), QString(), QStringLiteral("0"), deletion(o), 0});
        }
    }
    rows.flush();
}

// Customer orders and requirement plans behind each plan, linked to every
// order of the plan; some plans serve two customer orders.
void writeDemand(db::Database& db, const PlantModel& model, const OrderBook& book, DemoRandom& rnd)
{
    const AuditStamp& a = model.audit;
    TableWriter sales(db, QStringLiteral("DB0204"),
                      {QStringLiteral("受注番号"), QStringLiteral("得意先コード"), QStringLiteral("品名コード"), QStringLiteral("納期"),
                       QStringLiteral("注文番号"), QStringLiteral("受注数量"), QStringLiteral("出荷数量")}, a);
    TableWriter needs(db, QStringLiteral("DB0202"),
                      {QStringLiteral("所要計画No"), QStringLiteral("品名コード"), QStringLiteral("得意先コード"),
                       QStringLiteral("納期"), QStringLiteral("所要計画数量")}, a);
    TableWriter links(db, QStringLiteral("DB0494"),
                      {QStringLiteral("番号"), QStringLiteral("受注データ区分"), QStringLiteral("手配番号")}, a);
    qint64 salesNo = 700001, needNo = 800001;
    for (const Plan& p : book.plans) {
        if (p.orders.empty())
            continue;
        const QString customer = model.customers[std::size_t(rnd.below(int(model.customers.size())))];
        const double r = rnd.unit();
        const auto linkAll = [&](qint64 no, const char* kind) {
            for (std::size_t idx : p.orders) links.add({no, QString::fromLatin1(kind), book.orders[idx].no});
        };
        if (r < 0.6 || r >= 0.9) {
            const int parts = p.qty >= 200 && rnd.chance(0.3) ? 2 : 1;
            for (int part = 0; part < parts; ++part) {
                const int qty = parts == 1 ? p.qty : part == 0 ? p.qty / 2 : p.qty - p.qty / 2;
                const int shipped = rnd.chance(0.2) ? qty / 2 : 0;
                const QString who = part == 0 ? customer : model.customers[std::size_t(rnd.below(int(model.customers.size())))];
                sales.add({salesNo, who, p.item, ymd(p.due.addDays(rnd.between(0, 5) + 7 * part)),
                           QStringLiteral("PO-%1").arg(rnd.between(100000, 999999)), qty, shipped});
                linkAll(salesNo++, "1");
            }
        }
        if (r >= 0.6) {
            needs.add({needNo, p.item, customer, ymd(p.due.addDays(rnd.between(0, 10))), p.qty});
            linkAll(needNo++, "2");
        }
    }
    sales.flush();
    needs.flush();
    links.flush();
}

}  // namespace

void writeOrderTables(db::Database& db, const PlantModel& model, const OrderBook& book, DemoRandom& rnd)
{
    writePlans(db, model, book);
    writeWorkOrders(db, model, book);
    writeComponents(db, model, book, rnd);
    writeDemand(db, model, book, rnd);

    TableWriter prices(db, QStringLiteral("DB0386"),
                       {QStringLiteral("取引先コード"), QStringLiteral("品名コード"), QStringLiteral("工場コード"), QStringLiteral("順序"),
                        QStringLiteral("開始日"), QStringLiteral("単価"), QStringLiteral("単価区分")}, model.audit);
    for (const OrderBook::Price& p : book.prices)
        prices.add({p.partner, p.item, model.options.factory, p.seq, ymd(p.from), p.price, QStringLiteral("1")});
    prices.flush();

    // The next order number the save issues lies clear of every demo order.
    TableWriter numbers(db, QStringLiteral("DB0018"),
                        {QStringLiteral("番号管理キー"), QStringLiteral("現在番号"), QStringLiteral("開始番号"), QStringLiteral("終了番号")},
                        model.audit);
    numbers.add({QStringLiteral("手配番号"), book.lastOrderNo + 100, 100001, 999999});
    numbers.flush();
}

void writeOrders(db::Database& db, PlantModel& model, DemoRandom& rnd)
{
    const OrderBook book = layOutOrders(model, rnd);
    writeOrderTables(db, model, book, rnd);
}

}  // namespace demoplant
