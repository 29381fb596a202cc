// The main window's side of rescheduling: the chart and the grid hand each
// action to the session (one undo step each), and the window redraws what the
// session reports as changed.

#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"
#include "chart/PlanDataGrid.h"
#include "chart/PlanGridModel.h"

#include <QMenu>

namespace chart {

void MainForm::connectSession()
{
    session::PlanSession& s = *session_;
    connect(&s, &session::PlanSession::recordsChanged, this, &MainForm::redrawRecords);
    connect(&s, &session::PlanSession::planReset, this, &MainForm::redrawEverything);
    connect(&s, &session::PlanSession::historyChanged, this, [this] {
        updateSaveButton();
        refreshOffCalendar();  // a save forgets the changed days
        scheduleRepaint();
    });
    // The shading is read from the calendar on every paint.
    connect(&s, &session::PlanSession::calendarDayChanged, this, [this] {
        refreshOffCalendar();
        scheduleRepaint();
    });
    connect(&s, &session::PlanSession::rowsChanged, this, &MainForm::onRowsChanged);
    connect(gantt_, &GanttView::backgroundContextMenu, this, &MainForm::onBackgroundContextMenu);

    gantt_->previewStart = [this](const reschedule::BarDrop& drop) { return session_->previewStart(drop); };
    connect(gantt_, &GanttView::barDropped, this, &MainForm::onBarDropped);
    connect(gantt_, &GanttView::rowHeaderActivated, this, &MainForm::onRowHeaderActivated);
    grid_->canStartRowDrag = [this](int rec) { return onGridDragStart(rec); };
    grid_->rowDragEnded = [this] {
        if (gantt_->DragMode == DragKind::GridRow) gantt_->DragMode = DragKind::Idle;
    };
    connect(grid_, &PlanDataGrid::rowDropped, this, &MainForm::onGridRowDropped);
    // A double-click on a row opens its detail, except on a cell that is edited in place.
    connect(grid_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& idx) {
        if (idx.isValid() && !(idx.flags() & Qt::ItemIsEditable)) showDetail(gridModel_->recordAt(idx.row()));
    });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, &MainForm::onGridContextMenu);
    connectGridEditing();
}

void MainForm::redrawRecords(const std::vector<int>& records)
{
    state_->refreshBars(records);
    refreshOffCalendar();
    if (!gridModel_->refreshRecords(records)) planGridRefresh();
    scheduleRepaint();
}

// A step tells its views several times (the step so far before a question,
// the step, the history): the chart is repainted once, when the event loop
// next runs (also while a question is open).
void MainForm::scheduleRepaint()
{
    if (repaintPending_) return;
    repaintPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            repaintPending_ = false;
            gantt_->repaintChart();
        },
        Qt::QueuedConnection);
}

void MainForm::onBarDropped(const reschedule::BarDrop& drop, int targetRecord)
{
    const auto out = targetRecord != 0 ? session_->mergeBars(drop, targetRecord) : session_->dropBar(drop);
    if (!out.changed) {
        // Nothing changed: the bar goes back to where it stood before the drag.
        state_->refreshChart(drop.recordNo);
        scheduleRepaint();
    }
}

void MainForm::onRowHeaderActivated(int row) { session_->expandRow(row); }

bool MainForm::onGridDragStart(int recordNo)
{
    if (!session_->canStartGridDrag(recordNo)) {
        gantt_->DragMode = DragKind::Idle;
        return false;
    }
    gantt_->DragMode = DragKind::GridRow;
    return true;
}

void MainForm::onGridRowDropped(int draggedRecord, int targetRecord)
{
    if (!session_->dropGridRow(draggedRecord, targetRecord).changed) {
        state_->refreshChart(draggedRecord);
        gantt_->repaintChart();
    }
}

void MainForm::onGridContextMenu(QPoint pos)
{
    const QModelIndex idx = grid_->indexAt(pos);
    const int rec = idx.isValid() ? gridModel_->recordAt(idx.row()) : 0;
    if (rec != 0) showPopup(rec, grid_->viewport()->mapToGlobal(pos));
}

void MainForm::save() { session_->save(); }

void MainForm::refreshOffCalendar()
{
    state_->setOffCalendar(session_->changedCalendarDays().empty() ? std::vector<int>{} : session_->barsOffCalendar());
}

// Only a machine has a working calendar to change; the unplaced row and the
// suppliers have none.
void MainForm::onBackgroundContextMenu(int row, core::Moment at, QPoint)
{
    const core::Planner& p = session_->planner();
    if (!p.rows.isMachineRow(row)) return;
    const int dayIndex = core::dayIndexOf(p, at);
    if (!p.calendar.contains(dayIndex, row)) return;
    emit linePlanRequested(row, dayIndex);
}

// New rows, the same plan: every bar finds its row again (or waits apart when
// its machine is no longer shown); the display mode stays.
void MainForm::onRowsChanged()
{
    const core::DisplayMode mode = gantt_->displayMode();
    state_->refreshAll();
    planGridRefresh();
    gantt_->refreshLayout();
    gantt_->setDisplayMode(mode);
    refreshOffCalendar();
    gantt_->repaintChart();
}

void MainForm::setDetailOpener(std::function<void(int recordNo)> opener)
{
    detailOpener_ = std::move(opener);
    detailAction->setEnabled(bool(detailOpener_));
}

void MainForm::showDetail(int recordNo)
{
    if (!detailOpener_ || recordNo < 2 || recordNo > session_->plan().size()) return;
    detailOpener_(recordNo);
}

}  // namespace chart
