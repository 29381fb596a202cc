#pragma once
// The chart's scroll bars. A step moves the handle only, so the bar repaints
// no more than the handle's old and new places; where the style draws the
// handle and the groove alike along their length (probed by drawing the bar
// twice), only the pixels about the handle's two ends. A tall bar's groove
// costs several times the strip of chart a step brings into view.

#include <QScrollBar>
#include <QStyle>
#include <optional>

class QStyleOptionSlider;

namespace chart {

class ChartScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QRect handleRect() const;
    bool movesByEnds(const QStyleOptionSlider& now);
    QRect painted_;        // the handle as last painted
    bool wasAtEnd_ = true;  // the value stood at either end of the range

    // What the last probe was drawn with, and what it found.
    struct Probe {
        const QStyle* style = nullptr;
        QSize size;
        QStyle::State state;
        QStyle::SubControls active;
        qint64 palette = 0;
        bool byEnds = false;
    };
    std::optional<Probe> probe_;
};

}  // namespace chart
