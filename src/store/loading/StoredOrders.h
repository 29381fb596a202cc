#pragma once
// Which work orders the production database holds, for telling an order that
// is not loaded in this class and period from one that does not exist.

#include "db/Database.h"

#include <cstdint>
#include <set>
#include <vector>

namespace store {

// The numbers among `orderNos` that are live work orders (DB0253, not deleted)
// of the factory. Throws db::Error.
std::set<std::int64_t> storedOrderNumbers(db::Database& db, int factory, const std::vector<std::int64_t>& orderNos);

}  // namespace store
