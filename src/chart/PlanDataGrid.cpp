#include "chart/PlanDataGrid.h"

#include "chart/BarPainter.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>
#include <utility>

namespace chart {

namespace {

// The kinds are chosen from their list; the other cells are typed.
class GridEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QStringList choices = choicesOf(index.column());
        if (choices.isEmpty()) {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            if (index.column() == PlanGridModel::ColRemarks) line->setMaxLength(200);
            return line;
        }
        auto* combo = new QComboBox(parent);
        combo->addItems(choices);
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(std::max(0, int(combo->findText(index.data(Qt::EditRole).toString()))));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    static QStringList choicesOf(int column)
    {
        if (column == PlanGridModel::ColConfirm) return reschedule::confirmKindChoices();
        if (column == PlanGridModel::ColFix) return reschedule::fixKindChoices();
        return {};
    }
};

}  // namespace

PlanDataGrid::PlanDataGrid(PlanGridModel& model, QWidget* parent) : QTableView(parent), model_(model)
{
    setObjectName(QStringLiteral("PlanDataGrid"));
    setModel(&model_);
    setFont(chartFont(12));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new GridEditDelegate(this));
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
    static const int widths[PlanGridModel::ColumnCount] = {44, 40, 72, 72, 110, 160, 40, 90, 60, 118, 118, 84, 64, 76, 80, 90, 64, 120, 52, 52, 84, 40};
    for (int c = 0; c < PlanGridModel::ColumnCount; ++c) setColumnWidth(c, widths[c]);
    // The fix kind stands beside the confirmation kind, the persons beside the time they share.
    horizontalHeader()->moveSection(PlanGridModel::ColFix, PlanGridModel::ColConfirm + 1);
    horizontalHeader()->moveSection(PlanGridModel::ColPersons, horizontalHeader()->visualIndex(PlanGridModel::ColMinutes) + 1);
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

std::vector<int> PlanDataGrid::selectedRecords() const
{
    // From the selection's ranges: selectedRows() asks every row against every
    // range, which a thousand rows picked one by one with Ctrl make slow.
    std::vector<char> picked(std::size_t(model_.rowCount()), 0);
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = std::max(0, range.top()); row <= range.bottom() && row < model_.rowCount(); ++row) picked[std::size_t(row)] = 1;
    std::vector<int> out;
    for (int row = 0; row < int(picked.size()); ++row)
        if (picked[std::size_t(row)])
            if (const int rec = model_.recordAt(row)) out.push_back(rec);
    return out;
}

bool PlanDataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // Only a trigger that would open an editor asks the rules (and may be told no).
    const bool opens = index.isValid() && (model_.flags(index) & Qt::ItemIsEditable)
        && (trigger == AllEditTriggers || (editTriggers() & trigger)) && state() != EditingState;
    if (opens && canEditRow && !canEditRow(model_.recordAt(index.row()))) return false;
    return QTableView::edit(index, trigger, event);
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
    pressRecord_ = 0;
    dragRefused_ = false;
    QTableView::mousePressEvent(e);  // a press selects its row
    // Shift and Ctrl choose rows; only a plain press may start a row drag.
    if (e->button() != Qt::LeftButton || !canStartRowDrag || e->modifiers() != Qt::NoModifier) return;
    const QModelIndex idx = indexAt(e->position().toPoint());
    pressRecord_ = idx.isValid() ? model_.recordAt(idx.row()) : 0;
    pressPos_ = e->position().toPoint();
}

void PlanDataGrid::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (!(e->buttons() & Qt::LeftButton)) {
        // The release went elsewhere (a message box took it): the press is over.
        pressRecord_ = 0;
        dragRefused_ = false;
    }
    if (pressRecord_ != 0) {
        // Only a real drag asks the rules (and may be refused); a click just selects.
        if ((pos - pressPos_).manhattanLength() < QApplication::startDragDistance()) return;
        const int rec = std::exchange(pressRecord_, 0);
        if (canStartRowDrag(rec)) dragRecord_ = rec;
        else dragRefused_ = true;
    }
    if (dragRefused_) return;  // the row stays selected until the button comes up
    if (!dragRecord_) {
        QTableView::mouseMoveEvent(e);
        return;
    }
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
    pressRecord_ = 0;
    dragRefused_ = false;
    if (!dragRecord_) {
        QTableView::mouseReleaseEvent(e);
        return;
    }
    const int dragged = dragRecord_;
    const QModelIndex idx = indexAt(e->position().toPoint());
    endRowDrag();
    QTableView::mouseReleaseEvent(e);
    const int target = idx.isValid() ? model_.recordAt(idx.row()) : 0;
    if (target != 0 && target != dragged) emit rowDropped(dragged, target);
}

void PlanDataGrid::endRowDrag()
{
    dragRecord_ = 0;
    GridDragLine->hide();
    if (rowDragEnded) rowDragEnded();
}

}  // namespace chart
