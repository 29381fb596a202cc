#pragma once
// A believable production database for demonstrations, manual testing,
// loader tests and benchmarks: one factory with moulding, machining, assembly
// and outside-work classes, machine calendars, items with routings and moulds,
// production plans and a mix of placed and unplaced work orders.
//
// The same seed (and options) always gives the same rows on every platform:
// the generator draws from its own generator, never from std distributions.
//
// What a caller can rely on:
//   - process classes "10" 成形 (the class with `machines` machines, most
//     orders and the mould sets), "20" 機械加工, "30" 組立, "40" 外注加工
//     (no machines: its rows are the subcontractors);
//   - day change 08:00; every placed order (手配確定区分 '2' with times) starts
//     and ends on its machine's working time, on a 10-minute grid, and placed
//     orders never overlap on a machine (set members share their
//     representative's slot, mould and machine);
//   - DB0018 '手配番号' 現在番号 lies above every order number;
//   - operators "1001" (full rights; one machine hidden in DB0497) and
//     "9001" (inquiry mode);
//   - DB0494 受注データ区分 '1' links a customer order (DB0204), '2' a
//     requirement plan (DB0202).

#include "core/TimeTypes.h"
#include "db/Database.h"

#include <QString>
#include <QtGlobal>

namespace demoplant {

struct DemoOptions {
    quint32 seed = 1;
    core::Date baseDate;      // the plan is laid out around this day (null: today)
    int orders = 300;         // work orders (DB0253 rows), all kinds together
    int machines = 14;        // machines of class 10; classes 20 and 30 get fewer
    int componentRows = -1;   // DB0252 rows; -1 = what the bills of materials give
    int factory = 1;          // 生産工場コード
};

// Creates every table of the production database from the schema script of the
// database's kind (sql/sqlite.sql or sql/postgresql.sql). Throws db::Error.
void createSchema(db::Database& database);

// The schema script's directory: $PLANNER_SQL_DIR, else "sql" next to the
// program (or one level up), else the source tree's sql folder. Empty when none exists.
QString schemaDirectory();

// Writes the demo plant into an empty database (schema already created), in
// one transaction. Throws db::Error; the transaction is rolled back then.
void generateDemoPlant(db::Database& database, const DemoOptions& options);

}  // namespace demoplant
