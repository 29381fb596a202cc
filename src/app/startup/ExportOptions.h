#pragma once
// Options of the program's command mode (help and the headless plan export):
//
//   planner --help
//   planner --export --class CODE --from DATE [--to DATE] [--out FILE] [--bom]
//           [--] DATE OPERATOR FACTORY TERMINAL PROGRAM
//   planner --import FILE [--answer yes|no] [--save] [--export OUT] [--bom]
//           --class CODE --from DATE [--to DATE] [--] DATE OPERATOR ...
//
// The five trailing values are the command line the plant's menu program gives.
// Options also take the "--name=value" form.

#include "app/startup/StartupError.h"

#include <QString>
#include <QStringList>

namespace app {

struct ExportOptions {
    bool help = false;
    bool exportPlan = false;
    QString classCode;
    QString from;
    QString to;       // empty: from + DisplayMonths months, like the start dialog
    QString outFile;  // empty: standard output
    bool bom = false;
    // The import: the file brought back, the answer to the move rules'
    // questions (push later bars), the save, and where the result goes
    // (--export OUT; empty: not exported).
    QString importFile;
    bool pushLater = true;
    bool save = false;
    QStringList commandTokens;  // the menu program's command line
};

// True when the arguments (without the program name) ask for the command mode
// rather than the window program: the menu program's first value is a date,
// never an option.
bool isCommandMode(const QStringList& arguments);

StartupResult<ExportOptions> parseExportOptions(const QStringList& arguments);

QString exportHelpText();

}  // namespace app
