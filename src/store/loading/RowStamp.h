#pragma once
// What a work-order row (DB0253) held when this program read it. The save
// compares it with the row as it is then, to find orders that another program
// changed meanwhile; both sides must compute it the same way.

#include "db/Database.h"
#include "plan/PlanData.h"

#include <QStringList>
#include <vector>

namespace store {

// The columns of DB0253 that the save writes over an existing order, besides
// the update audit columns, and those whose change by another program matters
// to the schedule: the digest covers exactly these, so nothing the save
// writes can overwrite another program's change unasked.
const QStringList& comparedOrderColumns();

// The update audit columns and a digest of the compared columns of the
// cursor's current row (columns looked up by name).
plan::LoadedRowStamp stampOfOrderRow(const db::Cursor& row);

// The same with the columns looked up once, for reading many rows of one cursor.
class OrderRowStamper {
public:
    explicit OrderRowStamper(const db::Cursor& cursor);
    plan::LoadedRowStamp stamp(const db::Cursor& row) const;

private:
    int updateDate_, updateTime_, updateOperator_, updateTerminal_, updateProgram_;
    std::vector<int> digestColumns_;
};

}  // namespace store
