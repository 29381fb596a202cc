#pragma once
// The headless plan export: the start-up of the window program without its
// windows, the process class and period from options instead of the dialog,
// the main window's load and arrangement, and the plan table as CSV.

#include "app/startup/ExportOptions.h"
#include "core/Prompt.h"

#include <QString>
#include <QTextStream>

namespace app {

// Answers the arrangement's questions the way a planner accepting the proposal
// would (Yes) and reports every question and notice on the error stream.
class StreamPrompt : public core::Prompt {
public:
    explicit StreamPrompt(QTextStream& out) : out_(out) {}
    bool askYesNo(const QString& text, const QString& title = {}, bool defaultYes = true) override;
    void tell(const QString& text, const QString& title = {}, Icon icon = Icon::Information) override;

private:
    QTextStream& out_;
};

// Writes the error in Japanese and English.
void printStartupError(QTextStream& err, const StartupError& e);

// Runs the export; returns the exit status (0 success, 1 failure). Messages go
// to `err`; the CSV to options.outFile or standard output.
int runExport(const ExportOptions& options, const QString& iniPath, const QString& programDir, QTextStream& err);

}  // namespace app
