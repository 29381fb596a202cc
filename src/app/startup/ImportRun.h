#pragma once
// The headless import: the export's start-up and load, the CSV file applied
// with the window's import (session/PlanImport), a line per applied and
// refused row on the error stream, then optionally the normal save and the
// result as CSV.

#include "app/startup/ExportOptions.h"

#include <QString>
#include <QTextStream>
#include <functional>

namespace app {

// Exit status of the import: every row applied (or nothing to change), some
// rows refused (the others applied), failure (nothing applied, nothing saved).
constexpr int ImportAllApplied = 0;
constexpr int ImportFailed = 1;
constexpr int ImportSomeRefused = 3;

// beforeSave runs just before the save (tests: another program's change in between).
int runImport(const ExportOptions& options, const QString& iniPath, const QString& programDir, QTextStream& err,
              const std::function<void()>& beforeSave = {});

}  // namespace app
