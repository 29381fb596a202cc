#pragma once
// What a work-order row (DB0253) held when this program read it. The save
// compares it with the row as it is then, to find orders that another program
// changed meanwhile; both sides must compute it the same way.

#include "db/Database.h"
#include "plan/PlanData.h"

#include <array>

namespace store {

// The update audit columns and a digest of the scheduling columns of the
// cursor's current row (columns looked up by name).
plan::LoadedRowStamp stampOfOrderRow(const db::Cursor& row);

// The same with the columns looked up once, for reading many rows of one cursor.
class OrderRowStamper {
public:
    explicit OrderRowStamper(const db::Cursor& cursor);
    plan::LoadedRowStamp stamp(const db::Cursor& row) const;

private:
    int updateDate_, updateTime_, updateOperator_, updateTerminal_, updateProgram_;
    std::array<int, 13> digestColumns_{};
};

}  // namespace store
