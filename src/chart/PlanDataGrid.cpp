#include "chart/PlanDataGrid.h"

#include "chart/BarPainter.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>

namespace chart {

PlanDataGrid::PlanDataGrid(PlanGridModel& model, QWidget* parent) : QTableView(parent), model_(model)
{
    setObjectName(QStringLiteral("PlanDataGrid"));
    setModel(&model_);
    setFont(chartFont(12));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
    static const int widths[PlanGridModel::ColumnCount] = {44, 40, 72, 72, 110, 160, 40, 90, 60, 118, 118, 84, 64, 76, 80, 90, 64, 120, 52, 52};
    for (int c = 0; c < PlanGridModel::ColumnCount; ++c) setColumnWidth(c, widths[c]);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { onCurrentRowChanged(current); });

    GridDragLine = new QFrame(viewport());
    GridDragLine->setObjectName(QStringLiteral("GridDragLine"));
    GridDragLine->setStyleSheet(QStringLiteral("background:#d02060;"));
    GridDragLine->setFixedHeight(3);
    GridDragLine->hide();
}

void PlanDataGrid::planGridRefresh()
{
    const int selected = selectedRecord();
    announce_ = false;
    model_.refresh();
    // The model reset replaced the selection model's state.
    if (selected) selectRecord(selected);
    announce_ = true;
}

void PlanDataGrid::selectRecord(int recordNo)
{
    const int row = model_.gridRowOf(recordNo);
    const bool before = announce_;
    announce_ = false;
    if (row < 0) {
        clearSelection();
    } else {
        const QModelIndex idx = model_.index(row, currentIndex().isValid() ? currentIndex().column() : PlanGridModel::ColOrderNo);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(idx);
    }
    announce_ = before;
}

int PlanDataGrid::selectedRecord() const
{
    const QModelIndex idx = currentIndex();
    return idx.isValid() ? model_.recordAt(idx.row()) : 0;
}

void PlanDataGrid::onCurrentRowChanged(const QModelIndex& current)
{
    if (announce_ && current.isValid()) emit recordSelected(model_.recordAt(current.row()));
}

void PlanDataGrid::focusInEvent(QFocusEvent* e)
{
    // Focus alone makes the first row current; that is no choice of the planner's.
    const bool before = announce_;
    announce_ = false;
    QTableView::focusInEvent(e);
    announce_ = before;
}

void PlanDataGrid::mousePressEvent(QMouseEvent* e)
{
    QTableView::mousePressEvent(e);
    if (e->button() != Qt::LeftButton) return;
    const QModelIndex idx = indexAt(e->position().toPoint());
    const int rec = idx.isValid() ? model_.recordAt(idx.row()) : 0;
    if (rec == 0 || !canStartRowDrag) return;
    pressPos_ = e->position().toPoint();
    dragMoved_ = false;
    if (canStartRowDrag(rec)) dragRecord_ = rec;
}

void PlanDataGrid::mouseMoveEvent(QMouseEvent* e)
{
    if (!dragRecord_) {
        QTableView::mouseMoveEvent(e);
        return;
    }
    const QPoint pos = e->position().toPoint();
    if (!dragMoved_ && (pos - pressPos_).manhattanLength() < QApplication::startDragDistance()) return;
    dragMoved_ = true;
    const QModelIndex idx = indexAt(pos);
    if (!idx.isValid()) {
        GridDragLine->hide();
        return;
    }
    const QRect cell = visualRect(idx);
    GridDragLine->setGeometry(0, cell.center().y() - 1, viewport()->width(), 3);
    GridDragLine->show();
    GridDragLine->raise();
}

void PlanDataGrid::mouseReleaseEvent(QMouseEvent* e)
{
    if (!dragRecord_) {
        QTableView::mouseReleaseEvent(e);
        return;
    }
    const int dragged = dragRecord_;
    const bool moved = dragMoved_;
    const QModelIndex idx = indexAt(e->position().toPoint());
    endRowDrag();
    QTableView::mouseReleaseEvent(e);
    const int target = idx.isValid() ? model_.recordAt(idx.row()) : 0;
    if (moved && target != 0 && target != dragged) emit rowDropped(dragged, target);
}

void PlanDataGrid::endRowDrag()
{
    dragRecord_ = 0;
    dragMoved_ = false;
    GridDragLine->hide();
    if (rowDragEnded) rowDragEnded();
}

}  // namespace chart
