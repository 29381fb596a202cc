#include "chart/ChartScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace chart {

QRect ChartScrollBar::handleRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

void ChartScrollBar::sliderChange(SliderChange change)
{
    if (change != SliderValueChange || painted_.isNull()) {
        QScrollBar::sliderChange(change);
        return;
    }
    // The groove before and after the handle looks the same wherever the handle is.
    const QRect now = handleRect();
    if (now != painted_) update(now.united(painted_).adjusted(-1, -1, 1, 1));
}

void ChartScrollBar::paintEvent(QPaintEvent* e)
{
    QScrollBar::paintEvent(e);
    painted_ = handleRect();
}

}  // namespace chart
