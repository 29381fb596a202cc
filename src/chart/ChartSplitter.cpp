#include "chart/ChartSplitter.h"

#include "chart/ChartState.h"
#include "chart/GanttView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cmath>

namespace chart {

namespace {
constexpr int kGridRowsKept = 3;       // the least the divider leaves the grid
constexpr int kGridRowsPreferred = 6;  // what the window leaves it unless the planner chose

// Height of the grid showing `rows` rows: header, rows, horizontal scroll bar, frame.
int gridHeightFor(const QWidget* grid, int rows)
{
    const auto* table = qobject_cast<const QTableView*>(grid);
    if (!table) return grid->minimumSizeHint().height();
    const int header = table->horizontalHeader()->sizeHint().height();
    const int row = table->verticalHeader()->defaultSectionSize();
    return header + rows * row + table->horizontalScrollBar()->sizeHint().height() + 2 * table->frameWidth();
}
}  // namespace

ChartSplitter::ChartSplitter(GanttView* chart, QWidget* grid, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), chart_(chart), grid_(grid)
{
    setObjectName(QStringLiteral("ChartSplitter"));
    setChildrenCollapsible(false);
    addWidget(chart_);
    addWidget(grid_);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    connect(this, &QSplitter::splitterMoved, this, [this](int pos, int) { onMoved(pos); });
}

void ChartSplitter::setChosenRows(int rows)
{
    chosenRows_ = std::max(0, rows);
    place();
}

int ChartSplitter::available() const { return height() - handleWidth(); }

int ChartSplitter::place()
{
    const int total = available();
    if (total <= 0) return 0;
    const int most = chart_->rowsForHeight(total - gridHeightFor(grid_, kGridRowsKept));
    const int wanted = chosenRows_ > 0 ? chosenRows_
                                       : std::min(ChartState::DefaultVisibleRows, chart_->rowsForHeight(total - gridHeightFor(grid_, kGridRowsPreferred)));
    const int rows = std::clamp(wanted, 1, std::max(1, most));
    const int chartHeight = chart_->heightForRows(rows);
    setSizes({chartHeight, std::max(0, total - chartHeight)});
    return rows;
}

void ChartSplitter::resizeEvent(QResizeEvent* e)
{
    QSplitter::resizeEvent(e);
    place();
}

void ChartSplitter::onMoved(int pos)
{
    // The divider lands on the nearest row boundary.
    const double rows = double(pos - chart_->heightForRows(0)) / ChartState::RowHeightPx;
    chosenRows_ = std::max(1, int(std::lround(rows)));
    chosenRows_ = place();  // no more than leaves the grid its rows
    emit rowsChosen(chosenRows_);
}

}  // namespace chart
