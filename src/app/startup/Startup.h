#pragma once
// The start-up procedure up to the start selection dialog, without windows:
//   1. planner.ini   2. command line   (3. double start: InstanceLock)
//   4. database kind and connection    6. permission   7. display settings
// Each step returns its result or the StartupError that stops the program.
// Nothing is written anywhere.

#include "app/startup/StartupError.h"
#include "core/ProgramSettings.h"
#include "db/Database.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace app {

struct StartupConfig {
    core::ProgramSettings settings;
    db::ConnectionSettings connection;
    QString sqlConnectString;  // SqlConnectString as assembled (SQL Server), kept for the run
    QString iniPath;           // for messages
};

// Steps 1 and 2. `programDir` is where relative SQLite files are looked up.
StartupResult<StartupConfig> readStartupConfig(const QString& iniPath, const QString& commandLineText,
                                               const QString& programDir);

// Step 4, first half: DbKind read as the database kind (and SqlConnectString built).
StartupResult<bool> resolveDatabaseKind(StartupConfig& config);
// Step 4: resolves the kind and opens the one connection of the run.
StartupResult<std::unique_ptr<db::Database>> connectDatabase(StartupConfig& config);

// Step 6: KengenKubun from DB0003; empty when the operator has no row.
StartupResult<QString> readPermission(db::Database& db, const QString& tantoCode);

struct DisplaySettings {
    int DisplayMonths = 1;
    int GridMinutes = 1;
};
// DB0351's two values as stored (0 and 0 when the table has no row).
StartupResult<DisplaySettings> readDisplaySettings(db::Database& db);
// DisplayMonths 0 -> 1, above 3 -> 3; GridMinutes 0 -> 1; negatives stay.
DisplaySettings correctedDisplaySettings(DisplaySettings stored);

// Steps 6 and 7 into the settings.
StartupResult<bool> readOperatorSettings(db::Database& db, core::ProgramSettings& settings);

// The message shown when a second copy is started.
QString doubleStartMessage();
QString doubleStartTitle();

}  // namespace app
