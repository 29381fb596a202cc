#pragma once
// The headless plan export: the start-up of the window program without its
// windows, the process class and period from options instead of the dialog,
// the main window's load and arrangement, and the plan table as CSV.

#include "app/startup/ExportOptions.h"
#include "app/startup/Startup.h"
#include "core/Prompt.h"
#include "session/PlanSession.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <memory>

namespace app {

// Answers the arrangement's questions the way a planner accepting the proposal
// would (Yes) and reports every question and notice on the error stream. With
// answerDefaults, each question gets its default answer instead (the save: a
// change another program made meanwhile is never written over).
class StreamPrompt : public core::Prompt {
public:
    bool answerDefaults = false;
    explicit StreamPrompt(QTextStream& out) : out_(out) {}
    bool askYesNo(const QString& text, const QString& title = {}, bool defaultYes = true) override;
    void tell(const QString& text, const QString& title = {}, Icon icon = Icon::Information) override;

private:
    QTextStream& out_;
};

// Writes the error in Japanese and English.
void printStartupError(QTextStream& err, const StartupError& e);

// A plan loaded for a command: the window program's start-up with the class
// and period of the options, the main window's load and arrangement.
struct CommandPlan {
    StartupConfig config;
    std::unique_ptr<db::Database> db;
    std::unique_ptr<StreamPrompt> prompt;
    std::unique_ptr<session::PlanSession> session;  // last: goes first
};
// Null after a failure, which has been written to `err`.
std::unique_ptr<CommandPlan> loadCommandPlan(const ExportOptions& options, const QString& iniPath, const QString& programDir,
                                             QTextStream& err);

// The session's plan as CSV, written as it is made, to the file (replaced only
// when the whole write succeeds) or, for an empty name, to standard output.
// Failures are written to `err`.
bool writeCsvOutput(const QString& outFile, const session::PlanSession& source, bool withBom, QTextStream& err);

// Runs the export; returns the exit status (0 success, 1 failure). Messages go
// to `err`; the CSV to options.outFile or standard output.
int runExport(const ExportOptions& options, const QString& iniPath, const QString& programDir, QTextStream& err);

}  // namespace app
