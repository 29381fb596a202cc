#pragma once
// The planner's main window: the Gantt chart of the loaded plan, its rows,
// the plan grid and the commands.

#include "core/ProgramSettings.h"
#include "db/Database.h"

#include <QMainWindow>
#include <functional>

namespace chart {

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    // progress shows loading texts (in the splash window); it is not called after load() returns.
    MainForm(core::ProgramSettings& settings, db::Database& db, QWidget* parent = nullptr);
    ~MainForm() override;

    // Loads rows, plan and arrangement and builds the chart. Returns false when the
    // load failed or the program must end (the planner has been told why).
    bool load(const std::function<void(const QString&)>& progress);

signals:
    // KTbun: the planner wants another process classification (changes were
    // discarded or saved). Start-up shows KBunSelect again and builds a new window.
    void reselectRequested();
};

}  // namespace chart
