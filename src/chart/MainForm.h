#pragma once
// The planner's main window: the Gantt chart of the loaded plan, its rows,
// the plan grid and the commands.

#include "core/ChartGeometry.h"
#include "core/ProgramSettings.h"
#include "db/Database.h"
#include "session/PlanSession.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QLayout;
class QPrinter;
class QToolButton;


namespace chart {

class ChartMarks;
class ChartState;
class ConflictDock;
class GanttView;
class PlanDataGrid;
class PlanGridModel;
class MessageBoxPrompt;

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    // The window opens its own plan session over db (loaded by load()).
    MainForm(core::ProgramSettings& settings, db::Database& db, QWidget* parent = nullptr);
    ~MainForm() override;

    // Loads rows, plan and arrangement through the session. progress shows
    // loading texts (in the splash window); it is not called after load()
    // returns. Returns false when the load failed or the program must end (the
    // planner has been told why).
    bool load(const std::function<void(const QString&)>& progress);

    // The end of a load for rows and plan already in place (tests fill
    // planner() and planData() themselves and call this).
    void showPlan();

    session::PlanSession& session() { return *session_; }
    core::Planner& planner() { return session_->planner(); }
    plan::PlanData& planData() { return session_->plan(); }
    const plan::PlanHistory& history() const { return session_->history(); }
    ChartState& chartState() { return *state_; }
    GanttView& gantt() { return *gantt_; }
    PlanDataGrid& grid() { return *grid_; }
    // The questions of the rules go here (message boxes unless a test answers).
    core::Prompt& prompt();
    void setPrompt(core::Prompt* prompt);
    // The prompt a test set, or null: windows opened from here put their
    // messages there too.
    core::Prompt* promptOverride() const { return promptOverride_; }
    // The rules' master look-ups (the database unless a test supplies its own).
    void setMasterLookup(reschedule::MasterLookup* lookup) { session_->setMasterLookup(lookup); }

    // Display modes (the buttons call these).
    void showOneDay();
    void showThreeDays();
    void showWeek();
    void showFourWeeks();
    core::DisplayMode displayMode() const;

    // planGridRefresh: the grid's rows again from the plan table.
    void planGridRefresh();
    // saveButton follows the session: enabled exactly when the plan differs from
    // the loaded or saved one, never in inquiry mode.
    void updateSaveButton();

    // The order detail window of a record: the pop-up entry "詳細情報", a
    // double-click on a grid row and the search open it through here. The
    // windows layer installs the opener; without one nothing opens.
    void showDetail(int recordNo);
    void setDetailOpener(std::function<void(int recordNo)> opener);

    // The bar the pop-up menu (barMenu) was opened on.
    int PopupBarIndex = 0;

    // Selects the record's bar on the chart (scrolled into view) and its grid row.
    void showRecord(int recordNo);
    // The windows this window opens live in the windows layer; they are handed
    // in here. Until then their entries cannot be chosen.
    void setScheduleListOpener(std::function<void()> open);
    void setOrderGanttOpener(std::function<void(int recordNo)> open);

    QPushButton* classButton = nullptr;
    QPushButton* oneDayButton = nullptr;
    QPushButton* threeDaysButton = nullptr;
    QPushButton* weekButton = nullptr;
    QPushButton* fourWeeksButton = nullptr;
    QPushButton* displayModeButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* machineSelectionButton = nullptr;
    QMenu* barMenu = nullptr;
    QAction* detailAction = nullptr;
    QAction* orderGanttAction = nullptr;
    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;
    // Searches and the grid's bulk change.
    QLineEdit* txtBarKensaku = nullptr;    // bar search: Enter next, Shift+Enter previous
    QLineEdit* txtListKensaku = nullptr;   // list search: narrows the grid
    QLabel* lblListCount = nullptr;
    QPushButton* scheduleListButton = nullptr;
    QPushButton* ComIkkatsuKakutei = nullptr;
    QPushButton* ComIkkatsuYotei = nullptr;

