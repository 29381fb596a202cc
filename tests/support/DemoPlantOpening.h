#pragma once
// The demo plant in an in-memory database and the settings of a planner who
// opens one class of it for a month, as the window tests start.

#include "core/ProgramSettings.h"
#include "db/Database.h"
#include "demoplant/DemoPlant.h"

#include <QString>
#include <memory>

namespace testing_support {

struct DemoPlantOpening {
    std::unique_ptr<db::Database> database;
    demoplant::DemoOptions options;
    core::ProgramSettings settings;
};

// classLine is the start dialog's line ("10 成形"); the window is widthPx ×
// heightPx; the period starts at periodStart (null: the base date).
inline DemoPlantOpening openDemoPlant(core::Date baseDate, const QString& classLine, int widthPx, int heightPx,
                                      core::Date periodStart = {})
{
    DemoPlantOpening o;
    o.database = db::Database::openSqlite(QStringLiteral(":memory:"));
    o.options.baseDate = baseDate;
    demoplant::createSchema(*o.database);
    demoplant::generateDemoPlant(*o.database, o.options);
    core::ProgramSettings& s = o.settings;
    s.TantoCode = QStringLiteral("1001");
    s.KojoCode = o.options.factory;
    s.KengenKubun = QStringLiteral("1");
    s.GridMinutes = 10;
    s.MainWidth = widthPx * 15;  // twips
    s.MainHeight = heightPx * 15;
    s.processClassCode = classLine.section(QLatin1Char(' '), 0, 0);
    s.processClassLine = classLine;
    s.PeriodStart = periodStart.isNull() ? baseDate : periodStart;
    s.PeriodEnd = s.PeriodStart.addMonths(1);
    return o;
}

// A small demo plant (six machines, 300 orders around 2024/05/06) written into
// `database`, and the settings of a planner who opens its class 10 from a week
// before that day; programId goes into the audit columns.
inline core::ProgramSettings writeSmallDemoPlant(db::Database& database, quint32 seed, const QString& programId)
{
    demoplant::DemoOptions o;
    o.seed = seed;
    o.baseDate = core::Date::fromYmd(2024, 5, 6);
    o.orders = 300;
    o.machines = 6;
    demoplant::generateDemoPlant(database, o);
    core::ProgramSettings s;
    s.TantoCode = QStringLiteral("1001");
    s.KojoCode = 1;
    s.TanmatsuNo = 3;
    s.ProgramId = programId;
    s.processClassCode = QStringLiteral("10");
    s.KengenKubun = QStringLiteral("1");
    s.DayChangeTime = core::TimeOfDay::fromHms(8, 0);
    s.PeriodStart = o.baseDate.addDays(-7);
    s.PeriodEnd = o.baseDate.addDays(30);
    return s;
}

}  // namespace testing_support
