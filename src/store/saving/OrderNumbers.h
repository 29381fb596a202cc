#pragma once
// Work-order numbers from the number table DB0018, taken inside the save's
// transaction: the counter row stays locked until the save commits or rolls
// back, so two programs saving at once never receive the same number.

#include "db/Database.h"
#include "store/saving/SaveSql.h"

#include <cstdint>
#include <stdexcept>

namespace store {

// No counter row, or the range up to 終了番号 is used up.
struct NumberingFailed : std::runtime_error {
    NumberingFailed() : std::runtime_error("no work-order number") {}
};

// Takes `count` consecutive numbers and advances 現在番号 to the last one;
// returns the first. Numbers start above 現在番号, never below 開始番号, and
// never pass 終了番号 (0 or NULL leaves the range open): numbers are not
// reused, since old orders keep theirs for good.
std::int64_t takeOrderNumbers(db::Database& db, const TableColumns& db0018, const AuditValues& audit, int count);

}  // namespace store
