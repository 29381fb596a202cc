#include "store/loading/OrderDetailReads.h"

#include "store/loading/FieldValues.h"

#include <QDebug>
#include <map>

namespace store {

namespace statements {

QString relatedOrders()
{
    // Links to customer orders ('1') and requirement plans ('2'); a link whose
    // order or plan is deleted finds no row there.
    return QStringLiteral(
        "SELECT DB0494.番号,DB0494.受注データ区分"
        ",DB0204.注文番号,DB0204.品名コード 受注品名コード,受注品目.品名＿品名仕様 受注品名"
        ",DB0204.得意先コード 受注得意先コード,受注得意先.得意先略名 受注得意先名,DB0204.納期 受注納期"
        ",DB0204.受注数量,DB0204.出荷数量"
        ",DB0202.品名コード 所要品名コード,所要品目.品名＿品名仕様 所要品名"
        ",DB0202.得意先コード 所要得意先コード,所要得意先.得意先略名 所要得意先名,DB0202.納期 所要納期"
        ",DB0202.所要計画数量"
        " FROM DB0494"
        " LEFT JOIN DB0204 ON DB0204.受注番号 = DB0494.番号 AND DB0494.受注データ区分 = '1' AND DB0204.削除フラグ = '0'"
        " LEFT JOIN DB0202 ON DB0202.所要計画No = DB0494.番号 AND DB0494.受注データ区分 = '2' AND DB0202.削除フラグ = '0'"
        " LEFT JOIN DB0361 受注得意先 ON 受注得意先.得意先コード = DB0204.得意先コード"
        " LEFT JOIN DB0361 所要得意先 ON 所要得意先.得意先コード = DB0202.得意先コード"
        " LEFT JOIN DB0378 受注品目 ON 受注品目.品名コード = DB0204.品名コード"
        " LEFT JOIN DB0378 所要品目 ON 所要品目.品名コード = DB0202.品名コード"
        " WHERE DB0494.削除フラグ='0' AND 手配番号=?"
        " ORDER BY DB0494.受注データ区分,DB0494.番号,DB0204.納期,DB0202.納期");
}

QString previousProcesses()
{
    return QStringLiteral("SELECT DB0253.手配番号,DB0253.開始日,DB0253.納期,DB0253.作業開始時間,DB0253.作業終了時間"
                          " FROM DB0253 WHERE DB0253.生産工場コード=? AND DB0253.上位手配番号=?"
                          " AND DB0253.削除フラグ='0' ORDER BY DB0253.手配番号");
}

QString nextProcess()
{
    return QStringLiteral("SELECT DB0253.手配番号,DB0253.開始日,DB0253.納期,DB0253.作業開始時間,DB0253.作業終了時間"
                          " FROM DB0253 WHERE DB0253.手配番号= ? AND DB0253.削除フラグ='0'");
}

QString bomVariants()
{
    return QStringLiteral("SELECT DB0383.構成選択順序,DB0383.下位品名コード,DB0383.原単位分子,DB0383.原単位分母,DB0383.歩留率"
                          ",DB0378.品名＿品名仕様,DB0380.端数処理区分,DB0380.端数処理桁位置"
                          " FROM (DB0383 LEFT JOIN DB0378 ON DB0383.下位品名コード=DB0378.品名コード)"
                          " LEFT JOIN DB0380 ON DB0380.単位コード=DB0378.基本単位"
                          " WHERE DB0383.生産工場コード=? AND DB0383.上位品名コード=? AND DB0383.順序=?"
                          " AND DB0383.削除フラグ='0'"
                          " ORDER BY DB0383.構成選択順序,DB0383.表示順");
}

QString itemNames() { return QStringLiteral("select 型番名,型番名仕様ＡＮＫ,品名コード from DB0378 where 品名コード = ?"); }

}  // namespace statements

namespace {

qlonglong bound(std::int64_t n) { return qlonglong(n); }

}  // namespace

SqlOrderDetailLookup::SqlOrderDetailLookup(db::Database& db, int kojoCode) : db_(db), kojoCode_(kojoCode) {}

std::vector<reschedule::RelatedOrder> SqlOrderDetailLookup::relatedOrders(std::int64_t orderNo)
{
    std::vector<reschedule::RelatedOrder> out;
    if (orderNo <= 0) return out;
    db::Cursor c = db_.query(statements::relatedOrders(), {bound(orderNo)});
    while (c.next()) {
        reschedule::RelatedOrder r;
        const QString kind = c.text(QStringLiteral("受注データ区分")).trimmed();
        r.number = integerOf(c.value(QStringLiteral("番号")));
        if (kind == QStringLiteral("1")) {
            if (c.isNull(QStringLiteral("受注品名コード")) && c.isNull(QStringLiteral("受注数量"))) continue;  // no live order behind it
            r.customerOrder = true;
            r.orderText = c.text(QStringLiteral("注文番号"));
            r.itemCode = c.text(QStringLiteral("受注品名コード"));
            r.itemName = c.text(QStringLiteral("受注品名"));
            r.customerCode = c.text(QStringLiteral("受注得意先コード"));
            r.customerName = c.text(QStringLiteral("受注得意先名"));
            r.due = dateOf(c.value(QStringLiteral("受注納期")));
            r.remaining = numberOf(c.value(QStringLiteral("受注数量"))) - numberOf(c.value(QStringLiteral("出荷数量")));
        } else if (kind == QStringLiteral("2")) {
            if (c.isNull(QStringLiteral("所要品名コード")) && c.isNull(QStringLiteral("所要計画数量"))) continue;
            r.customerOrder = false;
            r.itemCode = c.text(QStringLiteral("所要品名コード"));
            r.itemName = c.text(QStringLiteral("所要品名"));
            r.customerCode = c.text(QStringLiteral("所要得意先コード"));
            r.customerName = c.text(QStringLiteral("所要得意先名"));
            r.due = dateOf(c.value(QStringLiteral("所要納期")));
            r.remaining = numberOf(c.value(QStringLiteral("所要計画数量")));
        } else {
            continue;
        }
        out.push_back(r);
    }
    return out;
}

reschedule::NeighbourTimes SqlOrderDetailLookup::neighbourTimes(std::int64_t orderNo, std::int64_t parentOrderNo)
{
    reschedule::NeighbourTimes t;
    if (orderNo > 0) {
        // The orders that supply this one; the last by number stands for them.
        db::Cursor c = db_.query(statements::previousProcesses(), {kojoCode_, bound(orderNo)});
        while (c.next()) {
            t.beforeEndDate = dateOf(c.value(QStringLiteral("納期")));
            t.beforeEndTime = timeOf(c.value(QStringLiteral("作業終了時間"))).value_or(core::TimeOfDay());
        }
    }
    if (parentOrderNo > 0) {
        db::Cursor c = db_.query(statements::nextProcess(), {bound(parentOrderNo)});
        if (c.next()) {
            t.afterStartDate = dateOf(c.value(QStringLiteral("開始日")));
            t.afterStartTime = timeOf(c.value(QStringLiteral("作業開始時間"))).value_or(core::TimeOfDay());
        }
        while (c.next()) {
        }
    }
    return t;
}

std::vector<reschedule::BomVariant> SqlOrderDetailLookup::variants(const QString& itemCode, int processSeq)
{
    std::vector<reschedule::BomVariant> out;
    if (!variantsKept_ || itemCode.trimmed().isEmpty()) return out;
    std::map<int, reschedule::BomVariant> byNumber;
    try {
        db::Cursor c = db_.query(statements::bomVariants(), {kojoCode_, itemCode, processSeq});
        while (c.next()) {
            const int number = int(integerOf(c.value(QStringLiteral("構成選択順序"))));
            if (number <= 0) continue;
            reschedule::VariantLine l;
            l.itemCode = c.text(QStringLiteral("下位品名コード"));
            l.itemName = c.text(QStringLiteral("品名＿品名仕様"));
            l.unitNum = numberOf(c.value(QStringLiteral("原単位分子")));
            l.unitDen = numberOf(c.value(QStringLiteral("原単位分母")));
            const QVariant yield = c.value(QStringLiteral("歩留率"));
            const double y = numberOf(yield);
            l.defectRate = isBlank(yield) || y <= 0 || y > 100 ? 0 : 100 - y;
            l.roundingKind = c.text(QStringLiteral("端数処理区分")).trimmed();
            l.digitPosition = int(integerOf(c.value(QStringLiteral("端数処理桁位置"))));
            reschedule::BomVariant& v = byNumber[number];
            v.number = number;
            v.lines.push_back(l);
        }
    } catch (const db::Error& e) {
        if (!db_.isAlive()) throw;  // a lost connection is the session's to recover
        // A bill of materials without variants: the list stays empty for the rest of the run.
        qWarning().noquote() << "no bill-of-material variants:" << e.message;
        variantsKept_ = false;
        return out;
    }
    for (auto& [number, v] : byNumber) out.push_back(std::move(v));
    return out;
}

std::optional<reschedule::ItemNames> SqlOrderDetailLookup::itemNames(const QString& itemCode)
{
    db::Cursor c = db_.query(statements::itemNames(), {itemCode});
    if (!c.next()) return std::nullopt;
    reschedule::ItemNames n{c.text(QStringLiteral("型番名")), c.text(QStringLiteral("型番名仕様ＡＮＫ"))};
    while (c.next()) {
    }
    return n;
}

}  // namespace store
