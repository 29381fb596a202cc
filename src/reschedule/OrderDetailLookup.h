#pragma once
// What the order detail window shows beyond the plan record: the customer
// orders and requirement plans behind an order, the neighbouring processes'
// times, the bill-of-material variants of its item and the item master's
// names. The store answers over the database, tests over maps.

#include "core/TimeTypes.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace reschedule {

// A customer order (DB0204) or requirement plan (DB0202) linked to a work order by DB0494.
struct RelatedOrder {
    bool customerOrder = true;  // 受注 (受注データ区分 '1'); otherwise 所要計画 ('2')
    std::int64_t number = 0;    // 番号: 受注番号 or 所要計画No
    QString orderText;          // 注文番号 (customer orders only)
    QString itemCode, itemName;
    QString customerCode, customerName;
    core::Date due;
    double remaining = 0;       // 受注数量 − 出荷数量, or 所要計画数量
};

// End of the process before an order and start of the process after it;
// null dates and 00:00:00 where there is none.
struct NeighbourTimes {
    core::Date beforeEndDate;
    core::TimeOfDay beforeEndTime;
    core::Date afterStartDate;
    core::TimeOfDay afterStartTime;
};

// A component line of a bill-of-material variant, with the rounding of its item's base unit.
struct VariantLine {
    QString itemCode, itemName;
    double unitNum = 0, unitDen = 0;
    double defectRate = 0;   // per cent: 100 − 歩留率
    QString roundingKind;    // 端数処理区分 of the item's unit
    int digitPosition = 0;   // 端数処理桁位置 of the item's unit
};

// One variant (構成選択順序) of an item step's bill of materials (DB0383).
struct BomVariant {
    int number = 0;
    std::vector<VariantLine> lines;
};

// DB0378 names an item code is looked up for.
struct ItemNames {
    QString modelName;     // 型番名
    QString modelNameAnk;  // 型番名仕様ＡＮＫ
};

class OrderDetailLookup {
public:
    virtual ~OrderDetailLookup() = default;
    // The live links of the order, customer orders first, each kind by number and due date.
    virtual std::vector<RelatedOrder> relatedOrders(std::int64_t orderNo) = 0;
    // The previous processes are the orders that supply orderNo; the next one is parentOrderNo.
    virtual NeighbourTimes neighbourTimes(std::int64_t orderNo, std::int64_t parentOrderNo) = 0;
    // The variants of the item step, by number; empty when the master keeps none.
    virtual std::vector<BomVariant> variants(const QString& itemCode, int processSeq) = 0;
    // nullopt when the item master has no such item.
    virtual std::optional<ItemNames> itemNames(const QString& itemCode) = 0;
};

}  // namespace reschedule
