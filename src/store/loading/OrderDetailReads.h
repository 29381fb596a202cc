#pragma once
// The order detail window's reads over the production database: only the rows
// of the one order shown (its links, its neighbouring processes, its item
// step's bill-of-material variants). Every value travels bound.

#include "db/Database.h"
#include "reschedule/OrderDetailLookup.h"

#include <QHash>

namespace store {

class SqlOrderDetailLookup : public reschedule::OrderDetailLookup {
public:
    SqlOrderDetailLookup(db::Database& db, int kojoCode);

    std::vector<reschedule::RelatedOrder> relatedOrders(std::int64_t orderNo) override;
    reschedule::NeighbourTimes neighbourTimes(std::int64_t orderNo, std::int64_t parentOrderNo) override;
    std::vector<reschedule::BomVariant> variants(const QString& itemCode, int processSeq) override;
    std::optional<reschedule::ItemNames> itemNames(const QString& itemCode) override;

private:
    db::Database& db_;
    int kojoCode_;
    bool variantsKept_ = true;  // false once the bill of materials proved to have no 構成選択順序
};

// The statements, for tests and the benchmark that issue them bare.
namespace statements {
QString relatedOrders();
QString previousProcesses();
QString nextProcess();
QString bomVariants();
QString itemNames();
}  // namespace statements

}  // namespace store
