// The main window's rescheduling handlers: bar drops, row expansion, grid-row
// drags, the pop-up menu and the save. The rules decide; the window wraps each
// action in one undo step and redraws what it touched.

#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MainForm.h"
#include "chart/PlanDataGrid.h"
#include "chart/PlanGridModel.h"
#include "plan/PlanHistory.h"
#include "plan/loading/SqlMasterLookup.h"
#include "reschedule/BarMove.h"
#include "reschedule/Expand.h"
#include "reschedule/GridDrag.h"
#include "reschedule/Merge.h"
#include "reschedule/RuleContext.h"
#include "reschedule/UndoStep.h"
#include "reschedule/saving/SaveSchedule.h"

#include <QMenu>

namespace chart {

reschedule::MasterLookup& MainForm::masterLookup()
{
    if (lookupOverride_) return *lookupOverride_;
    if (!sqlLookup_) sqlLookup_ = std::make_unique<plan::loading::SqlMasterLookup>(db_, settings_.KojoCode);
    return *sqlLookup_;
}

reschedule::RuleContext MainForm::ruleContext()
{
    return reschedule::RuleContext{planner_, plan_, prompt(), masterLookup(), settings_};
}

namespace {
// The rules' description of a drop at newLeftTwips on the row of newKikai.
reschedule::BarDrop ruleDrop(const ChartState& state, const GanttView& view, int recordNo, const QString& newKikai, double newLeftTwips)
{
    reschedule::BarDrop d;
    d.recordNo = recordNo;
    d.DragStartKikai = view.DragStartKikai;
    d.newKikai = newKikai;
    d.newLeftTwips = newLeftTwips;
    d.currentLeftTwips = state.bar(recordNo).left;
    d.origin = state.origin();
    // Bars dragged on the chart use the main scale; only PlatForm2 has the top strip's.
    d.scale = state.bar(recordNo).surface == Surface::PlatForm2 ? state.scale().HourTwipsTop : state.scale().HourTwips;
    return d;
}
}  // namespace

void MainForm::connectRules()
{
    gantt_->canStartBarDrag = [this](int rec) {
        auto ctx = ruleContext();
        return reschedule::canStartBarDrag(ctx, rec);
    };
    gantt_->previewStart = [this](int rec, const QString& newKikai, double newLeft) -> std::optional<core::Moment> {
        auto ctx = ruleContext();
        return reschedule::previewStart(ctx, ruleDrop(*state_, *gantt_, rec, newKikai, newLeft));
    };
    connect(gantt_, &GanttView::barDropped, this, &MainForm::onBarDropped);
    connect(gantt_, &GanttView::rowHeaderActivated, this, &MainForm::onRowHeaderActivated);
    grid_->canStartRowDrag = [this](int rec) { return onGridDragStart(rec); };
    grid_->rowDragEnded = [this] {
        if (gantt_->DragMode == 2) gantt_->DragMode = 0;
    };
    connect(grid_, &PlanDataGrid::rowDropped, this, &MainForm::onGridRowDropped);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, &MainForm::onGridContextMenu);
}

void MainForm::applyOutcome(const reschedule::RuleOutcome& out, int alsoRedraw)
{
    bool rowsChanged = false;
    for (int rec : out.touched) {
        state_->SubRefreshChart(rec);
        rowsChanged = rowsChanged || plan_[rec].isMergedAway;
    }
    if (alsoRedraw) state_->SubRefreshChart(alsoRedraw);  // a refused drop goes back to its place
    if (rowsChanged) {
        FunPlanGridRefresh();  // a merged-away order leaves the grid
    } else {
        for (int rec : out.touched) gridModel_->refreshRecord(rec);
    }
    gantt_->repaintChart();
    updateSaveButton();
}

void MainForm::onBarDropped(const BarDrop& drop)
{
    auto ctx = ruleContext();
    const reschedule::BarDrop d = ruleDrop(*state_, *gantt_, drop.recordNo, drop.newKikai, drop.newLeftTwips);
    reschedule::RuleOutcome out;
    if (drop.targetRecord != 0)
        out = reschedule::runStep(*history_, QStringLiteral("合体"), [&] { return reschedule::PlanBar_DragDrop(ctx, d, drop.targetRecord); });
    else
        out = reschedule::runStep(*history_, QStringLiteral("移動"), [&] { return reschedule::PlatForm_DragDrop(ctx, d); });
    applyOutcome(out, drop.recordNo);
}

void MainForm::onRowHeaderActivated(int row)
{
    auto ctx = ruleContext();
    const auto out = reschedule::runStep(*history_, QStringLiteral("展開"), [&] { return reschedule::MachineName_DblClick(ctx, row); });
    applyOutcome(out);
}

bool MainForm::onGridDragStart(int recordNo)
{
    auto ctx = ruleContext();
    if (reschedule::canStartGridDrag(ctx, recordNo).refused) {
        gantt_->DragMode = 0;
        return false;
    }
    gantt_->DragMode = 2;
    return true;
}

void MainForm::onGridRowDropped(int draggedRecord, int targetRecord)
{
    auto ctx = ruleContext();
    const auto out = reschedule::runStep(*history_, QStringLiteral("行移動"),
                                         [&] { return reschedule::PlanDataGrid_DragDrop(ctx, draggedRecord, targetRecord); });
    applyOutcome(out, draggedRecord);
}

void MainForm::onGridContextMenu(QPoint pos)
{
    const QModelIndex idx = grid_->indexAt(pos);
    const int rec = idx.isValid() ? gridModel_->recordAt(idx.row()) : 0;
    if (rec == 0) return;
    PopupBarIndex = plan_[rec].barIndex;
    PopupX = pos.x() * core::TwipsPerPixel;
    PopupY = pos.y() * core::TwipsPerPixel;
    popOrder->setVisible(plan_[rec].memberCount != 0);
    mnuPopup->popup(grid_->viewport()->mapToGlobal(pos));
}

void MainForm::ComHozon_Click()
{
    if (settings_.inquiryMode()) return;  // looking and trying never writes
    const auto result = reschedule::saving::ComHozon_Click(db_, settings_, planner_, plan_, prompt(), changedDays_);
    if (result.outcome != reschedule::saving::SaveOutcome::Saved) return;  // the save told the planner why
    changedDays_.clear();
    if (sqlLookup_) static_cast<plan::loading::SqlMasterLookup&>(*sqlLookup_).clear();
    history_->clear();
    history_->setClean();
    refreshAfterChange();
}

}  // namespace chart
