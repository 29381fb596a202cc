#pragma once
// The demo plant the scale benchmarks read: 60 machines, two component rows
// per order, laid out around 2025/06/02, in a SQLite file.
#include "demoplant/DemoPlant.h"

#include <QString>
#include <memory>

namespace bench {

inline const core::Date ScalePlantBase = core::Date::fromYmd(2025, 6, 2);

inline std::unique_ptr<db::Database> makeScalePlant(const QString& file, int orders)
{
    auto database = db::Database::openSqlite(file);
    demoplant::createSchema(*database);
    demoplant::DemoOptions options;
    options.orders = orders;
    options.machines = 60;
    options.componentRows = 2 * orders;
    options.baseDate = ScalePlantBase;
    demoplant::generateDemoPlant(*database, options);
    return database;
}

}  // namespace bench
