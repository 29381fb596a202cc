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

}  // namespace testing_support
