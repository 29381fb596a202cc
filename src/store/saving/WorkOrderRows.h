#pragma once
// The work-order rows (DB0253) of a save: reading and locking them, deleting
// merged-away orders, creating the orders of split members, rewriting the
// changed ones, and reading back what was written.

#include "store/saving/SaveContext.h"

#include <optional>
#include <vector>

namespace store {

// Locks the rows the save overwrites or copies and reads them into ctx.rows.
void lockAndReadOrders(SaveContext& ctx);

// Orders whose row differs from what was loaded (or what the planner already
// agreed to overwrite); a row that is gone counts as changed.
std::vector<std::int64_t> changedSinceLoading(const SaveContext& ctx, const QHash<std::int64_t, plan::LoadedRowStamp>& expected);

// Step 3: merged-away orders and their components are marked deleted.
void deleteMergedAwayOrders(SaveContext& ctx);

// Step 4: numbers for split members and their new rows, copied from the source orders.
// Throws NumberingFailed when DB0018 cannot give the numbers.
void createSplitOrders(SaveContext& ctx);

// Step 6: the rows of the changed existing orders.
void rewriteChangedOrders(SaveContext& ctx);

// The rows as written, for the next save's conflict check.
void readBackStamps(SaveContext& ctx);

// The columns step 6 writes for a member (also laid over the copy of a new order).
Assignments workOrderColumns(const SaveContext& ctx, const MemberOrder& m);

// 金額 = 単価 × 数量 exactly (the price columns keep six decimals), 消費税額 =
// 10 % of it rounded down to the yen, 合計金額 their sum. nullopt when the
// price is no number or the amount is beyond what the columns hold.
struct Amounts {
    double amount = 0, tax = 0, total = 0;
};
std::optional<Amounts> amountsOf(const QVariant& unitPrice, std::int64_t quantity);

// Hours as the time columns hold them: truncated to millionths, so that the
// loader's rounding up of 60 × hours gives the minutes back.
double hoursOfMinutes(std::int64_t minutes);

}  // namespace store
