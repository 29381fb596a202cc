#pragma once
// The statements of the plan loading, kept fragment for fragment as the plant's
// other programs and DBAs know them. Text values are "?" placeholders bound by
// the caller in the order given; numeric keys go in as decimal text.

#include "db/Dialect.h"

#include <QString>

namespace store::statements {

// Machines of the factory and class that the operator has not deselected.
// Binds: operator code, process class code.
QString machines(const db::Dialect& dialect, int kojoCode);

// Every machine of the factory and class with the operator's choice (選択;
// 1 where the operator never chose). Binds: operator code, process class code.
QString machineSelection(const db::Dialect& dialect, int kojoCode);

// One machine's calendar rows. Binds: machine code, first date, last date ("yyyymmdd").
QString machineCalendar();

// The company break master (Jikoku01..Jikoku20).
QString breakMaster();

// Subcontractors of the class shown as rows. Binds: process class code.
QString suppliers();

// The open work orders of the factory and class with their master data.
// Binds: process class code.
QString planOrders(int kojoCode);

// The same orders as the database kind reads them best: SQLite scans a derived
// table it joins (the set-mould rows D) once for every order row, so it reads
// D's rows through their key instead, with the same meaning.
// Binds: process class code.
QString planOrders(const db::Dialect& dialect, int kojoCode);

// Component rows of every open work order of the factory.
QString planComponents(int kojoCode);

}  // namespace store::statements