    // The menu "ファイル" (mnuFile): 印刷..., PDF出力..., PNG出力..., a
    // separator, 終了. Further file commands go before the separator.
    QMenu* fileMenu() const { return fileMenu_; }
    QAction* actPrint = nullptr;
    QAction* actPdf = nullptr;
    QAction* actPng = nullptr;
    QAction* actExit = nullptr;
    QAction* actLoadStrip = nullptr;  // 表示 menu: the load strip along the machine rows
    // The chart on paper: the display period and every row, a page per slice
    // of rows. Failures are told to the planner; false then.
    bool printChart(QPrinter& printer);
    bool exportPdf(const QString& path);
    // The chart as it is in view.
    bool exportPng(const QString& path);
    // Asks where to write (a save dialog; tests answer themselves). Empty: cancelled.
    std::function<QString(const QString& title, const QString& filter, const QString& suffix)> askSaveFileName;

    // Conflicts and load (MainFormBoard.cpp).
    ConflictDock* conflictDock = nullptr;
    ChartMarks& marks() { return *marks_; }
    QLabel* lblOrdersShown = nullptr;
    QLabel* lblChangedCount = nullptr;
    QToolButton* lblConflictCount = nullptr;  // a click shows the conflict list
    QLabel* lblPeriod = nullptr;
    QLabel* lblClass = nullptr;
    void updateStatusBar();

signals:
    // classButton: the planner wants another process classification (changes were
    // discarded or saved). Start-up shows KBunSelect again and builds a new window.
    void reselectRequested();
    // A right-button press on a machine row of the chart: the line plan window
    // for that machine row and production day (day index of the calendar tables).
    void linePlanRequested(int row, int dayIndex);
    // machineSelectionButton: the machine selection window.
    void machineSelectionRequested();
    // The planner asked for the order detail window of a record (a double-click in the schedule list).
    void detailRequested(int recordNo);

protected:
    // Closing with unsaved changes asks first, as choosing another class does.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void buildFileMenu();
    void buildBoard();
    void refreshConflictList();
    void showConflict(int recordNo, core::Moment at);
    void printFromDialog();
    void exportFromDialog(bool pdf);
    QString processClassText() const;
    void chooseAnotherClass();
    void cycleDisplayMode();
    void save();
    bool mayDiscardChanges();
    void onBarClicked(int recordNo);
    void onGridRecordSelected(int recordNo);
    void onBarContextMenu(int recordNo, QPoint globalPos, QPoint chartPos);
    void undo();
    void redo();
    QString caption() const;
    // Rescheduling on the chart and the grid goes to the session, one step per
    // action; every redraw follows the session's signals.
    void connectSession();
    void onBarDropped(const reschedule::BarDrop& drop, int targetRecord);
    void onRowHeaderActivated(int row);
    bool onGridDragStart(int recordNo);
    void onGridRowDropped(int draggedRecord, int targetRecord);
    void onGridContextMenu(QPoint pos);
    void showPopup(int recordNo, QPoint globalPos);
    void redrawRecords(const std::vector<int>& records);
    void scheduleRepaint();
    void onBackgroundContextMenu(int row, core::Moment at, QPoint globalPos);
    void onRowsChanged();
    // The marks of bars that no longer fit a changed calendar day.
    void refreshOffCalendar();
    void redrawEverything();
    // Searches, grid edits and the bulk change (MainFormSearch.cpp).
    QLayout* buildSearchStrip();
    void connectGridEditing();
    void searchBar(bool backwards);
    void filterGrid();
    void updateListCount();
    void bulkChangeConfirmKind(plan::ConfirmKind kind);
    std::function<void()> openScheduleList_;
    std::function<void(int)> openOrderGantt_;

    core::ProgramSettings& settings_;
    std::unique_ptr<session::PlanSession> session_;
    std::unique_ptr<ChartState> state_;
    std::unique_ptr<PlanGridModel> gridModel_;
    std::unique_ptr<MessageBoxPrompt> messagePrompt_;
    core::Prompt* promptOverride_ = nullptr;
    std::function<void(int recordNo)> detailOpener_;
    GanttView* gantt_ = nullptr;
    bool repaintPending_ = false;
    PlanDataGrid* grid_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    ChartMarks* marks_ = nullptr;  // a child of this window
    std::array<std::int64_t, 6> shownFigures_{};  // what the status bar shows
};

}  // namespace chart
