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
    connect(&s, &session::PlanSession::historyChanged, this, &MainForm::updateSaveButton);

    gantt_->previewStart = [this](const reschedule::BarDrop& drop) { return session_->previewStart(drop); };
    connect(gantt_, &GanttView::barDropped, this, &MainForm::onBarDropped);
    connect(gantt_, &GanttView::rowHeaderActivated, this, &MainForm::onRowHeaderActivated);
    grid_->canStartRowDrag = [this](int rec) { return onGridDragStart(rec); };
    grid_->rowDragEnded = [this] {
        if (gantt_->DragMode == DragKind::GridRow) gantt_->DragMode = DragKind::Idle;
    };
    connect(grid_, &PlanDataGrid::rowDropped, this, &MainForm::onGridRowDropped);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, &MainForm::onGridContextMenu);
    connectGridEditing();
}

void MainForm::redrawRecords(const std::vector<int>& records)
{
    for (int rec : records) state_->refreshChart(rec);
    if (!gridModel_->refreshRecords(records)) planGridRefresh();
    gantt_->repaintChart();
}

void MainForm::onBarDropped(const reschedule::BarDrop& drop, int targetRecord)
{
    const auto out = targetRecord != 0 ? session_->mergeBars(drop, targetRecord) : session_->dropBar(drop);
    if (!out.changed) {
        // Nothing changed: the bar goes back to where it stood before the drag.
        state_->refreshChart(drop.recordNo);
        gantt_->repaintChart();
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

}  // namespace chart
