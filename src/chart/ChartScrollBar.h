#pragma once
// The chart's scroll bars. A step moves the handle only: the bar repaints
// where the handle was and where it is, not its whole length (a tall bar's
// groove costs as much to paint as the strip of chart the step brings into view).

#include <QScrollBar>

namespace chart {

class ChartScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QRect handleRect() const;
    QRect painted_;  // the handle as last painted
};

}  // namespace chart
