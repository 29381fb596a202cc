#include "store/saving/SaveMasters.h"

#include "store/saving/SaveSql.h"

namespace store {

namespace {

QString itemKey(const QString& itemCode, int processSeq)
{
    return itemCode.trimmed() + QLatin1Char('|') + QString::number(processSeq);
}

// Codes as held and trimmed: a code padded in one table and not in another still matches.
QVariantList codeList(const QSet<QString>& codes)
{
    QSet<QString> all;
    for (const QString& c : codes) {
        if (c.trimmed().isEmpty()) continue;
        all.insert(c);
        all.insert(c.trimmed());
    }
    return inList(all);
}

}  // namespace

void SaveMasters::readDestinations(db::Database& db, const QSet<QString>& machineCodes, int departmentCode)
{
    const QVariantList codes = codeList(machineCodes);
    if (codes.isEmpty()) return;
    queryInChunks(db, QStringLiteral("SELECT * FROM DB0394 WHERE 機械コード IN "), codes, {}, [&](db::Cursor& c) {
        machineDestination_.insert(c.text(QStringLiteral("機械コード")).trimmed(), c.text(QStringLiteral("指示先コード")));
    });
    db::Cursor c = db.query(QStringLiteral("SELECT * FROM DB0370 WHERE 部コード=") + QString::number(departmentCode) +
                            QStringLiteral(" AND 課コード<>0 ORDER BY 課コード"));
    // The first live section; a deleted one is no destination any more.
    while (c.next()) {
        if (!firstSection_.isEmpty() || c.text(QStringLiteral("削除フラグ")) == QStringLiteral("1")) continue;
        firstSection_ = QStringLiteral("%1%2").arg(c.integer(QStringLiteral("部コード")), 2, 10, QLatin1Char('0'))
                            .arg(c.integer(QStringLiteral("課コード")), 2, 10, QLatin1Char('0')) +
                        QString(8, QLatin1Char(' '));
    }
}

void SaveMasters::readSuppliers(db::Database& db, const QSet<QString>& destinations)
{
    const QVariantList codes = codeList(destinations);
    if (codes.isEmpty()) return;
    queryInChunks(db, QStringLiteral("SELECT * FROM DB0369 WHERE 仕入先コード IN "), codes, {}, [&](db::Cursor& c) {
        supplierClass_.insert(c.text(QStringLiteral("仕入先コード")).trimmed(), c.text(QStringLiteral("仕入先分類")));
    });
}

void SaveMasters::readItems(db::Database& db, const QSet<QString>& itemCodes, int factoryCode)
{
    const QVariantList items = codeList(itemCodes);
    if (items.isEmpty()) return;
    // Newest first: the first row met per partner, item and step is the one that applies.
    queryInChunks(
        db, QStringLiteral("SELECT 取引先コード,品名コード,順序,開始日,単価,単価区分 FROM DB0386 WHERE 工場コード=? AND 品名コード IN "),
        items, QStringLiteral(" ORDER BY 開始日 DESC"),
        [&](db::Cursor& c) {
            const QString key = c.text(QStringLiteral("取引先コード")).trimmed() + QLatin1Char('|') +
                                itemKey(c.text(QStringLiteral("品名コード")), int(c.integer(QStringLiteral("順序"))));
            if (!newestPrice_.contains(key))
                newestPrice_.insert(key, UnitPrice{c.value(QStringLiteral("単価")), c.text(QStringLiteral("単価区分"))});
        },
        {factoryCode});
    queryInChunks(
        db, QStringLiteral("SELECT * FROM DB0381 WHERE 生産工場コード=? AND 品名コード IN "), items, {},
        [&](db::Cursor& c) {
            routing_.insert(itemKey(c.text(QStringLiteral("品名コード")), int(c.integer(QStringLiteral("順序")))),
                            RoutingTags{c.text(QStringLiteral("現品票出力区分")), c.text(QStringLiteral("ロット別在庫管理区分"))});
        },
        {factoryCode});
}

QString SaveMasters::machineDestination(const QString& machineCode) const
{
    const auto it = machineDestination_.constFind(machineCode.trimmed());
    // A one-character value is a placeholder, not a destination.
    if (it != machineDestination_.cend() && it->trimmed().size() > 0 && it->size() != 1) return *it;
    return firstSection_;
}

QString SaveMasters::destinationOf(const plan::PlanRecord& r) const
{
    if (!r.destCode.trimmed().isEmpty() || !r.hasMachine()) return r.destCode;
    return machineDestination(r.machineCode);
}

QString SaveMasters::supplierClass(const QString& destination) const
{
    return supplierClass_.value(destination.trimmed());
}

std::optional<UnitPrice> SaveMasters::priceFor(const QString& destination, const QString& itemCode, int processSeq) const
{
    const QString item = itemKey(itemCode, processSeq);
    if (!destination.trimmed().isEmpty()) {
        const auto it = newestPrice_.constFind(destination.trimmed() + QLatin1Char('|') + item);
        if (it != newestPrice_.cend()) return *it;
    }
    const auto general = newestPrice_.constFind(QStringLiteral("0|") + item);
    if (general != newestPrice_.cend()) return *general;
    return std::nullopt;
}

std::optional<RoutingTags> SaveMasters::routing(const QString& itemCode, int processSeq) const
{
    const auto it = routing_.constFind(itemKey(itemCode, processSeq));
    if (it == routing_.cend()) return std::nullopt;
    return *it;
}

}  // namespace store
