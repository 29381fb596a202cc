#pragma once
// The command line the plant's menu program gives:
//   <date yyyymmdd> <operator code> <factory code> <terminal number> <program id>
// kept whole as CommandLineText and split on single blanks, so two adjacent
// blanks give an empty token.

#include "app/startup/StartupError.h"

#include <QString>
#include <QStringList>

namespace app {

struct CommandLine {
    QString text;         // CommandLineText
    QStringList tokens;
    QString TantoCode;    // token 1
    int KojoCode = 0;     // token 2
    int TanmatsuNo = 0;   // token 3
    QString ProgramId;    // token 4
};

// The program's arguments (without the program name) joined by single blanks.
QString commandLineTextOf(const QStringList& arguments);
// Splits and checks the text: five tokens at least, tokens 2 and 3 integers.
StartupResult<CommandLine> parseCommandLine(const QString& text);

}  // namespace app
