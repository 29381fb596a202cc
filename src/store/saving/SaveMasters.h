#pragma once
// Master data the save consults, read once per save for all orders together:
// the machines' destinations (DB0394, DB0370), the suppliers' classes (DB0369),
// the newest unit prices (DB0386) and the tag classes of the routings (DB0381).

#include "db/Database.h"
#include "plan/PlanRecord.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>
#include <optional>

namespace store {

struct UnitPrice {
    QVariant price;      // 単価
    QString priceClass;  // 単価区分
};

struct RoutingTags {
    QString tagOutputClass;  // 現品票出力区分
    QString lotControl;      // ロット別在庫管理区分
};

class SaveMasters {
public:
    // DB0394 of the given machines and the department's first section of DB0370.
    void readDestinations(db::Database& db, const QSet<QString>& machineCodes, int departmentCode);
    // DB0369 classes of the given destinations.
    void readSuppliers(db::Database& db, const QSet<QString>& destinations);
    // DB0386 prices and DB0381 routings of the given items.
    void readItems(db::Database& db, const QSet<QString>& itemCodes, int factoryCode);

    // The machine's destination: its DB0394 指示先コード when that holds a code,
    // else the department's first section ("部課" + eight blanks); "" when neither exists.
    QString machineDestination(const QString& machineCode) const;
    // A blank destination of a bar standing on a machine becomes the machine's.
    QString destinationOf(const plan::PlanRecord& r) const;
    // 仕入先分類 of a supplier; "" when the code is no supplier.
    QString supplierClass(const QString& destination) const;
    // The newest price of the destination for item and step, else the newest general price.
    std::optional<UnitPrice> priceFor(const QString& destination, const QString& itemCode, int processSeq) const;
    // Routing of item and step; nullopt without a DB0381 row.
    std::optional<RoutingTags> routing(const QString& itemCode, int processSeq) const;

private:
    QHash<QString, QString> machineDestination_;  // trimmed machine code → 指示先コード as stored
    QString firstSection_;
    QHash<QString, QString> supplierClass_;       // trimmed supplier code → 仕入先分類
    QHash<QString, UnitPrice> newestPrice_;       // partner|item|step → newest price
    QHash<QString, RoutingTags> routing_;         // item|step
};

}  // namespace store
