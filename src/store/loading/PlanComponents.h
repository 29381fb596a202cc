#pragma once
// The component rows (DB0252) of every open order, read once and grouped by
// the order they belong to, so that loading matches them in constant time.

#include "db/Database.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace store {

struct ComponentRow {
    QString itemCode;   // 品名コード
    QString itemName;   // DB0378.品名＿品名仕様
    double requiredQty = 0;  // 必要数
    double unitNum = 0;      // 原単位分子
    double unitDen = 0;      // 原単位分母
    double defectRate = 0;   // 不良率
};

// Order number (上位手配番号) -> its first plan::MaxComponentsPerOrder rows in statement order.
using ComponentsByOrder = QHash<std::int64_t, std::vector<ComponentRow>>;

// Runs the component statement and reads it completely (the connection is
// free again afterwards). Logically deleted rows are left out, and so are the
// rows of orders `wanted` does not want (the statement reads every open order's).
ComponentsByOrder readPlanComponents(db::Database& db, int kojoCode, const std::function<bool(std::int64_t)>& wanted);

}  // namespace store
