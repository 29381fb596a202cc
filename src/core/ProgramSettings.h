#pragma once
// Program-wide values set once at start-up (configuration file, command line,
// operator permission, database settings) and by the start selection dialog.
// Every layer reads them; only start-up, the start selection dialog and the
// main window's layout (kept for the next window of the run) write them.

#include "core/ScheduleListMemory.h"
#include "core/TimeTypes.h"

#include <QString>

namespace core {

struct ProgramSettings {
    // Command line
    QString CommandLineText;
    QString TantoCode;    // operator code
    int KojoCode = 0;     // production factory code
    int TanmatsuNo = 0;   // terminal number
    QString ProgramId;    // program identifier

    // planner.ini
    int IniOption3 = 0;   // non-zero: unplaced orders keep their stored machine code
    int IniOption5 = 0;   // non-zero: unconfirmed bars get blue text
    int IniOption6 = 0;   // caption piece when a bar's mould has no short name
    TimeOfDay DayChangeTime = TimeOfDay::fromHms(8, 0);
    int MainWidth = 0;    // twips
    int MainHeight = 0;   // twips
    QString DbKind;

    // Database
    QString KengenKubun;  // "0" = inquiry mode
    int DisplayMonths = 1;
    int GridMinutes = 1;

    // Start selection dialog
    QString processClassCode;  // chosen 工程分類コード
    QString processClassLine;  // the chosen list line, "code name"
    Date PeriodStart;
    Date PeriodEnd;

    // Main window layout, kept for the run
    int ChartRows = 0;    // chart rows above the grid as the planner left the divider; 0 = not moved
    ScheduleListMemory scheduleList;

    bool inquiryMode() const { return KengenKubun == QStringLiteral("0"); }
};

}  // namespace core
