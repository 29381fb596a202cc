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

// Widths of the audit columns (更新オペレータ, 更新プログラム and their
// 登録 twins) in characters, the same in every database kind.
constexpr int AuditOperatorWidth = 10;
constexpr int AuditProgramWidth = 20;

// The program's arguments (without the program name) joined by single blanks.
QString commandLineTextOf(const QStringList& arguments);
// Splits and checks the text: five tokens at least, tokens 2 and 3 integers,
// operator code and program id no longer than their audit columns.
StartupResult<CommandLine> parseCommandLine(const QString& text);

}  // namespace app
