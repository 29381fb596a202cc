#pragma once
// Steps 8 to 10 of start-up: the start selection dialog, the splash window and
// the main window; and the same sequence again when the planner re-selects the
// process classification from the main window.

#include "app/startup/StartupError.h"
#include "core/ProgramSettings.h"
#include "db/Database.h"

#include <QObject>
#include <QPointer>

namespace chart {
class MainForm;
}

namespace app {

// Shows a start-up failure in a message box and on stderr.
void showStartupError(const StartupError& e);

class WindowSequence : public QObject {
    Q_OBJECT
public:
    WindowSequence(core::ProgramSettings& settings, db::Database& db);
    ~WindowSequence() override;

    // Dialog, splash, main window. False when the program must end instead
    // (the planner chose to end, or the load failed); exitStatus() says how.
    bool openMainWindow();
    int exitStatus() const { return exitStatus_; }

signals:
    // The program should end with this status (main window closed, or a
    // re-selection ended the program).
    void finished(int exitStatus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reselect();
    void rememberWindowSize();

    core::ProgramSettings& settings_;
    db::Database& db_;
    QPointer<chart::MainForm> form_;
    chart::MainForm* current_ = nullptr;  // identity only: compared, never dereferenced
    int exitStatus_ = 0;
};

}  // namespace app
