#pragma once
// The plan grid beside the chart. Selecting a row selects its bar; a row can
// be dragged onto another row (the drag line GridDragLine shows where); Shift
// and Ctrl select several rows; some cells are edited in place (double-click,
// F2 or typing): the kinds from a list, the others as text.

#include "chart/PlanGridModel.h"

#include <QTableView>
#include <functional>

class QFrame;

namespace chart {

class PlanDataGrid : public QTableView {
    Q_OBJECT
public:
    PlanDataGrid(PlanGridModel& model, QWidget* parent = nullptr);

    PlanGridModel& gridModel() { return model_; }
    // planGridRefresh: redisplays the plan table and keeps the selected record.
    void planGridRefresh();
    // Selects the record's row without announcing it (the bar was clicked).
    void selectRecord(int recordNo);
    int selectedRecord() const;
    // The records of all selected rows, in grid order.
    std::vector<int> selectedRecords() const;

    // Asked before an editor opens on a row; false keeps it closed (the
    // planner has been told why).
    std::function<bool(int recordNo)> canEditRow;

    // Asked when the pointer has moved a drag distance with a row pressed; false
    // refuses the drag (the planner has been told why). A click only selects.
    std::function<bool(int recordNo)> canStartRowDrag;
    // Told when a row drag ends, dropped or not.
    std::function<void()> rowDragEnded;

    QFrame* GridDragLine = nullptr;

signals:
    void recordSelected(int recordNo);
    void rowDropped(int draggedRecord, int targetRecord);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void onCurrentRowChanged(const QModelIndex& current);
    void endRowDrag();

    PlanGridModel& model_;
    bool announce_ = true;
    int pressRecord_ = 0;       // pressed on, not yet moved a drag distance
    int dragRecord_ = 0;        // being dragged
    bool dragRefused_ = false;  // the rules refused this press's drag
    QPoint pressPos_;
};

}  // namespace chart
