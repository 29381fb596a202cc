#pragma once
// The chart above the plan grid with a divider the planner drags between them.
// The chart always stands in whole rows; the grid takes the rest of the height.

#include <QSplitter>

namespace chart {

class GanttView;

class ChartSplitter : public QSplitter {
    Q_OBJECT
public:
    ChartSplitter(GanttView* chart, QWidget* grid, QWidget* parent = nullptr);

    // The chart rows the planner chose with the divider; 0 leaves the choice to
    // the window: up to ten rows, as long as the grid keeps a few rows to read.
    void setChosenRows(int rows);
    int chosenRows() const { return chosenRows_; }

signals:
    // The planner moved the divider to this many chart rows.
    void rowsChosen(int rows);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // Sizes the chart to the wanted whole rows; returns the rows it got.
    int place();
    void onMoved(int pos);
    int available() const;

    GanttView* chart_;
    QWidget* grid_;
    int chosenRows_ = 0;
};

}  // namespace chart
