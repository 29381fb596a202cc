#pragma once
// The planner's main window: the Gantt chart of the loaded plan, its rows,
// the plan grid and the commands.

#include "core/ProgramSettings.h"
#include "core/WorkingTime.h"
#include "db/Database.h"
#include "plan/PlanData.h"

#include <QMainWindow>
#include <QSet>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPushButton;

namespace core { class Prompt; }
namespace plan { class PlanHistory; }
namespace reschedule { class MasterLookup; struct RuleContext; struct RuleOutcome; }

namespace chart {

class ChartState;
class GanttView;
class PlanDataGrid;
class PlanGridModel;
class MessageBoxPrompt;
struct BarDrop;

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    // progress shows loading texts (in the splash window); it is not called after load() returns.
    MainForm(core::ProgramSettings& settings, db::Database& db, QWidget* parent = nullptr);
    ~MainForm() override;

    // Loads rows, plan and arrangement and builds the chart. Returns false when the
    // load failed or the program must end (the planner has been told why).
    bool load(const std::function<void(const QString&)>& progress);

    // Builds the chart for rows and plan already in place (the end of load();
    // tests fill planner() and planData() themselves and call this).
    void showPlan();

    core::Planner& planner() { return planner_; }
    plan::PlanData& planData() { return plan_; }
    plan::PlanHistory& history() { return *history_; }
    ChartState& chartState() { return *state_; }
    GanttView& gantt() { return *gantt_; }
    PlanDataGrid& grid() { return *grid_; }
    // The questions of the rules go here (message boxes unless a test answers).
    core::Prompt& prompt();
    void setPrompt(core::Prompt* prompt) { promptOverride_ = prompt; }
    // The rules' master look-ups (the database unless a test supplies its own).
    reschedule::MasterLookup& masterLookup();
    void setMasterLookup(reschedule::MasterLookup* lookup) { lookupOverride_ = lookup; }
    reschedule::RuleContext ruleContext();

    // Display modes (the buttons call these).
    void DispDay();
    void Disp3Day();
    void DispWeek();
    void DispMonth();
    int DisplayMode() const;

    // Brings every bar and the grid up to date after records changed.
    void refreshAfterChange();
    // FunPlanGridRefresh.
    void FunPlanGridRefresh();
    // ComHozon follows the history: enabled exactly when the plan differs from
    // the loaded or saved one, never in inquiry mode.
    void updateSaveButton();

    // Right click on a bar (mnuPopup) remembers these.
    int PopupBarIndex = 0;
    int PopupX = 0;
    int PopupY = 0;

    QPushButton* KTbun = nullptr;
    QPushButton* ComDay = nullptr;
    QPushButton* Com3Day = nullptr;
    QPushButton* ComWeek = nullptr;
    QPushButton* ComMonth = nullptr;
    QPushButton* ComHyoujiMode = nullptr;
    QPushButton* ComHozon = nullptr;
    QMenu* mnuPopup = nullptr;
    QAction* popDetail = nullptr;
    QAction* popOrder = nullptr;
    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;

signals:
    // KTbun: the planner wants another process classification (changes were
    // discarded or saved). Start-up shows KBunSelect again and builds a new window.
    void reselectRequested();

private:
    void buildLayout();
    void buildMenus();
    void KTbun_Click();
    void ComHyoujiMode_Click();
    void ComHozon_Click();
    void onBarClicked(int recordNo);
    void onGridRecordSelected(int recordNo);
    void onBarContextMenu(int recordNo, QPoint globalPos, QPoint chartPos);
    void undo();
    void redo();
    QString caption() const;
    // Rescheduling on the chart and the grid; each action is one undo step.
    void connectRules();
    void onBarDropped(const BarDrop& drop);
    void onRowHeaderActivated(int row);
    bool onGridDragStart(int recordNo);
    void onGridRowDropped(int draggedRecord, int targetRecord);
    void onGridContextMenu(QPoint pos);
    void applyOutcome(const reschedule::RuleOutcome& out, int alsoRedraw = 0);

    core::ProgramSettings& settings_;
    db::Database& db_;
    core::Planner planner_;
    plan::PlanData plan_;
    std::unique_ptr<plan::PlanHistory> history_;
    std::unique_ptr<ChartState> state_;
    std::unique_ptr<PlanGridModel> gridModel_;
    std::unique_ptr<MessageBoxPrompt> messagePrompt_;
    core::Prompt* promptOverride_ = nullptr;
    std::unique_ptr<reschedule::MasterLookup> sqlLookup_;
    reschedule::MasterLookup* lookupOverride_ = nullptr;
    QSet<std::pair<int, int>> changedDays_;  // machine days changed in the line plan window
    GanttView* gantt_ = nullptr;
    PlanDataGrid* grid_ = nullptr;
};

}  // namespace chart
